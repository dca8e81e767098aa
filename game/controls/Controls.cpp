#include "game/controls/Controls.h"

#include "game/audio/SoundEffects.h"
#include "game/combat/Damage.h"
#include "game/controls/Gamepads.h"
#include "game/core/InputTap.h"
#include "platform/Keys.h"

namespace quorvex {
namespace {

// Damage that F5 deals to both ships.
constexpr double kF5Damage = 999999;

// A key code matches a table entry only when it is a real key: a consumed key (0) matches nothing,
// even an entry left at 0.
bool Matches(int keyCode, double entry) { return keyCode != 0 && keyCode == entry; }

// A joystick control code from a table entry; -1 for an entry that names no control.
int StickCode(double entry) {
  if (!(entry >= 0 && entry < stick_code::FirstButton + 32)) return -1;
  return static_cast<int>(entry);
}

// Power redirection: balanced, weapons, shields, and round again.
void NextPowerMode(GameWindow& w, ShipState& s) {
  s.powerRedir += 1;
  if (s.powerRedir > 2) s.powerRedir = 0;
  PlaySound(w, SndSelect);
}

// Change weapon during a battle, or a pick on a menu screen.
void WeaponControl(GameWindow& w, int player) {
  if (!w.menuActive) {
    ChangeWeapon(w.ship[player]);
    PlaySound(w, SndSelect);
  } else {
    w.menuPick[player] = true;
  }
}

// The key-down steps of one keyboard player. `flies` is false for player 2 while the computer pilot
// flies his ship: then only his self-destruct key works. Consumed keys become 0.
void PlayerKeyDown(GameWindow& w, int player, int& keyCode, bool flies) {
  const auto& table = w.controlTable[player];
  ShipState& s = w.ship[player];
  using namespace key_entry;

  if (flies) {
    // Held controls: not consumed, so both players may share a key.
    if (Matches(keyCode, table[TurnRight])) s.turnRightHeld = true;
    if (Matches(keyCode, table[TurnLeft])) s.turnLeftHeld = true;
    if (Matches(keyCode, table[Thrust])) s.thrustHeld = true;
    if (Matches(keyCode, table[Fire])) s.fireHeld = true;

    if (Matches(keyCode, table[Power])) {
      NextPowerMode(w, s);
      keyCode = 0;
    }
  }

  // Self destruct needs two key-downs in a row: a double press, or the key held until it repeats.
  uint8_t& presses = w.selfDestructPresses[player];
  if (Matches(keyCode, table[SelfDestruct])) {
    if (presses < 255) presses += 1;  // held for long the count stays at its top
    keyCode = 0;
    if (presses >= 2) DoDamage(w, player + 1, kSelfDestructDamage);
  } else {
    presses = 0;
  }

  if (flies && Matches(keyCode, table[Weapon])) {
    WeaponControl(w, player);
    keyCode = 0;
  }
}

}  // namespace

void ChangeWeapon(ShipState& s) {
  s.weapon += 1;
  if (s.weapon == 1 && !s.hasIonCannon) s.weapon += 1;
  if (s.weapon == 2 && !s.hasMissiles) s.weapon += 1;
  if (s.weapon == 3 && !s.hasTorpedoes) s.weapon += 1;
  if (s.weapon == 4 && !s.hasElectroGun) s.weapon += 1;
  if (s.weapon == 5 && !s.hasChaingun) s.weapon += 1;
  if (s.weapon > 5) s.weapon = 0;
}

void OnKeyDown(GameWindow& w, int keyCode) {
  if (keyCode == vk::Escape) w.pauseRequested = true;
  if (keyCode == vk::F5) {
    DoDamage(w, 1, kF5Damage);
    DoDamage(w, 2, kF5Damage);
  }
  if (keyCode == vk::F4) {
    w.aimMarkers = !w.aimMarkers;
    keyCode = 0;
  }
  if (keyCode == vk::F6) w.noFrameLimit = true;

  if (w.inputDevice[0] == 0) PlayerKeyDown(w, 0, keyCode, true);
  if (w.inputDevice[1] == 0) PlayerKeyDown(w, 1, keyCode, !w.trainingMode);

  if (keyCode == vk::Escape) w.pauseRequested = true;
}

void OnKeyUp(GameWindow& w, int keyCode) {
  using namespace key_entry;
  // Released whatever the device: a joystick player's or the pilot's next step sets them again.
  for (int p = 0; p < 2; ++p) {
    const auto& table = w.controlTable[p];
    ShipState& s = w.ship[p];
    if (Matches(keyCode, table[TurnRight])) s.turnRightHeld = false;
    if (Matches(keyCode, table[TurnLeft])) s.turnLeftHeld = false;
    if (Matches(keyCode, table[Thrust])) s.thrustHeld = false;
    if (Matches(keyCode, table[Fire])) s.fireHeld = false;
  }

  if (keyCode == vk::F6) w.noFrameLimit = false;
  if (keyCode == vk::Return) w.menuSelect = true;
  if (w.menuActive) {
    if (keyCode == vk::Up) {
      w.menuUp = true;
      PlaySound(w, SndBlop);
    }
    if (keyCode == vk::Down) {
      w.menuDown = true;
      PlaySound(w, SndBlop);
    }
  }
  if (keyCode == vk::Return && !w.menuActive && (!w.ship[0].alive || !w.ship[1].alive)) w.duelOver = true;
}

bool JoystickControlDown(const JoystickState& state, int restX, int restY, int code) {
  switch (code) {
    case stick_code::MinusX: return state.x < restX;
    case stick_code::PlusX: return state.x > restX;
    case stick_code::MinusY: return state.y < restY;
    case stick_code::PlusY: return state.y > restY;
    default: break;
  }
  const int button = code - stick_code::FirstButton;
  if (button < 0 || button >= static_cast<int>(state.buttons.size())) return false;
  return state.buttons[static_cast<size_t>(button)] != 0;
}

bool JoystickControlDown(const GameWindow& w, int joystick, int code) {
  if (joystick != 1 && joystick != 2) return false;
  const int slot = joystick - 1;
  return JoystickControlDown(w.joysticks.last[slot], w.joysticks.restX[slot], w.joysticks.restY[slot], code);
}

void PollControls(GameWindow& w) {
  using namespace stick_entry;
  for (int p = 0; p < 2; ++p) {
    const int slot = DeviceSlot(w.inputDevice[p]);
    if (slot < 0) continue;
    // A gamepad taken up by itself leaves the computer pilot his ship in training.
    if (p == 1 && w.trainingMode && IsPadDevice(w.inputDevice[p])) continue;
    const int j = slot + 1;
    // A gamepad's state has the actions on its buttons, whatever keys.cfg says.
    const auto& table = IsPadDevice(w.inputDevice[p]) ? kPadStickTable : w.controlTable[p];
    ShipState& s = w.ship[p];
    Joysticks& sticks = w.joysticks;

    // The state read last (the previous poll) tells which controls were already down, so the
    // one-shot actions run once per press.
    const JoystickState before = sticks.last[slot];
    PollJoystickInput(w, slot);
    auto down = [&](int entry) { return JoystickControlDown(w, j, StickCode(table[entry])); };
    auto pressed = [&](int entry) {
      const int code = StickCode(table[entry]);
      return !JoystickControlDown(before, sticks.restX[slot], sticks.restY[slot], code) &&
             JoystickControlDown(w, j, code);
    };

    if (IsPadDevice(w.inputDevice[p]) && w.menuActive) {
      // On a menu a gamepad's press acts once, as a key's does: the screen spends the flag and
      // the button sets it again only when pressed again.
      auto once = [&](bool& flag, int entry) {
        if (pressed(entry)) {
          flag = true;
        } else if (!down(entry)) {
          flag = false;
        }
      };
      once(s.turnRightHeld, TurnRight);
      once(s.turnLeftHeld, TurnLeft);
      once(s.thrustHeld, Thrust);
      once(s.fireHeld, Fire);
    } else {
      s.turnRightHeld = down(TurnRight);
      s.turnLeftHeld = down(TurnLeft);
      s.thrustHeld = down(Thrust);
      s.fireHeld = down(Fire);
    }

    if (pressed(Power)) NextPowerMode(w, s);
    // Eject only when its button goes down while fire is held.
    if (pressed(Eject) && down(Fire)) DoDamage(w, p + 1, kSelfDestructDamage);
    if (pressed(Weapon)) WeaponControl(w, p);
  }
}

}  // namespace quorvex
