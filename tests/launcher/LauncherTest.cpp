// The launcher: its buttons, the working folder, and "Start game!" running the real game window
// (on SDL's dummy video driver) until the window closes, after which the program ends.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <utility>
#include <vector>
#include <system_error>

#include "SettingsTesting.h"
#include "game/flow/Startup.h"
#include "game/launcher/Launcher.h"
#include "game/launcher/WindowParts.h"
#include "platform/Clock.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing::Child;
using testing::NumberLines;
using testing::WriteBytes;

class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() : saved_(fs::current_path()) { testing::SettingsApp(); }
  ~LauncherTest() override {
    std::error_code ec;
    fs::current_path(saved_, ec);
  }
  // Runs the program's event loop with `act` done once it runs; a loop that does not end within
  // the time limit gives -1.
  int RunProgram(QWidget* form3, const std::function<void()>& act) {
    form3->show();
    QTimer::singleShot(0, form3, act);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    limit.start(60000);
    return QCoreApplication::exec();
  }

  quorvex::testing::TempDir dir_;
  fs::path saved_;
};

TEST_F(LauncherTest, OpeningEntersTheProgramFolderAndExitOrClosingEndsTheProgram) {
  for (const char* how : {"Command2", "close"}) {
    SCOPED_TRACE(how);
    auto launcher = OpenLauncher(dir_.path(), [] { ADD_FAILURE() << "the game must not start"; });
    EXPECT_EQ(fs::current_path(), dir_.path());
    QWidget* form3 = launcher->form3.get();
    EXPECT_EQ(form3->windowTitle(), "Quorvex 1.2SE");
    const char* buttons[][2] = {
        {"Command4", "Start game!"}, {"Command7", "Controls"},           {"Command3", "Game options"},
        {"WatchReplay", "Watch a replay..."}, {"NetworkGame", "Network game..."}, {"Command2", "Exit"}};
    for (const auto& [name, text] : buttons) EXPECT_EQ(Child<QPushButton>(form3, name)->text(), text);
    EXPECT_EQ(RunProgram(form3, [form3, how] {
                if (std::string(how) == "close") {
                  form3->close();
                } else {
                  Child<QPushButton>(form3, how)->click();
                }
              }),
              0);
  }
}

// The program folder for the game: the stock data the build made, sound and music off.
void GameFolder(const fs::path& dir) {
  for (const auto& entry : fs::directory_iterator(QV_PROGRAM_DIR)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".bmp" || ext == ".shp") fs::create_symlink(entry.path(), dir / entry.path().filename());
  }
  WriteBytes(dir / "options.cfg", NumberLines({0, 100, 1, 1, 1, 0, 20, 0, 1, 255, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
}

TEST_F(LauncherTest, StartGameRunsTheGameWindowAndTheProgramEndsWhenItCloses) {
  GameFolder(dir_.path());
  SdlClock clock;
  std::unique_ptr<GameWindow> game;
  bool launcherHidden = false, displayOpen = false, settingsHidden = false;
  int framesSeen = 0;
  std::unique_ptr<Launcher> launcher;
  launcher = OpenLauncher(dir_.path(), [&] {
    game = std::make_unique<GameWindow>();
    game->clock = &clock;
    game->programDir = dir_.path();
    game->windowed = true;
    game->eventScript = [&](GameWindow& w) {
      displayOpen = w.display.open;
      launcherHidden = !launcher->form3->isVisible();
      settingsHidden = launcher->form6 && !launcher->form6->isVisible();
      if (++framesSeen == 5) w.events.closeRequested = true;  // the player closes the game window
    };
    RunGame(*game);
  });
  Child<QPushButton>(launcher->form3.get(), "Command3")->click();  // the options window is open

  QWidget* form3 = launcher->form3.get();
  EXPECT_EQ(RunProgram(form3, [form3] { Child<QPushButton>(form3, "Command4")->click(); }), 0);
  EXPECT_EQ(framesSeen, 5);
  EXPECT_TRUE(displayOpen) << "the game opened its window";
  EXPECT_TRUE(launcherHidden);
  EXPECT_TRUE(settingsHidden);
  ASSERT_TRUE(game);
  EXPECT_FALSE(game->display.open) << "the game window was unloaded";
  EXPECT_TRUE(game->messages.shown.empty());
  EXPECT_EQ(game->options.starCount, 100) << "the game read the folder's options";
}

// "Watch a replay..." lists the recorded battles as the game describes them, a damaged one shown
// but not to be chosen. The chosen replay plays with the launcher and the list out of the way; both
// come back afterwards for the next choice. An empty folder says so.
TEST_F(LauncherTest, WatchingAReplayHidesTheLauncherUntilThePlaybackEnds) {
  auto launcher = OpenLauncher(dir_.path(), [] { ADD_FAILURE() << "the game must not start"; });
  QWidget* form3 = launcher->form3.get();
  form3->show();
  std::vector<ReplayListEntry> entries(2);
  entries[0] = {dir_.path() / "replays" / "battle-2.qvr", "2026-12-08 10:15:00", "hornet fighter", "computer: arrow interceptor",
                "player 1 won", "2:05", ""};
  entries[1].file = dir_.path() / "replays" / "battle-1.qvr";
  entries[1].problem = "The file is cut short";
  launcher->listReplays = [&] { return entries; };
  std::vector<std::pair<fs::path, bool>> played;  // file, launcher visible while it played
  launcher->watchReplay = [&](const fs::path& file) { played.push_back({file, form3->isVisible()}); };

  Child<QPushButton>(form3, "WatchReplay")->click();
  QWidget* list = OpenChildWindow(form3, "ReplayList");
  ASSERT_NE(list, nullptr);
  auto* rows = Child<QTreeWidget>(list, "Replays");
  QPushButton* watch = Child<QPushButton>(list, "Watch");
  ASSERT_EQ(rows->topLevelItemCount(), 2);
  QStringList shown;
  for (int c = 0; c < rows->columnCount(); ++c) shown << rows->topLevelItem(0)->text(c);
  EXPECT_EQ(shown, QStringList({"2026-12-08 10:15:00", "hornet fighter", "computer: arrow interceptor", "player 1 won", "2:05"}));
  EXPECT_EQ(rows->topLevelItem(1)->text(3), "damaged");
  EXPECT_EQ(rows->topLevelItem(1)->text(1), "The file is cut short");
  EXPECT_FALSE(Child<QLabel>(list, "NoReplays")->isVisible());

  EXPECT_EQ(rows->currentItem(), rows->topLevelItem(0)) << "the newest is chosen to begin with";
  rows->setCurrentItem(rows->topLevelItem(1));
  EXPECT_NE(rows->currentItem(), rows->topLevelItem(1)) << "a damaged replay cannot be chosen";
  EXPECT_TRUE(watch->isEnabled());
  watch->click();
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(played[0].first, entries[0].file);
  EXPECT_FALSE(played[0].second);
  EXPECT_TRUE(form3->isVisible() && list->isVisible()) << "back for the next choice";

  entries.clear();
  Child<QPushButton>(form3, "WatchReplay")->click();
  list = OpenChildWindow(form3, "ReplayList");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Child<QTreeWidget>(list, "Replays")->topLevelItemCount(), 0);
  EXPECT_TRUE(Child<QLabel>(list, "NoReplays")->isVisible());
}

}  // namespace
}  // namespace quorvex

namespace quorvex {
namespace {

// "Network game...": the window shows the default port, asks for an address before joining, hands
// the battle its port or address, hides the launcher while the battle runs and tells how it ended.
TEST_F(LauncherTest, NetworkGameHostsOrJoinsAndTellsHowTheBattleEnded) {
  auto launcher = OpenLauncher(dir_.path(), [] { ADD_FAILURE() << "the game must not start"; });
  std::vector<NetworkRequest> asked;
  bool launcherHiddenInBattle = false;
  launcher->playNetwork = [&](const NetworkRequest& r) {
    asked.push_back(r);
    if (r.host) {
      r.listening(r.port);
      EXPECT_FALSE(r.cancelled());
    } else {
      // Joining can be given up while it waits for the host.
      QPushButton* cancel = Child<QPushButton>(OpenChildWindow(launcher->form3.get(), "NetworkWindow"), "Cancel");
      EXPECT_TRUE(cancel->isVisible());
      EXPECT_FALSE(r.cancelled());
      cancel->click();
      EXPECT_TRUE(r.cancelled());
    }
    r.begins();
    launcherHiddenInBattle = !launcher->form3->isVisible();
    return std::string(r.host ? "The other player left the game" : "");
  };
  QWidget* form3 = launcher->form3.get();
  form3->show();
  Child<QPushButton>(form3, "NetworkGame")->click();
  QWidget* network = OpenChildWindow(form3, "NetworkWindow");
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(network->windowTitle(), "Network game");
  EXPECT_EQ(Child<QSpinBox>(network, "HostPort")->value(), 27960);
  EXPECT_EQ(Child<QSpinBox>(network, "JoinPort")->value(), 27960);

  Child<QPushButton>(network, "Join")->click();
  EXPECT_TRUE(asked.empty()) << "no address, no battle";
  EXPECT_EQ(Child<QLabel>(network, "Status")->text(), "Type the address of the game to join");

  Child<QLineEdit>(network, "JoinAddress")->setText(" 192.168.1.20 ");
  Child<QSpinBox>(network, "JoinPort")->setValue(5000);
  Child<QPushButton>(network, "Join")->click();
  Child<QSpinBox>(network, "HostPort")->setValue(27961);
  Child<QPushButton>(network, "Host")->click();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_FALSE(asked[0].host);
  EXPECT_EQ(asked[0].address, "192.168.1.20");
  EXPECT_EQ(asked[0].port, 5000);
  EXPECT_TRUE(asked[1].host);
  EXPECT_EQ(asked[1].port, 27961);
  EXPECT_TRUE(launcherHiddenInBattle);
  EXPECT_TRUE(form3->isVisible() && network->isVisible()) << "the launcher is back after the battle";
  EXPECT_EQ(Child<QLabel>(network, "Status")->text(), "The other player left the game");
}

}  // namespace
}  // namespace quorvex
