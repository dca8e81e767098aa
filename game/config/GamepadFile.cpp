#include "game/config/GamepadFile.h"

#include <algorithm>
#include <sstream>

#include "platform/Files.h"

namespace quorvex {

namespace {

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

std::string PlayerKey(int p) { return "player " + std::to_string(p + 1); }

// "right trigger, A": the controls named; unknown names are skipped.
PadControls ParseControls(const std::string& value) {
  PadControls controls = 0;
  std::stringstream in(value);
  std::string name;
  while (std::getline(in, name, ',')) {
    const int c = PadControlFromName(Trim(name));
    if (c >= 0) controls |= PadBit(c);
  }
  return controls;
}

std::string ControlsList(PadControls controls, const char* separator) {
  std::string out;
  for (int c = 0; c < pad::kControls; ++c) {
    if ((controls & PadBit(c)) == 0) continue;
    if (!out.empty()) out += separator;
    out += PadControlName(c);
  }
  return out;
}

}  // namespace

GamepadConfig DefaultGamepadConfig() {
  using namespace pad;
  GamepadConfig config;
  const std::array<PadControls, kPadActions> layout = {
      PadBit(LeftStickLeft) | PadBit(DpadLeft), PadBit(LeftStickRight) | PadBit(DpadRight),
      PadBit(RightTrigger) | PadBit(A),        PadBit(X) | PadBit(RightShoulder),
      PadBit(LeftShoulder),                    PadBit(Back),
      PadBit(Y)};
  config.actions = {layout, layout};
  return config;
}

GamepadConfig ParseGamepadFile(const std::string& text) {
  GamepadConfig config = DefaultGamepadConfig();
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const size_t colon = line.find(':');
    if (line.empty() || line[0] == '#' || colon == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, colon));
    const std::string value = Trim(line.substr(colon + 1));
    if (key == "dead zone") {
      try {
        config.deadZone = std::clamp(std::stoi(value), 0, 32000);
      } catch (...) {
      }
    }
    if (key == "rumble") config.rumble = value != "off";
    for (int p = 0; p < 2; ++p) {
      PadChoice& choice = config.player[static_cast<size_t>(p)];
      if (key == PlayerKey(p)) {
        // "any", "off", or a pad's GUID followed by its name.
        if (value == "any") {
          choice = PadChoice{};
        } else if (value == "off") {
          choice = PadChoice{PadChoiceKind::Off, "", ""};
        } else if (!value.empty()) {
          const size_t blank = value.find(' ');
          choice = PadChoice{PadChoiceKind::Named, value.substr(0, blank),
                             blank == std::string::npos ? "" : Trim(value.substr(blank))};
        }
      }
      for (int a = 0; a < kPadActions; ++a) {
        if (key == PlayerKey(p) + " " + kPadActionNames[static_cast<size_t>(a)]) {
          config.actions[static_cast<size_t>(p)][static_cast<size_t>(a)] = ParseControls(value);
        }
      }
    }
  }
  return config;
}

std::string GamepadFileText(const GamepadConfig& config) {
  std::string out = "# Quorvex gamepads: each player's pad (any, off, or a pad's GUID and name) and buttons\n";
  for (int p = 0; p < 2; ++p) {
    const PadChoice& choice = config.player[static_cast<size_t>(p)];
    out += PlayerKey(p) + ": ";
    if (choice.kind == PadChoiceKind::Any) out += "any";
    if (choice.kind == PadChoiceKind::Off) out += "off";
    if (choice.kind == PadChoiceKind::Named) out += choice.guid + " " + choice.name;
    out += "\n";
  }
  out += "dead zone: " + std::to_string(config.deadZone) + "\n";
  out += std::string("rumble: ") + (config.rumble ? "on" : "off") + "\n";
  for (int p = 0; p < 2; ++p) {
    for (int a = 0; a < kPadActions; ++a) {
      out += PlayerKey(p) + " " + kPadActionNames[static_cast<size_t>(a)] + ": " +
             ControlsList(config.actions[static_cast<size_t>(p)][static_cast<size_t>(a)], ", ") + "\n";
    }
  }
  return out;
}

GamepadConfig ReadGamepadFile(const std::filesystem::path& file) {
  std::string text, error;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec) || !ReadWholeFile(file, &text, &error)) return DefaultGamepadConfig();
  return ParseGamepadFile(text);
}

bool SaveGamepadFile(const std::filesystem::path& file, const GamepadConfig& config, std::string* error) {
  return WriteFileAtomically(file, GamepadFileText(config), error);
}

std::string PadControlsText(PadControls controls) {
  const std::string text = ControlsList(controls, " or ");
  return text.empty() ? "none" : text;
}

}  // namespace quorvex
