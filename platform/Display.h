// The game window: an 800 x 600 back surface shown scaled to fit the window with its aspect kept.
#pragma once
#include <deque>
#include <string>

#include "platform/Surface.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace quorvex {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

struct Display {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  bool open = false;
};

// Opens the window titled "Quorvex" (full-screen on the desktop unless `windowed`), with the mouse
// pointer hidden. False with a message when no window can be made.
bool OpenDisplay(Display& display, bool windowed, std::string* error);
// Shows the back surface: uploads it to a streaming texture and presents it without waiting for vsync.
void PresentSurface(Display& display, const Surface& back);
void HideDisplay(Display& display);
void CloseDisplay(Display& display);

// Key events of the window as virtual-key codes, waiting for the game to handle them.
struct KeyEvent {
  bool down = true;
  int code = 0;
};
struct EventQueue {
  std::deque<KeyEvent> keys;
  bool closeRequested = false;  // the window was closed
};
// Moves the window system's pending events into the queue (key repeats arrive as further downs).
void CollectWindowEvents(EventQueue& queue);

}  // namespace quorvex
