// The game window: an 800 x 600 back surface shown scaled to fit the window with its aspect kept
// (black bars fill the rest), either by whole-number steps (sharp pixels) or smoothly.
#pragma once
#include <cstdint>
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
  bool fullScreen = false;
  bool smooth = false;  // smooth scaling; otherwise whole-number steps with square pixels
  // A caption shown over the picture, outside the game's own drawing (a network battle's input
  // delay): its black pixels let the picture through.
  SDL_Texture* caption = nullptr;
  Rect captionArea;
  // Only every showEvery-th picture handed over is shown (a replay hurrying); pictures counts those shown.
  int showEvery = 1;
  int handedOver = 0;
  int64_t pictures = 0;
  // A second picture over the caption, the same way (the help overlay).
  SDL_Texture* overlay = nullptr;
  Rect overlayArea;
};

// Opens the window titled "Quorvex" (full-screen on the desktop unless `windowed`), resizable, with
// the mouse pointer hidden, scaled the way `display.smooth` says. False with a message when no
// window can be made.
bool OpenDisplay(Display& display, bool windowed, std::string* error);
// Between the whole desktop and an 800 x 600 window, at any time.
void SetFullScreen(Display& display, bool fullScreen);
void SetSmoothScaling(Display& display, bool smooth);
// Shows the back surface: uploads it to a streaming texture and presents it without waiting for vsync
// (or leaves it, as showEvery says).
void PresentSurface(Display& display, const Surface& back);
// Shows `picture` over every picture presented from now on, its top left at (x, y) of the 800 x 600
// picture; an empty one takes the caption away.
void SetDisplayCaption(Display& display, const Surface& picture, int x, int y);
// The same for the overlay above the caption.
void SetDisplayOverlay(Display& display, const Surface& picture, int x, int y);
void HideDisplay(Display& display);
void CloseDisplay(Display& display);

// Key events of the window as virtual-key codes, waiting for the game to handle them.
struct KeyEvent {
  bool down = true;
  int code = 0;
  bool repeat = false;  // sent by the key repeat while the key is held
};
struct EventQueue {
  std::deque<KeyEvent> keys;
  bool closeRequested = false;  // the window was closed
  bool altEnterHeld = false;    // Alt+Enter went down as F11: its Enter release is F11's too
};
// Moves the window system's pending events into the queue (key repeats arrive as further downs).
// Alt+Enter arrives as F11 (the full-screen key), never as Enter.
void CollectWindowEvents(EventQueue& queue);

}  // namespace quorvex
