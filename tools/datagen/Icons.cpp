#include "tools/datagen/Icons.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/Files.h"
#include "tools/datagen/PictureMakers.h"

namespace datagen {
namespace {

constexpr int kMaster = 256;        // drawn once at this size, then averaged down
constexpr int kHeading = 4;         // flying up and to the right
constexpr const char* kShip = "falcon.bmp";

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;  // colour premultiplied by a
};

Rgba Over(const Rgba& top, const Rgba& under) {
  const double k = 1 - top.a;
  return {top.r + under.r * k, top.g + under.g * k, top.b + under.b * k, top.a + under.a * k};
}

// How much of the pixel at (x, y) lies inside a disc or rounded square of the master picture.
double Coverage(IconKind kind, double x, double y) {
  const double c = kMaster / 2.0;
  if (kind == IconKind::Game) return std::clamp(c - 4 - std::hypot(x - c, y - c) + 0.5, 0.0, 1.0);
  const double corner = 36, inset = 10;
  const double qx = std::max(std::abs(x - c) - (c - inset - corner), 0.0);
  const double qy = std::max(std::abs(y - c) - (c - inset - corner), 0.0);
  return std::clamp(corner - std::hypot(qx, qy) + 0.5, 0.0, 1.0);
}

Rgba Backdrop(IconKind kind, const Image& space, int x, int y) {
  const double a = Coverage(kind, x + 0.5, y + 0.5);
  if (kind == IconKind::Game) {
    const Rgb p = space.Get(x + 272, y + 172);  // the middle of the battle background
    return {p.r * a, p.g * a, p.b * a, a};
  }
  const bool line = (x % 32 == 16) || (y % 32 == 16);
  const Colour c = line ? Colour{70, 120, 190} : Colour{18, 46, 100};
  return {c.r * a, c.g * a, c.b * a, a};
}

std::vector<Rgba> MasterIcon(IconKind kind) {
  // The ship is drawn at the icon's own size from its model (not enlarged from the game's 50-pixel
  // frames), filling most of the icon; black is see-through.
  const int shipSize = static_cast<int>(std::lround(kMaster * 0.92));
  const int offset = (kMaster - shipSize) / 2;
  const Image ship = MakeShipFrame(kShip, shipSize, kHeading);
  const Image space = MakeBackground();
  std::vector<Rgba> px(static_cast<size_t>(kMaster) * kMaster);
  for (int y = 0; y < kMaster; ++y) {
    for (int x = 0; x < kMaster; ++x) {
      const Rgb p = ship.Get(x - offset, y - offset);
      const Rgba top = IsKeyBlack(p) ? Rgba{} : Rgba{double(p.r), double(p.g), double(p.b), 1};
      px[static_cast<size_t>(y) * kMaster + x] = Over(top, Backdrop(kind, space, x, y));
    }
  }
  return px;
}

std::string EncodeRgbaPng(const IconImage& icon) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(icon.size);
  image.height = static_cast<png_uint_32>(icon.size);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, icon.rgba.data(), 0, nullptr)) return {};
  std::string bytes(size, '\0');
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, icon.rgba.data(), 0, nullptr)) return {};
  bytes.resize(size);
  return bytes;
}

}  // namespace

const std::vector<int>& IconSizes() {
  static const std::vector<int> sizes{16, 24, 32, 48, 64, 128, 256};
  return sizes;
}

const char* IconName(IconKind kind) { return kind == IconKind::Game ? "quorvex" : "quorvex-editor"; }

// How much of master pixel `m` lies inside [from, to).
double Overlap(int m, double from, double to) { return std::max(0.0, std::min(m + 1.0, to) - std::max(double(m), from)); }

IconImage MakeIcon(IconKind kind, int size) {
  if (size <= 0 || size > kMaster) throw std::invalid_argument("icon size out of range");
  const std::vector<Rgba> master = MasterIcon(kind);
  const double k = double(kMaster) / size;
  IconImage icon{size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Rgba sum;  // the master pixels this pixel covers, weighted by how much of each it covers
      for (int my = static_cast<int>(y * k); my < std::min(kMaster, static_cast<int>(std::ceil((y + 1) * k))); ++my) {
        for (int mx = static_cast<int>(x * k); mx < std::min(kMaster, static_cast<int>(std::ceil((x + 1) * k))); ++mx) {
          const double w = Overlap(mx, x * k, (x + 1) * k) * Overlap(my, y * k, (y + 1) * k);
          const Rgba& p = master[static_cast<size_t>(my) * kMaster + mx];
          sum = {sum.r + w * p.r, sum.g + w * p.g, sum.b + w * p.b, sum.a + w * p.a};
        }
      }
      const double a = sum.a / (k * k);
      auto channel = [&](double v) {
        return static_cast<uint8_t>(sum.a > 0 ? std::lround(std::clamp(v / sum.a, 0.0, 255.0)) : 0);
      };
      uint8_t* out = &icon.rgba[(static_cast<size_t>(y) * size + x) * 4];
      out[0] = channel(sum.r);
      out[1] = channel(sum.g);
      out[2] = channel(sum.b);
      out[3] = static_cast<uint8_t>(std::lround(std::clamp(a, 0.0, 1.0) * 255));
    }
  }
  return icon;
}

void GenerateIcons(const std::filesystem::path& dir) {
  for (IconKind kind : {IconKind::Game, IconKind::Editor}) {
    for (int size : IconSizes()) {
      const std::string n = std::to_string(size);
      const std::filesystem::path folder = dir / (n + "x" + n) / "apps";
      std::filesystem::create_directories(folder);
      const std::filesystem::path file = folder / (std::string(IconName(kind)) + ".png");
      std::string error;
      const std::string bytes = EncodeRgbaPng(MakeIcon(kind, size));
      if (bytes.empty() || !quorvex::WriteFileAtomically(file, bytes, &error)) {
        throw std::runtime_error("cannot write the icon " + file.string() + " " + error);
      }
    }
  }
}

}  // namespace datagen
