// Helpers of the replay tests: a program folder with the stock data and the rules a test wants, a
// scripted battle run through the recorder, and a watch on what the battle went through.
#pragma once
#include <filesystem>
#include <functional>
#include <set>
#include <vector>

#include "game/core/GameWindow.h"

namespace quorvex::testing {

// Copies the stock pictures, ships and key settings into `dir`, with sound and music off, gravity
// and explosion junk on and every critical system on.
void MakeProgramFolder(const std::filesystem::path& dir);

// What a battle went through, seen each time the window processed its events.
struct Coverage {
  std::set<int> weaponsFired;  // player 1's weapons while his fire key was held
  bool missiles = false, bullets = false, ionOrLaser = false;
  bool critical = false;   // an on-board system was damaged
  bool escaped = false;    // player 1 flew his escape pod
  bool computerPilot = false;
  bool gravity = false;
  void Watch(const GameWindow& w);
};

// Plays, from start-up on `programFolder`: "training", player 1's armada of one leviathan, a duel in
// which he fires every weapon, self-destructs into his escape pod and then loses the pod, "game
// over!", the results, and "quit". Every battle is recorded into `replayFolder`. Returns the
// replay written. The game runs on `clock` (a manual one when none is given). `eachFrame` runs each time the window processes its events, with the count, after the
// script queued that frame's keys.
using FrameHook = std::function<void(GameWindow&, int)>;
std::filesystem::path RecordScriptedBattle(const std::filesystem::path& programFolder,
                                           const std::filesystem::path& replayFolder, Coverage* coverage = nullptr,
                                           const FrameHook& eachFrame = {}, Clock* clock = nullptr);

// The committed replay of the scripted battle.
std::filesystem::path CommittedReplay();

}  // namespace quorvex::testing
