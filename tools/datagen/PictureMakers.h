// The game's stock pictures, each made in memory; Pictures.cpp writes them into the program folder.
#pragma once
#include <string>
#include <vector>

#include "tools/datagen/Draw.h"

namespace datagen {

// font.bmp: the large, small and highlighted glyph sets, the title picture and the results picture.
Image MakeFontSheet();
// The main menu's title picture (547 x 213) showing the game's name, and the results screen's
// picture (192 x 307), both placed in the font sheet by MakeFontSheet.
Image MakeTitlePicture();
Image MakeResultsPicture();
// The glyph of `index` in one of the three sets, coloured, on a black cell of the set's size
// (large 26 x 26, small 13 x 13, highlighted 13 x 12).
enum class GlyphSet { Large, Small, Highlighted };
Image MakeGlyphCell(GlyphSet set, int index);

// boom.bmp: explosion, flash, smoke and flame cells and the missile and torpedo pictures.
Image MakeExplosionSheet();
// tausta.bmp: the 800 x 600 space background with the three star colours at (7..9, 5).
Image MakeBackground();

// The file names of the stock ship pictures (the stock ships and the editor's default design).
std::vector<std::string> ShipPictureNames();
// The 400 x 200 sheet of 32 headings of one of them; an empty picture for any other name.
Image MakeShipPicture(const std::string& fileName);
// One heading (0..31) of one of them drawn on a `size` x `size` picture, as the sheet draws its
// 50 x 50 frames: larger pictures are drawn at their size, not enlarged.
Image MakeShipFrame(const std::string& fileName, int size, int heading);

}  // namespace datagen
