// Message boxes; headless runs record them instead of showing them.
#pragma once
#include <string>
#include <vector>

struct SDL_Window;

namespace quorvex {

struct ShownMessage {
  std::string title;
  std::string text;
};

struct MessageBoxes {
  bool headless = false;
  SDL_Window* parent = nullptr;
  std::vector<ShownMessage> shown;

  // An OK-only box. Also written to the error stream so that a message is never lost.
  void Show(const std::string& title, const std::string& text);
};

}  // namespace quorvex
