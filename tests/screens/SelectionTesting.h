// Helpers of the armada and ship selection tests: a headless window on the stock ships and pictures,
// and screens driven by scripted key events, one batch each time the window processes its events.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "game/core/GameWindow.h"
#include "platform/Clock.h"

namespace quorvex::selection_testing {

// Player 1: thrust W, turns A and D, fire S, weapon Q, power E, self destruct X. Player 2: I J L K U O P.
constexpr std::array<double, 7> kKeys1 = {'W', 'A', 'D', 'S', 'Q', 'E', 'X'};
constexpr std::array<double, 7> kKeys2 = {'I', 'J', 'L', 'K', 'U', 'O', 'P'};

// A player's menu keys by what they do on the selection screens.
int FireKey(int player);        // appends a ship / picks a random ship
int RemoveKey(int player);      // the change-weapon key: takes the last ship off the armada
int NextKey(int player);        // the turn that adds to the heading: next ship
int PreviousKey(int player);    // the other turn: previous ship

// The window as start-up leaves it on the stock program folder: the ship list, both armadas holding
// ship 0, both ships loaded, the pictures loaded, sound on without any effect loaded, training off.
void OpenWindow(GameWindow& w, ManualClock& clock);

int ShipIndex(const GameWindow& w, const std::string& file);
// Replaces a player's armada by these ship-list indices.
void SetArmada(GameWindow& w, int player, const std::vector<int>& ships);
std::vector<int> Armada(const GameWindow& w, int player);

// Thrown when a screen is still open long after its script ended.
struct ScreenNeverLeft {};

// Runs `screen` with keys tapped: the keys of taps[f] go down in frame f + 1 and up in frame f + 2.
// `eachFrame`(w, frame) runs at every frame's event processing (the back surface then holds the frame
// just drawn), before that frame's keys are queued. Returns the number of frames the screen drew.
int RunScreen(GameWindow& w, void (*screen)(GameWindow&), const std::vector<std::vector<int>>& taps,
              const std::function<void(GameWindow&, int)>& eachFrame = {});

// Whether `text` drawn alone at (x, y) leaves every one of its glyph pixels on the back surface as it is.
::testing::AssertionResult TextShown(const GameWindow& w, int x, int y, const std::string& text, bool small,
                                     bool highlighted);

}  // namespace quorvex::selection_testing
