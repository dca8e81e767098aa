// A line of the game's small font in the bottom left corner of the window, shown over whatever the
// game draws and outside its pictures (a replay's or a network battle's caption), also in full screen.
#pragma once
#include <string>

#include "game/core/GameWindow.h"

namespace quorvex {

// Shows `text` until another caption replaces it; an empty text takes it away. Nothing without a window.
void ShowWindowCaption(GameWindow& w, const std::string& text);

}  // namespace quorvex
