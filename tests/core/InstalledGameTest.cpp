// An installed game: stock data in a read-only folder, the player's settings and ships in a folder
// of his own. Start-up must read both and write only into the player's folder.
#include <gtest/gtest.h>

#include <map>

#include "game/combat/ShipLoading.h"
#include "game/flow/Startup.h"
#include "game/config/ConfigFiles.h"
#include "tests/core/CoreTesting.h"

namespace fs = std::filesystem;

namespace quorvex {
namespace {

using testing::SampleShip;
using testing::WriteShip;

// Every file below `dir` with its size and time of last change.
std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> Snapshot(const fs::path& dir) {
  std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> out;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    out[e.path().string()] = {e.is_regular_file() ? e.file_size() : 0, e.last_write_time()};
  }
  return out;
}

TEST(InstalledGameTest, StartsFromStockAndOwnFilesAndWritesNothingIntoTheInstall) {
  testing::TempFolder tmp;
  const fs::path data = tmp.path() / "share" / "quorvex", user = tmp.path() / "home" / "quorvex";
  fs::create_directories(data);
  WriteShip(data, "alpha.shp", SampleShip("Alpha", "alpha.bmp"));
  WriteShip(data, "beta.shp", SampleShip("Beta", "alpha.bmp"));
  testing::WriteGamePictures(data, {"alpha.bmp"});
  KeyTable stockKeys;
  stockKeys.player1[0] = 65;
  testing::WriteText(data, kKeysFile, KeysFileText(stockKeys));
  // The player's own design of the same name takes the stock one's place; his own ship flies with
  // a picture of his own.
  fs::create_directories(user);
  WriteShip(user, "Beta.shp", SampleShip("My Beta", "alpha.bmp"));
  WriteShip(user, "gamma.shp", SampleShip("Gamma", "gamma.bmp"));
  testing::WriteBitmap(user / "gamma.bmp", 480, 240, 0, 200, 0);  // larger than the stock picture

  const auto before = Snapshot(data);
  fs::permissions(data, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  auto w = testing::HeadlessWindow(data, nullptr);
  w->userDir = user;
  InitGame(*w);

  EXPECT_EQ(2, w->lastShipIndex);
  EXPECT_EQ("alpha.shp", w->shipFiles[0]);
  EXPECT_EQ("Beta.shp", w->shipFiles[1]);
  EXPECT_EQ("my beta", w->shipNames[1]);
  EXPECT_EQ("gamma.shp", w->shipFiles[2]);
  EXPECT_EQ(65, w->controlTable[0][0]);  // the shipped keys, copied for the player
  for (const char* name : {kOptionsFile, kKeysFile, kDeviceFile}) EXPECT_TRUE(fs::exists(user / name)) << name;

  w->duelsPlayed = 1;  // pictures are loaded from the second duel on
  w->fleet[0][0] = 2;
  LoadShip(*w, 1);
  EXPECT_TRUE(w->messages.shown.empty());
  EXPECT_EQ(480, w->shipPicture[0].width());

  fs::permissions(data, fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(before, Snapshot(data));
}

}  // namespace
}  // namespace quorvex
