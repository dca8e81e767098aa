// The bitmap writer, read back by the game's own loader, and the picture generator's promise of
// the same bytes on every run.
#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "tests/datagen/PicturesTest.h"
#include "tools/datagen/Bmp.h"
#include "tools/datagen/PictureMakers.h"

namespace fs = std::filesystem;
using datagen::Image;
using datagen::Rgb;

namespace {

using quorvex::testing::TempDir;

uint32_t Le32(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}

TEST(PicturesBmp, PicturesOfEveryRowPaddingReadBackPixelForPixel) {
  // Widths 1 to 4 need 1, 2, 3 and 0 bytes of padding per row.
  struct Size {
    int width, height;
  };
  TempDir tmp;
  for (const Size size : {Size{1, 1}, Size{2, 3}, Size{3, 2}, Size{4, 3}, Size{5, 4}}) {
    SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
    Image image(size.width, size.height);
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x)
        image.Set(x, y, Rgb{uint8_t(40 * x + 8), uint8_t(60 * y + 4), uint8_t(255 - 30 * x - 20 * y)});
    const std::string bytes = datagen::EncodeBmp24(image);
    const size_t rowBytes = (size_t(size.width) * 3 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 54 + rowBytes * size_t(size.height));
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(Le32(bytes, 10), 54u);
    EXPECT_EQ(Le32(bytes, 14), 40u);
    EXPECT_EQ(uint8_t(bytes[28]), 24);
    EXPECT_EQ(Le32(bytes, 30), 0u);  // no compression

    const fs::path file = tmp.path() / "picture.bmp";
    datagen::WriteBmp(file, image);
    quorvex::Surface loaded;
    std::string error;
    ASSERT_TRUE(quorvex::LoadBitmap(file.string(), &loaded, &error)) << error;
    ASSERT_EQ(loaded.width(), size.width);
    ASSERT_EQ(loaded.height(), size.height);
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x) {
        const Rgb c = image.Get(x, y);
        EXPECT_EQ(loaded.pixel(x, y), quorvex::Rgb565(c.r & 0xF8, c.g & 0xFC, c.b & 0xF8)) << x << "," << y;
      }
  }
}

TEST(PicturesBmp, UnwritableFileIsReportedByName) {
  TempDir tmp;
  const fs::path file = tmp.path() / "missing-folder" / "font.bmp";
  try {
    datagen::WriteBmp(file, Image(2, 2));
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("font.bmp"), std::string::npos) << e.what();
  }
}

TEST(PicturesBmp, AnotherRunMakesTheSameBytes) {
  // The build's run of the generator made the program folder's pictures; making them again must
  // give them byte for byte (the sheets and two of the ship pictures, to keep the test quick).
  struct Made {
    std::string name;
    Image (*make)();
  };
  const std::vector<Made> sheets = {{"font.bmp", datagen::MakeFontSheet},
                                    {"boom.bmp", datagen::MakeExplosionSheet},
                                    {"tausta.bmp", datagen::MakeBackground},
                                    {"trekkie.bmp", [] { return datagen::MakeShipPicture("trekkie.bmp"); }},
                                    {"pod.bmp", [] { return datagen::MakeShipPicture("pod.bmp"); }}};
  for (const Made& made : sheets) {
    SCOPED_TRACE(made.name);
    std::string built, error;
    ASSERT_TRUE(quorvex::ReadWholeFile(quorvex::testing::ProgramDir() / made.name, &built, &error)) << error;
    EXPECT_TRUE(datagen::EncodeBmp24(made.make()) == built);
  }
}

TEST(PicturesBmp, EveryStockShipPictureIsMade) {
  const std::vector<std::string> names = datagen::ShipPictureNames();
  EXPECT_EQ(names.size(), 13u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(fs::exists(quorvex::testing::ProgramDir() / name));
  }
  EXPECT_EQ(datagen::MakeShipPicture("no-such-ship.bmp").width, 0);
}

}  // namespace
