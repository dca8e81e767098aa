#include "game/net/NetKeys.h"

#include <algorithm>

#include "game/controls/Controls.h"
#include "game/net/Packets.h"
#include "game/config/ConfigFiles.h"
#include "platform/Keys.h"

namespace quorvex {

namespace {

bool GameKey(int code) {
  return code == vk::Return || code == vk::Escape || code == vk::Up || code == vk::Down || code == vk::F4 ||
         code == vk::F5 || code == vk::F6;
}

}  // namespace

std::array<double, 7> NetKeyTable(int player) {
  if (player == 1) return KeyTable{}.player1;
  return {'I', 'J', 'L', 'K', 'U', 'O', '8'};
}

std::array<double, 7> OwnNetKeys(const GameWindow& w, int player) {
  const size_t p = player == 1 ? 0 : 1;
  // A gamepad player's keys.cfg still holds his keyboard keys.
  if (w.inputDevice[p] == 0 || w.inputDevice[p] > 2) return w.controlTable[p];
  const KeyTable firstRun;
  std::array<double, 7> keys{};
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = p == 0 ? firstRun.player1[i] : firstRun.player2[i];
  return keys;
}

std::array<bool, 7> StickControls(const JoystickState& state, int restX, int restY, const std::array<double, 7>& table) {
  std::array<bool, 7> down{};
  for (size_t i = 0; i < table.size(); ++i) {
    const double entry = table[i];
    const int code = entry >= 0 && entry < stick_code::FirstButton + 32 ? static_cast<int>(entry) : -1;
    down[i] = JoystickControlDown(state, restX, restY, code);
  }
  return down;
}

std::vector<KeyEvent> StickKeys(const std::array<bool, 7>& before, const std::array<bool, 7>& now,
                                const std::array<double, 7>& netKeys, bool repeat) {
  std::vector<KeyEvent> out;
  auto key = [&](int entry, bool down) { out.push_back(KeyEvent{down, static_cast<int>(netKeys[static_cast<size_t>(entry)])}); };
  const std::pair<int, int> held[] = {{stick_entry::TurnLeft, key_entry::TurnLeft},
                                      {stick_entry::TurnRight, key_entry::TurnRight},
                                      {stick_entry::Thrust, key_entry::Thrust},
                                      {stick_entry::Fire, key_entry::Fire}};
  for (const auto& [stick, entry] : held) {
    if (now[stick] && (repeat || !before[stick])) {
      key(entry, true);
    } else if (!now[stick] && before[stick]) {
      key(entry, false);
    }
  }
  const std::pair<int, int> presses[] = {{stick_entry::Power, key_entry::Power}, {stick_entry::Weapon, key_entry::Weapon}};
  for (const auto& [stick, entry] : presses) {
    if (now[stick] && !before[stick]) {
      key(entry, true);
      key(entry, false);
    }
  }
  // Last, so that no other key comes between the two presses self destruct needs.
  if (now[stick_entry::Eject] && !before[stick_entry::Eject] && now[stick_entry::Fire]) {
    key(key_entry::SelfDestruct, true);
    key(key_entry::SelfDestruct, true);
    key(key_entry::SelfDestruct, false);
  }
  return out;
}

std::vector<KeyEvent> NetKeys(const std::vector<KeyEvent>& keys, const std::array<double, 7>& ownKeys,
                              const std::array<double, 7>& netKeys) {
  std::vector<KeyEvent> out;
  auto add = [&](bool down, int code) {
    if (out.size() < kMaxKeysPerFrame) out.push_back(KeyEvent{down, code});
  };
  for (const KeyEvent& k : keys) {
    if (k.code < 1 || k.code > 255) continue;
    for (size_t i = 0; i < ownKeys.size(); ++i) {
      if (ownKeys[i] == k.code) add(k.down, static_cast<int>(netKeys[i]));
    }
    // A player key that is also one of the game's keys does both, as on one keyboard.
    if (GameKey(k.code)) add(k.down, k.code);
  }
  return out;
}

bool OnlyKeysOf(int player, const std::vector<KeyEvent>& keys) {
  const std::array<double, 7> table = NetKeyTable(player);
  for (const KeyEvent& k : keys) {
    if (!GameKey(k.code) && std::find(table.begin(), table.end(), k.code) == table.end()) return false;
  }
  return true;
}

}  // namespace quorvex
