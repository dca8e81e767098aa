// Ship pictures: 400 x 200 sheets of 32 frames of 50 x 50, frame f showing the ship turned f / 32
// of a full turn clockwise from nose up.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "tests/datagen/PicturesTest.h"

using picturetest::LitOnBorder;
using picturetest::LoadPicture;
using quorvex::Rect;
using quorvex::Surface;
using quorvex::testing::CountLitPixels;

namespace {

constexpr int kFrame = 50;
constexpr double kPi = 3.14159265358979323846;

const char* const kShipPictures[] = {"arrow.bmp",  "hornet.bmp",  "mantis.bmp",    "falcon.bmp", "warden.bmp",
                                     "lancer.bmp", "beetle.bmp",  "raven.bmp",     "bastion.bmp", "leviathan.bmp",
                                     "pod.bmp",    "shuttle.bmp", "trekkie.bmp"};

// The frame rectangle the game copies for frame f.
Rect FrameRect(int f) { return {kFrame * (f % 8), kFrame * (f / 8), kFrame * (f % 8) + kFrame, kFrame * (f / 8) + kFrame}; }

using Mask = std::vector<uint8_t>;  // 50 x 50, row by row, 1 for a lit pixel

Mask FrameMask(const Surface& s, int f) {
  const Rect r = FrameRect(f);
  Mask m(kFrame * kFrame, 0);
  for (int y = 0; y < kFrame; ++y)
    for (int x = 0; x < kFrame; ++x) m[size_t(y * kFrame + x)] = s.pixel(r.left + x, r.top + y) != 0;
  return m;
}

// The mask turned clockwise on screen by `radians` about the frame's middle (nearest pixel).
Mask Turned(const Mask& m, double radians) {
  Mask out(m.size(), 0);
  const double c = std::cos(radians), s = std::sin(radians);
  for (int y = 0; y < kFrame; ++y)
    for (int x = 0; x < kFrame; ++x) {
      const double px = x + 0.5 - kFrame / 2.0, py = y + 0.5 - kFrame / 2.0;
      const int sx = int(std::floor(c * px + s * py + kFrame / 2.0));
      const int sy = int(std::floor(-s * px + c * py + kFrame / 2.0));
      if (sx >= 0 && sy >= 0 && sx < kFrame && sy < kFrame) out[size_t(y * kFrame + x)] = m[size_t(sy * kFrame + sx)];
    }
  return out;
}

double Overlap(const Mask& a, const Mask& b) {
  int both = 0, either = 0;
  const uint8_t* pa = a.data();
  const uint8_t* pb = b.data();
  for (size_t i = 0, n = a.size(); i < n; ++i) {
    both += pa[i] & pb[i];
    either += pa[i] | pb[i];
  }
  return either ? double(both) / either : 1.0;
}

// Black pixels that cannot be reached from the frame's edge through black: they would show the
// background through the ship, since black is the transparent colour.
int Holes(const Mask& m) {
  std::vector<bool> reached(m.size(), false);
  std::vector<int> todo;
  for (int i = 0; i < kFrame; ++i)
    for (int p : {i, (kFrame - 1) * kFrame + i, i * kFrame, i * kFrame + kFrame - 1})
      if (!m[size_t(p)] && !reached[size_t(p)]) reached[size_t(p)] = true, todo.push_back(p);
  while (!todo.empty()) {
    const int p = todo.back();
    todo.pop_back();
    const int x = p % kFrame, y = p / kFrame;
    for (auto [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
      const int nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= kFrame || ny >= kFrame) continue;
      const size_t q = size_t(ny * kFrame + nx);
      if (!m[q] && !reached[q]) reached[q] = true, todo.push_back(int(q));
    }
  }
  int holes = 0;
  for (size_t i = 0; i < m.size(); ++i) holes += !m[i] && !reached[i];
  return holes;
}

TEST(PicturesShips, EverySheetHas32SolidFramesThatStayInTheirCells) {
  for (const char* name : kShipPictures) {
    SCOPED_TRACE(name);
    const Surface s = LoadPicture(name);
    ASSERT_EQ(s.width(), 400);
    ASSERT_EQ(s.height(), 200);
    for (int f = 0; f < 32; ++f) {
      SCOPED_TRACE("frame " + std::to_string(f));
      EXPECT_GE(CountLitPixels(s, FrameRect(f)), 300);
      EXPECT_EQ(LitOnBorder(s, FrameRect(f)), 0);
      EXPECT_EQ(Holes(FrameMask(s, f)), 0);
    }
  }
}

TEST(PicturesShips, ShipsFillTheirFrames) {
  // The game scales a frame to the ship's size, so a ship drawn small in its frame looks small
  // and its hits land on empty space.
  for (const char* name : kShipPictures) {
    SCOPED_TRACE(name);
    const Surface s = LoadPicture(name);
    const Mask m = FrameMask(s, 0);
    double farthest = 0;
    for (int y = 0; y < kFrame; ++y)
      for (int x = 0; x < kFrame; ++x)
        if (m[size_t(y * kFrame + x)]) farthest = std::max(farthest, std::hypot(x + 0.5 - 25, y + 0.5 - 25));
    EXPECT_GE(farthest, 21.0);
  }
}

TEST(PicturesShips, FramesTurnClockwiseOneStepAtATime) {
  for (const char* name : kShipPictures) {
    SCOPED_TRACE(name);
    const Surface s = LoadPicture(name);
    const Mask first = FrameMask(s, 0);
    std::vector<Mask> turned;
    for (int k = 0; k < 32; ++k) turned.push_back(Turned(first, k * 2 * kPi / 32));
    for (int f = 1; f < 32; ++f) {
      const Mask frame = FrameMask(s, f);
      int best = 0;
      double bestOverlap = -1;
      for (int k = 0; k < 32; ++k) {
        const double o = Overlap(turned[size_t(k)], frame);
        if (o > bestOverlap) bestOverlap = o, best = k;
      }
      const int off = std::min((best - f + 32) % 32, (f - best + 32) % 32);
      EXPECT_LE(off, 1) << "frame " << f << " looks like frame 0 turned by " << best << " steps";
      EXPECT_GT(bestOverlap, 0.75) << "frame " << f;
    }
  }
}

TEST(PicturesShips, DesignsAreDistinct) {
  std::vector<Mask> masks;
  for (const char* name : kShipPictures) masks.push_back(FrameMask(LoadPicture(name), 0));
  for (size_t i = 0; i < masks.size(); ++i)
    for (size_t j = i + 1; j < masks.size(); ++j)
      EXPECT_LT(Overlap(masks[i], masks[j]), 0.85) << kShipPictures[i] << " and " << kShipPictures[j];
}

TEST(PicturesShips, EveryShipFileNamesAPictureThatIsThere) {
  const auto dir = quorvex::testing::ProgramDir();
  const std::vector<std::string> ships = quorvex::ListFilesWithExtension(dir, ".shp");
  ASSERT_FALSE(ships.empty());
  for (const std::string& ship : ships) {
    SCOPED_TRACE(ship);
    std::string text, error;
    ASSERT_TRUE(quorvex::ReadWholeFile(dir / ship, &text, &error)) << error;
    const std::vector<std::string> lines = quorvex::SplitLines(text);
    ASSERT_GE(lines.size(), 4u);
    const std::string picture = quorvex::ResolveFileName(dir, lines[3]).filename().string();
    const Surface s = LoadPicture(picture);
    EXPECT_EQ(s.width(), 400);
    EXPECT_EQ(s.height(), 200);
  }
}

}  // namespace
