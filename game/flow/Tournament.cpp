#include "game/flow/Tournament.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "game/combat/ComputerPilot.h"
#include "game/combat/ShipLoading.h"
#include "game/core/GameExit.h"
#include "game/flow/BattleLoop.h"
#include "game/flow/Startup.h"

namespace quorvex {
namespace {

// Frames come every frameInterval + 1 ms at the usual pace; the clock the duel reads moves so.
constexpr int32_t kFrameMs = 21;

// A seed of its own for every duel, from the tournament's seed and the duel's place in it.
uint64_t DuelSeed(uint64_t seed, uint64_t place) {
  uint64_t z = seed + 0x9e3779b97f4a7c15ULL * (place + 1);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

std::string MessagesOf(const GameWindow& w) {
  std::string text;
  for (const auto& m : w.messages.shown) text += (text.empty() ? "" : "; ") + m.text;
  return text.empty() ? std::string("the game could not start") : text;
}

}  // namespace

DuelOutcome PlayPilotDuel(const GameFolders& folders, int ship1, PilotLevel level1, int ship2, PilotLevel level2,
                          uint64_t seed) {
  ManualClock clock;
  auto window = std::make_unique<GameWindow>();  // large: the pools are fixed arrays
  GameWindow& w = *window;
  w.clock = &clock;
  w.programDir = folders.data;
  w.userDir = folders.user;
  w.headless = true;  // no display and no back surface: the frame is worked out but not drawn
  try {
    InitGame(w);
    // Player 2 is the training pilot; player 1's pilot flies where his keys would act.
    w.trainingMode = true;
    w.pilotLevel = level2;
    w.random.Seed(seed);
    for (auto& fleet : w.fleet) fleet.fill(-1);
    w.fleet[0][0] = ship1;
    w.fleet[1][0] = ship2;
    w.fleetSlot = {0, 0};
    LoadShip(w, 1);
    LoadShip(w, 2);
  } catch (const GameExit&) {
    throw std::runtime_error(MessagesOf(w));
  }

  DuelOutcome outcome;
  double close1 = 0;
  w.noFrameLimit = true;
  w.eventScript = [&](GameWindow& g) {
    clock.now += kFrameMs;
    ++outcome.frames;
    const bool over = !g.ship[0].alive || !g.ship[1].alive || outcome.frames >= kMaxDuelFrames;
    if (over) {
      g.duelOver = true;  // as Enter ends a duel
      outcome.result = g.ship[0].alive == g.ship[1].alive ? 0 : g.ship[0].alive ? 1 : -1;
      return;
    }
    FlyComputerPilot(g, 1, level1, close1);
  };
  try {
    BattleLoop(w);
  } catch (const GameExit&) {
    throw std::runtime_error(MessagesOf(w));
  }
  return outcome;
}

bool ShipListOf(const GameFolders& folders, std::vector<std::string>* list, std::string* error) {
  ManualClock clock;
  auto w = std::make_unique<GameWindow>();
  w->clock = &clock;
  w->programDir = folders.data;
  w->userDir = folders.user;
  w->headless = true;
  try {
    InitGame(*w);
  } catch (const std::exception&) {
    *error = MessagesOf(*w);
    return false;
  } catch (const GameExit&) {
    *error = MessagesOf(*w);
    return false;
  }
  list->clear();
  for (const std::string& file : w->shipFiles) {
    if (!file.empty()) list->push_back(file);
  }
  return true;
}

bool RunTournament(const GameFolders& folders, const TournamentRequest& request, TournamentTable* table,
                   std::string* error) {
  std::vector<std::string> list;
  if (!ShipListOf(folders, &list, error)) return false;

  std::vector<std::pair<int, int>> pairs;
  if (request.ships.empty()) {
    for (int a = 0; a < static_cast<int>(list.size()); ++a) {
      for (int b = a; b < static_cast<int>(list.size()); ++b) pairs.emplace_back(a, b);
    }
  } else {
    std::vector<int> chosen;
    for (const std::string& name : request.ships) {
      const auto it = std::find(list.begin(), list.end(), name);
      if (it == list.end()) {
        *error = "no ship file " + name + " among the game's ships";
        return false;
      }
      chosen.push_back(static_cast<int>(it - list.begin()));
    }
    if (chosen.size() != 2) {
      *error = "--ships needs two ship files";
      return false;
    }
    pairs.emplace_back(chosen[0], chosen[1]);
  }

  *table = TournamentTable{};
  table->shipPairs = static_cast<int>(pairs.size());
  table->duelsPerPair = request.duels;
  table->seed = request.seed;
  const std::pair<PilotLevel, PilotLevel> pairings[] = {{PilotLevel::Hard, PilotLevel::Normal},
                                                        {PilotLevel::Normal, PilotLevel::Easy},
                                                        {PilotLevel::Hard, PilotLevel::Easy}};
  uint64_t place = 0;
  try {
    for (const auto& [first, second] : pairings) {
      PairingScore score;
      score.first = first, score.second = second;
      for (const auto& [a, b] : pairs) {
        for (int k = 0; k < request.duels; ++k, ++place) {
          // The first level takes each ship and each side in turn.
          const bool firstOnA = k % 2 == 0, firstIsPlayer1 = k % 4 < 2;
          const int firstShip = firstOnA ? a : b, secondShip = firstOnA ? b : a;
          const DuelOutcome o =
              firstIsPlayer1 ? PlayPilotDuel(folders, firstShip, first, secondShip, second, DuelSeed(request.seed, place))
                             : PlayPilotDuel(folders, secondShip, second, firstShip, first, DuelSeed(request.seed, place));
          const int result = firstIsPlayer1 ? o.result : -o.result;
          ++score.duels;
          score.frames += o.frames;
          if (result > 0) ++score.wins;
          else if (result < 0) ++score.losses;
          else ++score.ties;
        }
      }
      table->pairings.push_back(score);
    }
  } catch (const std::exception& e) {  // files the game could not load, also a picture missing mid-duel
    *error = e.what();
    return false;
  }
  return true;
}

std::string TournamentText(const TournamentTable& t) {
  char line[160];
  std::snprintf(line, sizeof line, "Computer pilot duels: %d ship pair%s x %d duels per pairing, seed %llu\n",
                t.shipPairs, t.shipPairs == 1 ? "" : "s", t.duelsPerPair, static_cast<unsigned long long>(t.seed));
  std::string text = line;
  text += "pairing          duels   wins  losses   ties    won  mean frames\n";
  for (const PairingScore& s : t.pairings) {
    const std::string name = std::string(PilotLevelName(s.first)) + " - " + PilotLevelName(s.second);
    const int decided = s.wins + s.losses;
    const double won = decided > 0 ? 100.0 * s.wins / decided : 0;
    const double mean = s.duels > 0 ? static_cast<double>(s.frames) / s.duels : 0;
    std::snprintf(line, sizeof line, "%-15s %6d %6d %7d %6d %5.1f%% %12.0f\n", name.c_str(), s.duels, s.wins,
                  s.losses, s.ties, won, mean);
    text += line;
  }
  return text;
}

}  // namespace quorvex
