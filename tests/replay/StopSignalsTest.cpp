// Ctrl-C and SIGTERM end --timedemo at once, however long the replay would still run, and the
// program ends of the signal, as any other program does.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "game/replay/CommandLine.h"
#include "platform/Files.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/SurfaceTesting.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

// The committed battle, then the main menu for `frames` frames: the hashes stored as a recording
// stores them, so the replay is one the game plays to its end.
std::string LongReplay(int64_t frames) {
  std::string text, error;
  EXPECT_TRUE(ReadWholeFile(testing::CommittedReplay(), &text, &error)) << error;
  text.resize(text.find("\nend ") + 1);
  for (int64_t f = 500; f <= frames; f += 50) text += "h " + std::to_string(f) + " 0123456789abcdef\n";
  return text + "cut " + std::to_string(frames) + "\n";
}

TEST(StopSignals, TimedemoEndsAtOnceOfTheSignal) {
  testing::TempDir dir;
  const auto file = dir.path() / "long.qvr";
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, LongReplay(200'000), &error)) << error;
  for (const int signal : {SIGINT, SIGTERM}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      CommandLine command;
      command.mode = CommandLine::Timedemo;
      command.file = file;
      ::_exit(RunReplayCommand(command, GameFolders{testing::ProgramDir(), testing::ProgramDir()}));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // well into the playback
    ::kill(child, signal);
    int status = 0;
    pid_t ended = 0;
    // Far more than "at once"; a playback that goes on for its 200,000 frames fails here.
    for (int waited = 0; waited < 200 && ended == 0; ++waited) {
      ended = ::waitpid(child, &status, WNOHANG);
      if (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (ended == 0) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      ADD_FAILURE() << "signal " << signal << " did not end the playback";
      continue;
    }
    EXPECT_TRUE(WIFSIGNALED(status)) << signal;
    if (WIFSIGNALED(status)) EXPECT_EQ(WTERMSIG(status), signal);
  }
}

}  // namespace
}  // namespace quorvex
