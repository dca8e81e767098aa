#include "game/replay/CommandLine.h"

#include <charconv>
#include <iostream>
#include <span>

#include "game/flow/Tournament.h"
#include "game/replay/Player.h"
#include "game/replay/StopSignals.h"
#include "platform/OptionHelp.h"

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


bool ReadReplayFile(CommandLine& c, const std::string& value, const std::filesystem::path& startFolder) {
  const std::filesystem::path file = value;
  c.file = file.is_absolute() ? file : startFolder / file;
  return true;
}

bool ReadHostPort(CommandLine& c, const std::string& value, const std::filesystem::path&) {
  if (ParsePort(value, &c.port)) return true;
  c.error = "--host needs a port from 1 to 65535, not " + value;
  return false;
}

bool ReadJoinAddress(CommandLine& c, const std::string& value, const std::filesystem::path&) {
  if (ParseAddress(value, &c.address, &c.port)) return true;
  c.error = "--join needs ADDRESS:PORT, not " + value;
  return false;
}

// One line per option. An option with a mode chooses what the program does; only one such option may
// be given. An option with a value says what is missing without it and reads it.
struct CommandOption {
  OptionLine help;
  CommandLine::Mode mode;
  const char* missing;  // " needs ...", for an option that takes a value
  bool (*read)(CommandLine& c, const std::string& value, const std::filesystem::path& startFolder);
};

const CommandOption kOptions[] = {
    {{"--replay", "FILE", "watch the recorded battle FILE in the game window (Esc ends it, F6 held hurries it)"},
     CommandLine::Replay, " needs a replay file", ReadReplayFile},
    {{"--timedemo", "FILE",
      "play the recorded battle FILE without a window as fast as possible, then print its frames, frames per "
      "second and final state hash (exit status 2 when the playback parts from the recording)"},
     CommandLine::Timedemo, " needs a replay file", ReadReplayFile},
    {{"--host", "PORT", "host a network battle, waiting for the other player on UDP port PORT"},
     CommandLine::Host, " needs a port", ReadHostPort},
    {{"--join", "ADDRESS[:PORT]", "join the network battle hosted at ADDRESS (UDP port 27960 unless PORT is given)"},
     CommandLine::Join, " needs ADDRESS:PORT", ReadJoinAddress},
    {{"--ai-duels", "N",
      "play N duels for every pair of the computer pilot's levels (easy, normal, hard) without a window, "
      "as fast as possible, and print wins, losses, ties and the mean duel length of each pairing"},
     CommandLine::AiDuels, nullptr, nullptr},
    {{"--ships", "A,B", "with --ai-duels: fly only the ship files A and B (every pair of stock ships otherwise)"},
     CommandLine::AiDuels, nullptr, nullptr},
    {{"--seed", "S", "with --ai-duels: seed the random numbers with S (the same seed gives the same table)"},
     CommandLine::AiDuels, nullptr, nullptr},
    {{"--help", "", "print this help and exit"}, CommandLine::Help, nullptr, nullptr},
    {{"--version", "", "print the version and exit"}, CommandLine::Version, nullptr, nullptr},
};

// The modes only one of which may be given, as "--replay, --timedemo, --host and --join".
std::string ExclusiveModes() {
  std::vector<std::string> names;
  for (const CommandOption& o : kOptions) {
    if (o.read) names.push_back(o.help.name);
  }
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return text;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::filesystem::path& startFolder) {
  CommandLine c;
  // --help and --version answer whatever else is given.
  for (const std::string& a : args) {
    if (a == "--help" || a == "--version") {
      c.mode = a == "--help" ? CommandLine::Help : CommandLine::Version;
      return c;
    }
  }
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
    const CommandOption* option = nullptr;
    for (const CommandOption& o : kOptions) {
      if (a == o.help.name && o.read) option = &o;
    }
    if (!option) {
      c.error = "unknown option " + a;
      return c;
    }
    if (aiOptions) {
      c.error = kAiDuelsAlone;
      return c;
    }
    if (c.mode != CommandLine::Play) {
      c.error = "only one of " + ExclusiveModes() + " may be given";
      return c;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      c.error = a + option->missing;
      return c;
    }
    c.mode = option->mode;
    if (!option->read(c, args[++i], startFolder)) return c;
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
  PlaybackResult result;
  const int status = PlayReplay(command.file, folders, mode, std::cout, std::cerr, &result);
  if (result.stopSignal != 0) DieOfSignal(result.stopSignal);
  return status;
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
         "                --ai-duels N [--ships A,B] [--seed S] | --help | --version]";
}

std::string CommandLineHelp() {
  std::vector<OptionLine> lines;
  for (const CommandOption& o : kOptions) lines.push_back(o.help);
  return HelpText("quorvex",
                  "Quorvex, a two-player space combat game. Without options it opens the launcher; every battle is\n"
                  "recorded among the player's replays.",
                  lines,
                  "Environment:\n"
                  "  QUORVEX_WINDOWED=1    play in a window instead of the whole screen\n"
                  "  QUORVEX_START_GAME=1  press \"Start game!\" of the launcher at once\n");
}

}  // namespace quorvex
