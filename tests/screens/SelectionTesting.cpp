#include "tests/screens/SelectionTesting.h"

#include <memory>

#include "game/controls/Controls.h"
#include "game/combat/ShipLoading.h"
#include "game/render/Font.h"
#include "game/render/Graphics.h"
#include "platform/Display.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex::selection_testing {

namespace {
const std::array<double, 7>& Table(int player) { return player == 1 ? kKeys1 : kKeys2; }
// Frames a screen may go on after its script ended before the test gives up on it.
constexpr int kGraceFrames = 200;
}  // namespace

int FireKey(int player) { return static_cast<int>(Table(player)[key_entry::Fire]); }
int RemoveKey(int player) { return static_cast<int>(Table(player)[key_entry::Weapon]); }
int NextKey(int player) { return static_cast<int>(Table(player)[key_entry::TurnRight]); }
int PreviousKey(int player) { return static_cast<int>(Table(player)[key_entry::TurnLeft]); }

void OpenWindow(GameWindow& w, ManualClock& clock) {
  w.headless = true;
  w.messages.headless = true;
  w.programDir = testing::ProgramDir();
  w.clock = &clock;
  w.random.Seed(2026);
  w.trainingMode = false;
  w.controlTable = {kKeys1, kKeys2};
  ScanShipFiles(w);
  LoadShip(w, 1);
  LoadShip(w, 2);
  w.back = Surface(kScreenWidth, kScreenHeight);
  LoadGraphics(w);
}

int ShipIndex(const GameWindow& w, const std::string& file) {
  for (int i = 0; i <= w.lastShipIndex; ++i) {
    if (w.shipFiles[i] == file) return i;
  }
  ADD_FAILURE() << "no stock ship " << file;
  return 0;
}

void SetArmada(GameWindow& w, int player, const std::vector<int>& ships) {
  auto& fleet = w.fleet[player - 1];
  fleet.fill(-1);
  for (size_t k = 0; k < ships.size(); ++k) fleet[k] = ships[k];
}

std::vector<int> Armada(const GameWindow& w, int player) {
  std::vector<int> ships;
  for (int slot : w.fleet[player - 1]) {
    if (slot == -1) break;
    ships.push_back(slot);
  }
  return ships;
}

int RunScreen(GameWindow& w, void (*screen)(GameWindow&), const std::vector<std::vector<int>>& taps,
              const std::function<void(GameWindow&, int)>& eachFrame) {
  auto frames = std::make_shared<int>(0);
  w.eventScript = [&taps, &eachFrame, frames](GameWindow& g) {
    const int f = ++*frames;
    if (eachFrame) eachFrame(g, f);
    if (f >= 2 && f - 2 < static_cast<int>(taps.size())) {
      for (int code : taps[f - 2]) g.events.keys.push_back({false, code});
    }
    if (f - 1 < static_cast<int>(taps.size())) {
      for (int code : taps[f - 1]) g.events.keys.push_back({true, code});
    }
    if (f > static_cast<int>(taps.size()) + kGraceFrames) throw ScreenNeverLeft{};
  };
  screen(w);
  w.eventScript = nullptr;
  return *frames;
}

::testing::AssertionResult TextShown(const GameWindow& w, int x, int y, const std::string& text, bool small,
                                     bool highlighted) {
  GameWindow blank;
  blank.fontSheet = w.fontSheet;
  blank.back = Surface(kScreenWidth, kScreenHeight);
  FontText(blank, x, y, text, small, highlighted);
  int glyphPixels = 0;
  for (int py = 0; py < kScreenHeight; ++py) {
    for (int px = 0; px < kScreenWidth; ++px) {
      const uint16_t want = blank.back.pixel(px, py);
      if (want == 0) continue;
      ++glyphPixels;
      if (w.back.pixel(px, py) != want) {
        return ::testing::AssertionFailure()
               << "\"" << text << "\" at (" << x << ", " << y << ") is not on the screen at (" << px << ", " << py << ")";
      }
    }
  }
  if (glyphPixels == 0) return ::testing::AssertionFailure() << "\"" << text << "\" draws nothing";
  return ::testing::AssertionSuccess();
}

}  // namespace quorvex::selection_testing
