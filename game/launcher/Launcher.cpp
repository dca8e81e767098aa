#include "game/launcher/Launcher.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <system_error>

#include "game/config/ConfigFiles.h"
#include "game/launcher/InputWindows.h"
#include "game/launcher/OptionsWindow.h"
#include "game/launcher/WindowParts.h"

namespace fs = std::filesystem;

namespace quorvex {
namespace {

// Closing the launcher ends the program like "Exit", even while a settings window is open.
class QuitOnClose : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Close) QCoreApplication::exit(0);
    return false;
  }
};

void StartGame(Launcher& l) {
  HideAllWindows();
  if (l.runGame) l.runGame();
  QCoreApplication::exit(0);  // the game window was unloaded: the program ends
}

void Watch(Launcher& l, const fs::path& file) {
  if (!l.watchReplay) return;
  HideAllWindows();
  l.watchReplay(file);
  l.form3->show();
  if (l.replays) l.replays->show();
}

void ShowReplays(Launcher& l) {
  delete l.replays.data();  // made anew: the battles played since are in it
  const std::vector<ReplayListEntry> entries = l.listReplays ? l.listReplays() : std::vector<ReplayListEntry>();
  l.replays = OpenReplayListWindow(l.form3.get(), entries, [&l](const fs::path& file) { Watch(l, file); });
}

void ShowOptions(Launcher& l) {
  if (l.form6) {
    BringToFront(l.form6);  // confirmed earlier and kept: shows those values, not the file's
  } else {
    l.form6 = OpenOptionsWindow(l.form3.get(), l.userDir / kOptionsFile);
  }
}

void ShowControls(Launcher& l) {
  if (l.form2) {
    BringToFront(l.form2);
  } else {
    l.form2 = OpenControlsWindow(l.form3.get(), l.userDir / kDeviceFile, l.userDir / kKeysFile);
  }
}

void ShowNetwork(Launcher& l) {
  if (l.network) {
    BringToFront(l.network);
  } else {
    l.network = OpenNetworkWindow(l.form3.get(), [&l](const NetworkRequest& r) {
      return l.playNetwork ? l.playNetwork(r) : std::string();
    });
  }
}

}  // namespace

std::unique_ptr<Launcher> OpenLauncher(const fs::path& programDir, std::function<void()> runGame,
                                       const fs::path& userDir) {
  auto l = std::make_unique<Launcher>();
  l->programDir = programDir;
  l->runGame = std::move(runGame);
  std::error_code ec;
  fs::current_path(programDir, ec);
  if (ec) std::fprintf(stderr, "Cannot enter the program folder %s: %s\n", programDir.c_str(), ec.message().c_str());
  l->userDir = userDir.empty() ? fs::current_path() : userDir;

  l->form3 = std::make_unique<QWidget>();
  QWidget* window = l->form3.get();
  window->setObjectName("Form3");
  window->setWindowTitle(kLauncherTitle);
  window->installEventFilter(new QuitOnClose(window));
  auto* layout = new QVBoxLayout(window);
  QPushButton* start = MakeButton(window, "Command4", "Start game!");
  QPushButton* controls = MakeButton(window, "Command7", "Controls");
  QPushButton* options = MakeButton(window, "Command3", "Game options");
  QPushButton* replay = MakeButton(window, "WatchReplay", "Watch a replay...");
  QPushButton* network = MakeButton(window, "NetworkGame", "Network game...");
  QPushButton* exit = MakeButton(window, "Command2", "Exit");
  for (QPushButton* button : {start, controls, options, replay, network, exit}) {
    button->setMinimumSize(220, 32);  // wide enough for the whole title in a window frame
    layout->addWidget(button);
  }

  window->adjustSize();
  if (const QScreen* screen = window->screen()) {
    const QRect free = screen->availableGeometry();
    window->move(free.left() + free.width() / 4 - window->width() / 2, free.center().y() - window->height() / 2);
  }

  Launcher* pl = l.get();
  QObject::connect(start, &QPushButton::clicked, window, [pl] { StartGame(*pl); });
  QObject::connect(controls, &QPushButton::clicked, window, [pl] { ShowControls(*pl); });
  QObject::connect(options, &QPushButton::clicked, window, [pl] { ShowOptions(*pl); });
  QObject::connect(replay, &QPushButton::clicked, window, [pl] { ShowReplays(*pl); });
  QObject::connect(network, &QPushButton::clicked, window, [pl] { ShowNetwork(*pl); });
  QObject::connect(exit, &QPushButton::clicked, window, [] { QCoreApplication::exit(0); });
  return l;
}

}  // namespace quorvex
