#include "tests/support/SurfaceTesting.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/Files.h"
#include "platform/Png.h"

namespace quorvex::testing {

std::filesystem::path TestOutputDir() {
  const char* env = std::getenv("QV_TEST_OUTPUT");
  std::filesystem::path dir = env && *env ? env : QV_TEST_OUTPUT_DIR;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return dir;
}

std::filesystem::path ProgramDir() { return QV_PROGRAM_DIR; }

bool WritePng(const Surface& s, const std::filesystem::path& path) {
  const std::string bytes = EncodePng(s);
  return !bytes.empty() && WriteFileAtomically(path, bytes, nullptr);
}

bool ReadPng(const std::filesystem::path& path, Surface* out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> buffer(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  Surface s(static_cast<int>(image.width), static_cast<int>(image.height));
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      const png_byte* p = &buffer[(static_cast<size_t>(y) * s.width() + x) * 3];
      s.setPixel(x, y, Rgb565(p[0], p[1], p[2]));
    }
  }
  *out = std::move(s);
  return true;
}

namespace {

std::string hex(uint16_t v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", v);
  return buf;
}

std::filesystem::path actualPath(const std::string& name) { return TestOutputDir() / (name + "-actual.png"); }

}  // namespace

::testing::AssertionResult RegionMatches(const Surface& actual, int x0, int y0, const std::vector<std::string>& rows,
                                         const std::vector<Legend>& legend, const std::string& name) {
  std::ostringstream diffs;
  int mismatches = 0;
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      const char sym = rows[r][c];
      const Legend* entry = nullptr;
      for (const Legend& l : legend) {
        if (l.symbol == sym) entry = &l;
      }
      if (!entry) return ::testing::AssertionFailure() << "no legend entry for '" << sym << "'";
      const int x = x0 + static_cast<int>(c), y = y0 + static_cast<int>(r);
      const uint16_t got = actual.pixel(x, y);
      if (got != entry->pixel) {
        if (++mismatches <= 10) {
          diffs << "\n  (" << x << ", " << y << "): expected " << hex(entry->pixel) << " ('" << sym << "'), got "
                << hex(got);
        }
      }
    }
  }
  if (mismatches == 0) return ::testing::AssertionSuccess();
  WritePng(actual, actualPath(name));
  return ::testing::AssertionFailure() << mismatches << " pixels differ in " << name << diffs.str()
                                       << "\n  picture: " << actualPath(name);
}

::testing::AssertionResult SurfacesEqual(const Surface& expected, const Surface& actual, const std::string& name) {
  if (expected.width() != actual.width() || expected.height() != actual.height()) {
    WritePng(actual, actualPath(name));
    return ::testing::AssertionFailure() << name << ": size " << actual.width() << "x" << actual.height()
                                         << ", expected " << expected.width() << "x" << expected.height();
  }
  int mismatches = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      if (expected.pixel(x, y) != actual.pixel(x, y) && mismatches++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  }
  if (mismatches == 0) return ::testing::AssertionSuccess();
  WritePng(actual, actualPath(name));
  WritePng(expected, TestOutputDir() / (name + "-expected.png"));
  return ::testing::AssertionFailure() << mismatches << " pixels differ in " << name << ", first at (" << firstX
                                       << ", " << firstY << "): expected " << hex(expected.pixel(firstX, firstY))
                                       << ", got " << hex(actual.pixel(firstX, firstY))
                                       << "\n  picture: " << actualPath(name);
}

::testing::AssertionResult MatchesGolden(const Surface& actual, const std::filesystem::path& golden,
                                         const std::string& name) {
  Surface expected;
  if (!ReadPng(golden, &expected)) {
    if (std::getenv("QV_UPDATE_GOLDEN")) {
      std::filesystem::create_directories(golden.parent_path());
      if (WritePng(actual, golden)) return ::testing::AssertionSuccess();
    }
    WritePng(actual, actualPath(name));
    return ::testing::AssertionFailure() << "cannot read golden picture " << golden << "; actual written to "
                                         << actualPath(name);
  }
  return SurfacesEqual(expected, actual, name);
}

int CountLitPixels(const Surface& s, const Rect& r) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) n += s.pixel(x, y) != 0;
  }
  return n;
}

}  // namespace quorvex::testing
