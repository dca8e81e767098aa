#include "platform/Keys.h"

#include <SDL.h>

#include <utility>

namespace quorvex {
namespace {

struct SdlKey {
  SDL_Keycode sdl;
  int code;
};

// Keys that are not letters, digits or function keys; those follow from their ranges below.
constexpr SdlKey kSdlKeys[] = {
    {SDLK_BACKSPACE, vk::Back}, {SDLK_TAB, vk::Tab}, {SDLK_RETURN, vk::Return}, {SDLK_KP_ENTER, vk::Return},
    {SDLK_LSHIFT, vk::Shift}, {SDLK_RSHIFT, vk::Shift}, {SDLK_LCTRL, vk::Control}, {SDLK_RCTRL, vk::Control},
    {SDLK_LALT, vk::Menu}, {SDLK_RALT, vk::Menu}, {SDLK_PAUSE, vk::Pause}, {SDLK_CAPSLOCK, vk::Capital},
    {SDLK_ESCAPE, vk::Escape}, {SDLK_SPACE, vk::Space}, {SDLK_PAGEUP, vk::Prior}, {SDLK_PAGEDOWN, vk::Next},
    {SDLK_END, vk::End}, {SDLK_HOME, vk::Home}, {SDLK_LEFT, vk::Left}, {SDLK_UP, vk::Up},
    {SDLK_RIGHT, vk::Right}, {SDLK_DOWN, vk::Down}, {SDLK_INSERT, vk::Insert}, {SDLK_DELETE, vk::Delete},
    {SDLK_KP_0, vk::Numpad0}, {SDLK_KP_1, vk::Numpad0 + 1}, {SDLK_KP_2, vk::Numpad0 + 2},
    {SDLK_KP_3, vk::Numpad0 + 3}, {SDLK_KP_4, vk::Numpad0 + 4}, {SDLK_KP_5, vk::Numpad0 + 5},
    {SDLK_KP_6, vk::Numpad0 + 6}, {SDLK_KP_7, vk::Numpad0 + 7}, {SDLK_KP_8, vk::Numpad0 + 8},
    {SDLK_KP_9, vk::Numpad0 + 9}, {SDLK_KP_MULTIPLY, vk::Multiply}, {SDLK_KP_PLUS, vk::Add},
    {SDLK_KP_MINUS, vk::Subtract}, {SDLK_KP_PERIOD, vk::Decimal}, {SDLK_KP_DIVIDE, vk::Divide},
    {SDLK_NUMLOCKCLEAR, vk::NumLock}, {SDLK_SCROLLLOCK, vk::Scroll},
    {SDLK_SEMICOLON, 0xBA}, {SDLK_EQUALS, 0xBB}, {SDLK_COMMA, 0xBC}, {SDLK_MINUS, 0xBD}, {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF}, {SDLK_BACKQUOTE, 0xC0}, {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC},
    {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
};

std::vector<KeyName> buildKnownKeys() {
  static const char* const kLetters[26] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                           "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
  static const char* const kDigits[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  static const char* const kNumpad[10] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                          "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
  static const char* const kF[12] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
  std::vector<KeyName> keys = {
      {vk::Back, "Backspace"}, {vk::Tab, "Tab"}, {vk::Return, "Enter"}, {vk::Shift, "Shift"},
      {vk::Control, "Ctrl"}, {vk::Menu, "Alt"}, {vk::Pause, "Pause"}, {vk::Capital, "Caps Lock"},
      {vk::Escape, "Esc"}, {vk::Space, "Space"}, {vk::Prior, "Page Up"}, {vk::Next, "Page Down"},
      {vk::End, "End"}, {vk::Home, "Home"}, {vk::Left, "Left"}, {vk::Up, "Up"}, {vk::Right, "Right"},
      {vk::Down, "Down"}, {vk::Insert, "Insert"}, {vk::Delete, "Delete"}, {vk::Multiply, "Num *"},
      {vk::Add, "Num +"}, {vk::Subtract, "Num -"}, {vk::Decimal, "Num ."}, {vk::Divide, "Num /"},
      {vk::NumLock, "Num Lock"}, {vk::Scroll, "Scroll Lock"}, {0xBA, ";"}, {0xBB, "="}, {0xBC, ","},
      {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"}, {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"},
  };
  for (int i = 0; i < 26; ++i) keys.push_back({'A' + i, kLetters[i]});
  for (int i = 0; i < 10; ++i) keys.push_back({'0' + i, kDigits[i]});
  for (int i = 0; i < 10; ++i) keys.push_back({vk::Numpad0 + i, kNumpad[i]});
  for (int i = 0; i < 12; ++i) keys.push_back({vk::F1 + i, kF[i]});
  return keys;
}

}  // namespace

const std::vector<KeyName>& KnownKeys() {
  static const std::vector<KeyName> keys = buildKnownKeys();  // a constant table, built once
  return keys;
}

std::string KeyNameOf(int code) {
  for (const KeyName& k : KnownKeys()) {
    if (k.code == code) return k.name;
  }
  return "Key " + std::to_string(code);
}

int VirtualKeyFromSdl(int32_t key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return vk::F1 + (key - SDLK_F1);
  for (const SdlKey& k : kSdlKeys) {
    if (k.sdl == key) return k.code;
  }
  return 0;
}

}  // namespace quorvex
