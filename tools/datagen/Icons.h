// The programs' desktop icons, made from the game's own art: a stock ship flying across a disc of
// the battle background (the game) or across a blueprint grid (the editor).
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace datagen {

enum class IconKind { Game, Editor };

// A square picture with transparency, rows top to bottom, four bytes (r, g, b, a) a pixel.
struct IconImage {
  int size = 0;
  std::vector<uint8_t> rgba;
};

// The sizes desktops ask for, and the icon names the desktop entries use.
const std::vector<int>& IconSizes();
const char* IconName(IconKind kind);

IconImage MakeIcon(IconKind kind, int size);
// Writes every size of both icons as <dir>/<n>x<n>/apps/<name>.png (a hicolor theme folder).
void GenerateIcons(const std::filesystem::path& dir);

}  // namespace datagen
