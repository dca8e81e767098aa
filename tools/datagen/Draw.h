// A small software painter for the generated pictures: colours, an RGB picture, polygons, circles,
// fixed-seed random numbers and smooth noise. Everything is deterministic: the same calls give the
// same pixels on every machine.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace datagen {

// A stored colour, components 0..255.
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A colour being computed; components are clamped to 0..255 when stored.
struct Colour {
  double r = 0, g = 0, b = 0;
};

Colour operator+(Colour a, Colour b);
Colour operator*(Colour a, double k);
Colour Mix(Colour a, Colour b, double t);  // t = 0 gives a, t = 1 gives b
Rgb ToRgb(Colour c);
Colour ToColour(Rgb c);
// True when the colour turns into pure black (the transparent colour) in the game's 16-bit pixels.
bool IsKeyBlack(Rgb c);

// Piecewise-linear colour ramp through (position, colour) stops sorted by position.
struct RampStop {
  double at;
  Colour colour;
};
Colour Ramp(const std::vector<RampStop>& stops, double t);

// A picture in memory, rows top to bottom, black (the transparent colour) when made.
struct Image {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;

  Image() = default;
  Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h)) {}
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Rgb Get(int x, int y) const { return Inside(x, y) ? pixels[Index(x, y)] : Rgb{}; }
  void Set(int x, int y, Rgb c) {
    if (Inside(x, y)) pixels[Index(x, y)] = c;
  }
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x); }
};

// Adds light to a pixel (components clamped at 255); ignored outside the picture.
void AddPixel(Image& image, int x, int y, Colour c);
// Mixes `c` into a pixel with weight alpha (0..1); ignored outside the picture.
void BlendPixel(Image& image, int x, int y, Colour c, double alpha);
// Copies the pixels of `src` that are not black with its top left at (x, y).
void BlitKeyed(Image& dst, int x, int y, const Image& src);

struct Vec2 {
  double x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }
double Length(Vec2 v);
// Turns v by `radians`; with y growing downwards a positive angle turns clockwise on screen.
Vec2 Rotate(Vec2 v, double radians);

using Polygon = std::vector<Vec2>;

bool PointInPolygon(const Polygon& polygon, Vec2 p);
// Distance from p to the nearest edge; `away` (optional) gets the unit direction from p to that
// edge point, which for a point inside is the outward direction of the nearest edge.
double EdgeDistance(const Polygon& polygon, Vec2 p, Vec2* away);
// Fills every pixel whose centre lies inside the polygon.
void FillPolygon(Image& image, const Polygon& polygon, Colour c);
// Fills every pixel whose centre lies within r of (cx, cy).
void FillCircle(Image& image, double cx, double cy, double r, Colour c);
// A line one pixel wide from (x1, y1) to (x2, y2), both ends included.
void DrawLine(Image& image, int x1, int y1, int x2, int y2, Colour c);

// Fixed-seed random numbers (splitmix64), the same sequence on every machine.
struct Random {
  uint64_t state;
  explicit Random(uint64_t seed) : state(seed) {}
  uint64_t NextBits();
  double Next();  // uniform in [0, 1)
  double Range(double lo, double hi) { return lo + (hi - lo) * Next(); }
  int Below(int n) { return static_cast<int>(Next() * n); }
};

// Smooth value noise in [0, 1] over the plane, one lattice point per unit.
double ValueNoise(double x, double y, uint32_t seed);
// Sum of `octaves` layers of value noise, each twice as fine and half as strong; in [0, 1].
double FractalNoise(double x, double y, int octaves, uint32_t seed);

// A picture of on/off pixels.
struct Mask {
  int width = 0, height = 0;
  std::vector<uint8_t> bits;

  Mask() = default;
  Mask(int w, int h) : width(w), height(h), bits(static_cast<size_t>(w) * static_cast<size_t>(h)) {}
  bool Get(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && bits[static_cast<size_t>(y) * width + x] != 0;
  }
  void Set(int x, int y, bool on) {
    if (x >= 0 && y >= 0 && x < width && y < height) bits[static_cast<size_t>(y) * width + x] = on ? 1 : 0;
  }
};

// Doubles a mask with the EPX rule, which rounds the steps of diagonals instead of copying blocks.
Mask Scale2x(const Mask& in);

// Blurs a field of width x height values in place with `passes` box blurs of the given radius.
void BoxBlur(std::vector<double>& field, int width, int height, int radius, int passes);

// Ordered (4 x 4 Bayer) dithering: true for about `coverage` (0..1) of the pixels of any area.
// Keyed pictures have no half-transparent pixels, so a glow fades out over the background by
// thinning its pixels instead of darkening them into an opaque dark halo.
bool DitherKeep(int x, int y, double coverage);

double Clamp01(double v);
double SmoothStep(double edge0, double edge1, double x);

}  // namespace datagen
