// Both programs, as built, answer --help and --version on standard output with exit status 0 before
// any window opens; the game's help names every option its command line takes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

// Runs `command` and gives its exit status and what it wrote on both streams.
int RunProgram(const std::string& command, std::string* output) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  char buffer[512];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output->append(buffer, n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ProgramOptions, HelpAndVersionAnswerWithExitStatusZero) {
  const struct {
    const char* program;
    const char* option;
    std::vector<std::string> says;
  } cases[] = {
      {"quorvex", "--help",
       {"usage: quorvex", "--replay FILE", "--timedemo FILE", "--host PORT", "--join ADDRESS[:PORT]", "--help",
        "--version", "--ai-duels N", "--ships A,B", "--seed S", "QUORVEX_WINDOWED"}},
      {"quorvex", "--version", {"quorvex 1.2.0\n"}},
      {"editor", "--help", {"usage: editor", "--help", "--version"}},
      {"editor", "--version", {"editor 1.2.0\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " " + c.option);
    std::string output;
    EXPECT_EQ(RunProgram((testing::ProgramDir() / c.program).string() + " " + c.option, &output), 0);
    for (const std::string& text : c.says) EXPECT_NE(output.find(text), std::string::npos) << text << " in\n" << output;
  }
}

}  // namespace
}  // namespace quorvex
