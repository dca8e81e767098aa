#include "tools/datagen/Draw.h"

#include <algorithm>
#include <cmath>

namespace datagen {

Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour operator*(Colour a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Colour Mix(Colour a, Colour b, double t) { return a * (1.0 - t) + b * t; }

static uint8_t ClampComponent(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= 255.0) return 255;
  return static_cast<uint8_t>(std::lround(v));
}

Rgb ToRgb(Colour c) { return {ClampComponent(c.r), ClampComponent(c.g), ClampComponent(c.b)}; }
Colour ToColour(Rgb c) { return {double(c.r), double(c.g), double(c.b)}; }

bool IsKeyBlack(Rgb c) { return (c.r >> 3) == 0 && (c.g >> 2) == 0 && (c.b >> 3) == 0; }

Colour Ramp(const std::vector<RampStop>& stops, double t) {
  if (stops.empty()) return {};
  if (t <= stops.front().at) return stops.front().colour;
  for (size_t i = 1; i < stops.size(); ++i) {
    if (t <= stops[i].at) {
      const double span = stops[i].at - stops[i - 1].at;
      const double k = span > 0 ? (t - stops[i - 1].at) / span : 1.0;
      return Mix(stops[i - 1].colour, stops[i].colour, k);
    }
  }
  return stops.back().colour;
}

void AddPixel(Image& image, int x, int y, Colour c) {
  if (!image.Inside(x, y)) return;
  Rgb& p = image.pixels[image.Index(x, y)];
  p = ToRgb(ToColour(p) + c);
}

void BlendPixel(Image& image, int x, int y, Colour c, double alpha) {
  if (!image.Inside(x, y)) return;
  Rgb& p = image.pixels[image.Index(x, y)];
  p = ToRgb(Mix(ToColour(p), c, Clamp01(alpha)));
}

void BlitKeyed(Image& dst, int x, int y, const Image& src) {
  for (int sy = 0; sy < src.height; ++sy)
    for (int sx = 0; sx < src.width; ++sx) {
      const Rgb c = src.Get(sx, sy);
      if (!(c == Rgb{})) dst.Set(x + sx, y + sy, c);
    }
}

double Length(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }

Vec2 Rotate(Vec2 v, double radians) {
  const double c = std::cos(radians), s = std::sin(radians);
  return {v.x * c - v.y * s, v.x * s + v.y * c};
}

bool PointInPolygon(const Polygon& polygon, Vec2 p) {
  bool inside = false;
  const size_t n = polygon.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const Vec2 a = polygon[i], b = polygon[j];
    if ((a.y > p.y) != (b.y > p.y)) {
      const double xCross = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
      if (p.x < xCross) inside = !inside;
    }
  }
  return inside;
}

double EdgeDistance(const Polygon& polygon, Vec2 p, Vec2* away) {
  double best = 1e30;
  Vec2 bestDir{0, -1};
  const size_t n = polygon.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const Vec2 a = polygon[j], b = polygon[i];
    const Vec2 ab = b - a;
    const double len2 = ab.x * ab.x + ab.y * ab.y;
    double t = len2 > 0 ? ((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const Vec2 q = a + ab * t;
    const Vec2 d = q - p;
    const double dist = Length(d);
    if (dist < best) {
      best = dist;
      if (dist > 1e-9) {
        bestDir = d * (1.0 / dist);
      } else if (len2 > 0) {
        bestDir = Vec2{ab.y, -ab.x} * (1.0 / std::sqrt(len2));
      }
    }
  }
  if (away) *away = bestDir;
  return best;
}

void FillPolygon(Image& image, const Polygon& polygon, Colour c) {
  if (polygon.empty()) return;
  double minY = polygon[0].y, maxY = polygon[0].y;
  for (const Vec2& v : polygon) {
    minY = std::min(minY, v.y);
    maxY = std::max(maxY, v.y);
  }
  const Rgb rgb = ToRgb(c);
  const int y0 = std::max(0, int(std::floor(minY))), y1 = std::min(image.height - 1, int(std::ceil(maxY)));
  std::vector<double> crossings;
  for (int y = y0; y <= y1; ++y) {
    const double cy = y + 0.5;
    crossings.clear();
    const size_t n = polygon.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
      const Vec2 a = polygon[i], b = polygon[j];
      if ((a.y > cy) != (b.y > cy)) crossings.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      const int x0 = std::max(0, int(std::ceil(crossings[k] - 0.5)));
      const int x1 = std::min(image.width - 1, int(std::ceil(crossings[k + 1] - 0.5)) - 1);
      for (int x = x0; x <= x1; ++x) image.pixels[image.Index(x, y)] = rgb;
    }
  }
}

void FillCircle(Image& image, double cx, double cy, double r, Colour c) {
  const Rgb rgb = ToRgb(c);
  const int y0 = int(std::floor(cy - r)), y1 = int(std::ceil(cy + r));
  const int x0 = int(std::floor(cx - r)), x1 = int(std::ceil(cx + r));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      if (dx * dx + dy * dy <= r * r) image.Set(x, y, rgb);
    }
}

void DrawLine(Image& image, int x1, int y1, int x2, int y2, Colour c) {
  const Rgb rgb = ToRgb(c);
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    image.Set(x1, y1, rgb);
    if (x1 == x2 && y1 == y2) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x1 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y1 += sy;
    }
  }
}

uint64_t Random::NextBits() {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Random::Next() { return double(NextBits() >> 11) * (1.0 / 9007199254740992.0); }

static double LatticeValue(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return double(h & 0xFFFFFF) / double(0xFFFFFF);
}

double ValueNoise(double x, double y, uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = int(fx), iy = int(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const double a = LatticeValue(ix, iy, seed), b = LatticeValue(ix + 1, iy, seed);
  const double c = LatticeValue(ix, iy + 1, seed), d = LatticeValue(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double FractalNoise(double x, double y, int octaves, uint32_t seed) {
  double sum = 0, weight = 1, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + 101u * uint32_t(i)) * weight;
    total += weight;
    weight *= 0.5;
    x = x * 2.0 + 17.3;
    y = y * 2.0 - 9.1;
  }
  return total > 0 ? sum / total : 0.0;
}

Mask Scale2x(const Mask& in) {
  Mask out(in.width * 2, in.height * 2);
  for (int y = 0; y < in.height; ++y)
    for (int x = 0; x < in.width; ++x) {
      const bool p = in.Get(x, y);
      const bool a = in.Get(x, y - 1), b = in.Get(x + 1, y), c = in.Get(x - 1, y), d = in.Get(x, y + 1);
      bool e0 = p, e1 = p, e2 = p, e3 = p;
      if (c == a && c != d && a != b) e0 = a;
      if (a == b && a != c && b != d) e1 = b;
      if (d == c && d != b && c != a) e2 = c;
      if (b == d && b != a && d != c) e3 = d;
      out.Set(2 * x, 2 * y, e0);
      out.Set(2 * x + 1, 2 * y, e1);
      out.Set(2 * x, 2 * y + 1, e2);
      out.Set(2 * x + 1, 2 * y + 1, e3);
    }
  return out;
}

void BoxBlur(std::vector<double>& field, int width, int height, int radius, int passes) {
  std::vector<double> tmp(field.size());
  const double norm = 1.0 / (2 * radius + 1);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        double sum = 0;
        for (int k = -radius; k <= radius; ++k) {
          const int xx = std::clamp(x + k, 0, width - 1);
          sum += field[static_cast<size_t>(y) * width + xx];
        }
        tmp[static_cast<size_t>(y) * width + x] = sum * norm;
      }
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        double sum = 0;
        for (int k = -radius; k <= radius; ++k) {
          const int yy = std::clamp(y + k, 0, height - 1);
          sum += tmp[static_cast<size_t>(yy) * width + x];
        }
        field[static_cast<size_t>(y) * width + x] = sum * norm;
      }
  }
}

bool DitherKeep(int x, int y, double coverage) {
  static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (bayer[y & 3][x & 3] + 0.5) / 16.0 < coverage;
}

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

double SmoothStep(double edge0, double edge1, double x) {
  const double t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

}  // namespace datagen
