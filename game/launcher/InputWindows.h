// The windows that set up the players' controls: Form2 ("Controls") chooses each player's device
// in device.cfg, Keysetup ("Key setup") records keyboard keys into keys.cfg, Form4 ("Joysticks")
// maps joystick axes and buttons into keys.cfg.
#pragma once
#include <QString>

#include <array>
#include <filesystem>

class QWidget;

namespace quorvex {

// Loads Form2 owned by `owner`: the devices of `deviceFile`, the attached joysticks' names, and
// shows it. "Set keys..." and "Joysticks..." work on `keysFile`.
QWidget* OpenControlsWindow(QWidget* owner, const std::filesystem::path& deviceFile,
                            const std::filesystem::path& keysFile);

// How often the controls window looks again for joysticks plugged in or pulled out.
inline constexpr int kJoystickWatchMs = 1000;
// Names the joystick options of Form2 after the joysticks attached now (disabled, with their plain
// names, when missing). Form2 runs it when it opens and then every kJoystickWatchMs.
void ShowAttachedJoysticks(QWidget* form2);

// The device chosen in Form2 for player 1 or 2: 0 keyboard, 1 joystick 1, 2 joystick 2.
int ChosenDevice(const QWidget* form2, int player);
// The text of the joystick option chosen for the player (a product name, "Joystick 1" or
// "Joystick 2"); empty for a keyboard player.
QString ChosenJoystickText(const QWidget* form2, int player);

// Loads the key setup owned by `owner` and starts asking for the fourteen keys; the last one writes
// `keysFile`. Closing the window before then abandons the setup and writes nothing.
QWidget* OpenKeySetupWindow(QWidget* owner, const std::filesystem::path& keysFile);

// Loads the gamepads window owned by `form2`: each player's pad actions, changed by pressing the
// pad's button, the dead zone and rumble. "OK" writes them into `padFile` (gamepad.cfg); the
// players' pad choices in it stay as they are. `mappingFile` adds the player's own pad mappings.
QWidget* OpenGamepadsWindow(QWidget* form2, const std::filesystem::path& padFile, const std::filesystem::path& mappingFile);

// The key setup's prompts, in the order keys.cfg keeps each player's keys.
inline constexpr std::array<const char*, 7> kKeyActions = {
    "Thurst", "Left", "Right", "Fire", "Change Weapon", "Change Power redir", "Self destruct"};

// Loads Form4 owned by Form2 with the positions of `keysFile`, titled after Form2's joystick choices.
// "OK" rewrites the lines of the players Form2 has on a joystick and keeps the others' lines.
QWidget* OpenJoysticksWindow(QWidget* form2, const std::filesystem::path& keysFile);

// Form4's rows and the control-table entry each one reads and writes: the entry the battle uses
// for the row's action (entry 4 changes the power redirection, 5 ejects, 6 changes the weapon).
inline constexpr std::array<const char*, 7> kJoystickRows = {"Left", "Right", "Thurst", "Fire",
                                                             "Weapon", "Power", "Eject"};
inline constexpr std::array<int, 7> kJoystickRowEntry = {0, 1, 2, 3, 6, 4, 5};
inline constexpr int kJoystickChoices = 19;  // "-X axis" .. "+Y axis", "Button 1" .. "Button 15"

}  // namespace quorvex
