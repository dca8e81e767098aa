// The game's pictures: loading them into surfaces and the layout of a ship picture's frames.
#pragma once
#include "game/core/GameWindow.h"
#include "platform/Surface.h"

namespace quorvex {

// Size of one ship picture frame; a ship picture is 8 columns by 4 rows of them.
constexpr int kShipFrameSize = 50;

// The smallest size of each picture that holds every cell the game cuts from it.
struct PictureSize {
  int width, height;
};
constexpr PictureSize kShipPictureSize{8 * kShipFrameSize, 4 * kShipFrameSize};
constexpr PictureSize kBackgroundSize{800, 600};
constexpr PictureSize kExplosionSheetSize{396, 73};  // to the missile picture and the big explosions
constexpr PictureSize kFontSheetSize{766, 455};       // to the results picture

// The rectangle of frame `frame` (0..31, the ship turned frame/32 of a turn clockwise from nose up)
// in a ship picture.
Rect ShipFrameRect(int frame);

// Sets the back surface's fore and fill colour to white and loads the background, both ship
// pictures, the explosion sheet and the font sheet from the program folder.
// A picture that cannot be loaded throws GameError naming the file; one smaller than the game needs
// is reported in an "ERROR!" box naming it and the size it needs, and the game goes on with it.
void LoadGraphics(GameWindow& w);

// Reloads both ship pictures from the ships' current picture file names.
void LoadShipPictures(GameWindow& w);

// Loads the picture `name` from the program folder (name matched without regard to case) into `out`;
// throws GameError naming the file when it cannot: a name that is not a bare file name, a missing
// file, one that is not a regular file, or a damaged or oversized picture.
void LoadPicture(const GameWindow& w, const std::string& name, Surface* out);

}  // namespace quorvex
