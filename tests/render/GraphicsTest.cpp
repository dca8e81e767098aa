#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "game/core/GameError.h"
#include "game/render/Graphics.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// A 24-bit bitmap of the given size, every pixel `r, g, b` except a black top-left pixel.
void WriteBitmap(const fs::path& path, int width, int height, int r, int g, int b) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const int size = 54 + rowBytes * height;
  std::string bytes(static_cast<size_t>(size), '\0');
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(at + i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B', bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(size));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bytes[26] = 1, bytes[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t at = 54 + static_cast<size_t>(height - 1 - y) * rowBytes + static_cast<size_t>(x) * 3;
      const bool black = x == 0 && y == 0;
      bytes[at] = static_cast<char>(black ? 0 : b);
      bytes[at + 1] = static_cast<char>(black ? 0 : g);
      bytes[at + 2] = static_cast<char>(black ? 0 : r);
    }
  }
  std::ofstream(path, std::ios::binary) << bytes;
}

struct GraphicsTest : ::testing::Test {
  fs::path dir;
  GameWindow w;
  void SetUp() override {
    // A folder of each test's own: ctest runs the tests of this suite side by side.
    dir = testing::TestOutputDir() /
          (std::string("render-pictures-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    w.programDir = dir;
    w.messages.headless = true;
    w.back = Surface(800, 600);
    w.ship[0].spriteFile = "Alpha.BMP";
    w.ship[1].spriteFile = "beta.bmp";
  }
  void TearDown() override { fs::remove_all(dir); }
  // Every picture, named with other capitals than the game asks for.
  void WriteAll() {
    WriteBitmap(dir / "TAUSTA.BMP", 800, 600, 10, 20, 30);
    WriteBitmap(dir / "alpha.bmp", 400, 200, 255, 0, 0);
    WriteBitmap(dir / "BETA.bmp", 400, 200, 0, 255, 0);
    WriteBitmap(dir / "Boom.bmp", 500, 80, 0, 0, 255);
    WriteBitmap(dir / "font.BMP", 766, 455, 255, 255, 255);
  }
  std::string LoadError() {
    try {
      LoadGraphics(w);
    } catch (const GameError& e) {
      return std::to_string(e.number) + " " + e.description;
    }
    return "";
  }
};

TEST_F(GraphicsTest, LoadsEveryPictureWhateverItsCapitals) {
  WriteAll();
  w.back.SetForeColor(0, 0, 0);
  w.back.SetFillColor(0, 0, 0);
  LoadGraphics(w);
  EXPECT_EQ(0xFFFF, w.back.foreColor());
  EXPECT_EQ(0xFFFF, w.back.fillColor());
  EXPECT_EQ(800, w.background.width());
  EXPECT_EQ(Rgb565(10, 20, 30), w.background.pixel(5, 5));
  EXPECT_EQ(Rgb565(255, 0, 0), w.shipPicture[0].pixel(5, 5));
  EXPECT_EQ(Rgb565(0, 255, 0), w.shipPicture[1].pixel(5, 5));
  EXPECT_EQ(0, w.shipPicture[1].pixel(0, 0));
  EXPECT_EQ(Rgb565(0, 0, 255), w.explosionSheet.pixel(5, 5));
  EXPECT_EQ(766, w.fontSheet.width());
  EXPECT_TRUE(w.messages.shown.empty());

  // A ship change reloads both ship pictures from the current names.
  WriteBitmap(dir / "gamma.bmp", 400, 200, 255, 255, 0);
  w.ship[0].spriteFile = "GAMMA.bmp";
  LoadShipPictures(w);
  EXPECT_EQ(Rgb565(255, 255, 0), w.shipPicture[0].pixel(5, 5));
  EXPECT_EQ(Rgb565(0, 255, 0), w.shipPicture[1].pixel(5, 5));
}

TEST_F(GraphicsTest, AMissingOrDamagedPictureIsARunTimeErrorNamingIt) {
  struct Case {
    const char* remove;  // the picture taken away (or damaged)
    bool damage;
    const char* start;   // the error number and the start of its description
    const char* named;   // the file the message names: as asked for when missing, as found when damaged
  } cases[] = {
      {"TAUSTA.BMP", false, "53 File not found: ", "tausta.bmp"},
      {"alpha.bmp", false, "53 File not found: ", "Alpha.BMP"},
      {"BETA.bmp", false, "53 File not found: ", "beta.bmp"},
      {"Boom.bmp", false, "53 File not found: ", "boom.bmp"},
      {"font.BMP", false, "53 File not found: ", "font.bmp"},
      {"font.BMP", true, "481 ", "font.BMP"},
      {"alpha.bmp", true, "481 ", "alpha.bmp"},
  };
  for (const Case& c : cases) {
    SetUp();
    WriteAll();
    fs::remove(dir / c.remove);
    if (c.damage) std::ofstream(dir / c.remove, std::ios::binary) << "BM\x10\x00 not a picture";
    const std::string error = LoadError();
    EXPECT_EQ(0u, error.find(c.start)) << error;
    EXPECT_NE(std::string::npos, error.find((dir / c.named).string())) << error;
  }
  // A ship without a picture name cannot be shown either.
  SetUp();
  WriteAll();
  w.ship[1].spriteFile = "";
  EXPECT_EQ(0u, LoadError().find("53 File not found"));
}

// A picture smaller than the cells the game cuts from it is named with the size it needs, once;
// the game goes on with it.
TEST_F(GraphicsTest, PicturesTooSmallAreNamedWithTheSizeTheyNeed) {
  struct Case {
    const char* file;
    int width, height;
    std::string message;
  } cases[] = {
      {"TAUSTA.BMP", 1, 1, "tausta.bmp is 1 x 1 pixels; the game needs a picture of at least 800 x 600 pixels"},
      {"font.BMP", 1, 1, "font.bmp is 1 x 1 pixels; the game needs a picture of at least 766 x 455 pixels"},
      {"Boom.bmp", 395, 80, "boom.bmp is 395 x 80 pixels; the game needs a picture of at least 396 x 73 pixels"},
      {"BETA.bmp", 400, 199, "beta.bmp is 400 x 199 pixels; the game needs a picture of at least 400 x 200 pixels"},
  };
  for (const Case& c : cases) {
    SetUp();
    WriteAll();
    WriteBitmap(dir / c.file, c.width, c.height, 1, 2, 3);
    EXPECT_EQ(LoadError(), "") << c.file;
    ASSERT_EQ(w.messages.shown.size(), 1u) << c.file;
    EXPECT_EQ(w.messages.shown[0].text, c.message);
    // Reloaded between duels, the same picture is not reported again.
    LoadShipPictures(w);
    EXPECT_EQ(w.messages.shown.size(), 1u) << c.file;
    w.messages.shown.clear();
  }
}

// A picture that is there but is no regular file is reported as such; a name from a ship file
// that leads out of the program folder is refused without opening anything.
TEST_F(GraphicsTest, OnlyRegularFilesOfTheFolderAreOpened) {
  WriteAll();
  fs::remove(dir / "font.BMP");
  fs::create_directory(dir / "font.bmp");
  EXPECT_EQ(LoadError(), "53 Not a regular file: " + (dir / "font.bmp").string());
  for (const char* name : {"/dev/zero", "../render-pictures/alpha.bmp", "/etc/passwd"}) {
    w.ship[0].spriteFile = name;
    EXPECT_EQ(LoadError().find("53 Refused picture name \"" + std::string(name) + "\""), 0u) << name;
  }
}

}  // namespace
}  // namespace quorvex
