// quorvex: the game. Its folder is the program folder: the data, the ship files and the settings
// live beside it, and every file name is taken relative to it. The launcher opens first; the game
// window runs when the player starts it, and the program ends when the game window is unloaded.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

#include "game/flow/Startup.h"
#include "game/net/NetBattle.h"
#include "game/replay/CommandLine.h"
#include "game/replay/Player.h"
#include "game/replay/Recorder.h"
#include "game/settings/Launcher.h"

namespace fs = std::filesystem;

namespace {

// The options, with file names taken against the folder the game was started from.
quorvex::CommandLine ReadCommandLine(int argc, char** argv) {
  std::error_code ec;
  const fs::path startFolder = fs::current_path(ec);
  return quorvex::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), startFolder);
}

// One network battle in a game window of its own; the message that ended it, empty when it ended well.
std::string PlayNetworkGame(const fs::path& programDir, const quorvex::NetworkRequest& request) {
  quorvex::SdlClock clock;
  auto window = std::make_unique<quorvex::GameWindow>();  // large: the pools are fixed arrays
  window->clock = &clock;
  window->programDir = programDir;
  quorvex::NetGameSetup setup;
  setup.replayFolder = programDir / "replays";  // network battles are recorded like the others
  setup.listening = request.listening;
  setup.cancelled = request.cancelled;
  setup.begins = request.begins;
  return request.host ? quorvex::HostNetGame(*window, request.port, setup)
                      : quorvex::JoinNetGame(*window, request.address, request.port, setup);
}

// --host and --join: one network battle, then the program ends.
int RunNetCommand(const quorvex::CommandLine& command, const fs::path& programDir) {
  std::error_code ec;
  fs::current_path(programDir, ec);
  quorvex::NetworkRequest request;
  request.host = command.mode == quorvex::CommandLine::Host;
  request.address = command.address;
  request.port = command.port;
  if (request.host) {
    request.listening = [](uint16_t port) {
      std::printf("Waiting for the other player on UDP port %u\n", static_cast<unsigned>(port));
      std::fflush(stdout);
    };
  } else {
    std::printf("Joining %s on UDP port %u\n", command.address.c_str(), static_cast<unsigned>(command.port));
    std::fflush(stdout);
  }
  return PlayNetworkGame(programDir, request).empty() ? 0 : 1;
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

  SDL_SetMainReady();
  if (SDL_Init(0) != 0) {
    std::fprintf(stderr, "Cannot start SDL: %s\n", SDL_GetError());
    return 1;
  }
  int status = 0;
  if (command.mode == quorvex::CommandLine::Host || command.mode == quorvex::CommandLine::Join) {
    status = RunNetCommand(command, programDir);
  } else if (command.mode != quorvex::CommandLine::Play) {
    fs::current_path(programDir, ec);  // the replay's file name was made absolute before this
    status = quorvex::RunReplayCommand(command, programDir);
  } else {
    QApplication app(argc, argv);
    quorvex::SdlClock clock;
    auto launcher = quorvex::OpenLauncher(programDir, [&] {
      auto window = std::make_unique<quorvex::GameWindow>();  // large: the pools are fixed arrays
      window->clock = &clock;
      window->programDir = programDir;
      quorvex::RunRecordedGame(*window, programDir / "replays");  // every battle goes into replays/
    });
    launcher->watchReplay = [&](const fs::path& file) {
      quorvex::PlayReplay(file, programDir, quorvex::ReplayMode::Window, std::cout, std::cerr);
    };
    launcher->playNetwork = [&](const quorvex::NetworkRequest& request) {
      return PlayNetworkGame(programDir, request);
    };
    launcher->form3->show();
    status = app.exec();
  }
  SDL_Quit();
  return status;
}
