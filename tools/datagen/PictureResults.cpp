// The picture of the battle results screen: a golden trophy crowned by a star, in a laurel
// wreath, on a dark plinth with a gold plate, with light rays behind it.
#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/datagen/PictureMakers.h"

namespace datagen {

namespace {

constexpr int kWidth = 192;
constexpr int kHeight = 307;
constexpr double kCx = 96.0;
constexpr double kPi = 3.14159265358979323846;

// Polished gold across a round body: t runs from -1 (left edge) to 1 (right edge); the light
// comes from the upper left, so the highlight sits left of the middle.
Colour Gold(double t) {
  static const std::vector<RampStop> ramp = {
      {-1.0, {110, 58, 12}},  {-0.72, {215, 145, 40}}, {-0.48, {255, 222, 115}}, {-0.32, {255, 250, 215}},
      {-0.12, {250, 205, 85}}, {0.35, {205, 135, 32}}, {0.75, {130, 70, 12}},    {1.0, {85, 42, 8}}};
  return Ramp(ramp, t);
}

// Paints every pixel of the box (x0, y0) to (x1, y1) inclusive where `inside` holds.
void Paint(Image& image, int x0, int y0, int x1, int y1, const std::function<bool(double, double)>& inside,
           const std::function<Colour(double, double)>& colour) {
  for (int y = std::max(0, y0); y <= std::min(image.height - 1, y1); ++y)
    for (int x = std::max(0, x0); x <= std::min(image.width - 1, x1); ++x) {
      const double px = x + 0.5, py = y + 0.5;
      if (inside(px, py)) image.Set(x, y, ToRgb(colour(px, py)));
    }
}

// A round body symmetric about the picture's middle: halfWidth(y) gives its half width per row.
void PaintTurned(Image& image, int y0, int y1, const std::function<double(double)>& halfWidth, double shade) {
  Paint(
      image, 0, y0, kWidth - 1, y1, [&](double x, double y) { return std::abs(x - kCx) <= halfWidth(y); },
      [&](double x, double y) {
        const double hw = std::max(0.5, halfWidth(y));
        return Gold((x - kCx) / hw) * shade;
      });
}

void PaintStar(Image& image, double cx, double cy, double outer, double inner, double turn,
               const std::function<Colour(double, double)>& colour) {
  Polygon star;
  for (int i = 0; i < 10; ++i) {
    const double a = turn - kPi / 2 + i * kPi / 5;
    const double r = (i % 2 == 0) ? outer : inner;
    star.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  Paint(
      image, int(cx - outer) - 1, int(cy - outer) - 1, int(cx + outer) + 1, int(cy + outer) + 1,
      [&](double x, double y) { return PointInPolygon(star, {x, y}); }, colour);
}

// A star's faceted look: each of its ten facets lit by its direction from the light.
Colour StarFacet(double x, double y, double cx, double cy, Colour base) {
  const double a = std::atan2(y - cy, x - cx);
  const int facet = int(std::floor((a + kPi) / (kPi / 5)));
  const double mid = -kPi + (facet + 0.5) * (kPi / 5);
  const double light = 0.5 + 0.5 * std::cos(mid - (-2.3));  // light from the upper left
  return base * (0.55 + 0.65 * light);
}

void Sparkle(Image& image, double cx, double cy, double size, Colour colour) {
  const int r = int(std::ceil(size));
  for (int y = -r; y <= r; ++y)
    for (int x = -r; x <= r; ++x) {
      const double ax = std::abs(x), ay = std::abs(y);
      const double k = std::max(0.0, 1.0 - ax / size) * (ay < 0.5 ? 1.0 : ay < 1.5 ? 0.25 : 0.0) +
                       std::max(0.0, 1.0 - ay / size) * (ax < 0.5 ? 1.0 : ax < 1.5 ? 0.25 : 0.0);
      if (k > 0.05) AddPixel(image, int(cx) + x, int(cy) + y, colour * std::min(1.0, k));
    }
}

}  // namespace

Image MakeResultsPicture() {
  Image image(kWidth, kHeight);

  // Light rays fanning out from behind the cup, faint and fading to black.
  const double rayCx = kCx, rayCy = 120;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const double dx = x + 0.5 - rayCx, dy = y + 0.5 - rayCy;
      const double r = std::sqrt(dx * dx + dy * dy);
      const double a = std::atan2(dy, dx);
      const double ray = std::pow(0.5 + 0.5 * std::cos(a * 12.0), 6.0);
      const double fade = SmoothStep(96, 30, r);
      const double k = ray * fade;
      if (DitherKeep(x, y, k * 1.6 - 0.1)) image.Set(x, y, ToRgb(Colour{170, 120, 40} * std::max(0.5, std::min(1.0, k * 1.5))));
    }

  // The laurel wreath: two branches of leaves rising from the plinth and curving out and up.
  for (int side = -1; side <= 1; side += 2) {
    const double cx = kCx, cy = 150, radius = 86;
    const int leaves = 12;
    for (int i = 0; i < leaves; ++i) {
      const double phi = (-52.0 + i * 6.0) * kPi / 180;
      const double bx = cx + side * radius * std::cos(phi), by = cy - radius * std::sin(phi);
      const double tx = -side * std::sin(phi), ty = -std::cos(phi);  // the way the branch grows
      const double growth = std::atan2(ty, tx);
      for (int leaf = -1; leaf <= 1; leaf += 2) {
        const double spread = growth + leaf * 0.62;
        const double dirX = std::cos(spread), dirY = std::sin(spread);
        const double len = 8.5 - i * 0.2, wid = 3.4 - i * 0.08;
        const double lcx = bx + dirX * len * 0.95, lcy = by + dirY * len * 0.95;
        Paint(
            image, int(lcx - len) - 1, int(lcy - len) - 1, int(lcx + len) + 1, int(lcy + len) + 1,
            [&](double x, double y) {
              const double u = ((x - lcx) * dirX + (y - lcy) * dirY) / len;
              const double v = (-(x - lcx) * dirY + (y - lcy) * dirX) / wid;
              return u * u + v * v <= 1.0;
            },
            [&](double x, double y) {
              // Lit from the upper left: the side of the leaf facing it is brighter.
              const double nx = (x - lcx) / len, ny = (y - lcy) / len;
              const double lit = Clamp01(0.55 - 0.8 * (nx * 0.6 + ny * 0.8));
              return Mix(Colour{50, 105, 35}, Colour{185, 225, 105}, lit);
            });
      }
      FillCircle(image, bx, by, 1.4, {95, 135, 50});
    }
    // A last leaf at the tip.
    const double phi = (-52.0 + leaves * 6.0) * kPi / 180;
    const double tipX = cx + side * radius * std::cos(phi), tipY = cy - radius * std::sin(phi);
    Paint(
        image, int(tipX) - 8, int(tipY) - 12, int(tipX) + 8, int(tipY) + 4,
        [&](double x, double y) {
          const double u = (x - tipX) / 3.2, v = (y - tipY + 5) / 7.5;
          return u * u + v * v <= 1.0;
        },
        [&](double x, double) { return Mix(Colour{60, 120, 40}, Colour{185, 225, 105}, Clamp01(0.5 - (x - tipX) / 6)); });
  }

  // Handles: half rings on each side of the bowl.
  for (int side = -1; side <= 1; side += 2) {
    const double hx = kCx + side * 62, hy = 104;
    Paint(
        image, int(hx - 24), int(hy - 30), int(hx + 24), int(hy + 30),
        [&](double x, double y) {
          const double ox = (x - hx) / 20, oy = (y - hy) / 27, ix = (x - hx) / 11.5, iy = (y - hy) / 18;
          return ox * ox + oy * oy <= 1.0 && ix * ix + iy * iy > 1.0 && (x - hx) * side > -4;
        },
        [&](double x, double y) {
          const double ox = (x - hx) / 20, oy = (y - hy) / 27;
          const double r = std::sqrt(ox * ox + oy * oy);  // 0.58 (inner) to 1 (outer)
          const double t = (r - 0.79) / 0.21;
          const double facing = (x - hx) * side > 0 ? 0.25 * side : 0.0;
          return Gold(std::clamp(t * 0.8 + facing - 0.15, -1.0, 1.0));
        });
  }

  // The bowl, its rim and the inside seen over the rim.
  const double rimY = 70, bowlBottom = 172, bowlHalf = 60;
  PaintTurned(image, int(rimY), int(bowlBottom), [&](double y) {
    const double t = (y - rimY) / (bowlBottom - rimY);
    return 9.0 + (bowlHalf - 9.0) * std::sqrt(std::max(0.0, 1.0 - t * t));
  }, 1.0);
  Paint(
      image, int(kCx - bowlHalf) - 1, int(rimY - 10), int(kCx + bowlHalf) + 1, int(rimY + 10),
      [&](double x, double y) {
        const double u = (x - kCx) / bowlHalf, v = (y - rimY) / 9.0;
        return u * u + v * v <= 1.0;
      },
      [&](double x, double y) {
        const double u = (x - kCx) / bowlHalf, v = (y - rimY) / 9.0;
        const double iu = (x - kCx) / (bowlHalf - 5), iv = (y - rimY + 1) / 6.0;
        if (iu * iu + iv * iv <= 1.0) return Gold(0.6 - iu * 0.9) * (0.45 + 0.25 * iv);  // the inside, in shade
        return Gold(u * 0.9 - v * 0.2) * 1.05;
      });
  // An embossed star on the front of the bowl.
  PaintStar(image, kCx, 118, 21, 9, 0, [&](double x, double y) {
    return StarFacet(x, y, kCx, 118, Gold((x - kCx) / 60 - 0.35) * 1.1);
  });

  // Stem with a knot, the foot and the plinth with its gold plate.
  PaintTurned(image, int(bowlBottom) - 2, 198, [](double) { return 7.5; }, 0.95);
  Paint(
      image, int(kCx - 18), 178, int(kCx + 18), 194,
      [&](double x, double y) {
        const double u = (x - kCx) / 17, v = (y - 186) / 7;
        return u * u + v * v <= 1.0;
      },
      [&](double x, double) { return Gold((x - kCx) / 17); });
  PaintTurned(image, 196, 214, [](double y) { return 14 + (y - 196) * 1.7; }, 1.0);
  PaintTurned(image, 214, 220, [](double) { return 49.0; }, 0.9);
  const Colour stone{52, 62, 98};
  Paint(
      image, int(kCx - 54), 220, int(kCx + 54), 264, [&](double x, double) { return std::abs(x - kCx) <= 52; },
      [&](double x, double y) {
        const double dl = x - (kCx - 52), dr = (kCx + 52) - x, dt = y - 220, db = 264 - y;
        if (dt < 3) return stone * 1.5;
        if (dl < 3) return stone * 1.3;
        if (dr < 3 || db < 3) return stone * 0.6;
        const double grain = 0.9 + 0.2 * FractalNoise(x * 0.15, y * 0.5, 3, 77);
        return stone * grain;
      });
  PaintTurned(image, 264, 272, [](double) { return 58.0; }, 0.75);
  // The gold plate, left blank: the same trophy stands for either winner.
  Paint(
      image, int(kCx - 26), 228, int(kCx + 26), 257, [&](double x, double) { return std::abs(x - kCx) <= 25; },
      [&](double x, double y) {
        const double dl = x - (kCx - 25), dr = (kCx + 25) - x, dt = y - 228, db = 257 - y;
        if (std::min({dl, dr, dt, db}) < 1.5) return Gold(dl < 1.5 || dt < 1.5 ? -0.4 : 0.8);
        return Gold(-0.1 + (x - kCx) / 70);
      });

  // The star crowning the cup, with a halo.
  const double starY = 34;
  for (int y = 0; y < 70; ++y)
    for (int x = int(kCx) - 40; x < int(kCx) + 40; ++x) {
      const double dx = x + 0.5 - kCx, dy = y + 0.5 - starY;
      const double k = SmoothStep(34, 16, std::sqrt(dx * dx + dy * dy));
      if (DitherKeep(x, y, k) && image.Get(x, y) == Rgb{}) image.Set(x, y, ToRgb(Colour{255, 200, 90} * std::max(0.45, k * 0.7)));
    }
  PaintStar(image, kCx, starY + 1, 25, 10.5, 0, [&](double, double) { return Colour{70, 35, 5}; });
  PaintStar(image, kCx, starY, 23, 9.5, 0,
            [&](double x, double y) { return StarFacet(x, y, kCx, starY, {255, 215, 90}); });

  Sparkle(image, kCx - 28, 82, 9, {255, 250, 220});
  Sparkle(image, kCx + 8, 20, 7, {255, 255, 240});
  Sparkle(image, kCx + 40, 150, 6, {255, 240, 200});
  Sparkle(image, 22, 40, 7, {255, 230, 170});
  Sparkle(image, 170, 60, 5, {255, 230, 170});
  return image;
}

}  // namespace datagen
