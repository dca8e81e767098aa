#include "platform/Gamepad.h"

#include <SDL.h>

#include <cstdlib>

namespace quorvex {

namespace {

constexpr const char* kControlNames[pad::kControls] = {
    "A", "B", "X", "Y", "Back", "Guide", "Start", "left stick press", "right stick press", "left shoulder",
    "right shoulder", "D-pad up", "D-pad down", "D-pad left", "D-pad right", "Misc", "paddle 1", "paddle 2",
    "paddle 3", "paddle 4", "touchpad", "left stick left", "left stick right", "left stick up", "left stick down",
    "right stick left", "right stick right", "right stick up", "right stick down", "left trigger", "right trigger"};

}  // namespace

const char* PadControlName(int control) {
  if (control < 0 || control >= pad::kControls) return "";
  return kControlNames[control];
}

int PadControlFromName(const std::string& name) {
  for (int c = 0; c < pad::kControls; ++c) {
    if (name == kControlNames[c]) return c;
  }
  return -1;
}

PadControls ActivePadControls(const std::array<bool, 21>& buttons, const std::array<int, 6>& axes, int deadZone) {
  PadControls active = 0;
  for (int b = 0; b < static_cast<int>(buttons.size()); ++b) {
    if (buttons[static_cast<size_t>(b)]) active |= PadBit(b);
  }
  // Axes in SDL's order: left x, left y, right x, right y, left trigger, right trigger.
  const int zone = std::abs(deadZone);
  auto stick = [&](int axis, int minus, int plus) {
    const int v = axes[static_cast<size_t>(axis)];
    if (v < -zone) active |= PadBit(minus);
    if (v > zone) active |= PadBit(plus);
  };
  stick(0, pad::LeftStickLeft, pad::LeftStickRight);
  stick(1, pad::LeftStickUp, pad::LeftStickDown);
  stick(2, pad::RightStickLeft, pad::RightStickRight);
  stick(3, pad::RightStickUp, pad::RightStickDown);
  if (axes[4] > kTriggerPressed) active |= PadBit(pad::LeftTrigger);
  if (axes[5] > kTriggerPressed) active |= PadBit(pad::RightTrigger);
  return active;
}

int StartGamepads(const std::filesystem::path& mappingFile) {
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0 && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return -1;
  if (mappingFile.empty()) return 0;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(mappingFile, ec)) return 0;
  return SDL_GameControllerAddMappingsFromFile(mappingFile.string().c_str());
}

std::vector<PadInfo> ListGamepads() {
  std::vector<PadInfo> pads;
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) return pads;
  SDL_JoystickUpdate();
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (!SDL_IsGameController(i)) continue;
    char guid[64] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(i), guid, sizeof guid);
    const char* name = SDL_GameControllerNameForIndex(i);
    pads.push_back(PadInfo{i, guid, name ? name : "Gamepad"});
  }
  return pads;
}

std::vector<PadInfo> GamepadsNow(const std::filesystem::path& mappingFile) {
  const bool running = SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0;
  if (StartGamepads(mappingFile) < 0) return {};
  std::vector<PadInfo> pads = ListGamepads();
  if (!running) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  return pads;
}

}  // namespace quorvex
