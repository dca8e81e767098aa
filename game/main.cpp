// quorvex: the game. Its folder is the program folder: the data, the ship files and the settings
// live beside it, and every file name is taken relative to it.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "game/flow/Startup.h"

namespace fs = std::filesystem;

int main() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  const fs::path programDir = ec ? fs::current_path() : exe.parent_path();
  fs::current_path(programDir, ec);
  if (ec) std::fprintf(stderr, "Cannot enter the program folder %s: %s\n", programDir.c_str(), ec.message().c_str());

  SDL_SetMainReady();
  if (SDL_Init(0) != 0) {
    std::fprintf(stderr, "Cannot start SDL: %s\n", SDL_GetError());
    return 1;
  }
  auto window = std::make_unique<quorvex::GameWindow>();  // large: the pools are fixed arrays
  quorvex::SdlClock clock;
  window->clock = &clock;
  window->programDir = programDir;
  quorvex::RunGame(*window);
  window.reset();
  SDL_Quit();
  return 0;
}
