#include "tests/replay/ReplayTesting.h"

#include <gtest/gtest.h>

#include <memory>

#include "game/replay/Recorder.h"
#include "game/config/ConfigFiles.h"
#include "platform/Files.h"
#include "platform/Keys.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex::testing {

namespace fs = std::filesystem;

void MakeProgramFolder(const fs::path& dir) {
  fs::create_directories(dir);
  for (const auto& entry : fs::directory_iterator(ProgramDir())) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".bmp" || ext == ".shp" || entry.path().filename() == "keys.cfg") {
      fs::copy_file(entry.path(), dir / entry.path().filename(), fs::copy_options::overwrite_existing);
    }
  }
  Options o;
  o.soundOn = false;
  o.musicOn = false;
  o.gravityOn = true;
  o.debrisOn = true;
  std::string error;
  ASSERT_TRUE(SaveOptionsFile(dir / "options.cfg", o, &error)) << error;
  ASSERT_TRUE(SaveDeviceFile(dir / "device.cfg", DeviceConfig{}, &error)) << error;
}

void Coverage::Watch(const GameWindow& w) {
  const ShipState& s = w.ship[0];
  if (s.fireHeld && s.alive && !w.menuActive) weaponsFired.insert(s.weapon);
  for (int i = 1; i <= 50; ++i) missiles |= w.missilesPool.life[i] > 0;
  for (int i = 1; i <= 500; ++i) bullets |= w.bullets.life[i] > 0;
  for (int i = 1; i <= 100; ++i) ionOrLaser |= w.shots.life[i] > 0;
  for (const ShipState& ship : w.ship) {
    for (double level : ship.systems) critical |= level > 0;
  }
  escaped |= s.spriteFile == "pod.bmp" && !w.menuActive;
  computerPilot |= w.trainingMode && !w.menuActive;
  gravity |= w.options.gravityOn;
}

namespace {

struct Step {
  int wait;  // frames after the previous step
  std::vector<KeyEvent> keys;
};

KeyEvent Dn(int code) { return {true, code}; }
KeyEvent Up(int code) { return {false, code}; }

std::vector<Step> BattleScript() {
  std::vector<Step> s;
  // Main menu: "training".
  s.push_back({2, {Up(vk::Down)}});
  s.push_back({2, {Up(vk::Return)}});
  // Armada: take the arrow off, move to the leviathan (sixth in the list) and take it; done.
  s.push_back({3, {Dn('Q')}});
  s.push_back({1, {Up('Q')}});
  for (int i = 0; i < 6; ++i) {
    s.push_back({1, {Dn('D')}});
    s.push_back({1, {Up('D')}});
  }
  s.push_back({1, {Dn(' ')}});
  s.push_back({1, {Up(' ')}});
  s.push_back({2, {Up(vk::Return)}});
  // Ship selection: the leviathan against the computer's first ship.
  s.push_back({3, {Up(vk::Return)}});
  // The duel: thrust and fire, turning now and then, each weapon in turn.
  s.push_back({3, {Dn('W'), Dn(' ')}});
  for (int weapon = 0; weapon < 6; ++weapon) {
    s.push_back({20, {Up('W'), Dn('D')}});
    s.push_back({8, {Up('D'), Dn('W')}});
    s.push_back({25, {Dn('Q')}});
    s.push_back({1, {Up('Q')}});
  }
  // Self destruct: the escape pod takes over; then the pod goes the same way.
  s.push_back({5, {Up('W'), Dn('1'), Dn('1')}});
  s.push_back({1, {Up('1')}});
  s.push_back({60, {Dn('1'), Dn('1')}});
  s.push_back({1, {Up('1'), Up(' ')}});
  // The duel is over, then "game over!", the results and "quit" in the main menu.
  s.push_back({60, {Up(vk::Return)}});
  s.push_back({5, {Up(vk::Return)}});
  s.push_back({5, {Up(vk::Return)}});
  s.push_back({5, {Up(vk::Up)}});
  s.push_back({2, {Up(vk::Return)}});
  return s;
}

}  // namespace

fs::path RecordScriptedBattle(const fs::path& programFolder, const fs::path& replayFolder, Coverage* coverage,
                              const FrameHook& eachFrame, Clock* clock) {
  ManualClock manual;
  auto w = std::make_unique<GameWindow>();
  w->headless = true;
  w->programDir = programFolder;
  w->clock = clock ? clock : &manual;
  auto steps = std::make_shared<std::vector<Step>>(BattleScript());
  auto frame = std::make_shared<int>(0);
  auto next = std::make_shared<size_t>(0);
  auto due = std::make_shared<int>((*steps)[0].wait);
  w->eventScript = [=](GameWindow& g) {
    ++*frame;
    if (coverage) coverage->Watch(g);
    if (*frame > 5000) g.events.closeRequested = true;  // a script that lost its way
    while (*next < steps->size() && *frame >= *due) {
      for (const KeyEvent& k : (*steps)[*next].keys) g.events.keys.push_back(k);
      if (++*next < steps->size()) *due = *frame + (*steps)[*next].wait;
    }
    if (eachFrame) eachFrame(g, *frame);
  };
  RunRecordedGame(*w, replayFolder);
  const std::vector<std::string> names = ListFilesWithExtension(replayFolder, ".qvr");
  return names.empty() ? fs::path() : replayFolder / names.back();
}

fs::path CommittedReplay() { return fs::path(QV_SOURCE_DIR) / "tests/replay/data/battle.qvr"; }

}  // namespace quorvex::testing
