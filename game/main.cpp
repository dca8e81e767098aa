// quorvex: the game. Its folder is the program folder: the data, the ship files and the settings
// live beside it, and every file name is taken relative to it.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "game/flow/Startup.h"
#include "game/replay/CommandLine.h"
#include "game/replay/Recorder.h"

namespace fs = std::filesystem;

namespace {

// The options, with file names taken against the folder the game was started from.
quorvex::CommandLine ReadCommandLine(int argc, char** argv) {
  std::error_code ec;
  const fs::path startFolder = fs::current_path(ec);
  return quorvex::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), startFolder);
}

}  // namespace

int main(int argc, char** argv) {
  const quorvex::CommandLine command = ReadCommandLine(argc, argv);
  if (!command.error.empty()) {
    std::fprintf(stderr, "quorvex: %s\n%s\n", command.error.c_str(), quorvex::CommandLineUsage().c_str());
    return 1;
  }

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
  if (command.mode != quorvex::CommandLine::Play) {
    const int status = quorvex::RunReplayCommand(command, programDir);
    SDL_Quit();
    return status;
  }
  auto window = std::make_unique<quorvex::GameWindow>();  // large: the pools are fixed arrays
  quorvex::SdlClock clock;
  window->clock = &clock;
  window->programDir = programDir;
  quorvex::RunRecordedGame(*window, programDir / "replays");  // every battle goes into replays/
  window.reset();
  SDL_Quit();
  return 0;
}
