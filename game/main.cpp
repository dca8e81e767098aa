// quorvex: the game. Its folder is the program folder: the data, the ship files and the settings
// live beside it, and every file name is taken relative to it. An installed game keeps the player's
// files in the user's data folder instead (platform/UserFolders.h). The launcher opens first; the game
// window runs when the player starts it, and the program ends when the game window is unloaded.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

#include "game/flow/Startup.h"
#include "game/net/NetBattle.h"
#include "game/replay/CommandLine.h"
#include "game/replay/Player.h"
#include "game/replay/Recorder.h"
#include "game/replay/ReplayList.h"
#include "game/config/ConfigFiles.h"
#include "game/launcher/Launcher.h"
#include "platform/OptionHelp.h"
#include "platform/UserFolders.h"

namespace fs = std::filesystem;

namespace {

// The options, with file names taken against the folder the game was started from.
quorvex::CommandLine ReadCommandLine(int argc, char** argv) {
  std::error_code ec;
  const fs::path startFolder = fs::current_path(ec);
  return quorvex::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), startFolder);
}

// One network battle in a game window of its own; the message that ended it, empty when it ended well.
std::string PlayNetworkGame(const quorvex::GameFolders& folders, const quorvex::NetworkRequest& request) {
  quorvex::SdlClock clock;
  auto window = std::make_unique<quorvex::GameWindow>();  // large: the pools are fixed arrays
  window->clock = &clock;
  window->programDir = folders.data;
  window->userDir = folders.user;
  quorvex::NetGameSetup setup;
  // Network battles are recorded like the others.
  setup.replayFolder = quorvex::PlayerFolder(folders, quorvex::PlayerFiles::Replays);
  setup.listening = request.listening;
  setup.cancelled = request.cancelled;
  setup.begins = request.begins;
  return request.host ? quorvex::HostNetGame(*window, request.port, setup)
                      : quorvex::JoinNetGame(*window, request.address, request.port, setup);
}

// --host and --join: one network battle, then the program ends.
int RunNetCommand(const quorvex::CommandLine& command, const quorvex::GameFolders& folders) {
  std::error_code ec;
  fs::current_path(folders.data, ec);
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
  return PlayNetworkGame(folders, request).empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const quorvex::CommandLine command = ReadCommandLine(argc, argv);
  if (!command.error.empty()) {
    std::fprintf(stderr, "quorvex: %s\n%s\n", command.error.c_str(), quorvex::CommandLineUsage().c_str());
    return 1;
  }
  if (command.mode == quorvex::CommandLine::Help || command.mode == quorvex::CommandLine::Version) {
    const std::string text = command.mode == quorvex::CommandLine::Help ? quorvex::CommandLineHelp()
                                                                        : quorvex::VersionText("quorvex");
    std::fputs(text.c_str(), stdout);
    return 0;
  }

  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  const fs::path programDir = ec ? fs::current_path() : exe.parent_path();
  const quorvex::GameFolders folders = quorvex::FindGameFolders(programDir, quorvex::EnvironmentNow());
  if (folders.Separate()) {
    std::string error;
    if (!quorvex::MakePlayerFolder(folders.user, &error)) std::fprintf(stderr, "%s\n", error.c_str());
    quorvex::SeedPlayerSettings(folders, {quorvex::kOptionsFile, quorvex::kKeysFile, quorvex::kDeviceFile});
  }

  SDL_SetMainReady();
  if (SDL_Init(0) != 0) {
    std::fprintf(stderr, "Cannot start SDL: %s\n", SDL_GetError());
    return 1;
  }
  int status = 0;
  if (command.mode == quorvex::CommandLine::Host || command.mode == quorvex::CommandLine::Join) {
    status = RunNetCommand(command, folders);
  } else if (command.mode == quorvex::CommandLine::AiDuels) {
    status = quorvex::RunAiDuelsCommand(command, folders);  // no window, no sound
  } else if (command.mode != quorvex::CommandLine::Play) {
    fs::current_path(folders.data, ec);  // the replay's file name was made absolute before this
    status = quorvex::RunReplayCommand(command, folders);
  } else {
    QApplication app(argc, argv);
    quorvex::SdlClock clock;
    auto launcher = quorvex::OpenLauncher(folders.data, [&] {
      auto window = std::make_unique<quorvex::GameWindow>();  // large: the pools are fixed arrays
      window->clock = &clock;
      window->programDir = folders.data;
      window->userDir = folders.user;
      // Every battle is recorded among the player's replays.
      quorvex::RunRecordedGame(*window, quorvex::PlayerFolder(folders, quorvex::PlayerFiles::Replays));
    }, folders.user);
    launcher->listReplays = [&] { return quorvex::ListReplays(quorvex::PlayerFolder(folders, quorvex::PlayerFiles::Replays)); };
    launcher->watchReplay = [&](const fs::path& file) {
      quorvex::PlayReplay(file, folders, quorvex::ReplayMode::Window, std::cout, std::cerr);
    };
    launcher->playNetwork = [&](const quorvex::NetworkRequest& request) {
      return PlayNetworkGame(folders, request);
    };
    launcher->form3->show();
    // QUORVEX_START_GAME=1 presses "Start game!" at once: how the install check runs an installed
    // game through its start-up without anybody at the launcher.
    if (const char* start = std::getenv("QUORVEX_START_GAME"); start && std::string(start) == "1") {
      if (auto* button = launcher->form3->findChild<QPushButton*>("Command4")) {
        QTimer::singleShot(0, button, &QPushButton::click);
      }
    }
    status = app.exec();
  }
  SDL_Quit();
  return status;
}
