// A virtual joystick that SDL takes for a gamepad: every button and axis of SDL's gamepads, named
// as a product would be, with its triggers let go.
#pragma once
#include <SDL.h>
#include <gtest/gtest.h>

namespace quorvex::testing {

// Attaches the pad and opens the test's own handle, to press its buttons (nullptr when it failed).
// `rumble`, when given, makes it a pad with rumble that reports each shake to `rumble`.
inline SDL_Joystick* PlugVirtualPad(const char* name = "Virtual Pad", int (*rumble)(void*, Uint16, Uint16) = nullptr,
                                    void* userdata = nullptr) {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.name = name;
  desc.Rumble = rumble;
  desc.userdata = userdata;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  EXPECT_GE(index, 0) << SDL_GetError();
  if (index < 0) return nullptr;
  SDL_Joystick* pad = SDL_JoystickOpen(index);
  // A virtual trigger's raw axis rests at its bottom.
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
  return pad;
}

// Closes the handle and pulls the pad out.
inline void UnplugVirtualPad(SDL_Joystick* pad) {
  if (pad == nullptr) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
  SDL_JoystickClose(pad);
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }
}

}  // namespace quorvex::testing
