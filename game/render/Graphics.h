// The game's pictures: loading them into surfaces and the layout of a ship picture's frames.
#pragma once
#include "game/core/GameWindow.h"
#include "platform/Surface.h"

namespace quorvex {

// Size of one ship picture frame; a ship picture is 8 columns by 4 rows of them.
constexpr int kShipFrameSize = 50;

// The rectangle of frame `frame` (0..31, the ship turned frame/32 of a turn clockwise from nose up)
// in a ship picture.
Rect ShipFrameRect(int frame);

// Sets the back surface's fore and fill colour to white and loads the background, both ship
// pictures, the explosion sheet and the font sheet from the program folder.
// A picture that cannot be loaded throws GameError naming the file.
void LoadGraphics(GameWindow& w);

// Reloads both ship pictures from the ships' current picture file names.
void LoadShipPictures(GameWindow& w);

// Loads the picture `name` from the program folder (name matched without regard to case) into `out`;
// throws GameError naming the file when it cannot.
void LoadPicture(const GameWindow& w, const std::string& name, Surface* out);

}  // namespace quorvex
