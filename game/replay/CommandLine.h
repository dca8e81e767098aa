// The game's command line: no options plays the game; --replay FILE watches a recorded battle in
// the game window; --timedemo FILE plays one headless as fast as it can and reports.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace quorvex {

struct CommandLine {
  enum Mode { Play, Replay, Timedemo } mode = Play;
  std::filesystem::path file;  // absolute, taken against the folder the game was started from
  std::string error;           // an option the game does not know, or a missing file name
};

CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::filesystem::path& startFolder);

// "usage: ..." text for the error stream.
std::string CommandLineUsage();

}  // namespace quorvex

namespace quorvex {

// Runs --replay or --timedemo on the program folder's pictures and sounds; the exit status
// (0 played, 1 the file cannot be played, 2 the playback parted from the recording).
int RunReplayCommand(const CommandLine& command, const std::filesystem::path& programDir);

}  // namespace quorvex
