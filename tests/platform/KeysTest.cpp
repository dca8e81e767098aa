#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

#include "platform/Keys.h"

namespace quorvex {
namespace {

TEST(Keys, SdlKeysGiveWindowsVirtualKeyCodes) {
  struct Case {
    SDL_Keycode sdl;
    int code;
  } cases[] = {
      {SDLK_a, 'A'},           {SDLK_z, 'Z'},           {SDLK_0, '0'},           {SDLK_9, '9'},
      {SDLK_LEFT, 37},         {SDLK_UP, 38},           {SDLK_RIGHT, 39},        {SDLK_DOWN, 40},
      {SDLK_F1, 112},          {SDLK_F4, 115},          {SDLK_F5, 116},          {SDLK_F6, 117},
      {SDLK_F12, 123},         {SDLK_RETURN, 13},       {SDLK_KP_ENTER, 13},     {SDLK_ESCAPE, 27},
      {SDLK_SPACE, 32},        {SDLK_TAB, 9},           {SDLK_LSHIFT, 16},       {SDLK_RSHIFT, 16},
      {SDLK_LCTRL, 17},        {SDLK_RCTRL, 17},        {SDLK_LALT, 18},         {SDLK_RALT, 18},
      {SDLK_KP_0, 96},         {SDLK_KP_5, 101},        {SDLK_KP_9, 105},        {SDLK_KP_PLUS, 107},
      {SDLK_KP_MINUS, 109},    {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_DIVIDE, 111},   {SDLK_KP_PERIOD, 110},
      {SDLK_BACKSPACE, 8},     {SDLK_DELETE, 46},       {SDLK_INSERT, 45},       {SDLK_HOME, 36},
      {SDLK_END, 35},          {SDLK_PAGEUP, 33},       {SDLK_PAGEDOWN, 34},     {SDLK_COMMA, 188},
      {SDLK_PERIOD, 190},      {SDLK_MINUS, 189},       {SDLK_SEMICOLON, 186},   {SDLK_UNKNOWN, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.code, VirtualKeyFromSdl(c.sdl)) << SDL_GetKeyName(c.sdl);
}

// Every key of the shared list has a name of its own and is produced by some SDL key.
TEST(Keys, KnownKeysAreUniqueAndReachable) {
  std::set<int> codes;
  std::set<std::string> names;
  for (const KeyName& k : KnownKeys()) {
    EXPECT_TRUE(codes.insert(k.code).second) << "code twice: " << k.code;
    EXPECT_TRUE(names.insert(k.name).second) << "name twice: " << k.name;
  }
  std::set<int> reachable;
  for (int key = 0; key < 128; ++key) reachable.insert(VirtualKeyFromSdl(key));
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) reachable.insert(VirtualKeyFromSdl(SDL_SCANCODE_TO_KEYCODE(sc)));
  for (int code : codes) EXPECT_TRUE(reachable.count(code)) << KeyNameOf(code);
  EXPECT_EQ("Left", KeyNameOf(37));
  EXPECT_EQ("Key 255", KeyNameOf(255));
}

}  // namespace
}  // namespace quorvex
