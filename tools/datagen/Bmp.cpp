#include "tools/datagen/Bmp.h"

#include <cstdint>
#include <stdexcept>

#include "platform/Files.h"

namespace datagen {

static void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string EncodeBmp24(const Image& image) {
  const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3u + 3u) & ~3u;
  const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(image.height);
  const uint32_t headerBytes = 14 + 40;
  std::string out;
  out.reserve(headerBytes + dataBytes);
  // File header.
  out += "BM";
  PutLe(out, headerBytes + dataBytes, 4);
  PutLe(out, 0, 4);
  PutLe(out, headerBytes, 4);
  // Info header.
  PutLe(out, 40, 4);
  PutLe(out, static_cast<uint32_t>(image.width), 4);
  PutLe(out, static_cast<uint32_t>(image.height), 4);  // positive: rows stored bottom-up
  PutLe(out, 1, 2);                                      // planes
  PutLe(out, 24, 2);                                     // bits per pixel
  PutLe(out, 0, 4);                                      // BI_RGB, no compression
  PutLe(out, dataBytes, 4);
  PutLe(out, 2835, 4);  // 72 dots per inch, as pixels per metre
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = image.height - 1; y >= 0; --y) {
    const size_t rowStart = out.size();
    for (int x = 0; x < image.width; ++x) {
      const Rgb c = image.Get(x, y);
      out.push_back(static_cast<char>(c.b));
      out.push_back(static_cast<char>(c.g));
      out.push_back(static_cast<char>(c.r));
    }
    while (out.size() - rowStart < rowBytes) out.push_back('\0');
  }
  return out;
}

void WriteBmp(const std::filesystem::path& path, const Image& image) {
  std::string error;
  if (!quorvex::WriteFileAtomically(path, EncodeBmp24(image), &error))
    throw std::runtime_error(error.empty() ? "cannot write " + path.string() : error);
}

}  // namespace datagen
