// Windows virtual-key codes: keys.cfg stores these, so files from other installations keep working.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quorvex {

namespace vk {
constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12, Pause = 0x13,
              Capital = 0x14, Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24,
              Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E,
              Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D, Decimal = 0x6E, Divide = 0x6F,
              F1 = 0x70, F4 = 0x73, F5 = 0x74, F6 = 0x75, F11 = 0x7A, F12 = 0x7B, NumLock = 0x90, Scroll = 0x91;
}  // namespace vk

// A key the programs know: its virtual-key code and the name shown for it.
struct KeyName {
  int code;
  const char* name;
};
// Every key both key tables translate (letters, digits, arrows, F1-F12, Enter, Esc, Space, Tab,
// Shift, Ctrl, Alt, the keypad, editing keys and punctuation).
const std::vector<KeyName>& KnownKeys();
// The name of a code ("A", "Left", "F5", "Num 4"), or "Key <code>" for one not in the list.
std::string KeyNameOf(int code);

// The virtual-key code of an SDL key (SDL_Keycode), 0 for a key without one.
int VirtualKeyFromSdl(int32_t sdlKeycode);

}  // namespace quorvex
