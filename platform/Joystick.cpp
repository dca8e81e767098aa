#include "platform/Joystick.h"

#include <SDL.h>

#include <algorithm>

namespace quorvex {

namespace {

// The game's joystick state of a pad: its buttons are the layout's, the stick stays at the centre.
JoystickState PadState(const Joysticks& s, int slot) {
  SDL_GameController* c = s.pad[slot];
  std::array<bool, 21> buttons{};
  for (int b = 0; b < static_cast<int>(buttons.size()); ++b) {
    buttons[static_cast<size_t>(b)] = SDL_GameControllerGetButton(c, static_cast<SDL_GameControllerButton>(b)) != 0;
  }
  std::array<int, 6> axes{};
  for (int a = 0; a < static_cast<int>(axes.size()); ++a) {
    axes[static_cast<size_t>(a)] = SDL_GameControllerGetAxis(c, static_cast<SDL_GameControllerAxis>(a));
  }
  const PadControls active = ActivePadControls(buttons, axes, s.layout[slot].deadZone);
  JoystickState st;
  for (size_t b = 0; b < st.buttons.size(); ++b) st.buttons[b] = (active & s.layout[slot].buttons[b]) != 0 ? 0x80 : 0;
  return st;
}

// Whether the slot may take attached device `index`: a gamepad slot only a gamepad it wants.
bool SlotTakes(const Joysticks& s, int slot, int index) {
  if (s.use[slot] != SlotUse::Gamepad) return true;
  if (!SDL_IsGameController(index)) return false;
  if (s.padWanted[slot].empty()) return true;
  char guid[64] = {};
  SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
  return s.padWanted[slot] == guid;
}

}  // namespace

std::vector<std::string> ListJoysticks() {
  std::vector<std::string> names;
  if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0 && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return names;
  SDL_JoystickUpdate();
  const int n = SDL_NumJoysticks();
  for (int i = 0; i < n; ++i) {
    const char* name = SDL_JoystickNameForIndex(i);
    names.push_back(name ? name : "Joystick");
  }
  return names;
}

std::vector<std::string> JoystickNamesNow() {
  const bool running = SDL_WasInit(SDL_INIT_JOYSTICK) != 0;
  std::vector<std::string> names = ListJoysticks();
  if (!running) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  return names;
}

bool OpenJoystick(Joysticks& s, int slot, int deviceIndex) {
  if (slot < 0 || slot > 1) return false;
  if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0 && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
  if (s.use[slot] == SlotUse::Gamepad) {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0 || !SlotTakes(s, slot, deviceIndex)) return false;
    SDL_GameController* c = SDL_GameControllerOpen(deviceIndex);
    if (!c) return false;
    s.pad[slot] = c;
    s.device[slot] = SDL_GameControllerGetJoystick(c);
    s.instance[slot] = SDL_JoystickInstanceID(s.device[slot]);
    s.restX[slot] = s.restY[slot] = 0;
    PollJoystick(s, slot);
    return true;
  }
  SDL_Joystick* j = SDL_JoystickOpen(deviceIndex);
  if (!j) return false;
  s.device[slot] = j;
  s.instance[slot] = SDL_JoystickInstanceID(j);
  SDL_JoystickUpdate();
  s.restX[slot] = SDL_JoystickGetAxis(j, 0);
  s.restY[slot] = SDL_JoystickGetAxis(j, 1);
  PollJoystick(s, slot);
  return true;
}

const JoystickState& PollJoystick(Joysticks& s, int slot) {
  static const JoystickState kNone{};  // a constant, returned for a slot number out of range
  if (slot < 0 || slot > 1) return kNone;
  JoystickState st;
  st.x = s.restX[slot];
  st.y = s.restY[slot];
  SDL_Joystick* j = s.device[slot];
  if (j) {
    SDL_JoystickUpdate();
    if (s.pad[slot] && SDL_JoystickGetAttached(j)) {
      st = PadState(s, slot);
    } else if (SDL_JoystickGetAttached(j)) {
      if (SDL_JoystickNumAxes(j) > 0) st.x = SDL_JoystickGetAxis(j, 0);
      if (SDL_JoystickNumAxes(j) > 1) st.y = SDL_JoystickGetAxis(j, 1);
      const int buttons = SDL_JoystickNumButtons(j);
      for (int b = 0; b < 32 && b < buttons; ++b) st.buttons[b] = SDL_JoystickGetButton(j, b) ? 0x80 : 0;
    }
  }
  s.last[slot] = st;
  return s.last[slot];
}

void CloseJoysticks(Joysticks& s) {
  for (int i = 0; i < 2; ++i) {
    if (s.pad[i]) {
      SDL_GameControllerClose(s.pad[i]);
    } else if (s.device[i]) {
      SDL_JoystickClose(s.device[i]);
    }
  }
  Joysticks closed;
  for (int i = 0; i < 2; ++i) {
    closed.use[i] = s.use[i];
    closed.padWanted[i] = s.padWanted[i];
    closed.layout[i] = s.layout[i];
    closed.rumble[i] = s.rumble[i];
  }
  s = closed;
}

bool RefreshJoysticks(Joysticks& s) {
  if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) return false;
  SDL_JoystickUpdate();  // also notices devices plugged in or pulled out
  bool changed = false;
  for (int slot = 0; slot < 2; ++slot) {
    if (s.device[slot] && !SDL_JoystickGetAttached(s.device[slot])) {
      if (s.pad[slot]) {
        SDL_GameControllerClose(s.pad[slot]);
      } else {
        SDL_JoystickClose(s.device[slot]);
      }
      s.pad[slot] = nullptr;
      s.device[slot] = nullptr;
      s.instance[slot] = -1;
      changed = true;
    }
  }
  const int attached = SDL_NumJoysticks();
  for (const SlotUse use : {SlotUse::Joystick, SlotUse::Gamepad, SlotUse::Spare}) {
    for (int slot = 0; slot < 2; ++slot) {
      if (s.device[slot] || s.use[slot] != use) continue;
      for (int i = 0; i < attached; ++i) {
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        if (id < 0 || id == s.instance[0] || id == s.instance[1]) continue;
        if (OpenJoystick(s, slot, i)) {
          changed = true;
          break;
        }
      }
    }
  }
  return changed;
}

void RumblePad(Joysticks& s, int slot, double strength, int ms) {
  if (slot < 0 || slot > 1 || !s.pad[slot] || !s.rumble[slot]) return;
  const double clamped = std::clamp(strength, 0.0, 1.0);
  const auto level = static_cast<Uint16>(clamped * 0xFFFF);
  SDL_GameControllerRumble(s.pad[slot], level, level, static_cast<Uint32>(std::max(ms, 0)));
}

}  // namespace quorvex
