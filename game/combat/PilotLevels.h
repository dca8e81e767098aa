// The computer pilot's levels beside the game's own: the pieces the three levels share, and the
// "easy" and "hard" pilots. ComputerPilot.h is the way in.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex::pilot {

// The game's geometry takes pi as 3.14 everywhere.
constexpr double kPi = 3.14;
constexpr double kHeadingDegrees = 11.25;  // one 32nd of a turn

// On-board systems the pilots look at.
constexpr int kEngine = 0, kShieldSystem = 1, kPowerGen = 2, kElectrics = 3, kTurning = 4, kLauncher = 5,
              kChaingunSystem = 7, kTargeting = 8;
constexpr int kLasers = 0, kIonCannon = 1, kMissiles = 2, kTorpedoes = 3, kElectroGun = 4, kChaingun = 5;
constexpr int kBalanced = 0, kToWeapons = 1, kToShields = 2;

constexpr double kCloseRange = 200;  // closer than this the game's pilot breaks away and holds its fire
constexpr double kFireRange = 450;   // lasers, ion cannon, missiles and chaingun fire from here in
constexpr double kThrustChance = 0.75;

inline bool Intact(const ShipState& s, int system) { return s.systems[static_cast<size_t>(system)] <= 0; }

// The game's pilot: the heading it steers for, its turning rule, its power and weapon rules.
double WantedHeading(double close, const ShipState& me, const ShipState& foe);
void Steer(ShipState& s, double wanted);
void StepPower(GameWindow& w, ShipState& s);
void RedirectPower(GameWindow& w, ShipState& s);
void ChooseWeapon(ShipState& s, const ShipState& foe);

// "easy" and "hard" for the ship of player index `me` (0 or 1); both ships are alive.
void FlyEasy(GameWindow& w, int me, double& close);
void FlyHard(GameWindow& w, int me, double& close);

}  // namespace quorvex::pilot
