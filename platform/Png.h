// PNG pictures of a surface: screenshots, and pictures kept by the tests.
#pragma once
#include <filesystem>
#include <string>

#include "platform/Surface.h"

namespace quorvex {

// The surface as a 24-bit PNG file's bytes; empty when it cannot be encoded.
std::string EncodePng(const Surface& s);

// The next free numbered screenshot name in `dir`: "quorvex0001.png", then one above the highest
// number already there (so a deleted shot never makes a new one overwrite a later one); empty
// once quorvex9999.png exists.
std::filesystem::path NextScreenshotPath(const std::filesystem::path& dir);

// Writes the surface as a numbered PNG into `dir` (made when missing), atomically. The path
// written, or empty with `error` naming the file or folder.
std::filesystem::path SaveScreenshot(const Surface& s, const std::filesystem::path& dir, std::string* error);

}  // namespace quorvex
