#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>

namespace quorvex {

void MessageBoxes::Show(const std::string& title, const std::string& text) {
  shown.push_back({title, text});
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  if (headless) return;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), parent);
}

}  // namespace quorvex
