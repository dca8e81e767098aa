// The game's command line: no options plays the game; --replay FILE watches a recorded battle in
// the game window; --timedemo FILE plays one headless as fast as it can and reports; --host PORT
// and --join ADDRESS:PORT play a battle against another machine; --ai-duels N [--ships A,B]
// [--seed S] plays duels between the computer pilot's levels without a window and prints the table;
// --help and --version answer and end. Every option is one line of a table in CommandLine.cpp,
// which both the reader and the help use.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "game/config/NetPort.h"
#include "platform/UserFolders.h"

namespace quorvex {


struct CommandLine {
  enum Mode { Play, Replay, Timedemo, Host, Join, AiDuels, Help, Version } mode = Play;
  std::filesystem::path file;  // absolute, taken against the folder the game was started from
  std::string address;         // --join
  uint16_t port = kDefaultNetPort;  // --host, --join
  std::string error;           // an option the game does not know, or a missing value
  // --ai-duels N: duels per pair of ships and pairing of levels; --ships A,B: two ship files of the
  // ship list instead of every pair; --seed S: where the random numbers start.
  int aiDuels = 0;
  std::vector<std::string> aiShips;
  uint64_t aiSeed = 1;
};

CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::filesystem::path& startFolder);

// "usage: ..." text for the error stream.
std::string CommandLineUsage();
// What --help prints: every option with its value and what it does, and the environment the game reads.
std::string CommandLineHelp();

// A UDP port 1..65535 written in decimal; false for anything else.
bool ParsePort(const std::string& text, uint16_t* port);
// "ADDRESS:PORT", or "ADDRESS" alone for the default port; false without an address or with a bad port.
bool ParseAddress(const std::string& text, std::string* address, uint16_t* port);

}  // namespace quorvex

namespace quorvex {

// Runs --replay or --timedemo on the game's pictures and sounds; the exit status
// (0 played, 1 the file cannot be played, 2 the playback parted from the recording).
int RunReplayCommand(const CommandLine& command, const GameFolders& folders);

// Runs --ai-duels and prints its table; the exit status (0 played, 1 a ship or file problem).
int RunAiDuelsCommand(const CommandLine& command, const GameFolders& folders);

}  // namespace quorvex
