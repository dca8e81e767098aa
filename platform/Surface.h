// An in-memory 16-bit RGB565 drawing surface with the blits and primitives the game draws with.
// Everything is bit-exact so that frames can be tested pixel by pixel without a display.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quorvex {

// Left, top, right, bottom; right and bottom are exclusive, as in a window rectangle.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// Raster operations of the combined blit.
enum class RasterOp : uint32_t {
  SrcCopy = 0xCC0020,   // plain copy
  SrcPaint = 0xEE0086,  // destination = destination OR source
};

// Result codes of the blits: 0 is success, anything else a failure the caller may ignore.
constexpr int kBlitOk = 0;
constexpr int kBlitInvalidRect = -2005532522;  // the rectangle is not wholly inside a surface
constexpr int kBlitNoSurface = -2005532417;    // a surface without pixels

// 8-bit components to a pixel; components above 255 count as 255, below 0 as 0.
uint16_t Rgb565(int r, int g, int b);
// And back, widening each component so that full intensity gives 255.
void SplitRgb565(uint16_t pixel, int* r, int* g, int* b);

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return pixels_.empty(); }
  const std::vector<uint16_t>& pixels() const { return pixels_; }
  std::vector<uint16_t>& pixels() { return pixels_; }
  uint16_t pixel(int x, int y) const;  // 0 outside the surface
  void setPixel(int x, int y, uint16_t value);  // ignored outside the surface

  // Copies `srcRect` of `src` with its top left at (x, y); with `keyed`, black source pixels are skipped.
  int BltFast(int x, int y, const Surface& src, const Rect& srcRect, bool keyed);
  // Stretches `srcRect` of `src` over `dstRect` (nearest neighbour).
  int Blt(const Rect& dstRect, const Surface& src, const Rect& srcRect, bool keyed);
  // As Blt, combining source and destination by `rop`.
  int BltFx(const Rect& dstRect, const Surface& src, const Rect& srcRect, bool keyed, RasterOp rop);
  int BltColorFill(const Rect& dstRect, uint16_t value);

  // Drawing state of the primitives.
  void SetForeColor(int r, int g, int b) { foreColor_ = Rgb565(r, g, b); }
  void SetFillColor(int r, int g, int b) { fillColor_ = Rgb565(r, g, b); }
  void SetFillSolid(bool solid) { fillSolid_ = solid; }
  uint16_t foreColor() const { return foreColor_; }
  uint16_t fillColor() const { return fillColor_; }
  bool fillSolid() const { return fillSolid_; }

  // A line in the fore colour from (x1, y1) up to but not including (x2, y2); clipped.
  void DrawLine(int x1, int y1, int x2, int y2);
  // The box with corners (x1, y1) and (x2, y2), right and bottom edge excluded: outline in the fore
  // colour, inside in the fill colour when the fill style is solid; clipped.
  void DrawBox(int x1, int y1, int x2, int y2);
  // A circle of radius r around (x, y): outline in the fore colour, inside filled when solid; clipped.
  void DrawCircle(int x, int y, int r);

 private:
  bool inside(const Rect& r) const;
  int blit(const Rect& dstRect, const Surface& src, const Rect& srcRect, bool keyed, RasterOp rop);
  void hspan(int x1, int x2, int y, uint16_t value);  // inclusive, clipped

  int width_ = 0, height_ = 0;
  std::vector<uint16_t> pixels_;
  uint16_t foreColor_ = 0xFFFF;
  uint16_t fillColor_ = 0;
  bool fillSolid_ = false;
  // Scratch of the stretching blit and of the circles, kept so frames allocate nothing.
  std::vector<int> columns_;
  std::vector<std::pair<int, int>> circleOctant_;
  std::vector<int> circleReach_;
};

// Pictures wider or higher than this are refused from their header: no picture the game draws
// from comes near it (the largest is the 800 x 600 background).
inline constexpr int kMaxPictureSide = 4096;

// Loads any BMP that SDL reads (1, 4, 8, 16, 24 or 32 bits) into `out` as RGB565.
// Returns false and fills `error` with a message naming the file when it cannot.
bool LoadBitmap(const std::string& path, Surface* out, std::string* error);

}  // namespace quorvex
