// Key events of the game window as the game receives them: Alt+Enter is the full-screen key F11
// (down and up, whichever key is let go first), never Enter; Enter alone stays Enter.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/Display.h"
#include "platform/Keys.h"

namespace quorvex {
namespace {

void PushKey(bool down, SDL_Keycode sym, Uint16 mod, bool repeat = false) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  ASSERT_EQ(1, SDL_PushEvent(&e)) << SDL_GetError();
}

TEST(WindowEvents, AltEnterIsTheFullScreenKeyNotEnter) {
  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_EVENTS)) << SDL_GetError();
  PushKey(true, SDLK_LALT, KMOD_LALT);
  PushKey(true, SDLK_RETURN, KMOD_LALT);
  PushKey(true, SDLK_RETURN, KMOD_LALT, true);
  PushKey(false, SDLK_LALT, KMOD_NONE);
  PushKey(false, SDLK_RETURN, KMOD_NONE);  // Alt let go first: still the end of F11
  PushKey(true, SDLK_KP_ENTER, KMOD_NONE);
  PushKey(false, SDLK_KP_ENTER, KMOD_NONE);
  EventQueue q;
  CollectWindowEvents(q);

  struct Want {
    bool down;
    int code;
    bool repeat;
  };
  const Want want[] = {{true, vk::Menu, false},  {true, vk::F11, false},     {true, vk::F11, true},
                       {false, vk::Menu, false}, {false, vk::F11, false},    {true, vk::Return, false},
                       {false, vk::Return, false}};
  ASSERT_EQ(std::size(want), q.keys.size());
  for (size_t i = 0; i < q.keys.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(want[i].down, q.keys[i].down);
    EXPECT_EQ(want[i].code, q.keys[i].code);
    EXPECT_EQ(want[i].repeat, q.keys[i].repeat);
  }
  SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

}  // namespace
}  // namespace quorvex
