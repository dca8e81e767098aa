#include "game/flow/Startup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <stdexcept>

#include "game/audio/Initsound.h"
#include "game/audio/Jukebox.h"
#include "game/core/BattleState.h"
#include "game/controls/Events.h"
#include "game/controls/Gamepads.h"
#include "game/core/GameExit.h"
#include "game/core/InputTap.h"
#include "game/flow/GameFlow.h"
#include "game/combat/ShipLoading.h"
#include "game/render/Graphics.h"
#include "game/config/ConfigFiles.h"
#include "platform/DataFiles.h"

namespace quorvex {

namespace {

bool WindowedWanted(const GameWindow& w) {
  const char* env = std::getenv("QUORVEX_WINDOWED");
  return w.windowed || (env != nullptr && std::string(env) == "1");
}

void SetDefaults(GameWindow& w) {
  GameOptions& o = w.options;
  o.frameInterval = 20;
  w.aimMarkers = false;
  w.inputDevice = {0, 0};
  o.gravityOn = false;
  o.debrisOn = false;
  w.noFrameLimit = false;
  o.soundOn = true;
  o.musicOn = true;
  o.sparksOn = true;
  o.backgroundZoom = true;
  o.engineTrails = true;
  o.effectRop = static_cast<uint32_t>(RasterOp::SrcPaint);
  w.trainingMode = true;
  w.menuActive = false;
  w.duelsPlayed = 0;
  w.fleetSlot = {0, 0};
  for (ShipState& s : w.ship) {
    s.ejectShipFile.clear();
    s.launcherReload = 100;
  }
  w.shotsFired = {0, 0};
  w.hitsScored = {0, 0};
}

// A configuration file that cannot be read or written back leaves the defaults in place; the game
// goes on and says so on the error stream.
void NoteConfigProblem(ConfigLoad result, const std::string& message) {
  if (result == ConfigLoad::Failed && !message.empty()) std::fprintf(stderr, "%s\n", message.c_str());
}

uint8_t DeviceByte(int device) { return static_cast<uint8_t>(std::clamp(device, 0, 255)); }

void ReadConfiguration(GameWindow& w) {
  const GameFolders folders = Folders(w);
  SeedPlayerSettings(folders, {kDeviceFile, kOptionsFile, kKeysFile});
  std::string message;
  DeviceConfig device;
  NoteConfigProblem(LoadDeviceFile(PlayerFilePath(folders, kDeviceFile), &device, &message), message);
  w.inputDevice = {DeviceByte(device.player1), DeviceByte(device.player2)};

  Options o;
  message.clear();
  NoteConfigProblem(LoadOptionsFile(PlayerFilePath(folders, kOptionsFile), &o, &message), message);
  GameOptions& g = w.options;
  g.soundOn = o.soundOn;
  g.starCount = o.starCount;
  g.sparksOn = o.sparksOn;
  g.backgroundZoom = o.backgroundZoom;
  g.engineTrails = o.engineTrails;
  g.musicOn = o.musicOn;
  g.frameInterval = o.frameInterval;
  g.effectRop = o.effectRop;
  g.musicVolume = o.musicVolume;
  g.soundVolume = o.soundVolume;
  g.gravityOn = o.gravityOn;
  g.debrisOn = o.debrisOn;
  g.criticalsOn = o.criticalsOn;

  KeyTable keys;
  message.clear();
  NoteConfigProblem(LoadKeysFile(PlayerFilePath(folders, kKeysFile), &keys, &message), message);
  for (int i = 0; i < 7; ++i) {
    w.controlTable[0][i] = keys.player1[i];
    w.controlTable[1][i] = keys.player2[i];
  }

  // The training pilot's level; without pilot.cfg it is the game's own pilot.
  w.pilotLevel = static_cast<PilotLevel>(ReadPilotFile(PlayerFilePath(folders, kPilotFile)));

  // Gamepads have a file of their own: device.cfg and keys.cfg keep the meaning they always had.
  AssignPadSlots(w, ReadGamepadFile(PlayerFilePath(folders, kGamepadFile)));
}

bool PadSlotKept(const Joysticks& sticks) {
  return sticks.use[0] == SlotUse::Gamepad || sticks.use[1] == SlotUse::Gamepad;
}

}  // namespace

void InitGame(GameWindow& w) {
  w.messages.headless = w.headless;
  SetDefaults(w);
  RemoveStaleTemporaryFiles(Folders(w).user);  // left by a write killed midway (only the player's folder is written)

  ReadConfiguration(w);

  ScanShipFiles(w);
  LoadShip(w, 1);
  LoadShip(w, 2);

  w.pauseRequested = false;
  w.duelOver = false;
  ResetValues(w);
}

void SetupDirectX(GameWindow& w) {
  w.random.MixIn(static_cast<uint32_t>(w.clock->Ticks()));
  w.musicRandom.MixIn(static_cast<uint32_t>(w.clock->Ticks()));

  // The player's last choices of full screen and scaling (display.cfg); the windowed switch of
  // the command line or the environment wins for this run.
  const DisplayConfig shown = ReadDisplayFile(PlayerFilePath(Folders(w), kDisplayFile));
  w.display.smooth = shown.smooth;
  w.display.fullScreen = shown.fullScreen && !WindowedWanted(w);
  if (!w.headless) {
    std::string error;
    if (!OpenDisplay(w.display, !w.display.fullScreen, &error)) throw GameError(kErrorAutomation, error);
    w.messages.parent = w.display.window;
  }
  w.back = Surface(kScreenWidth, kScreenHeight);
  w.back.BltColorFill(Rect{0, 0, 640, 480}, 0);
  w.help.drawn = false;  // a new window shows no overlay yet

  w.chosenDevice = w.inputDevice;
  if (PadSlotKept(w.joysticks)) {
    // Players' joysticks take their slots first, then the gamepads theirs; a player whose device
    // is missing flies from the keyboard until it comes.
    StartGamepads(PlayerFilePath(Folders(w), kPadMappingFile));
    ListJoysticks();
    RefreshJoysticks(w.joysticks);
    for (uint8_t& device : w.inputDevice) {
      if (device > 2 || (device != 0 && w.joysticks.device[device - 1] == nullptr)) device = 0;
    }
    if (!w.inputTap || w.inputTap->TakesUpJoysticks()) TakeUpJoysticks(w);
    return;
  }
  const size_t attached = ListJoysticks().size();
  int opened = 0;
  if (attached >= 1 && OpenJoystick(w.joysticks, 0, 0)) {
    opened = 1;
    if (attached >= 2 && OpenJoystick(w.joysticks, 1, 1)) opened = 2;
  }
  for (uint8_t& device : w.inputDevice) {
    if (device > opened) device = 0;
  }
}

void ShutdownGame(GameWindow& w) {
  FreeSongs(w);
  for (SoundBuffer& sound : w.sounds) FreeSoundBuffer(sound);
  w.audio.close();

  w.background = Surface();
  w.explosionSheet = Surface();
  w.fontSheet = Surface();
  for (Surface& picture : w.shipPicture) picture = Surface();
  w.back = Surface();

  CloseJoysticks(w.joysticks);
  w.messages.parent = nullptr;
  CloseDisplay(w.display);
}

void ErrorReport(GameWindow& w, const GameError& error) {
  HideDisplay(w.display);
  w.messages.Show("ERROR!", error.Text());
  ShutdownGame(w);
}

GameError ErrorFromException(std::exception_ptr caught) {
  try {
    std::rethrow_exception(caught);
  } catch (const GameError& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return GameError(kErrorOutOfMemory, "Out of memory");
  } catch (const std::out_of_range&) {
    return GameError(kErrorSubscriptOutOfRange, "Subscript out of range");
  } catch (const std::exception& e) {
    return GameError(kErrorInternal, e.what());
  } catch (...) {
    return GameError(kErrorInternal, "Internal error");
  }
}

void RunGame(GameWindow& w) {
  std::optional<GameError> error;
  try {
    if (w.clock == nullptr) throw GameError(kErrorInternal, "The game has no clock");
    InitGame(w);
    SetupDirectX(w);
    if (w.options.soundOn) Initsound(w);
    LoadGraphics(w);
    GameFlow(w);
  } catch (const GameExit&) {
    // The game window unloads.
  } catch (...) {
    error = ErrorFromException(std::current_exception());
  }
  if (error) {
    ErrorReport(w, *error);
  } else {
    ShutdownGame(w);
  }
}

}  // namespace quorvex
