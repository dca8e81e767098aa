#include "platform/Surface.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "platform/DataFiles.h"

namespace quorvex {

uint16_t Rgb565(int r, int g, int b) {
  r = std::clamp(r, 0, 255);
  g = std::clamp(g, 0, 255);
  b = std::clamp(b, 0, 255);
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

void SplitRgb565(uint16_t p, int* r, int* g, int* b) {
  const int r5 = (p >> 11) & 31, g6 = (p >> 5) & 63, b5 = p & 31;
  *r = (r5 << 3) | (r5 >> 2);
  *g = (g6 << 2) | (g6 >> 4);
  *b = (b5 << 3) | (b5 >> 2);
}

Surface::Surface(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0) {}

uint16_t Surface::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Surface::setPixel(int x, int y, uint16_t value) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = value;
}

bool Surface::inside(const Rect& r) const {
  return r.left >= 0 && r.top >= 0 && r.right <= width_ && r.bottom <= height_ && r.left < r.right &&
         r.top < r.bottom;
}

int Surface::blit(const Rect& dst, const Surface& src, const Rect& sr, bool keyed, RasterOp rop) {
  if (empty() || src.empty()) return kBlitNoSurface;
  // A rectangle not wholly inside its surface is refused whole: nothing is drawn.
  if (!inside(dst) || !src.inside(sr)) return kBlitInvalidRect;
  const int dw = dst.width(), dh = dst.height(), sw = sr.width(), sh = sr.height();
  const bool paint = rop == RasterOp::SrcPaint;
  // The source column of every destination column, worked out once per blit rather than per pixel.
  columns_.resize(static_cast<size_t>(dw));
  for (int dx = 0; dx < dw; ++dx) {
    columns_[dx] = sr.left + (dw == sw ? dx : static_cast<int>(static_cast<long long>(dx) * sw / dw));
  }
  for (int dy = 0; dy < dh; ++dy) {
    const int sy = sr.top + static_cast<int>(static_cast<long long>(dy) * sh / dh);
    const uint16_t* srow = &src.pixels_[static_cast<size_t>(sy) * src.width_];
    uint16_t* drow = &pixels_[static_cast<size_t>(dst.top + dy) * width_ + dst.left];
    for (int dx = 0; dx < dw; ++dx) {
      const uint16_t v = srow[columns_[dx]];
      if (keyed && v == 0) continue;
      drow[dx] = paint ? static_cast<uint16_t>(drow[dx] | v) : v;
    }
  }
  return kBlitOk;
}

int Surface::BltFast(int x, int y, const Surface& src, const Rect& srcRect, bool keyed) {
  const Rect dst{x, y, x + srcRect.width(), y + srcRect.height()};
  return blit(dst, src, srcRect, keyed, RasterOp::SrcCopy);
}

int Surface::Blt(const Rect& dstRect, const Surface& src, const Rect& srcRect, bool keyed) {
  return blit(dstRect, src, srcRect, keyed, RasterOp::SrcCopy);
}

int Surface::BltFx(const Rect& dstRect, const Surface& src, const Rect& srcRect, bool keyed, RasterOp rop) {
  return blit(dstRect, src, srcRect, keyed, rop);
}

int Surface::BltColorFill(const Rect& r, uint16_t value) {
  if (empty()) return kBlitNoSurface;
  if (!inside(r)) return kBlitInvalidRect;
  for (int y = r.top; y < r.bottom; ++y) {
    std::fill_n(&pixels_[static_cast<size_t>(y) * width_ + r.left], r.width(), value);
  }
  return kBlitOk;
}

void Surface::hspan(int x1, int x2, int y, uint16_t value) {
  if (y < 0 || y >= height_) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, width_ - 1);
  if (x1 > x2) return;
  std::fill_n(&pixels_[static_cast<size_t>(y) * width_ + x1], x2 - x1 + 1, value);
}

namespace {

// Clips a segment to a box a little larger than the surface so that absurdly long lines cost
// no more than the visible part; lines inside that box keep their exact pixels.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double minX, double minY, double maxX,
                 double maxY) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - minX, maxX - x1, y1 - minY, maxY - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
    } else {
      const double t = q[i] / p[i];
      if (p[i] < 0) t0 = std::max(t0, t);
      else t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) return false;
  const double nx1 = x1 + t0 * dx, ny1 = y1 + t0 * dy, nx2 = x1 + t1 * dx, ny2 = y1 + t1 * dy;
  x1 = nx1; y1 = ny1; x2 = nx2; y2 = ny2;
  return true;
}

}  // namespace

void Surface::DrawLine(int x1, int y1, int x2, int y2) {
  if (empty()) return;
  constexpr int kFar = 4096;
  if (std::abs(x1) > kFar || std::abs(y1) > kFar || std::abs(x2) > kFar || std::abs(y2) > kFar) {
    double a = x1, b = y1, c = x2, d = y2;
    if (!clipSegment(a, b, c, d, -kFar, -kFar, kFar, kFar)) return;
    x1 = static_cast<int>(a); y1 = static_cast<int>(b); x2 = static_cast<int>(c); y2 = static_cast<int>(d);
  }
  // Bresenham from the start point; the end point itself is not drawn.
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (!(x == x2 && y == y2)) {
    setPixel(x, y, foreColor_);
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x += sx; }
    if (e2 <= dx) { err += dx; y += sy; }
  }
}

void Surface::DrawBox(int x1, int y1, int x2, int y2) {
  if (empty()) return;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  --x2;  // right and bottom edges are outside the box
  --y2;
  if (x1 > x2 || y1 > y2) return;
  if (fillSolid_) {
    for (int y = std::max(y1 + 1, 0); y <= std::min(y2 - 1, height_ - 1); ++y) hspan(x1 + 1, x2 - 1, y, fillColor_);
  }
  hspan(x1, x2, y1, foreColor_);
  hspan(x1, x2, y2, foreColor_);
  for (int y = std::max(y1, 0); y <= std::min(y2, height_ - 1); ++y) {
    setPixel(x1, y, foreColor_);
    setPixel(x2, y, foreColor_);
  }
}

void Surface::DrawCircle(int cx, int cy, int r) {
  if (empty() || r < 0) return;
  // Midpoint circle. The inside is filled first, row by row, then the outline goes over it.
  std::vector<std::pair<int, int>>& octant = circleOctant_;
  std::vector<int>& reach = circleReach_;
  octant.clear();
  reach.assign(static_cast<size_t>(r) + 1, 0);
  int x = r, y = 0, err = 1 - r;
  while (x >= y) {
    octant.emplace_back(x, y);
    reach[y] = std::max(reach[y], x);
    reach[x] = std::max(reach[x], y);
    ++y;
    if (err < 0) {
      err += 2 * y + 1;
    } else {
      --x;
      err += 2 * (y - x) + 1;
    }
  }
  if (fillSolid_) {
    for (int dy = -r + 1; dy <= r - 1; ++dy) {
      const int span = reach[std::abs(dy)];
      hspan(cx - span + 1, cx + span - 1, cy + dy, fillColor_);
    }
  }
  for (const auto& [ox, oy] : octant) {
    setPixel(cx + ox, cy + oy, foreColor_);
    setPixel(cx - ox, cy + oy, foreColor_);
    setPixel(cx + ox, cy - oy, foreColor_);
    setPixel(cx - ox, cy - oy, foreColor_);
    setPixel(cx + oy, cy + ox, foreColor_);
    setPixel(cx - oy, cy + ox, foreColor_);
    setPixel(cx + oy, cy - ox, foreColor_);
    setPixel(cx - oy, cy - ox, foreColor_);
  }
}

namespace {

uint32_t LittleEndian(const std::string& bytes, size_t at, size_t size) {
  uint32_t v = 0;
  for (size_t i = 0; i < size; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  return v;
}

// The picture's size as its header declares it, checked before anything is decoded, so a header
// claiming 40000 x 40000 pixels costs nothing. Headers SDL does not know are left to SDL.
bool HeaderSizeAllowed(const std::string& bytes, const std::string& path, std::string* error) {
  if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return true;
  const uint32_t headerSize = LittleEndian(bytes, 14, 4);
  int64_t width = 0, height = 0;
  if (headerSize == 12) {
    width = LittleEndian(bytes, 18, 2);
    height = LittleEndian(bytes, 20, 2);
  } else {
    width = static_cast<int32_t>(LittleEndian(bytes, 18, 4));
    height = static_cast<int32_t>(LittleEndian(bytes, 22, 4));
    if (height < 0) height = -height;  // rows stored top-down
  }
  if (width <= kMaxPictureSide && height <= kMaxPictureSide) return true;
  if (error) {
    *error = "Cannot load picture " + path + ": " + std::to_string(width) + " x " + std::to_string(height) +
             " pixels is larger than any picture the game can use (at most " + std::to_string(kMaxPictureSide) +
             " x " + std::to_string(kMaxPictureSide) + ")";
  }
  return false;
}

}  // namespace

bool LoadBitmap(const std::string& path, Surface* out, std::string* error) {
  // The largest picture allowed, at 32 bits a pixel, plus room for headers and a palette.
  constexpr size_t kMaxFileBytes = size_t{kMaxPictureSide} * kMaxPictureSide * 4 + 65536;
  std::string bytes, readError;
  if (!ReadFileBytes(path, kMaxFileBytes, &bytes, &readError)) {
    if (error) *error = "Cannot load picture " + path + ": " + readError;
    return false;
  }
  if (!HeaderSizeAllowed(bytes, path, error)) return false;
  SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
  if (!loaded) {
    if (error) *error = "Cannot load picture " + path + ": " + SDL_GetError();
    return false;
  }
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
  SDL_FreeSurface(loaded);
  if (!converted) {
    if (error) *error = "Cannot convert picture " + path + ": " + SDL_GetError();
    return false;
  }
  Surface s(converted->w, converted->h);
  SDL_LockSurface(converted);
  for (int y = 0; y < converted->h; ++y) {
    const auto* row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(converted->pixels) +
                                                        static_cast<size_t>(y) * converted->pitch);
    std::copy_n(row, converted->w, &s.pixels()[static_cast<size_t>(y) * converted->w]);
  }
  SDL_UnlockSurface(converted);
  SDL_FreeSurface(converted);
  *out = std::move(s);
  return true;
}

}  // namespace quorvex
