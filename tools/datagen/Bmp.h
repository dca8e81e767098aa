// Uncompressed 24-bit Windows bitmaps: the picture format the game and the editor load.
#pragma once
#include <filesystem>
#include <string>

#include "tools/datagen/Draw.h"

namespace datagen {

// The whole file: BITMAPFILEHEADER, BITMAPINFOHEADER (40 bytes), then the rows bottom-up, each
// stored as blue, green, red and padded to a multiple of 4 bytes.
std::string EncodeBmp24(const Image& image);

// Writes the picture atomically; throws std::runtime_error naming the file when it cannot.
void WriteBmp(const std::filesystem::path& path, const Image& image);

}  // namespace datagen
