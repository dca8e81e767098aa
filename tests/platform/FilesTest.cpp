#include <gtest/gtest.h>

#include <fstream>

#include "platform/Files.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

fs::path freshDir(const std::string& name) {
  const fs::path dir = testing::TestOutputDir() / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

void touch(const fs::path& p, const std::string& text = "x") { std::ofstream(p, std::ios::binary) << text; }

TEST(Files, NamesResolveWithoutRegardToCase) {
  const fs::path dir = freshDir("resolve");
  touch(dir / "trekkie.bmp");
  touch(dir / "Boom.WAV");
  struct Case {
    const char* asked;
    const char* found;
  } cases[] = {
      {"trekkie.bmp", "trekkie.bmp"}, {"Trekkie.BMP", "trekkie.bmp"}, {"boom.wav", "Boom.WAV"},
      {"missing.bmp", "missing.bmp"}, {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(dir / c.found, ResolveFileName(dir, c.asked)) << c.asked;
}

TEST(Files, ListingsMatchTheExtensionAndComeInNameOrder) {
  const fs::path dir = freshDir("listing");
  for (const char* n : {"zeta.shp", "Alpha.SHP", "beta.shp", "gamma.txt", "shp", "delta.shp.bak"}) touch(dir / n);
  fs::create_directories(dir / "folder.shp");
  EXPECT_EQ((std::vector<std::string>{"Alpha.SHP", "beta.shp", "zeta.shp"}), ListFilesWithExtension(dir, ".shp"));
  EXPECT_TRUE(ListFilesWithExtension(dir / "missing", ".shp").empty());
}

TEST(Files, AtomicWritesReplaceWholeFilesOrNothing) {
  const fs::path dir = freshDir("atomic");
  const fs::path file = dir / "options.cfg";
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, "first\r\n", &error)) << error;
  ASSERT_TRUE(WriteFileAtomically(file, "second\r\n", &error)) << error;
  std::string text;
  ASSERT_TRUE(ReadWholeFile(file, &text, &error));
  EXPECT_EQ("second\r\n", text);
  EXPECT_EQ(1, std::distance(fs::directory_iterator(dir), fs::directory_iterator{})) << "no temporary left";

  // A folder that does not exist: the failure names the file and nothing is left behind.
  EXPECT_FALSE(WriteFileAtomically(dir / "no" / "keys.cfg", "x", &error));
  EXPECT_NE(std::string::npos, error.find("keys.cfg")) << error;
  EXPECT_FALSE(ReadWholeFile(dir / "none.cfg", &text, &error));
  EXPECT_NE(std::string::npos, error.find("none.cfg")) << error;
}

TEST(Files, LinesSplitOnEveryEnding) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},  {"a\nb", {"a", "b"}},     {"a\rb\r", {"a", "b"}},
      {"\r\n\r\nx", {"", "", "x"}}, {"", {}},                 {"one", {"one"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.lines, SplitLines(c.text)) << c.text;
}

}  // namespace
}  // namespace quorvex
