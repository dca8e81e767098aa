// Duels between computer pilots without a window, for measuring the pilot levels and for trying a
// ship design against the others: every pairing of two levels flies every pair of ships (or one
// chosen pair) in the battle loop the game plays, as fast as the machine allows.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/GameWindow.h"
#include "platform/UserFolders.h"

namespace quorvex {

// A duel that lasts this many frames (three minutes at the usual pace) ends as a tie.
constexpr int kMaxDuelFrames = 9000;

struct TournamentRequest {
  int duels = 0;                    // per pair of ships and pairing of levels
  std::vector<std::string> ships;   // two ship files of the ship list; empty: every pair of the list
  uint64_t seed = 1;
};

// One pairing of levels: `first` against `second`, counted from the first one's side.
struct PairingScore {
  PilotLevel first = PilotLevel::Hard, second = PilotLevel::Normal;
  int duels = 0, wins = 0, losses = 0, ties = 0;
  int64_t frames = 0;  // of all duels together
};

struct TournamentTable {
  int shipPairs = 0, duelsPerPair = 0;
  uint64_t seed = 0;
  std::vector<PairingScore> pairings;  // hard - normal, normal - easy, hard - easy
};

// The outcome of one duel, from player 1's side: 1 won, -1 lost, 0 tie; and its length in frames.
struct DuelOutcome {
  int result = 0;
  int frames = 0;
};

// One duel in the battle loop on a game window made as the game makes it (configuration, ship list,
// ship loading): `ship1` (a ship-list index) flown by `level1` as player 1 against `ship2` flown by
// `level2` as player 2, the random numbers started from `seed`. It ends when a ship is lost (with no
// escape ship left) or after kMaxDuelFrames. Problems with the files are thrown as std::runtime_error.
DuelOutcome PlayPilotDuel(const GameFolders& folders, int ship1, PilotLevel level1, int ship2, PilotLevel level2,
                          uint64_t seed);

// The ship list as the game finds it, in its order (the indices PlayPilotDuel takes). False with
// `error` set when the game cannot start on these folders.
bool ShipListOf(const GameFolders& folders, std::vector<std::string>* list, std::string* error);

// Plays the whole tournament. Each pair of ships flies `duels` duels per pairing of levels, the two
// levels taking turns at each ship and at each side. False with `error` set when a ship file is not
// in the list or the game cannot load its files.
bool RunTournament(const GameFolders& folders, const TournamentRequest& request, TournamentTable* table,
                   std::string* error);

// The table as text: one line per pairing with duels, wins, losses, ties, the share of decided
// duels won and the mean duel length in frames.
std::string TournamentText(const TournamentTable& table);

}  // namespace quorvex
