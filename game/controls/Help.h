// The help overlay: F1 on any screen shows what the screen expects and both players' controls as
// the settings in force have them; F1 or Esc closes it. It lies over the window's picture and never
// touches the back surface, so every screen draws as it always does.
#pragma once
#include <string>
#include <vector>

#include "game/core/GameWindow.h"

namespace quorvex {

// The overlay's lines for the screen running now, in the font's lower case.
std::vector<std::string> HelpLines(const GameWindow& w);
// The overlay's picture: a framed dark panel with the lines (its black border lets the game through).
Surface HelpPanel(const GameWindow& w);
// Where the panel's top left stands on the 800 x 600 picture.
Rect HelpPanelArea(const GameWindow& w);

// Run by DoEvents once the window's keys are collected: while the overlay is shown Esc closes it
// (as F1 does) and reaches neither the game nor a recording.
void HelpKeys(GameWindow& w);
// Puts the overlay on the window, takes it away, or redraws it for the screen now running.
void ShowHelpOverlay(GameWindow& w);

}  // namespace quorvex
