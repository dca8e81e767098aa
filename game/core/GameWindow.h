// The game window's whole state: both ships, the armadas, the ship list, every pool, the options and
// the flags by which the controls, the battle and the screens talk to each other, plus the services
// it owns (surfaces, sounds, songs, input). Procedures are free functions taking it by reference.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Joystick.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "platform/Surface.h"
#include "platform/UserFolders.h"

namespace quorvex {

struct Song;
struct InputTap;

// The ship now flying for one player.
struct ShipState {
  bool thrustHeld = false, turnLeftHeld = false, turnRightHeld = false, fireHeld = false;
  bool alive = true;
  double x = 0, y = 0, vx = 0, vy = 0;
  double heading = 0;  // 32nds of a turn, 0 up, clockwise
  double laserCooldown = 0;
  double nextBarrel = 1;
  double missileCooldown = 0;
  int weapon = 0;      // 0 lasers, 1 ion cannon, 2 missiles, 3 torpedoes, 4 electrogun, 5 chaingun
  int powerRedir = 0;  // 0 balanced, 1 weapons, 2 shields
  double energy = 100;
  double shield = 0, shieldMax = 0;
  double hull = 0, hullMax = 0;
  std::array<double, 11> systems{};          // critical-damage level per on-board system
  std::array<std::string, 11> critNames{};   // names of damaged systems for the on-screen list
  std::string spriteFile;
  double radius = 30;
  double laserReload = 1, shotEnergy = 0, energyRate = 0, maxSpeed = 1, mass = 1, turnRate = 0;
  int laserPattern = 1;
  double laserKind = 0;
  bool hasIonCannon = false, hasMissiles = false, hasTorpedoes = false, hasElectroGun = false;
  bool hasChaingun = false, hasTargeting = false, twinLauncher = false, selfRepair = false;
  double missiles = 0, torpedoes = 0, chaingunAmmo = 0;
  uint8_t launcherReload = 100;
  std::string ejectShipFile;
  Rect shipRect;
};

// How well the computer pilot of training flies: Normal is the game's own pilot.
enum class PilotLevel : uint8_t { Easy = 0, Normal = 1, Hard = 2 };

constexpr int kShipListSize = 256;
constexpr int kFleetSlots = 101;

// Pools: parallel arrays; a life of 0 (or below) marks a free slot; slot 0 is never filled.
struct ShotPool {           // lasers and ion shots, 0..100
  std::array<double, 101> life{}, x{}, y{}, vx{}, vy{}, kind{};
};
struct MissilePool {        // missiles and torpedoes, 0..50
  std::array<double, 51> life{}, x{}, y{}, vx{}, vy{}, kind{};
};
struct TrailPool {          // engine trail dots, 0..100
  std::array<double, 101> life{}, x{}, y{}, vx{}, vy{};
};
struct BulletPool {         // chaingun bullets, 0..500
  std::array<double, 501> life{}, x{}, y{}, angle{};
};
struct FragmentPool {       // cluster fragments, 0..100
  std::array<double, 101> life{}, x{}, y{}, vx{}, vy{};
};
struct ExplosionPool {      // explosions, 0..61: state, top-left position and the sheet cell shown
  std::array<double, 62> state{}, x{}, y{};
  std::array<Rect, 62> cell{};
};
struct FlashPool {          // flashes, 0..60
  std::array<double, 61> life{}, x{}, y{};
};
struct SmokePool {          // smoke puffs, 0..60
  std::array<double, 61> life{}, x{}, y{};
};
struct FlamePool {          // flames, 0..101
  std::array<double, 102> life{}, x{}, y{}, vx{}, vy{};
};
struct DebrisPool {         // debris, 0..101; life is a 16-bit whole number
  std::array<int16_t, 102> life{};
  std::array<double, 102> x{}, y{}, vx{}, vy{};
};
struct SparkPool {          // sparks, 0..501
  std::array<double, 502> life{}, x{}, y{}, angle{}, speed{};
};
struct StarField {          // battle stars, 0..1000
  std::array<float, 1001> depth{}, x{}, y{};
};

// Options of options.cfg with their start values.
struct GameOptions {
  bool soundOn = true;
  double starCount = 0;
  bool sparksOn = true;
  bool backgroundZoom = true;
  bool engineTrails = true;
  bool musicOn = true;
  uint8_t frameInterval = 20;
  uint32_t effectRop = static_cast<uint32_t>(RasterOp::SrcPaint);
  int musicVolume = 0;
  int soundVolume = 0;
  bool gravityOn = false;
  bool debrisOn = false;
  std::array<bool, 9> criticalsOn{};
};

// Sound effect slots, one buffer each.
enum SoundSlot {
  SndLaserP1, SndLaserP2, SndHit1A, SndHit1B, SndCollision, SndHit2A, SndHit2B, SndSelect, SndIon,
  SndHit3A, SndHit3B, SndBoom, SndLaunch, SndR2Hit, SndBoom2, SndBlop, SndChain, SndHit4, kSoundSlots
};

// The sounds each frame of a network duel started, so that a frame played again after a rollback
// starts only those it had not started the first time: a shot is heard once however often its
// frame is worked out.
struct FrameSounds {
  int64_t frame = 0;   // the duel frame being played; 0: every sound plays (not a network duel)
  bool again = false;  // that frame is played again
  struct Started {
    int64_t frame = 0;
    uint8_t count = 0;
    uint16_t matched = 0;  // those already met again while the frame is played again
    std::array<uint8_t, 16> kinds{};
  };
  std::array<Started, 64> ring{};
};

// The screens of the game window, for the help overlay.
enum class ScreenId : uint8_t { MainMenu, Armada, Ships, Duel, Pause, GameOver, Results };

// Gamepad players and the help overlay: beside the battle's state, never part of it.
struct PadPlay {
  // Per player: 3 or 4 when he flies with the gamepad of joystick slot 1 or 2 once it is there.
  std::array<uint8_t, 2> device{};
  // Per slot: the menu buttons down at the last look, and the game key each one sent (0 none).
  std::array<uint32_t, 2> menuHeld{};
  std::array<std::array<int, 4>, 2> menuKeySent{};
};
struct HelpOverlay {
  bool shown = false;
  ScreenId screen = ScreenId::MainMenu;  // the screen running now
  bool drawn = false;                    // the overlay on the window is the one for drawnFor
  ScreenId drawnFor = ScreenId::MainMenu;
};

struct GameWindow {
  // Where the programs and their files live; every file name is resolved inside it.
  std::filesystem::path programDir = ".";
  // Where the player's files are written (settings, own ships, screenshots); empty: the program
  // folder itself, as when it is writable. Installed, the data folder of the user.
  std::filesystem::path userDir;

  // Injected services.
  Clock* clock = nullptr;
  Random random;
  // The jukebox's song choice, apart from the battle's numbers: when a song ends depends on the sound card.
  Random musicRandom{0x9e3779b97f4a7c15ULL, {}};
  MessageBoxes messages;
  bool headless = false;  // no window: tests and recorded replays
  bool windowed = false;  // a window on the desktop instead of the whole screen

  // Replays and tests: called each time the window processes its pending events (once per frame
  // in every loop), before the queue is drained, so a script can queue key events or raise flags.
  std::function<void(GameWindow&)> eventScript;
  // Replays: watches (recording) or supplies (playback) everything that enters from outside.
  InputTap* inputTap = nullptr;
  FrameSounds frameSounds;

  // Ships and players.
  std::array<ShipState, 2> ship{};
  std::array<std::array<int, kFleetSlots>, 2> fleet{};
  std::array<int, 2> fleetSlot{};
  std::array<double, 2> shotsFired{}, hitsScored{};
  std::array<uint8_t, 2> inputDevice{};  // 0 keyboard, 1 joystick 1, 2 joystick 2, 3/4 gamepad in slot 1/2
  std::array<uint8_t, 2> chosenDevice{};  // device.cfg's choice, taken up when its joystick is plugged in
  std::array<std::array<double, 7>, 2> controlTable{};  // player 1's as numbers, player 2's 16-bit values
  std::array<uint8_t, 2> selfDestructPresses{};
  std::array<bool, 2> menuPick{};

  // Ship list.
  std::array<std::string, kShipListSize> shipFiles{};
  std::array<std::string, kShipListSize> shipNames{};
  std::array<double, kShipListSize> shipValues{};
  int lastShipIndex = 0;

  // Pools.
  ShotPool shots;
  MissilePool missilesPool;
  TrailPool trail;
  BulletPool bullets;
  std::array<int, 6> electroArcs{};  // 0 free, 1 arc of player 1, 2 arc of player 2
  FragmentPool fragments;
  ExplosionPool explosions;
  FlashPool flashes;
  SmokePool smoke;
  FlamePool flames;
  DebrisPool debris;
  SparkPool sparks;
  StarField stars;

  // Battle-wide values.
  double zoom = 50;
  double aiClose = 0;
  PilotLevel pilotLevel = PilotLevel::Normal;  // the computer pilot of training
  int32_t battleStartTick = 0;  // tick count when the first duel of a battle began

  // Flow and timing.
  int32_t lastFrameTick = 0;
  bool noFrameLimit = false;
  bool pauseRequested = false, duelOver = false, quitBattle = false;
  int duelsPlayed = 0;
  Rect screenRect{0, 0, 800, 600};
  int64_t framesRun = 0;  // battle frames run since start-up

  // Screen and input flags.
  bool menuActive = false, menuSelect = false, menuUp = false, menuDown = false;
  bool aimMarkers = false;
  bool trainingMode = true;
  PadPlay pads;
  HelpOverlay help;

  GameOptions options;

  // Resources owned for the life of the window.
  Display display;
  EventQueue events;
  Surface back;               // the 800 x 600 surface every frame and screen is drawn into
  Surface background, explosionSheet, fontSheet;
  std::array<Surface, 2> shipPicture;
  Joysticks joysticks;
  AudioDevice audio;
  std::array<SoundBuffer, kSoundSlots> sounds{};
  std::array<Song*, 64> songs{};
  int songCount = 0;
  int currentSong = 0;
};

// The program folder and the player's folder of a game window, for the lookups of UserFolders.h.
inline GameFolders Folders(const GameWindow& w) { return {w.programDir, w.userDir.empty() ? w.programDir : w.userDir}; }

}  // namespace quorvex
