// The title picture of the main menu: the game's name in large chrome letters with a blue glow,
// a light streak beneath and a few sparkles, on black (transparent).
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/datagen/PictureFontGlyphs.h"
#include "tools/datagen/PictureMakers.h"

namespace datagen {

namespace {

constexpr int kWidth = 547;
constexpr int kHeight = 213;

// A four-pointed sparkle added onto the picture: a bright centre with thin rays.
void Sparkle(Image& image, double cx, double cy, double size, Colour colour) {
  const int r = int(std::ceil(size));
  for (int y = -r; y <= r; ++y)
    for (int x = -r; x <= r; ++x) {
      const double ax = std::abs(x), ay = std::abs(y);
      const double ray = std::max(0.0, 1.0 - ax / size) * std::exp(-ay * ay * 0.9) +
                         std::max(0.0, 1.0 - ay / size) * std::exp(-ax * ax * 0.9);
      const double core = std::exp(-(ax * ax + ay * ay) / (size * 0.08 + 1.0));
      const double k = std::min(1.0, ray * 0.8 + core);
      const int px = int(cx) + x, py = int(cy) + y;
      if (DitherKeep(px, py, k * 3.0)) AddPixel(image, px, py, colour * std::max(k, 0.35));
    }
}

}  // namespace

Image MakeTitlePicture() {
  Image image(kWidth, kHeight);
  const std::string word = "quorvex";
  // Each glyph is doubled three times with rounded diagonals (64 x 72), then stretched upwards.
  std::vector<Mask> glyphs;
  for (char ch : word) {
    const int g = GlyphIndex(ch);
    Mask m(kGlyphWidth, kGlyphHeight);
    for (int y = 0; y < kGlyphHeight; ++y)
      for (int x = 0; x < kGlyphWidth; ++x) m.Set(x, y, kGlyphRows[g][y][x] == '#');
    glyphs.push_back(Scale2x(Scale2x(Scale2x(m))));
  }
  const int gap = 10;
  const int letterW = kGlyphWidth * 8, letterH = 96;
  const double shear = 0.2;
  const int totalW = int(word.size()) * letterW + (int(word.size()) - 1) * gap + int(shear * letterH);
  const int left = (kWidth - totalW) / 2, top = 42;

  // The letters as a sharp mask, sheared to lean forwards.
  const size_t n = size_t(kWidth) * kHeight;
  std::vector<double> shape(n, 0.0);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int ly = y - top;
      if (ly < 0 || ly >= letterH) continue;
      const double ux = x - left - shear * (letterH - ly);
      if (ux < 0) continue;
      const int letter = int(ux) / (letterW + gap);
      const int lx = int(ux) - letter * (letterW + gap);
      if (letter >= int(word.size()) || lx >= letterW) continue;
      const Mask& m = glyphs[size_t(letter)];
      if (m.Get(lx, ly * m.height / letterH)) shape[size_t(y) * kWidth + x] = 1.0;
    }
  // Softened copies: the rounded letter body, and a wide one for the glow.
  std::vector<double> body = shape, glow = shape;
  BoxBlur(body, kWidth, kHeight, 2, 3);
  BoxBlur(glow, kWidth, kHeight, 7, 3);

  const std::vector<RampStop> chrome = {
      {0.00, {60, 110, 225}}, {0.30, {150, 205, 255}}, {0.49, {246, 250, 255}}, {0.51, {70, 45, 100}},
      {0.60, {175, 80, 60}},  {0.80, {255, 170, 70}},  {1.00, {255, 236, 175}}};
  const double lx = -0.45, ly = -0.65, lz = 0.62;  // light from the upper left, in front
  auto at = [&](const std::vector<double>& f, int x, int y) {
    x = std::clamp(x, 0, kWidth - 1);
    y = std::clamp(y, 0, kHeight - 1);
    return f[size_t(y) * kWidth + x];
  };

  // The light streak beneath the letters, drawn first so the letters' glow lies over it.
  const int streakY = top + letterH + 26;
  for (int x = 0; x < kWidth; ++x) {
    const double t = 1.0 - std::abs(x - kWidth / 2.0) / (kWidth / 2.0 - 6);
    if (t <= 0) continue;
    const double k = std::pow(t, 1.6);
    const double shown = std::max(k, 0.45);
    if (DitherKeep(x, streakY, k * 3)) AddPixel(image, x, streakY, Colour{150, 220, 255} * shown);
    if (DitherKeep(x, streakY - 1, k * 2)) AddPixel(image, x, streakY - 1, Colour{40, 110, 230} * shown * 0.8);
    if (DitherKeep(x, streakY + 1, k * 2)) AddPixel(image, x, streakY + 1, Colour{40, 110, 230} * shown * 0.8);
  }

  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const double f = at(body, x, y);
      if (f > 0.5) {
        const double h = SmoothStep(0.5, 0.97, f);
        const double hx = SmoothStep(0.5, 0.97, at(body, x + 1, y)) - SmoothStep(0.5, 0.97, at(body, x - 1, y));
        const double hy = SmoothStep(0.5, 0.97, at(body, x, y + 1)) - SmoothStep(0.5, 0.97, at(body, x, y - 1));
        double nx = -hx * 2.2, ny = -hy * 2.2, nz = 1.0;
        const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
        nx /= len, ny /= len, nz /= len;
        const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
        // Half vector of the light and the viewer (straight above) for the highlight.
        double hvx = lx, hvy = ly, hvz = lz + 1.0;
        const double hl = std::sqrt(hvx * hvx + hvy * hvy + hvz * hvz);
        hvx /= hl, hvy /= hl, hvz /= hl;
        const double highlight = std::pow(std::max(0.0, nx * hvx + ny * hvy + nz * hvz), 24.0);
        const double v = double(y - top) / letterH + (h < 0.95 ? (nx * 0.04 + ny * 0.06) : 0.0);
        Colour c = Ramp(chrome, v) * (0.45 + 0.7 * diffuse) + Colour{255, 255, 255} * (0.8 * highlight);
        image.Set(x, y, ToRgb(c));
      } else if (f > 0.16) {
        image.Set(x, y, ToRgb({16, 14, 52}));
      } else {
        const double g = at(glow, x, y);
        const double k = std::min(1.0, g * 2.2);
        if (DitherKeep(x, y, SmoothStep(0.03, 0.4, k))) AddPixel(image, x, y, Colour{30, 100, 255} * std::max(k, 0.4));
      }
    }

  Sparkle(image, left + 2 + shear * letterH, top + 2, 16, {200, 230, 255});
  Sparkle(image, left + totalW - 14, top + letterH - 6, 12, {255, 230, 190});
  Sparkle(image, kWidth / 2.0, streakY, 22, {220, 240, 255});
  return image;
}

}  // namespace datagen
