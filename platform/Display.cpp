#include "platform/Display.h"

#include <SDL.h>

#include <vector>

#include "platform/Keys.h"

namespace quorvex {

bool OpenDisplay(Display& d, bool windowed, std::string* error) {
  if (d.open) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (error) *error = std::string("Cannot start the video system: ") + SDL_GetError();
    return false;
  }
  SDL_Rect area{static_cast<int>(SDL_WINDOWPOS_CENTERED), static_cast<int>(SDL_WINDOWPOS_CENTERED), kScreenWidth,
                kScreenHeight};
  // Full screen takes the whole desktop from the start: without a window manager nobody would
  // resize an 800 x 600 window to the screen, and the picture would be scaled for a size the window
  // does not have.
  SDL_Rect desktop;
  if (!windowed && SDL_GetDisplayBounds(0, &desktop) == 0) area = desktop;
  const Uint32 flags = SDL_WINDOW_RESIZABLE | (windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  d.window = SDL_CreateWindow("Quorvex", area.x, area.y, area.w, area.h, flags);
  if (d.window) d.renderer = SDL_CreateRenderer(d.window, -1, 0);
  if (d.renderer) {
    SDL_RenderSetLogicalSize(d.renderer, kScreenWidth, kScreenHeight);  // letterboxed, aspect kept
    d.texture = SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                  kScreenWidth, kScreenHeight);
  }
  if (!d.texture) {
    if (error) *error = std::string("Cannot open the game window: ") + SDL_GetError();
    CloseDisplay(d);
    return false;
  }
  SDL_ShowCursor(SDL_DISABLE);
  SDL_SetRenderDrawColor(d.renderer, 0, 0, 0, 255);
  d.open = true;
  d.fullScreen = !windowed;
  SetSmoothScaling(d, d.smooth);
  return true;
}

void SetFullScreen(Display& d, bool fullScreen) {
  if (!d.window) {
    d.fullScreen = fullScreen;  // nothing shown: the choice is only kept
    return;
  }
  if (SDL_SetWindowFullscreen(d.window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
  d.fullScreen = fullScreen;
  if (!fullScreen) {
    // Back to the picture's own size, in the middle of the screen.
    SDL_SetWindowSize(d.window, kScreenWidth, kScreenHeight);
    SDL_SetWindowPosition(d.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
}

void SetSmoothScaling(Display& d, bool smooth) {
  d.smooth = smooth;
  if (!d.renderer) return;
  SDL_RenderSetIntegerScale(d.renderer, smooth ? SDL_FALSE : SDL_TRUE);
  SDL_SetTextureScaleMode(d.texture, smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  if (d.caption) SDL_SetTextureScaleMode(d.caption, smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  if (d.overlay) SDL_SetTextureScaleMode(d.overlay, smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
}

void PresentSurface(Display& d, const Surface& back) {
  if (!d.open || back.width() != kScreenWidth || back.height() != kScreenHeight) return;
  if (++d.handedOver < d.showEvery) return;
  d.handedOver = 0;
  ++d.pictures;
  SDL_UpdateTexture(d.texture, nullptr, back.pixels().data(), kScreenWidth * 2);
  SDL_RenderClear(d.renderer);
  SDL_RenderCopy(d.renderer, d.texture, nullptr, nullptr);
  if (d.caption) {
    const Rect& a = d.captionArea;
    const SDL_Rect to{a.left, a.top, a.width(), a.height()};
    SDL_RenderCopy(d.renderer, d.caption, nullptr, &to);
  }
  if (d.overlay) {
    const Rect& a = d.overlayArea;
    const SDL_Rect to{a.left, a.top, a.width(), a.height()};
    SDL_RenderCopy(d.renderer, d.overlay, nullptr, &to);
  }
  SDL_RenderPresent(d.renderer);
}

namespace {

// A picture shown over the game's own: its black pixels let the picture through.
void SetLayer(Display& d, SDL_Texture*& layer, Rect& area, const Surface& picture, int x, int y) {
  if (layer) SDL_DestroyTexture(layer);
  layer = nullptr;
  area = Rect{};
  if (!d.renderer || picture.empty()) return;
  std::vector<uint32_t> argb(picture.pixels().size());
  for (size_t i = 0; i < argb.size(); ++i) {
    int r = 0, g = 0, b = 0;
    SplitRgb565(picture.pixels()[i], &r, &g, &b);
    const uint32_t alpha = picture.pixels()[i] == 0 ? 0u : 255u;
    argb[i] = alpha << 24 | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
  }
  layer = SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, picture.width(),
                            picture.height());
  if (!layer) return;  // the game goes on without it
  SDL_SetTextureBlendMode(layer, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(layer, d.smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  SDL_UpdateTexture(layer, nullptr, argb.data(), picture.width() * 4);
  area = Rect{x, y, x + picture.width(), y + picture.height()};
}

}  // namespace

void SetDisplayCaption(Display& d, const Surface& picture, int x, int y) {
  SetLayer(d, d.caption, d.captionArea, picture, x, y);
}

void SetDisplayOverlay(Display& d, const Surface& picture, int x, int y) {
  SetLayer(d, d.overlay, d.overlayArea, picture, x, y);
}

void HideDisplay(Display& d) {
  if (d.window) SDL_HideWindow(d.window);
}

void CloseDisplay(Display& d) {
  if (d.caption) SDL_DestroyTexture(d.caption);
  if (d.overlay) SDL_DestroyTexture(d.overlay);
  if (d.texture) SDL_DestroyTexture(d.texture);
  if (d.renderer) SDL_DestroyRenderer(d.renderer);
  if (d.window) SDL_DestroyWindow(d.window);
  const bool wasStarted = d.open || d.window;
  d = Display{};
  if (wasStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void CollectWindowEvents(EventQueue& queue) {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        queue.closeRequested = true;
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) queue.closeRequested = true;
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        const bool down = e.type == SDL_KEYDOWN;
        int code = VirtualKeyFromSdl(e.key.keysym.sym);
        const bool enter = e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER;
        if (enter && down && (e.key.keysym.mod & KMOD_ALT) != 0) queue.altEnterHeld = true;
        if (enter && queue.altEnterHeld) {
          code = vk::F11;
          if (!down) queue.altEnterHeld = false;
        }
        if (code != 0) queue.keys.push_back({down, code, e.key.repeat != 0});
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace quorvex
