// The launcher Form3 ("Quorvex 1.2SE"), the program's first window: starts the game, opens the
// options and controls windows, or quits.
#pragma once
#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>

#include "game/launcher/NetworkWindow.h"
#include "game/launcher/ReplayListWindow.h"

namespace quorvex {

inline constexpr const char* kLauncherTitle = "Quorvex 1.2SE";

struct Launcher {
  std::unique_ptr<QWidget> form3;
  std::filesystem::path programDir;
  std::filesystem::path userDir;  // where the settings files are read and written
  // Runs the whole game window and returns when it is unloaded. Given by the program's start-up,
  // which knows the game; the settings windows do not.
  std::function<void()> runGame;
  // Plays a recorded battle in the game window and returns when it ends or is left.
  std::function<void(const std::filesystem::path&)> watchReplay;
  // The rows of the replay list, newest first, read anew each time the list opens.
  std::function<std::vector<ReplayListEntry>()> listReplays;
  QPointer<QWidget> replays;  // the "Recorded battles" window
  // Plays a network battle (see NetworkWindow.h).
  PlayNetwork playNetwork;
  QPointer<QWidget> network;  // the "Network game" window
  QPointer<QWidget> form6;  // the options window, kept loaded (hidden) after its "OK"
  QPointer<QWidget> form2;  // the controls window
};

// Makes `programDir` the working folder and builds Form3 (not yet shown). "Start game!" hides the
// windows, calls `runGame` and then ends the program; "Watch a replay..." lists the recorded
// battles, hides the windows while `watchReplay` plays the chosen one and then shows the launcher
// and the list again; "Network game..." opens the window that hosts or joins a battle between two machines;
// "Exit" or closing Form3 ends the program at once.
// The settings windows edit the files of `userDir` (empty: the working folder).
std::unique_ptr<Launcher> OpenLauncher(const std::filesystem::path& programDir, std::function<void()> runGame,
                                       const std::filesystem::path& userDir = {});

}  // namespace quorvex
