// gamepad.cfg: which gamepad each player flies with, its buttons, the dead zone and rumble. A file
// of its own among the player's files, so device.cfg and keys.cfg keep the meaning other
// installations give them. Lines "name: value"; unknown lines are ignored.
#pragma once
#include <array>
#include <filesystem>
#include <string>

#include "platform/Gamepad.h"

namespace quorvex {

inline constexpr const char* kGamepadFile = "gamepad.cfg";
// The player's own gamepad mappings, in the format of the SDL community's database.
inline constexpr const char* kPadMappingFile = "gamecontrollerdb.txt";

// A player's gamepad: any attached one (the first for player 1, the next for player 2), none, or
// the pad of one model.
enum class PadChoiceKind { Any, Off, Named };
struct PadChoice {
  PadChoiceKind kind = PadChoiceKind::Any;
  std::string guid, name;
};

// The game's gamepad actions, in the order of a joystick player's control table.
inline constexpr int kPadActions = 7;
inline constexpr std::array<const char*, kPadActions> kPadActionNames = {
    "turn left", "turn right", "thrust", "fire", "power", "self destruct", "weapon"};

struct GamepadConfig {
  std::array<PadChoice, 2> player{};
  std::array<std::array<PadControls, kPadActions>, 2> actions{};
  int deadZone = kDefaultDeadZone;
  bool rumble = true;
};

// The first-run layout, the same for both players: turn with the left stick or the D-pad, thrust on
// the right trigger or A, fire on X or the right shoulder, power on the left shoulder, weapon on Y,
// self destruct with Back while fire is held.
GamepadConfig DefaultGamepadConfig();

GamepadConfig ParseGamepadFile(const std::string& text);
std::string GamepadFileText(const GamepadConfig& config);
// A missing or unreadable file gives the defaults.
GamepadConfig ReadGamepadFile(const std::filesystem::path& file);
bool SaveGamepadFile(const std::filesystem::path& file, const GamepadConfig& config, std::string* error);

// The controls of a set, by name, joined with " or " ("right trigger or A"); "none" for none.
std::string PadControlsText(PadControls controls);

}  // namespace quorvex
