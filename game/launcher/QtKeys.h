// Qt key events as Windows virtual-key codes, for the key setup window. The game window reads its
// keys through SDL (platform/Keys.h); both tables give the same code for every key they share, so
// keys recorded here work in battle.
#pragma once

namespace quorvex {

// The virtual-key code of a Qt key (Qt::Key) pressed on the keypad or not, 0 for a key without one.
// Shifted symbols give their unshifted key ("!" is the 1 key): modifier state does not matter.
// Keypad keys give the keypad codes whatever the Num Lock state, as the game window's table does.
int VirtualKeyFromQt(int qtKey, bool keypad);

}  // namespace quorvex
