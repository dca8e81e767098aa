// Small hand-made pictures for drawing tests: every pixel's value tells where it came from, so a test
// can check which source pixel landed where.
#pragma once
#include <cstdint>

#include "game/core/GameWindow.h"
#include "platform/Surface.h"

namespace quorvex::testing {

// A value that differs between neighbouring positions and is never 0.
inline uint16_t PositionCode(int x, int y, int salt) {
  return static_cast<uint16_t>(((x * 37 + y * 1009 + salt * 7919) & 0xFFFF) | 0x0021);
}

// The colours of the three star depths in the background's row 5.
constexpr uint16_t kStarColor7 = 0xF81F, kStarColor8 = 0x07FF, kStarColor9 = 0xFFE0;

inline Surface TestBackground() {
  Surface s(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) s.setPixel(x, y, PositionCode(x, y, 1));
  }
  s.setPixel(7, 5, kStarColor7);
  s.setPixel(8, 5, kStarColor8);
  s.setPixel(9, 5, kStarColor9);
  return s;
}

// The colour of frame f of the test ship pictures; every frame has a black 2-pixel border.
inline uint16_t ShipFrameColor(int player, int frame) { return Rgb565(8 * frame, 100 + 100 * player, 255 - 8 * frame); }

inline Surface TestShipPicture(int player) {
  Surface s(400, 200);
  for (int f = 0; f < 32; ++f) {
    const int left = 50 * (f % 8), top = 50 * (f / 8);
    s.BltColorFill(Rect{left + 2, top + 2, left + 48, top + 48}, ShipFrameColor(player, f));
  }
  return s;
}

// A font sheet of position-coded pixels with a black (transparent) pixel wherever (x + y) % 5 is 0.
inline Surface TestFontSheet() {
  Surface s(702, 104);
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) s.setPixel(x, y, (x + y) % 5 == 0 ? 0 : PositionCode(x, y, 2));
  }
  return s;
}

// A window with the test pictures, two live ships and nothing in flight.
inline void SetUpTestWindow(GameWindow& w) {
  w.back = Surface(800, 600);
  w.background = TestBackground();
  w.shipPicture[0] = TestShipPicture(0);
  w.shipPicture[1] = TestShipPicture(1);
  w.fontSheet = TestFontSheet();
  w.explosionSheet = Surface(500, 100);
  w.options.starCount = 0;
  w.zoom = 50;
  for (int p = 0; p < 2; ++p) {
    ShipState& s = w.ship[p];
    s.alive = true;
    s.radius = 30;
    s.shield = s.shieldMax = 100;
    s.hull = s.hullMax = 100;
    s.energy = 100;
  }
  w.ship[0].x = 100, w.ship[0].y = 240;
  w.ship[1].x = 700, w.ship[1].y = 240;
}

}  // namespace quorvex::testing
