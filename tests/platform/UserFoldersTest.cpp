// Where the player's files go: beside the program when its folder is writable, in the user's data
// folder when it is not or when the game is installed under a prefix.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/Files.h"
#include "platform/UserFolders.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace quorvex {
namespace {

void Put(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

struct FolderCase {
  const char* name;
  const char* programDir;    // inside the test folder
  const char* dataWith;      // where tausta.bmp is put
  bool readOnly;             // the program folder made read-only
  const char* xdg;           // XDG_DATA_HOME, "" unset, "rel" relative; otherwise inside the test folder
  const char* expectData;
  const char* expectUser;    // inside the test folder
};

class FindFoldersTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FindFoldersTest, PicksTheFolders) {
  const FolderCase& c = GetParam();
  testing::TempDir tmp;
  const fs::path root = tmp.path();
  Put(root / c.dataWith / "TAUSTA.BMP", "x");
  fs::create_directories(root / c.programDir);
  if (c.readOnly) fs::permissions(root / c.programDir, fs::perms::owner_write | fs::perms::group_write |
                                  fs::perms::others_write, fs::perm_options::remove);
  FolderEnvironment env;
  env.home = (root / "home").string();
  if (std::string(c.xdg) == "rel") {
    env.xdgDataHome = "relative/share";
  } else if (*c.xdg) {
    env.xdgDataHome = (root / c.xdg).string();
  }
  const GameFolders f = FindGameFolders(root / c.programDir, env);
  fs::permissions(root / c.programDir, fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(fs::weakly_canonical(root / c.expectData), fs::weakly_canonical(f.data));
  EXPECT_EQ(fs::weakly_canonical(root / c.expectUser), fs::weakly_canonical(f.user));
  EXPECT_EQ(std::string(c.expectData) != c.expectUser, f.Separate());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FindFoldersTest,
    ::testing::Values(
        FolderCase{"WritableFolderKeepsEverything", "game", "game", false, "xdg", "game", "game"},
        FolderCase{"ReadOnlyFolderUsesXdg", "game", "game", true, "xdg", "game", "xdg/quorvex"},
        FolderCase{"ReadOnlyFolderWithoutXdgUsesHome", "game", "game", true, "", "game",
                   "home/.local/share/quorvex"},
        FolderCase{"RelativeXdgIsIgnored", "game", "game", true, "rel", "game", "home/.local/share/quorvex"},
        FolderCase{"InstalledUnderPrefixEvenWhenWritable", "usr/bin", "usr/share/quorvex", false, "xdg",
                   "usr/share/quorvex", "xdg/quorvex"},
        FolderCase{"BinFolderWithoutDataAnywhere", "bin", "elsewhere", false, "xdg", "bin", "bin"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UserFolders, OwnFilesShadowStockOnesAndBothAreListed) {
  testing::TempDir tmp;
  const GameFolders f{tmp.path() / "data", tmp.path() / "user"};
  Put(f.data / "Alpha.shp", "stock alpha");
  Put(f.data / "beta.SHP", "stock beta");
  Put(f.data / "notes.txt", "x");
  Put(f.user / "BETA.shp", "own beta");
  Put(f.user / "gamma.shp", "own gamma");
  EXPECT_EQ((std::vector<std::string>{"Alpha.shp", "BETA.shp", "gamma.shp"}), ListGameFiles(f, ".shp"));

  std::string text;
  ASSERT_TRUE(ReadWholeFile(FindGameFile(f, "beta.shp"), &text, nullptr));
  EXPECT_EQ("own beta", text);
  ASSERT_TRUE(ReadWholeFile(FindGameFile(f, "ALPHA.SHP"), &text, nullptr));
  EXPECT_EQ("stock alpha", text);
  EXPECT_EQ(f.user / "new.shp", PlayerFilePath(f, "new.shp"));
  EXPECT_EQ(f.user / "screenshots", PlayerFolder(f, PlayerFiles::Screenshots));
  EXPECT_EQ(f.user / "replays", PlayerFolder(f, PlayerFiles::Replays));

  // One folder for both: the plain listing of that folder.
  const GameFolders one{f.data, f.data};
  EXPECT_EQ((std::vector<std::string>{"Alpha.shp", "beta.SHP"}), ListGameFiles(one, ".shp"));
}

TEST(UserFolders, SeedingCopiesMissingSettingsAndKeepsTheOwnOnes) {
  testing::TempDir tmp;
  const GameFolders f{tmp.path() / "data", tmp.path() / "user" / "quorvex"};
  Put(f.data / "keys.cfg", "stock keys");
  Put(f.data / "options.cfg", "stock options");
  Put(f.user / "Options.cfg", "own options");
  const auto before = fs::last_write_time(f.data / "keys.cfg");
  SeedPlayerSettings(f, {"keys.cfg", "options.cfg", "device.cfg"});

  std::string text;
  ASSERT_TRUE(ReadWholeFile(f.user / "keys.cfg", &text, nullptr));
  EXPECT_EQ("stock keys", text);
  ASSERT_TRUE(ReadWholeFile(f.user / "Options.cfg", &text, nullptr));
  EXPECT_EQ("own options", text);
  EXPECT_FALSE(fs::exists(f.user / "options.cfg"));  // the own file, found without regard to case
  EXPECT_FALSE(fs::exists(f.user / "device.cfg"));  // nothing shipped: the game writes its defaults
  EXPECT_EQ(before, fs::last_write_time(f.data / "keys.cfg"));
  EXPECT_EQ(2, std::distance(fs::directory_iterator(f.data), fs::directory_iterator{}));
}

}  // namespace
}  // namespace quorvex
