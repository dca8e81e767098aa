#include "game/replay/CommandLine.h"

#include <iostream>

#include "game/replay/Player.h"
#include "game/replay/StopSignals.h"

namespace quorvex {

CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::filesystem::path& startFolder) {
  CommandLine c;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a != "--replay" && a != "--timedemo" && a != "--host" && a != "--join") {
      c.error = "unknown option " + a;
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

std::string CommandLineUsage() {
  return "usage: quorvex [--replay FILE | --timedemo FILE | --host PORT | --join ADDRESS:PORT]";
}

}  // namespace quorvex
