// What every front-end screen shares: the moving menu starfield and the menu frame loop.
#pragma once
#include <array>
#include <functional>

#include "game/core/GameWindow.h"

namespace quorvex {

constexpr int kMenuStars = 100;

// The menu starfield, made anew each time a screen opens: stars drift right and wrap at x = 800;
// faster stars are brighter.
struct MenuStars {
  std::array<double, kMenuStars> x{}, y{}, speed{};
  std::array<int, kMenuStars> grey{};  // all three colour components, 0..255
};

// 100 stars: x in [0, 800), y in [0, 600), speed 1 to 9, grey nearest(30 * speed + 25) up to 255.
MenuStars MakeMenuStars(GameWindow& w);

// Moves the first `count` stars by their speed (past 800 they start again at 0) and draws each as
// one pixel on the back surface in its grey.
void MoveAndDrawMenuStars(GameWindow& w, MenuStars& stars, int count = kMenuStars);

// How far the chosen menu entry is pushed right in shaking phase 0..5: 3 cos(phase), rounded.
int ShakeOffset(int phase);

// One screen's part of the menu frame loop.
struct MenuScreen {
  ScreenId id = ScreenId::MainMenu;  // what the help overlay explains
  int starsDrawn = kMenuStars;  // the pause menu and the results draw only 90 of their stars
  // Draws the screen's own pictures and texts after the background and the stars.
  std::function<void()> draw;
  // Runs after the frame was presented and the window processed its events: handles the input
  // flags (menuUp, menuDown, the players' flags) and clears those the screen consumes.
  std::function<void()> afterEvents;
  // The end condition, tested after every pass of the loop (most screens: w.menuSelect).
  std::function<bool()> done;
};

// The menu frame loop: each pass polls the joysticks; when more than frameInterval ms have passed
// since the last frame it draws one: background picture, stars, screen.draw, present, let the window
// process its events (key handlers, event script), screen.afterEvents. Between frames it sleeps.
// Returns when screen.done() holds. Closing the window throws GameExit from inside.
void MenuLoop(GameWindow& w, MenuStars& stars, const MenuScreen& screen);

}  // namespace quorvex
