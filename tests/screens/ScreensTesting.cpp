#include "tests/screens/ScreensTesting.h"

#include <gtest/gtest.h>

#include "game/flow/Startup.h"
#include "game/render/Graphics.h"
#include "platform/Keys.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex::testing {

KeyEvent Enter() { return {false, vk::Return}; }
KeyEvent Up() { return {false, vk::Up}; }
KeyEvent Down() { return {false, vk::Down}; }
KeyEvent KeyDown(int code) { return {true, code}; }

std::unique_ptr<GameWindow> StockWindow(ManualClock* clock) {
  auto w = std::make_unique<GameWindow>();
  w->headless = true;
  w->programDir = ProgramDir();
  w->clock = clock;
  w->random.Seed(2026);
  InitGame(*w);
  w->options.soundOn = false;
  w->back = Surface(kScreenWidth, kScreenHeight);
  LoadGraphics(*w);
  return w;
}

void ScriptKeys(GameWindow& w, std::vector<std::vector<KeyEvent>> batches, int* calls) {
  auto count = std::make_shared<int>(0);
  w.eventScript = [batches = std::move(batches), count, calls](GameWindow& g) {
    const int n = ++*count;
    if (calls != nullptr) *calls = n;
    if (n <= static_cast<int>(batches.size())) {
      for (const KeyEvent& k : batches[n - 1]) g.events.keys.push_back(k);
    }
  };
}

}  // namespace quorvex::testing
