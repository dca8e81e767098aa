#include "tools/datagen/PictureShipModel.h"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSheetFrame = 50;

Polygon Mirror(const Polygon& p) {
  Polygon m(p.rbegin(), p.rend());
  for (Vec2& v : m) v.x = -v.x;
  return m;
}

// A part prepared for one sheet: its bounding box, for a quick rejection of far points.
struct Prepared {
  const ShipPart* part;
  double minX, minY, maxX, maxY;
  double cosA = 1, sinA = 0;  // ellipses: the turn back to the ellipse's own axes
};

// Turns v by the angle whose cosine and sine are given.
Vec2 Turn(Vec2 v, double c, double s) { return {v.x * c - v.y * s, v.x * s + v.y * c}; }

Vec2 EllipseLocal(const Prepared& pr, Vec2 m) {
  const ShipPart& p = *pr.part;
  const Vec2 d = Turn(m - p.centre, pr.cosA, pr.sinA);
  return {d.x / p.radii.x, d.y / p.radii.y};
}

bool Contains(const Prepared& pr, Vec2 m) {
  if (m.x < pr.minX || m.x > pr.maxX || m.y < pr.minY || m.y > pr.maxY) return false;
  const ShipPart& p = *pr.part;
  if (p.ellipse) {
    const Vec2 l = EllipseLocal(pr, m);
    return l.x * l.x + l.y * l.y <= 1.0;
  }
  return PointInPolygon(p.points, m);
}

// The surface direction (model x, model y, up) of a part at model point m.
void SurfaceNormal(const Prepared& pr, Vec2 m, double* nx, double* ny, double* nz) {
  const ShipPart& p = *pr.part;
  *nx = 0, *ny = 0, *nz = 1;
  if (p.ellipse && p.dome > 0) {
    const Vec2 l = EllipseLocal(pr, m);
    const double r2 = std::min(1.0, l.x * l.x + l.y * l.y);
    const double z = std::sqrt(1.0 - r2) + (1.0 - p.dome) * 2.0;
    const Vec2 flat = Turn({l.x, l.y}, pr.cosA, -pr.sinA);
    const double len = std::sqrt(flat.x * flat.x + flat.y * flat.y + z * z);
    *nx = flat.x / len, *ny = flat.y / len, *nz = z / len;
    return;
  }
  double dist;
  Vec2 away;
  if (p.ellipse) {
    const Vec2 l = EllipseLocal(pr, m);
    const double r = std::sqrt(l.x * l.x + l.y * l.y);
    dist = (1.0 - r) * std::min(p.radii.x, p.radii.y);
    away = r > 1e-9 ? Turn(Vec2{l.x / r, l.y / r}, pr.cosA, -pr.sinA) : Vec2{0, -1};
  } else {
    dist = EdgeDistance(p.points, m, &away);
  }
  if (p.bevel <= 0 || dist >= p.bevel) return;
  const double slope = 1.25 * std::pow(1.0 - dist / p.bevel, 1.3);
  const double len = std::sqrt(slope * slope + 1.0);
  *nx = away.x * slope / len, *ny = away.y * slope / len, *nz = 1.0 / len;
}

}  // namespace

ShipPart& ModelBuilder::Poly(const Polygon& points, Colour colour, int level, double bevel) {
  ShipPart p;
  p.points = points;
  p.colour = colour;
  p.level = level;
  p.bevel = bevel;
  parts.push_back(p);
  return parts.back();
}

void ModelBuilder::MirroredPoly(const Polygon& rightHalf, Colour colour, int level, double bevel) {
  Poly(rightHalf, colour, level, bevel);
  Poly(Mirror(rightHalf), colour, level, bevel);
}

ShipPart& ModelBuilder::Hull(const Polygon& rightOutline, Colour colour, int level, double bevel) {
  Polygon whole = rightOutline;
  for (auto it = rightOutline.rbegin(); it != rightOutline.rend(); ++it)
    if (it->x != 0) whole.push_back({-it->x, it->y});
  return Poly(whole, colour, level, bevel);
}

ShipPart& ModelBuilder::Oval(Vec2 centre, Vec2 radii, Colour colour, int level, double dome, double angle) {
  ShipPart p;
  p.ellipse = true;
  p.centre = centre;
  p.radii = radii;
  p.angle = angle;
  p.colour = colour;
  p.level = level;
  p.dome = dome;
  p.bevel = std::min(radii.x, radii.y) * 0.6;
  parts.push_back(p);
  return parts.back();
}

void ModelBuilder::MirroredOval(Vec2 centre, Vec2 radii, Colour colour, int level, double dome, double angle) {
  Oval(centre, radii, colour, level, dome, angle);
  Oval({-centre.x, centre.y}, radii, colour, level, dome, -angle);
}

ShipPart& ModelBuilder::Canopy(Vec2 centre, Vec2 radii, Colour colour, int level, double angle) {
  ShipPart& p = Oval(centre, radii, colour, level, 0.9, angle);
  p.finish = Finish::Glass;
  return p;
}

ShipPart& ModelBuilder::Light(Vec2 centre, Vec2 radii, Colour colour, int level, double angle) {
  ShipPart& p = Oval(centre, radii, colour, level, 0, angle);
  p.finish = Finish::Glow;
  return p;
}

void ModelBuilder::MirroredLight(Vec2 centre, Vec2 radii, Colour colour, int level, double angle) {
  Light(centre, radii, colour, level, angle);
  Light({-centre.x, centre.y}, radii, colour, level, -angle);
}

ShipPart& ModelBuilder::Paint(const Polygon& points, Colour colour) {
  ShipPart& p = Poly(points, colour, 0, 0);
  p.decal = true;
  return p;
}

void ModelBuilder::MirroredPaint(const Polygon& points, Colour colour) {
  Paint(points, colour);
  Paint(Mirror(points), colour);
}

ShipPart& ModelBuilder::Stripe(Vec2 a, Vec2 b, double width, Colour colour) {
  const Vec2 d = b - a;
  const double len = Length(d);
  const Vec2 side = len > 0 ? Vec2{-d.y / len, d.x / len} * (width / 2) : Vec2{};
  return Paint({a + side, b + side, b - side, a - side}, colour);
}

void ModelBuilder::MirroredStripe(Vec2 a, Vec2 b, double width, Colour colour) {
  Stripe(a, b, width, colour);
  Stripe({-a.x, a.y}, {-b.x, b.y}, width, colour);
}

Image RenderShipHeadings(const ShipModel& model, double reach, int frameSize, const std::vector<int>& headings, int columns) {
  // Bounding boxes, the model's middle and the scale that makes it fill a frame.
  std::vector<Prepared> prepared;
  double minY = 1e30, maxY = -1e30;
  for (const ShipPart& p : model.parts) {
    Prepared pr{&p, 1e30, 1e30, -1e30, -1e30};
    if (p.ellipse) {
      const double ex = std::hypot(p.radii.x * std::cos(p.angle), p.radii.y * std::sin(p.angle));
      const double ey = std::hypot(p.radii.x * std::sin(p.angle), p.radii.y * std::cos(p.angle));
      pr = {&p, p.centre.x - ex, p.centre.y - ey, p.centre.x + ex, p.centre.y + ey, std::cos(-p.angle), std::sin(-p.angle)};
    } else {
      for (const Vec2& v : p.points) {
        pr.minX = std::min(pr.minX, v.x), pr.maxX = std::max(pr.maxX, v.x);
        pr.minY = std::min(pr.minY, v.y), pr.maxY = std::max(pr.maxY, v.y);
      }
    }
    minY = std::min(minY, pr.minY), maxY = std::max(maxY, pr.maxY);
    prepared.push_back(pr);
  }
  const Vec2 middle{0, (minY + maxY) / 2};
  double far = 1e-9;
  for (const Prepared& pr : prepared) {
    const ShipPart& p = *pr.part;
    if (p.ellipse) {
      for (int i = 0; i < 64; ++i) {
        const double a = i * 2 * kPi / 64;
        const Vec2 e = p.centre + Rotate({p.radii.x * std::cos(a), p.radii.y * std::sin(a)}, p.angle);
        far = std::max(far, Length(e - middle));
      }
    } else {
      for (const Vec2& v : p.points) far = std::max(far, Length(v - middle));
    }
  }
  const double scale = reach / far;

  // Light from the upper left of the screen and a little from the front.
  double lx = -0.5, ly = -0.65, lz = 0.75;
  const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
  lx /= ll, ly /= ll, lz /= ll;
  double hx = lx, hy = ly, hz = lz + 1.0;
  const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
  hx /= hl, hy /= hl, hz /= hl;

  // One sample of the model at model point m: its colour, or false for empty space.
  auto sample = [&](Vec2 m, double cosT, double sinT, Colour* out, int* level, bool* glow) {
    int index = -1, lightIndex = -1;
    for (int i = int(prepared.size()) - 1; i >= 0; --i) {
      if (!Contains(prepared[size_t(i)], m)) continue;
      if (index < 0) index = i;
      if (!prepared[size_t(i)].part->decal) {
        lightIndex = i;
        break;
      }
    }
    if (index < 0) return false;
    if (lightIndex < 0) lightIndex = index;
    const ShipPart& top = *prepared[size_t(index)].part;
    const ShipPart& surface = *prepared[size_t(lightIndex)].part;
    *level = surface.level;
    *glow = top.finish == Finish::Glow;
    if (top.finish == Finish::Glow) {
      double centreness = 0;
      if (top.ellipse) {
        const Vec2 l = EllipseLocal(prepared[size_t(index)], m);
        centreness = 1.0 - std::min(1.0, std::sqrt(l.x * l.x + l.y * l.y));
      }
      *out = Mix(top.colour, Colour{255, 255, 255}, 0.85 * centreness * centreness);
      return true;
    }
    double nx, ny, nz;
    SurfaceNormal(prepared[size_t(lightIndex)], m, &nx, &ny, &nz);
    const Vec2 sn = Turn({nx, ny}, cosT, sinT);  // the surface direction on screen
    const double diffuse = std::max(0.0, sn.x * lx + sn.y * ly + nz * lz);
    const double facing = std::max(0.0, sn.x * hx + sn.y * hy + nz * hz);
    if (top.finish == Finish::Glass) {
      *out = top.colour * (0.45 + 0.75 * diffuse) + Colour{255, 255, 255} * (1.1 * std::pow(facing, 40.0));
    } else {
      *out = top.colour * (0.3 + 0.85 * diffuse) + Colour{255, 250, 235} * (0.3 * std::pow(facing, 14.0));
    }
    return true;
  };

  // Each pixel takes four samples: it belongs to the ship when at least two of them do, and its
  // colour is the mean of those, which keeps the outline crisp and the paint edges smooth.
  struct Pixel {
    bool inside = false, glow = false;
    int level = -1;
    Colour colour;
  };
  const int count = static_cast<int>(headings.size());
  Image sheet(frameSize * std::min(columns, count), frameSize * ((count + columns - 1) / columns));
  std::vector<Pixel> pixels(static_cast<size_t>(frameSize) * frameSize);
  static const double offsets[4][2] = {{-0.25, -0.25}, {0.25, -0.25}, {-0.25, 0.25}, {0.25, 0.25}};
  for (int cell = 0; cell < count; ++cell) {
    const double turn = headings[size_t(cell)] * 2 * kPi / 32;
    const double cosT = std::cos(turn), sinT = std::sin(turn);
    for (int py = 0; py < frameSize; ++py)
      for (int px = 0; px < frameSize; ++px) {
        Pixel& pixel = pixels[size_t(py * frameSize + px)];
        pixel = Pixel{};
        int count = 0, glows = 0;
        Colour sum;
        for (const auto& o : offsets) {
          const Vec2 screen{px + 0.5 + o[0] - frameSize / 2.0, py + 0.5 + o[1] - frameSize / 2.0};
          if (screen.x * screen.x + screen.y * screen.y > (reach + 0.5) * (reach + 0.5)) continue;  // beyond the model
          const Vec2 m = Turn(screen, cosT, -sinT) * (1.0 / scale) + middle;
          Colour c;
          int level;
          bool glow;
          if (!sample(m, cosT, sinT, &c, &level, &glow)) continue;
          ++count;
          glows += glow ? 1 : 0;
          sum = sum + c;
          pixel.level = std::max(pixel.level, level);
        }
        if (count < 2) {
          pixel.level = -1;
          continue;
        }
        pixel.inside = true;
        pixel.glow = glows * 2 >= count;
        pixel.colour = sum * (1.0 / count);
      }

    // Empty pixels the ship closes in on all sides (slivers between parts where fewer than two
    // samples hit) would let the background show through it: fill them from their neighbours.
    std::vector<bool> open(frameSize * frameSize, false);
    std::vector<int> todo;
    for (int i = 0; i < frameSize * frameSize; ++i) {
      const int x = i % frameSize, y = i / frameSize;
      if ((x == 0 || y == 0 || x == frameSize - 1 || y == frameSize - 1) && !pixels[size_t(i)].inside) {
        open[size_t(i)] = true;
        todo.push_back(i);
      }
    }
    while (!todo.empty()) {
      const int i = todo.back();
      todo.pop_back();
      const int x = i % frameSize, y = i / frameSize;
      const int next[4] = {x > 0 ? i - 1 : -1, x < frameSize - 1 ? i + 1 : -1, y > 0 ? i - frameSize : -1,
                           y < frameSize - 1 ? i + frameSize : -1};
      for (int j : next)
        if (j >= 0 && !open[size_t(j)] && !pixels[size_t(j)].inside) {
          open[size_t(j)] = true;
          todo.push_back(j);
        }
    }
    for (int i = 0; i < frameSize * frameSize; ++i) {
      Pixel& p = pixels[size_t(i)];
      if (p.inside || open[size_t(i)]) continue;
      const int x = i % frameSize, y = i / frameSize;
      Colour sum;
      int n = 0, level = 1 << 20;
      for (const int j : {i - 1, i + 1, i - frameSize, i + frameSize}) {
        if (j < 0 || j >= frameSize * frameSize || std::abs(j % frameSize - x) > 1 || std::abs(j / frameSize - y) > 1) continue;
        const Pixel& q = pixels[size_t(j)];
        if (!q.inside) continue;
        sum = sum + q.colour;
        level = std::min(level, q.level);
        ++n;
      }
      p.inside = true;
      p.level = n ? level : 0;
      p.colour = n ? sum * (0.6 / n) : Colour{8, 8, 8};
    }

    // Shadows of raised parts towards the lower right, dark rims along the outline.
    const int x0 = (cell % columns) * frameSize, y0 = (cell / columns) * frameSize;
    auto levelAt = [&](int x, int y) {
      if (x < 0 || y < 0 || x >= frameSize || y >= frameSize) return -1;
      return pixels[size_t(y * frameSize + x)].level;
    };
    for (int py = 0; py < frameSize; ++py)
      for (int px = 0; px < frameSize; ++px) {
        const Pixel& pixel = pixels[size_t(py * frameSize + px)];
        if (!pixel.inside) continue;
        Colour c = pixel.colour;
        if (!pixel.glow) {
          const int level = pixel.level;
          if (levelAt(px - 1, py - 1) > level || levelAt(px - 1, py) > level || levelAt(px, py - 1) > level) c = c * 0.62;
          const bool rim = levelAt(px - 1, py) < 0 || levelAt(px + 1, py) < 0 || levelAt(px, py - 1) < 0 ||
                           levelAt(px, py + 1) < 0;
          if (rim) c = c * 0.72;
        }
        Rgb rgb = ToRgb(c);
        if (IsKeyBlack(rgb)) rgb = {8, 8, 8};  // black is the transparent colour
        sheet.Set(x0 + px, y0 + py, rgb);
      }
  }
  return sheet;
}

Image RenderShipSheet(const ShipModel& model, double reach) {
  std::vector<int> all(32);
  for (int f = 0; f < 32; ++f) all[size_t(f)] = f;
  return RenderShipHeadings(model, reach, kSheetFrame, all, 8);
}

}  // namespace datagen
