#include "game/replay/CommandLine.h"

#include <iostream>

#include "game/replay/Player.h"

namespace quorvex {

CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::filesystem::path& startFolder) {
  CommandLine c;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a != "--replay" && a != "--timedemo") {
      c.error = "unknown option " + a;
      return c;
    }
    if (c.mode != CommandLine::Play) {
      c.error = "only one of --replay and --timedemo may be given";
      return c;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      c.error = a + " needs a replay file";
      return c;
    }
    c.mode = a == "--replay" ? CommandLine::Replay : CommandLine::Timedemo;
    const std::filesystem::path file = args[++i];
    c.file = file.is_absolute() ? file : startFolder / file;
  }
  return c;
}

int RunReplayCommand(const CommandLine& command, const std::filesystem::path& programDir) {
  const ReplayMode mode = command.mode == CommandLine::Timedemo ? ReplayMode::Timedemo : ReplayMode::Window;
  return PlayReplay(command.file, programDir, mode, std::cout, std::cerr);
}

std::string CommandLineUsage() { return "usage: quorvex [--replay FILE | --timedemo FILE]"; }

}  // namespace quorvex
