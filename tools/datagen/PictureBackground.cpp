// The battle background: deep space with dim nebula clouds, dust lanes, a far galaxy, the night
// side of a planet in one corner and faint stars. It stays dark so that ships, shots and the
// HUD read clearly over it. Row 5 holds the colours of the moving stars at x = 7, 8 and 9.
#include <algorithm>
#include <cmath>

#include "tools/datagen/PictureMakers.h"

namespace datagen {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr double kPi = 3.14159265358979323846;

// The moving stars' colours: far (dim), middle and near (bright).
constexpr Rgb kStarColours[3] = {{105, 112, 135}, {172, 182, 210}, {240, 246, 255}};

// The planet in the lower right corner: mostly night side, a thin lit rim towards the upper left.
constexpr double kPlanetX = 735, kPlanetY = 680, kPlanetR = 190;

Colour Nebula(double x, double y) {
  const double s = 1.0 / 260.0;
  // Domain warping makes the clouds flow instead of looking like plain noise.
  const double qx = FractalNoise(x * s, y * s, 4, 11), qy = FractalNoise(x * s + 5.2, y * s + 1.3, 4, 12);
  const double warpedX = x * s + 3.0 * qx, warpedY = y * s + 3.0 * qy;
  const double a = FractalNoise(warpedX, warpedY, 5, 21);
  const double b = FractalNoise(warpedX * 1.3 + 7.0, warpedY * 1.3 - 3.0, 5, 22);
  const double dust = FractalNoise(x / 90.0, y / 90.0, 4, 23);
  // The clouds gather in a band running from the upper left to the lower right.
  const double band = std::exp(-std::pow((x * 0.6 - y - 40.0) / 330.0, 2.0));
  const double open = 0.3 + 0.7 * SmoothStep(0.25, 0.6, FractalNoise(x / 420.0, y / 420.0, 2, 24));  // clear patches of space
  const double violet = std::pow(SmoothStep(0.42, 0.82, a), 1.2) * (0.2 + 0.8 * band) * open;
  const double teal = std::pow(SmoothStep(0.42, 0.82, b), 1.2) * (0.3 + 0.7 * (1.0 - band)) * open;
  const double lanes = 1.0 - 0.8 * SmoothStep(0.48, 0.7, dust);
  Colour c{2, 3, 9};
  c = c + Colour{70, 22, 88} * (violet * lanes);
  c = c + Colour{12, 52, 88} * (teal * lanes);
  // A brighter core where both clouds meet.
  c = c + Colour{60, 40, 80} * (violet * teal * lanes * 1.2);
  return c;
}

// A small, far spiral galaxy: a bright bulge and two faint arms, tilted.
void Galaxy(Image& image, double gx, double gy, double size, double tilt) {
  const int r = int(size * 1.2);
  for (int y = int(gy) - r; y <= int(gy) + r; ++y)
    for (int x = int(gx) - r; x <= int(gx) + r; ++x) {
      double dx = x + 0.5 - gx, dy = y + 0.5 - gy;
      const double u = dx * std::cos(tilt) + dy * std::sin(tilt);
      const double v = (-dx * std::sin(tilt) + dy * std::cos(tilt)) / 0.38;
      const double d = std::sqrt(u * u + v * v) / size;
      if (d > 1.0) continue;
      const double angle = std::atan2(v, u);
      const double arms = std::pow(0.5 + 0.5 * std::cos(2.0 * angle - 9.0 * d), 3.0) * SmoothStep(1.0, 0.2, d);
      const double bulge = std::exp(-d * d * 30.0);
      AddPixel(image, x, y, Colour{90, 84, 110} * (arms * 0.55) + Colour{230, 215, 190} * bulge);
    }
}

}  // namespace

Image MakeBackground() {
  Image image(kWidth, kHeight);
  // The game shows the picture in 16-bit colour (5 bits of red and blue, 6 of green); an ordered
  // dither keeps the dark gradients of the clouds from breaking into bands there.
  static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const double d = (bayer[y & 3][x & 3] + 0.5) / 16.0;
      const Colour c = Nebula(x, y);
      image.Set(x, y, ToRgb({std::floor(c.r / 8 + d) * 8, std::floor(c.g / 4 + d) * 4, std::floor(c.b / 8 + d) * 8}));
    }

  Galaxy(image, 612, 128, 26, -0.5);
  Galaxy(image, 138, 452, 12, 0.9);

  // Stars: many faint ones, fewer bright ones with a small cross of light.
  Random rng(20260);
  const Colour tints[5] = {{1.0, 1.0, 1.0}, {0.8, 0.88, 1.0}, {0.7, 0.8, 1.0}, {1.0, 0.95, 0.8}, {1.0, 0.82, 0.65}};
  for (int i = 0; i < 2600; ++i) {
    const int x = rng.Below(kWidth), y = rng.Below(kHeight);
    const double r = rng.Next();
    const Colour tint = tints[rng.Below(5)];
    const double brightness = 28.0 + 150.0 * std::pow(r, 5.0);
    AddPixel(image, x, y, tint * brightness);
    if (r > 0.985) {
      const double arm = brightness * 0.35;
      AddPixel(image, x - 1, y, tint * arm);
      AddPixel(image, x + 1, y, tint * arm);
      AddPixel(image, x, y - 1, tint * arm);
      AddPixel(image, x, y + 1, tint * arm);
      if (r > 0.996) {
        AddPixel(image, x - 2, y, tint * (arm * 0.4));
        AddPixel(image, x + 2, y, tint * (arm * 0.4));
        AddPixel(image, x, y - 2, tint * (arm * 0.4));
        AddPixel(image, x, y + 2, tint * (arm * 0.4));
      }
    }
  }

  // The planet hides the stars and clouds behind it.
  for (int y = int(kPlanetY - kPlanetR) - 1; y < kHeight; ++y)
    for (int x = int(kPlanetX - kPlanetR) - 1; x < kWidth; ++x) {
      const double dx = x + 0.5 - kPlanetX, dy = y + 0.5 - kPlanetY;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > kPlanetR + 6) continue;
      // How much the surface faces the light coming from the upper left.
      const double lit = Clamp01((-dx * 0.62 - dy * 0.78) / kPlanetR);
      if (d <= kPlanetR) {
        const double bands = FractalNoise(dx / 60.0, dy / 14.0, 4, 31);
        const double day = SmoothStep(0.82, 0.99, lit + 0.12 * (d / kPlanetR));
        Colour surface = Mix(Colour{6, 8, 16}, Colour{10, 14, 26}, bands);
        surface = surface + Mix(Colour{40, 60, 95}, Colour{95, 120, 150}, bands) * day;
        // Haze of the atmosphere along the rim.
        surface = surface + Colour{30, 70, 140} * (SmoothStep(kPlanetR - 10, kPlanetR, d) * (0.15 + 0.85 * lit));
        image.Set(x, y, ToRgb(surface));
      } else {
        const double glow = SmoothStep(kPlanetR + 6, kPlanetR, d) * (0.1 + 0.9 * lit);
        AddPixel(image, x, y, Colour{25, 60, 130} * glow);
      }
    }

  for (int i = 0; i < 3; ++i) image.Set(7 + i, 5, kStarColours[i]);
  return image;
}

}  // namespace datagen
