// The keys of a network battle. Both games fly with the same two key tables, whatever each player
// has set up: each machine turns its own player's keys, and his joystick, into those of the
// battle's table before they travel, so the two players' keys never meet.
#pragma once
#include <array>
#include <vector>

#include "game/core/GameWindow.h"
#include "platform/Display.h"
#include "platform/Joystick.h"

namespace quorvex {

// The battle's key table of `player` (1 or 2).
std::array<double, 7> NetKeyTable(int player);

// The keys this machine's player flies `player` (1 or 2) with: his own from keys.cfg, or the
// first-run keys when device.cfg gives him a joystick (keys.cfg then holds the joystick's controls).
std::array<double, 7> OwnNetKeys(const GameWindow& w, int player);

// The controls of joystick table `table` that are down in `state`, by joystick table entry.
std::array<bool, 7> StickControls(const JoystickState& state, int restX, int restY, const std::array<double, 7>& table);

// The key events of the battle's table `netKeys` that do what a joystick going from `before` to
// `now` does: a held turn, thrust or fire is its key held down, power and weapon are a press, and
// eject with fire held is the self-destruct key pressed twice. With `repeat` (the menus) held
// controls are pressed again every frame, so the menus step on as with a local joystick; in a
// duel they are not, so they never come between the other player's two self-destruct presses.
std::vector<KeyEvent> StickKeys(const std::array<bool, 7>& before, const std::array<bool, 7>& now,
                                const std::array<double, 7>& netKeys, bool repeat);

// This machine's key events as they go to the other one: a key of `ownKeys` becomes the same entry
// of `netKeys`; the game's own keys (Enter, Esc, Up, Down, F4, F5, F6) go as they are; others are dropped.
std::vector<KeyEvent> NetKeys(const std::vector<KeyEvent>& keys, const std::array<double, 7>& ownKeys,
                              const std::array<double, 7>& netKeys);

// Whether the other machine's `keys` are all its own player's: keys of `player`'s battle table or
// the game's own keys. Anything else (the other player's keys, F11, a key of no table) is not his
// to send.
bool OnlyKeysOf(int player, const std::vector<KeyEvent>& keys);

}  // namespace quorvex
