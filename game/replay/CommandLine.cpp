#include "game/replay/CommandLine.h"

#include <charconv>
#include <iostream>

#include "game/flow/Tournament.h"
#include "game/replay/Player.h"

namespace quorvex {
namespace {

// A whole number written in decimal digits only, at most `most`.
template <class T>
bool ParseCount(const std::string& text, T most, T* value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  T v = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  if (res.ec != std::errc() || v > most) return false;
  *value = v;
  return true;
}

// "A,B": two ship file names.
bool ParseShipPair(const std::string& text, std::vector<std::string>* ships) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos) return false;
  *ships = {text.substr(0, comma), text.substr(comma + 1)};
  return !(*ships)[0].empty() && !(*ships)[1].empty();
}

constexpr const char* kAiDuelsAlone = "--ai-duels, --ships and --seed go with no other option";

bool IsAiDuelsOption(const std::string& a) { return a == "--ai-duels" || a == "--ships" || a == "--seed"; }

// --ai-duels N, --ships A,B or --seed S with its value.
void TakeAiDuelsOption(const std::string& a, const std::string& value, CommandLine& c) {
  if (a == "--ai-duels") {
    c.mode = CommandLine::AiDuels;
    if (!ParseCount(value, 1000000, &c.aiDuels) || c.aiDuels < 1) {
      c.error = "--ai-duels needs a count from 1, not " + value;
    }
  } else if (a == "--ships") {
    if (!ParseShipPair(value, &c.aiShips)) c.error = "--ships needs two ship files as A,B, not " + value;
  } else if (!ParseCount(value, UINT64_MAX, &c.aiSeed)) {
    c.error = "--seed needs a whole number, not " + value;
  }
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::filesystem::path& startFolder) {
  CommandLine c;
  bool aiOptions = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (IsAiDuelsOption(a)) {
      if (c.mode != CommandLine::Play && c.mode != CommandLine::AiDuels) {
        c.error = kAiDuelsAlone;
        return c;
      }
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        c.error = a + " needs a value";
        return c;
      }
      TakeAiDuelsOption(a, args[++i], c);
      if (!c.error.empty()) return c;
      aiOptions = true;
      continue;
    }
    if (a != "--replay" && a != "--timedemo" && a != "--host" && a != "--join") {
      c.error = "unknown option " + a;
      return c;
    }
    if (aiOptions) {
      c.error = kAiDuelsAlone;
      return c;
    }
    if (c.mode != CommandLine::Play) {
      c.error = "only one of --replay, --timedemo, --host and --join may be given";
      return c;
    }
    const bool net = a == "--host" || a == "--join";
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      c.error = a + (a == "--host" ? " needs a port" : a == "--join" ? " needs ADDRESS:PORT" : " needs a replay file");
      return c;
    }
    const std::string value = args[++i];
    if (a == "--host") {
      c.mode = CommandLine::Host;
      if (!ParsePort(value, &c.port)) c.error = "--host needs a port from 1 to 65535, not " + value;
    } else if (a == "--join") {
      c.mode = CommandLine::Join;
      if (!ParseAddress(value, &c.address, &c.port)) c.error = "--join needs ADDRESS:PORT, not " + value;
    }
    if (!c.error.empty()) return c;
    if (net) continue;
    c.mode = a == "--replay" ? CommandLine::Replay : CommandLine::Timedemo;
    const std::filesystem::path file = value;
    c.file = file.is_absolute() ? file : startFolder / file;
  }
  if (aiOptions && c.mode != CommandLine::AiDuels) c.error = "--ships and --seed go with --ai-duels";
  return c;
}

bool ParsePort(const std::string& text, uint16_t* port) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const long n = std::stol(text);
  if (n < 1 || n > 65535) return false;
  *port = static_cast<uint16_t>(n);
  return true;
}

bool ParseAddress(const std::string& text, std::string* address, uint16_t* port) {
  const size_t colon = text.rfind(':');
  *address = colon == std::string::npos ? text : text.substr(0, colon);
  *port = kDefaultNetPort;
  if (address->empty()) return false;
  return colon == std::string::npos || ParsePort(text.substr(colon + 1), port);
}

int RunReplayCommand(const CommandLine& command, const GameFolders& folders) {
  const ReplayMode mode = command.mode == CommandLine::Timedemo ? ReplayMode::Timedemo : ReplayMode::Window;
  return PlayReplay(command.file, folders, mode, std::cout, std::cerr);
}

int RunAiDuelsCommand(const CommandLine& command, const GameFolders& folders) {
  TournamentRequest request;
  request.duels = command.aiDuels;
  request.ships = command.aiShips;
  request.seed = command.aiSeed;
  TournamentTable table;
  std::string error;
  if (!RunTournament(folders, request, &table, &error)) {
    std::cerr << "quorvex: " << error << "\n";
    return 1;
  }
  std::cout << TournamentText(table);
  return 0;
}

std::string CommandLineUsage() {
  return "usage: quorvex [--replay FILE | --timedemo FILE | --host PORT | --join ADDRESS:PORT |\n"
         "                --ai-duels N [--ships A,B] [--seed S]]";
}

}  // namespace quorvex
