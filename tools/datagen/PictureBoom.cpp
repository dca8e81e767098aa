// The explosion sheet. Every picture is light on black: the game ORs them onto the frame, so
// black adds nothing and bright fire glows. Several cells share pixels, and the sheet is laid
// out so each use still looks right:
//   - small explosion cell 10 (its first, smallest frame) keeps to its left part, and flash
//     picture -1 (its last, faintest frame) to its right part, where the two cells overlap;
//   - the smoke puffs sit inside big explosion picture 6, the smoky end of a big explosion,
//     whose own smoke thins out around them;
//   - the torpedo's bottom row is the top row of big explosion picture 6; both leave it empty.
#include <algorithm>
#include <cmath>

#include "tools/datagen/PictureMakers.h"

namespace datagen {

namespace {

constexpr double kPi = 3.14159265358979323846;

const std::vector<RampStop>& FireRamp() {
  static const std::vector<RampStop> ramp = {
      {0.00, {0, 0, 0}},       {0.12, {70, 10, 2}},     {0.30, {175, 42, 6}}, {0.50, {255, 120, 12}},
      {0.70, {255, 200, 60}},  {0.88, {255, 246, 170}}, {1.00, {255, 255, 255}}};
  return ramp;
}

// Stores a colour unless it would turn into the transparent black anyway.
void Put(Image& image, int x, int y, Colour c) {
  const Rgb rgb = ToRgb(c);
  image.Set(x, y, IsKeyBlack(rgb) ? Rgb{} : rgb);
}

void AddGlow(Image& image, int x, int y, Colour c) {
  if (IsKeyBlack(ToRgb(c))) return;
  AddPixel(image, x, y, c);
}

struct Fireball {
  double cx, cy;    // centre in sheet pixels
  double radius;    // nothing is drawn beyond it
  double heat;      // 1 is a white-hot core, lower values burn orange, red and out
  double hollow;    // 0 a full ball, towards 1 the middle has burnt out
  double patternScale;  // size of the flame pattern (kept fixed through an animation)
  uint32_t seed;
};

// Fire at one point of a fireball: turbulent flames brightest in the middle.
double FireTemperature(const Fireball& f, double x, double y) {
  const double dx = x - f.cx, dy = y - f.cy;
  const double d = std::sqrt(dx * dx + dy * dy) / f.radius;
  if (d >= 1.0) return 0.0;
  const double n = FractalNoise(dx / f.patternScale + 40.0, dy / f.patternScale + 40.0, 4, f.seed);
  double body = 1.0 - std::pow(d, 1.6) + (n - 0.5) * 1.1;
  if (f.hollow > 0) body *= 1.0 - f.hollow * SmoothStep(0.75, 0.0, d) * (0.6 + 0.8 * n);
  return std::max(0.0, body) * f.heat * SmoothStep(1.0, 0.8, d);
}

void PaintFireball(Image& image, const Fireball& f) {
  const int r = int(std::ceil(f.radius)) + 1;
  for (int y = int(f.cy) - r; y <= int(f.cy) + r; ++y)
    for (int x = int(f.cx) - r; x <= int(f.cx) + r; ++x) {
      const double t = FireTemperature(f, x + 0.5, y + 0.5);
      if (t > 0) AddGlow(image, x, y, Ramp(FireRamp(), std::min(1.0, t)));
    }
}

// A starlike burst of light: a round core, a soft glow and thin rays along the axes and diagonals.
void PaintStarBurst(Image& image, double cx, double cy, double core, double glow, double ray, double diagonalRay,
                    Colour coreColour, Colour glowColour, double maxRadius) {
  const int r = int(std::ceil(maxRadius)) + 1;
  for (int y = int(cy) - r; y <= int(cy) + r; ++y)
    for (int x = int(cx) - r; x <= int(cx) + r; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > maxRadius) continue;
      double k = 0;
      k += std::exp(-d * d / (glow * glow)) * 0.85;
      const double ax = std::abs(dx), ay = std::abs(dy);
      if (ray > 0) {
        k += std::max(0.0, 1.0 - ax / ray) * std::exp(-ay * ay * 1.6) + std::max(0.0, 1.0 - ay / ray) * std::exp(-ax * ax * 1.6);
      }
      if (diagonalRay > 0) {
        const double u = std::abs(dx + dy) / std::sqrt(2.0), v = std::abs(dx - dy) / std::sqrt(2.0);
        k += 0.6 * (std::max(0.0, 1.0 - u / diagonalRay) * std::exp(-v * v * 2.5) +
                    std::max(0.0, 1.0 - v / diagonalRay) * std::exp(-u * u * 2.5));
      }
      Colour c = glowColour * std::min(1.0, k);
      if (d < core) c = Mix(c, coreColour, SmoothStep(core, core * 0.4, d));
      AddGlow(image, x, y, c);
    }
}

// Small explosion frame t (0 = first) in the 21 x 21 cell whose top left is (x0, y0).
void SmallExplosion(Image& image, int x0, int y0, int t) {
  // It bursts white-hot, swells, burns out in the middle, and ends as a small dull flame (the last
  // two pictures double as the flames of a burning wreck).
  static const double radius[10] = {3.6, 5.8, 7.6, 8.8, 9.4, 9.5, 9.5, 9.3, 8.6, 7.6};
  static const double heat[10] = {1.45, 1.4, 1.3, 1.15, 1.0, 0.88, 0.78, 0.7, 0.64, 0.54};
  static const double hollow[10] = {0, 0, 0, 0.1, 0.25, 0.4, 0.5, 0.5, 0.4, 0.3};
  const Fireball f{x0 + 10.5, y0 + 10.5, radius[t], heat[t], hollow[t], 3.2, 11};
  PaintFireball(image, f);
}

// The oldest flame picture: a small dying ember.
void Ember(Image& image, int x0, int y0) {
  PaintFireball(image, Fireball{x0 + 10.5, y0 + 10.5, 5.5, 0.36, 0.0, 2.2, 29});
}

// A smoke puff: grey, soft, lumpy; k = 2 is fresh (small and light), k = 0 old (wide and faint).
void SmokePuff(Image& image, int x0, int y0, int k) {
  static const double radius[3] = {5.5, 4.6, 3.6};
  static const Colour colour[3] = {{78, 80, 88}, {132, 132, 140}, {205, 192, 176}};
  const double cx = x0 + 6.5, cy = y0 + 6.5;
  for (int y = y0 + 1; y < y0 + 12; ++y)
    for (int x = x0 + 1; x < x0 + 12; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      const double d = std::sqrt(dx * dx + dy * dy) / radius[k];
      if (d >= 1.0) continue;
      const double n = FractalNoise(dx / 2.0 + 20, dy / 2.0 + 20, 3, 53u + uint32_t(k));
      const double density = Clamp01((1.0 - d * d) * (0.75 + (n - 0.5) * 1.2));
      Put(image, x, y, colour[k] * density);
    }
}

// Big explosion picture k (0..6) in the 51 x 51 cell whose top left is (x0, y0).
// `keepOut` (sheet pixels, right and bottom exclusive) is left for other cells: the fire thins out
// towards it and does not enter it.
void BigExplosion(Image& image, int x0, int y0, int k, const int* keepOut) {
  static const double radius[7] = {9.5, 15.5, 20.0, 22.5, 23.8, 24.2, 24.2};
  static const double heat[7] = {1.55, 1.45, 1.3, 1.1, 0.85, 0.62, 0.4};
  static const double hollow[7] = {0.0, 0.0, 0.15, 0.35, 0.6, 0.8, 0.95};
  const double cx = x0 + 25.5, cy = y0 + 25.5;
  Image layer(image.width, image.height);
  PaintFireball(layer, Fireball{cx, cy, radius[k], heat[k], hollow[k], 5.0, 7});
  // Lesser fireballs bursting around the main one, each growing and cooling a step behind it.
  Random rng(1234);
  for (int i = 0; i < 6; ++i) {
    const double angle = rng.Range(0, 2 * kPi);
    const double reach = rng.Range(0.35, 0.6);
    const double size = rng.Range(0.32, 0.45);
    const double grow = std::min(1.0, (k + 0.5) / 3.5);
    const double dist = radius[k] * reach * grow + 2.0;
    const double r = std::min(radius[k] * size * (0.6 + 0.5 * grow), 24.3 - dist);
    if (r < 1.5) continue;
    PaintFireball(layer, Fireball{cx + std::cos(angle) * dist, cy + std::sin(angle) * dist, r,
                                  heat[std::min(6, k + 1)] * 1.05, hollow[k] * 0.6, 2.6, 100u + uint32_t(i)});
  }
  // The shock ring of the first pictures.
  if (k >= 1 && k <= 2) {
    const double ringR = std::min(24.0, radius[k] + 0.2), strength = (k == 1 ? 0.5 : k == 2 ? 0.3 : 0.12);
    for (int y = y0; y < y0 + 51; ++y)
      for (int x = x0; x < x0 + 51; ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        const double broken = 0.4 + 0.9 * ValueNoise(std::atan2(y + 0.5 - cy, x + 0.5 - cx) * 4.0 + 10, 0.5, 5);
        const double w = std::exp(-(d - ringR) * (d - ringR) / 0.8) * strength * broken;
        if (d < 24.6) AddGlow(layer, x, y, Colour{150, 190, 255} * w);
      }
  }
  // Hot sparks flying out.
  Random sparks(99);
  for (int i = 0; i < 22; ++i) {
    const double angle = sparks.Range(0, 2 * kPi), speed = sparks.Range(0.55, 1.0);
    const double d = std::min(23.5, (4.0 + k * 3.6) * speed);
    if (k == 0 || k > 5) continue;
    const double sx = cx + std::cos(angle) * d, sy = cy + std::sin(angle) * d;
    const Colour c = Mix(Colour{255, 250, 200}, Colour{255, 120, 20}, k / 5.0) * (1.1 - k * 0.12);
    AddGlow(layer, int(std::floor(sx)), int(std::floor(sy)), c);
  }
  // The last picture is the smoke the fireball leaves: grey puffs in a loose ring with a few
  // embers. The smoke cells of the sheet lie inside it and read as two more of its puffs.
  if (k == 6) {
    layer = Image(image.width, image.height);
    Random puffs(4242);
    for (int i = 0; i < 90; ++i) {
      const double angle = puffs.Range(0, 2 * kPi), dist = puffs.Range(6.0, 19.0), r = puffs.Range(3.5, 5.5);
      const double px = cx + std::cos(angle) * dist, py = cy + std::sin(angle) * dist;
      if (dist + r > 23.5) continue;
      if (keepOut && px + r > keepOut[0] - 2 && px - r < keepOut[2] + 1 && py + r > keepOut[1] - 2 &&
          py - r < keepOut[3] + 1)
        continue;
      const double shade = puffs.Range(0.55, 1.0);
      for (int y = int(py - r) - 1; y <= int(py + r) + 1; ++y)
        for (int x = int(px - r) - 1; x <= int(px + r) + 1; ++x) {
          const double dx = x + 0.5 - px, dy = y + 0.5 - py;
          const double d = std::hypot(dx, dy) / r;
          if (d >= 1.0) continue;
          const double n = FractalNoise(x / 2.0, y / 2.0, 3, 53);
          const double density = Clamp01((1.0 - d * d) * (0.75 + (n - 0.5) * 1.2));
          const Colour tint = Mix(Colour{124, 120, 128}, Colour{160, 84, 50}, SmoothStep(16.0, 6.0, dist));
          const Colour puff = tint * (density * shade);
          const Rgb old = layer.Get(x, y);
          if (ToRgb(puff).g > old.g) layer.Set(x, y, ToRgb(puff));
        }
    }
    Random embers(77);
    for (int i = 0; i < 14; ++i) {
      const double angle = embers.Range(0, 2 * kPi), dist = embers.Range(6.0, 22.0);
      const int ex = int(std::floor(cx + std::cos(angle) * dist)), ey = int(std::floor(cy + std::sin(angle) * dist));
      AddGlow(layer, ex, ey, Colour{230, 110, 30} * embers.Range(0.5, 1.0));
    }
  }
  for (int y = y0; y < y0 + 51; ++y)
    for (int x = x0; x < x0 + 51; ++x) {
      Colour c = ToColour(layer.Get(x, y));
      if (keepOut) {
        const double gx = std::max({double(keepOut[0] - x), 0.0, double(x - (keepOut[2] - 1))});
        const double gy = std::max({double(keepOut[1] - y), 0.0, double(y - (keepOut[3] - 1))});
        const double gap = std::hypot(gx, gy);
        if (gap < 1.0) c = {};
      }
      Put(image, x, y, c);
    }
}

}  // namespace

Image MakeExplosionSheet() {
  Image sheet(400, 80);
  // Small explosions: cell s (1..10) at x 21 s shows frame 10 - s. Cell 0 is only a flame picture.
  Ember(sheet, 0, 0);
  for (int s = 1; s <= 10; ++s) SmallExplosion(sheet, 21 * s, 0, 10 - s);

  // Big explosion pictures 0..6 at x 51 k, y 22; the last leaves room for the smoke cells.
  const int smokeArea[4] = {330, 40, 369, 53};
  for (int k = 0; k <= 6; ++k) BigExplosion(sheet, 51 * k, 22, k, k == 6 ? smokeArea : nullptr);
  for (int k = 0; k <= 2; ++k) SmokePuff(sheet, 330 + 13 * k, 40, k);

  // Flashes k = -1..2 at x 243 + 18 k: a blue-white burst that shrinks and fades.
  struct FlashLook {
    double core, glow, ray, diagonal, brightness;
  };
  const FlashLook flashes[4] = {{0.9, 1.4, 2.6, 0.0, 0.55}, {1.5, 2.6, 4.5, 2.5, 0.75}, {2.3, 3.6, 6.5, 4.0, 0.9},
                                {3.2, 4.6, 8.0, 5.5, 1.0}};
  for (int k = -1; k <= 2; ++k) {
    const FlashLook& f = flashes[k + 1];
    const double cx = 243 + 18 * k + 9.0, cy = 9.0;
    PaintStarBurst(sheet, cx, cy, f.core, f.glow, f.ray, f.diagonal, Colour{255, 255, 255} * f.brightness,
                   Colour{120, 190, 255} * f.brightness, k == -1 ? 2.9 : 8.0);
  }

  // The torpedo: a violet plasma ball with a hot pink core and flickering tendrils.
  const double tx = 350 + 10.5, ty = 2 + 10.5;
  for (int y = 3; y < 22; ++y)
    for (int x = 351; x < 370; ++x) {
      const double dx = x + 0.5 - tx, dy = y + 0.5 - ty;
      const double d = std::hypot(dx, dy);
      if (d > 9.2) continue;
      const double a = std::atan2(dy, dx);
      const double tendril = std::pow(0.5 + 0.5 * std::sin(a * 7 + 2.0 * std::sin(a * 3)), 4.0) *
                             SmoothStep(9.2, 4.0, d) * 0.6;
      const double glow = std::exp(-d * d / 14.0);
      Colour c = Colour{170, 40, 255} * std::min(1.0, glow + tendril);
      c = c + Colour{255, 180, 255} * std::exp(-d * d / 3.0);
      Put(sheet, x, y, c);
    }
  // The missile: an orange exhaust flare, white at the heart.
  PaintStarBurst(sheet, 375 + 10.5, 2 + 10.5, 2.2, 3.4, 8.5, 4.5, {255, 255, 220}, {255, 150, 30}, 9.3);
  return sheet;
}

}  // namespace datagen
