// Helpers of the particle tests: an explosion sheet whose every pixel tells where it came from, and a
// check that a cell of it was drawn over exactly one rectangle of a cleared back surface.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "game/core/GameWindow.h"
#include "tests/render/RenderFixture.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex::testing {

// Position-coded, with a black (transparent) pixel wherever (x + 2y) % 7 is 0.
inline Surface TestExplosionSheet() {
  Surface s(500, 100);
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) s.setPixel(x, y, (x + 2 * y) % 7 == 0 ? 0 : PositionCode(x, y, 3));
  }
  return s;
}

// The test window with the test sheet, a black back surface, plain-copy effects, empty pools and
// ships at rest.
inline void SetUpParticleWindow(GameWindow& w) {
  SetUpTestWindow(w);
  w.explosions = {};
  w.flashes = {};
  w.smoke = {};
  w.flames = {};
  w.debris = {};
  w.sparks = {};
  w.options = {};
  for (ShipState& s : w.ship) s.vx = s.vy = 0;
  w.explosionSheet = TestExplosionSheet();
  w.options.effectRop = static_cast<uint32_t>(RasterOp::SrcCopy);
  w.random.Seed(1234);
}

inline void ClearBack(GameWindow& w) { w.back.BltColorFill(Rect{0, 0, 800, 600}, 0); }

// On a back surface cleared to black: `dst` shows `cell` of the sheet pixel for pixel (its transparent
// pixels left black) and nothing else on the surface is lit.
inline ::testing::AssertionResult CellDrawnAt(const GameWindow& w, const Rect& dst, const Rect& cell) {
  if (dst.width() != cell.width() || dst.height() != cell.height()) {
    return ::testing::AssertionFailure() << "destination " << dst.width() << "x" << dst.height() << " for a cell "
                                         << cell.width() << "x" << cell.height();
  }
  int lit = 0;
  for (int y = 0; y < dst.height(); ++y) {
    for (int x = 0; x < dst.width(); ++x) {
      const uint16_t want = w.explosionSheet.pixel(cell.left + x, cell.top + y);
      const uint16_t got = w.back.pixel(dst.left + x, dst.top + y);
      if (got != want) {
        return ::testing::AssertionFailure() << "pixel (" << dst.left + x << ", " << dst.top + y << ") is " << got
                                             << ", the sheet's (" << cell.left + x << ", " << cell.top + y
                                             << ") is " << want;
      }
      if (got) ++lit;
    }
  }
  const int all = CountLitPixels(w.back, Rect{0, 0, 800, 600});
  if (all != lit) return ::testing::AssertionFailure() << all - lit << " pixels lit outside the destination";
  return ::testing::AssertionSuccess();
}

}  // namespace quorvex::testing
