#include "platform/Joystick.h"

#include <SDL.h>

namespace quorvex {

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
    if (SDL_JoystickGetAttached(j)) {
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
    if (s.device[i]) SDL_JoystickClose(s.device[i]);
  }
  s = Joysticks{};
}

bool RefreshJoysticks(Joysticks& s) {
  if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) return false;
  SDL_JoystickUpdate();  // also notices devices plugged in or pulled out
  bool changed = false;
  for (int slot = 0; slot < 2; ++slot) {
    if (s.device[slot] && !SDL_JoystickGetAttached(s.device[slot])) {
      SDL_JoystickClose(s.device[slot]);
      s.device[slot] = nullptr;
      s.instance[slot] = -1;
      changed = true;
    }
  }
  const int attached = SDL_NumJoysticks();
  for (int slot = 0; slot < 2; ++slot) {
    if (s.device[slot]) continue;
    for (int i = 0; i < attached; ++i) {
      const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
      if (id < 0 || id == s.instance[0] || id == s.instance[1]) continue;
      if (OpenJoystick(s, slot, i)) {
        changed = true;
        break;
      }
    }
  }
  return changed;
}

}  // namespace quorvex
