#include "platform/Png.h"

#include <png.h>

#include <cstdio>
#include <system_error>
#include <vector>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace quorvex {
namespace {

constexpr const char* kShotPrefix = "quorvex";
constexpr int kMaxShotNumber = 9999;

// The number of a name of the form quorvexNNNN.png, or -1.
int ShotNumber(const std::string& name) {
  const size_t prefix = std::char_traits<char>::length(kShotPrefix);
  if (name.size() != prefix + 8 || name.compare(0, prefix, kShotPrefix) != 0 ||
      name.compare(prefix + 4, 4, ".png") != 0) {
    return -1;
  }
  int n = 0;
  for (size_t i = prefix; i < prefix + 4; ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

}  // namespace

std::string EncodePng(const Surface& s) {
  if (s.empty()) return std::string();
  std::vector<png_byte> rgb(static_cast<size_t>(s.width()) * s.height() * 3);
  size_t i = 0;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      int r, g, b;
      SplitRgb565(s.pixel(x, y), &r, &g, &b);
      rgb[i++] = static_cast<png_byte>(r);
      rgb[i++] = static_cast<png_byte>(g);
      rgb[i++] = static_cast<png_byte>(b);
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(s.width());
  image.height = static_cast<png_uint_32>(s.height());
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) return std::string();
  std::string bytes(size, '\0');
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr)) return std::string();
  bytes.resize(size);
  return bytes;
}

fs::path NextScreenshotPath(const fs::path& dir) {
  int highest = 0;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    highest = std::max(highest, ShotNumber(it->path().filename().string()));
  }
  if (highest >= kMaxShotNumber) return fs::path();  // full: never overwrite a shot
  char name[32];
  std::snprintf(name, sizeof name, "%s%04d.png", kShotPrefix, highest + 1);
  return dir / name;
}

fs::path SaveScreenshot(const Surface& s, const fs::path& dir, std::string* error) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir, ec)) {
    if (error) *error = "Cannot make the screenshot folder " + dir.string();
    return fs::path();
  }
  const fs::path path = NextScreenshotPath(dir);
  if (path.empty()) {
    if (error) *error = "No free screenshot number left in " + dir.string();
    return fs::path();
  }
  const std::string bytes = EncodePng(s);
  if (bytes.empty()) {
    if (error) *error = "Cannot encode the screenshot " + path.string();
    return fs::path();
  }
  if (!WriteFileAtomically(path, bytes, error)) return fs::path();
  return path;
}

}  // namespace quorvex
