// Data files read safely and written whole: names from data stay in the program folder, only
// regular files are opened, readers take a bounded number of lines, and atomic writes respect what
// they replace (read-only files, links, permissions, a file-size limit) and clean up after a kill.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/DataFiles.h"
#include "platform/Files.h"
#include "platform/Surface.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

std::string Read(const fs::path& p) {
  std::string bytes, error;
  EXPECT_TRUE(ReadWholeFile(p, &bytes, &error)) << error;
  return bytes;
}

TEST(DataFiles, OnlyBareNamesAreFilesOfTheProgramFolder) {
  struct Case {
    std::string name;
    bool bare;
  } cases[] = {
      {"trekkie.bmp", true},       {"Trekkie.BMP", true},       {"a..b.bmp", true},  {"my ship.shp", true},
      {"/etc/passwd", false},      {"../../etc/passwd", false}, {"/dev/stdin", false}, {"/dev/zero", false},
      {"ships/arrow.shp", false},  {"..\\pod.shp", false},      {"..", false},       {".", false},
      {"", false},                 {std::string("a\0b", 3), false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsBareFileName(c.name), c.bare) << c.name;
  const std::string message = RefusedNameMessage("arrow.shp", "../../etc/passwd");
  EXPECT_NE(message.find("arrow.shp"), std::string::npos) << message;
  EXPECT_NE(message.find("\"../../etc/passwd\""), std::string::npos) << message;
}

TEST(DataFiles, ReadersTakeOnlyTheLinesTheyNeed) {
  testing::TempDir dir;
  // A CR LF pair split over the reader's buffer must still end one line only.
  const std::string split = std::string(65535, 'x') + "\r\nnext\r\n";
  const std::string longLine = std::string(kMaxLineLength + 10, 'y') + "\nz";
  struct Case {
    const char* name;
    std::string text;
    size_t maxLines;
    std::vector<std::string> lines;
  } cases[] = {
      {"endings", "a\r\nb\nc\rd", 10, {"a", "b", "c", "d"}},
      {"empty lines", "\r\n\r\nx", 10, {"", "", "x"}},
      {"bounded", "1\n2\n3\n4\n5\n6\n7\n8\n", 6, {"1", "2", "3", "4", "5", "6"}},
      {"nothing", "", 6, {}},
      {"split pair", split, 10, {std::string(65535, 'x'), "next"}},
      {"long line", longLine, 10, {std::string(kMaxLineLength, 'y'), "z"}},
  };
  for (const Case& c : cases) {
    Write(dir.path() / "f.txt", c.text);
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(ReadTextLines(dir.path() / "f.txt", c.maxLines, &lines, &error)) << c.name << ": " << error;
    EXPECT_EQ(lines, c.lines) << c.name;
  }
  // A huge file of empty lines costs its reader only the lines asked for.
  {
    std::ofstream big(dir.path() / "big.shp", std::ios::binary);
    const std::string block(1 << 20, '\n');
    for (int i = 0; i < 16; ++i) big << block;
  }
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(dir.path() / "big.shp", 6, &lines, nullptr));
  EXPECT_EQ(lines.size(), 6u);
}

// Named pipes, folders and missing files are refused at once with a message that says which.
TEST(DataFiles, OnlyRegularFilesAreOpened) {
  testing::TempDir dir;
  ASSERT_EQ(0, ::mkfifo((dir.path() / "pipe.it").c_str(), 0644));
  fs::create_directory(dir.path() / "folder.bmp");
  Write(dir.path() / "big.wav", std::string(2000, 'x'));
  struct Case {
    const char* file;
    const char* says;
  } cases[] = {{"pipe.it", "not a regular file"}, {"folder.bmp", "not a regular file"}, {"gone.txt", "not found"}};
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    std::string error, bytes;
    EXPECT_FALSE(ReadTextLines(dir.path() / c.file, 10, &lines, &error)) << c.file;
    EXPECT_NE(error.find(c.file), std::string::npos) << error;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_FALSE(ReadFileBytes(dir.path() / c.file, 1 << 20, &bytes, &error)) << c.file;
    EXPECT_FALSE(ReadWholeFile(dir.path() / c.file, &bytes, &error)) << c.file;
    Surface picture;
    EXPECT_FALSE(LoadBitmap((dir.path() / c.file).string(), &picture, &error)) << c.file;
  }
  std::string bytes, error;
  EXPECT_FALSE(ReadFileBytes(dir.path() / "big.wav", 1000, &bytes, &error));
  EXPECT_NE(error.find("larger than 1000 bytes"), std::string::npos) << error;
  EXPECT_TRUE(ReadFileBytes(dir.path() / "big.wav", 2000, &bytes, &error)) << error;
  EXPECT_EQ(bytes.size(), 2000u);
}

// A header that declares a picture far larger than any the game uses is refused before decoding.
TEST(DataFiles, HugePictureRefusedFromItsHeader) {
  testing::TempDir dir;
  std::string b = "BM";
  auto u16 = [&](uint32_t v) { b += char(v & 255); b += char((v >> 8) & 255); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  u32(200); u32(0); u32(54);
  u32(40); u32(40000); u32(40000); u16(1); u16(24); u32(0); u32(0); u32(2835); u32(2835); u32(0); u32(0);
  b += std::string(146, '\x7f');
  Write(dir.path() / "huge.bmp", b);
  Surface picture(3, 3);
  std::string error;
  EXPECT_FALSE(LoadBitmap((dir.path() / "huge.bmp").string(), &picture, &error));
  EXPECT_NE(error.find("huge.bmp"), std::string::npos) << error;
  EXPECT_NE(error.find("40000 x 40000"), std::string::npos) << error;
  EXPECT_EQ(picture.width(), 3);
}

// The id of a process that has ended.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

TEST(DataFiles, StaleTemporaryFilesOfEndedProgramsAreRemoved) {
  testing::TempDir dir;
  const std::string ended = std::to_string(EndedProcess());
  const std::string running = std::to_string(::getpid());
  for (const std::string& name : {"arrow.shp.tmp-" + ended, "options.cfg.tmp-" + ended, "keys.cfg.tmp-" + running,
                                  std::string("arrow.shp"), std::string("notes.tmp-abc"), std::string("x.tmp-")}) {
    Write(dir.path() / name, "x");
  }
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path()), 2);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir.path())) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"arrow.shp", "keys.cfg.tmp-" + running, "notes.tmp-abc", "x.tmp-"}));
}

TEST(DataFiles, AtomicWritesRespectWhatTheyReplace) {
  testing::TempDir dir;
  std::string error;
  // A read-only file is refused (also for root, who could write it), named, and left as it was.
  const fs::path locked = dir.path() / "arrow.shp";
  Write(locked, "old");
  ::chmod(locked.c_str(), 0444);
  EXPECT_FALSE(WriteFileAtomically(locked, "new", &error));
  EXPECT_NE(error.find("arrow.shp"), std::string::npos) << error;
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_EQ(Read(locked), "old");
  EXPECT_EQ(fs::status(locked).permissions() & fs::perms::all, fs::perms(0444));

  // A replaced file keeps its permissions.
  const fs::path privateFile = dir.path() / "keys.cfg";
  Write(privateFile, "old");
  ::chmod(privateFile.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(privateFile, "new", &error)) << error;
  EXPECT_EQ(Read(privateFile), "new");
  EXPECT_EQ(fs::status(privateFile).permissions() & fs::perms::all, fs::perms(0640));

  // A link is followed: its target gets the new text and the link stays a link.
  fs::create_directory(dir.path() / "real");
  Write(dir.path() / "real" / "options.cfg", "old");
  fs::create_symlink("real/options.cfg", dir.path() / "options.cfg");
  ASSERT_TRUE(WriteFileAtomically(dir.path() / "options.cfg", "new", &error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir.path() / "options.cfg"));
  EXPECT_EQ(Read(dir.path() / "real" / "options.cfg"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "real"), fs::directory_iterator{}), 1);
}

// Under a file-size limit the write fails with our message; the program is not killed.
TEST(DataFiles, FileSizeLimitGivesTheWriteMessage) {
  testing::TempDir dir;
  const fs::path file = dir.path() / "big.shp";
  Write(file, "old");
  const pid_t child = ::fork();
  if (child == 0) {
    rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool written = WriteFileAtomically(file, std::string(100000, 'x'), &error);
    const bool named = error.find("Cannot write") != std::string::npos && error.find("big.shp") != std::string::npos;
    ::_exit(!written && named ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Read(file), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1) << "no temporary left";
}

}  // namespace
}  // namespace quorvex
