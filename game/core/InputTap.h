// The few places where the outside world enters the game: the window's key events, the joysticks,
// the clock readings that reach the game's state and the ship files a battle loads. A replay
// recorder watches them; a replay player stands in for them. The battle itself knows neither.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "game/core/GameWindow.h"
#include "platform/Joystick.h"
#include "platform/UserFolders.h"

namespace quorvex {

struct InputTap {
  virtual ~InputTap() = default;
  // A battle begins (the main menu's choice was made) and ends (back to the main menu).
  virtual void BattleBegins(GameWindow& w) = 0;
  virtual void BattleEnds(GameWindow& w) = 0;
  // The window processes its pending events: the keys now in w.events go to the key handlers next.
  virtual void Events(GameWindow& w) = 0;
  // The state the game uses for joystick `slot` (0 or 1) when it polls.
  virtual JoystickState Joystick(GameWindow& w, int slot) = 0;
  // A tick count `ticks` read from the clock that goes into the game's state.
  virtual int32_t ClockReading(GameWindow& w, int32_t ticks) = 0;
  // Where ship file `name` of the ship list is read from.
  virtual std::filesystem::path ShipFile(GameWindow& w, const std::string& name) = 0;
  // The duel's frames: a duel's frames begin to be played (at its start and after the pause
  // menu), one of them is over, and the duel is about to be left (w.pauseRequested or w.duelOver
  // set). A network battle plays a duel's frames on a guess of the other player's keys and plays
  // them again when the guess was wrong; when the duel is left the frame it is left at is certain
  // (the flags may have been cleared again, or set at an earlier frame).
  virtual void DuelFramesBegin(GameWindow&) {}
  virtual void DuelFrameEnds(GameWindow&) {}
  virtual void LeavingDuel(GameWindow&) {}
  // Whether joysticks plugged in or pulled out change the game: not when its joysticks come from
  // elsewhere (a replay, the other machine of a network battle).
  virtual bool TakesUpJoysticks() const { return true; }
};

// A tick count that the game keeps or mixes into its random numbers (not frame pacing).
inline int32_t ClockInput(GameWindow& w) {
  const int32_t ticks = w.clock ? w.clock->Ticks() : 0;
  return w.inputTap ? w.inputTap->ClockReading(w, ticks) : ticks;
}

// The joystick state the game sees when it polls `slot`; kept as the slot's last state.
inline const JoystickState& PollJoystickInput(GameWindow& w, int slot) {
  if (!w.inputTap || slot < 0 || slot > 1) return PollJoystick(w.joysticks, slot);
  w.joysticks.last[slot] = w.inputTap->Joystick(w, slot);
  return w.joysticks.last[slot];
}

// The path ship file `name` of the ship list is read from.
inline std::filesystem::path ShipFileInput(GameWindow& w, const std::string& name) {
  return w.inputTap ? w.inputTap->ShipFile(w, name) : FindGameFile(Folders(w), name);
}

}  // namespace quorvex
