#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Surface.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

// Saves a 4 x 2 picture through SDL in the given depth and reads it back with the game's loader.
TEST(Bitmap, LoadsEveryDepthSdlWrites) {
  const std::filesystem::path dir = testing::TestOutputDir();
  struct Case {
    Uint32 format;
    const char* name;
  } cases[] = {
      {SDL_PIXELFORMAT_INDEX8, "8"}, {SDL_PIXELFORMAT_RGB565, "16"}, {SDL_PIXELFORMAT_RGB24, "24"},
      {SDL_PIXELFORMAT_ARGB8888, "32"},
  };
  for (const Case& c : cases) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 4, 2, SDL_BITSPERPIXEL(c.format), c.format);
    ASSERT_NE(nullptr, s) << c.name;
    if (s->format->palette) {
      SDL_Color colours[2] = {{0, 0, 0, 255}, {255, 255, 255, 255}};
      SDL_SetPaletteColors(s->format->palette, colours, 0, 2);
    }
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
    SDL_Rect one{1, 0, 1, 1};
    SDL_FillRect(s, &one, SDL_MapRGB(s->format, 255, 255, 255));
    SDL_Rect two{3, 1, 1, 1};
    SDL_FillRect(s, &two, SDL_MapRGB(s->format, 255, 255, 255));
    const std::string path = (dir / (std::string("depth") + c.name + ".bmp")).string();
    ASSERT_EQ(0, SDL_SaveBMP(s, path.c_str())) << c.name << ": " << SDL_GetError();
    SDL_FreeSurface(s);

    Surface loaded;
    std::string error;
    ASSERT_TRUE(LoadBitmap(path, &loaded, &error)) << c.name << ": " << error;
    EXPECT_EQ(4, loaded.width());
    EXPECT_EQ(2, loaded.height());
    EXPECT_TRUE(testing::RegionMatches(loaded, 0, 0, {".w..", "...w"}, {{'.', 0}, {'w', 0xFFFF}},
                                       std::string("bmp-depth-") + c.name))
        << c.name;
  }
}

// SDL only writes 8, 24 and 32 bits, so the palette depths are written by hand: a 4 x 2 picture
// with a white pixel at (1, 0) and at (3, 1), palette entry 1 white.
std::string handMadeBitmap(int bits) {
  const int paletteSize = 1 << bits;
  const int rowBytes = ((4 * bits + 31) / 32) * 4;
  const int offset = 14 + 40 + paletteSize * 4;
  const int size = offset + rowBytes * 2;
  std::string b;
  auto u16 = [&](int v) { b += char(v & 255); b += char((v >> 8) & 255); };
  auto u32 = [&](int v) { u16(v & 0xFFFF); u16((v >> 16) & 0xFFFF); };
  b += "BM"; u32(size); u32(0); u32(offset);
  u32(40); u32(4); u32(2); u16(1); u16(bits); u32(0); u32(rowBytes * 2); u32(2835); u32(2835);
  u32(paletteSize); u32(0);
  for (int i = 0; i < paletteSize; ++i) u32(i == 1 ? 0xFFFFFF : 0);
  auto row = [&](int whiteX) {
    std::string r(rowBytes, '\0');
    const int bitPos = whiteX * bits;  // the most significant bits hold the leftmost pixel
    r[bitPos / 8] = char(1 << (8 - bits - bitPos % 8));
    b += r;
  };
  row(3);  // bottom row first
  row(1);
  return b;
}

TEST(Bitmap, LoadsPaletteDepths) {
  for (int bits : {1, 4}) {
    const auto path = testing::TestOutputDir() / ("depth" + std::to_string(bits) + ".bmp");
    std::ofstream(path, std::ios::binary) << handMadeBitmap(bits);
    Surface loaded;
    std::string error;
    ASSERT_TRUE(LoadBitmap(path.string(), &loaded, &error)) << bits << ": " << error;
    EXPECT_TRUE(testing::RegionMatches(loaded, 0, 0, {".w..", "...w"}, {{'.', 0}, {'w', 0xFFFF}},
                                       "bmp-depth-" + std::to_string(bits)));
  }
}

TEST(Bitmap, DamagedFilesGiveMessagesNamingThem) {
  const std::filesystem::path dir = testing::TestOutputDir();
  const std::filesystem::path missing = dir / "no-such-picture.bmp";
  const std::filesystem::path damaged = dir / "damaged.bmp";
  std::ofstream(damaged, std::ios::binary) << "BM\x10\x00garbage";
  for (const auto& path : {missing, damaged}) {
    Surface s(2, 2);
    std::string error;
    EXPECT_FALSE(LoadBitmap(path.string(), &s, &error));
    EXPECT_NE(std::string::npos, error.find(path.filename().string())) << error;
    EXPECT_EQ(2, s.width()) << "a failed load leaves the surface as it was";
  }
}

}  // namespace
}  // namespace quorvex
