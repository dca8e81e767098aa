#include "game/audio/Initsound.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "game/audio/Jukebox.h"
#include "platform/DataFiles.h"
#include "platform/Files.h"
#include "platform/Music.h"

namespace quorvex {

namespace {

constexpr size_t kPlaylistHeaderLines = 4;
constexpr const char* kPlaylistFile = "playlist.txt";

// Every slot but the two lasers, in loading order.
struct EffectFile {
  SoundSlot slot;
  const char* file;
};
constexpr EffectFile kEffects[] = {
    {SndHit1A, "Hit1.wav"},   {SndHit1B, "Hit1.wav"},    {SndCollision, "Collision.wav"},
    {SndHit2A, "Hit2.wav"},   {SndHit2B, "Hit2.wav"},    {SndSelect, "Select2.wav"},
    {SndIon, "Ion.wav"},      {SndHit3A, "Hit3.wav"},    {SndHit3B, "Hit3.wav"},
    {SndBoom, "Boom.wav"},    {SndLaunch, "Launch.wav"}, {SndR2Hit, "R2HIT.wav"},
    {SndBoom2, "Boom2.wav"},  {SndBlop, "blop.wav"},     {SndChain, "chain.wav"},
    {SndHit4, "hit4.wav"},
};

// A sound that cannot be loaded stays silent; the game says which file and goes on.
void LoadEffect(GameWindow& w, SoundSlot slot, const std::string& file) {
  std::string error;
  if (!LoadSoundBuffer(w.audio, ResolveFileName(w.programDir, file).string(), &w.sounds[slot], &error)) {
    std::fprintf(stderr, "%s (the sound stays silent)\n", error.c_str());
    FreeSoundBuffer(w.sounds[slot]);
    return;
  }
  SetSoundVolume(w.sounds[slot], w.options.soundVolume);
}

// A reloaded laser keeps the mixer channel of the sound it replaces, so reloads between duels do
// not use up the device's channels.
void ReloadLaser(GameWindow& w, SoundSlot slot, const ShipState& ship) {
  const int channel = w.sounds[slot].channel;
  const int channelsUsed = w.audio.channelsUsed;
  LoadEffect(w, slot, LaserSoundFile(ship));
  if (channel >= 0 && w.sounds[slot].loaded) {
    w.sounds[slot].channel = channel;
    w.audio.channelsUsed = channelsUsed;
  }
}

// A song from a regular file of the program folder only: a named pipe would block the module
// player for ever.
Song* LoadSongFile(GameWindow& w, const std::string& file) {
  const std::filesystem::path path = ResolveFileName(w.programDir, file);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    if (std::filesystem::exists(path, ec)) std::fprintf(stderr, "Not a regular file: %s (no music)\n", path.c_str());
    return nullptr;
  }
  return LoadSong(w.audio, path.string());
}

void LoadSongs(GameWindow& w) {
  FreeSongs(w);
  w.songCount = 1;
  w.songs[0] = LoadSongFile(w, "menu.it");
  std::vector<std::string> lines;
  std::string error;
  const size_t wanted = kPlaylistHeaderLines + (kSongEntries - 1);  // the header and 20 songs, no more
  if (!ReadTextLines(ResolveFileName(w.programDir, kPlaylistFile), wanted, &lines, &error)) {
    std::fprintf(stderr, "%s (no battle music)\n", error.c_str());
    return;
  }
  for (size_t i = kPlaylistHeaderLines; i < lines.size() && w.songCount < kSongEntries; ++i) {
    // A module that cannot be loaded keeps its entry, empty: choosing it plays nothing. So does a
    // name that leads out of the program folder, which is refused before anything is opened.
    const std::string& name = lines[i];
    const bool refused = !name.empty() && !IsBareFileName(name);
    if (refused) w.messages.Show("ERROR!", RefusedNameMessage(kPlaylistFile, name));
    w.songs[w.songCount] = refused || name.empty() ? nullptr : LoadSongFile(w, name);
    ++w.songCount;
  }
}

}  // namespace

std::string LaserSoundFile(const ShipState& ship) { return ship.laserKind == 0 ? "Laser1.wav" : "Laser2.wav"; }

void Initsound(GameWindow& w) {
  if (!w.audio.open()) std::fprintf(stderr, "No sound device: the game plays silently\n");
  LoadEffect(w, SndLaserP1, LaserSoundFile(w.ship[0]));
  LoadEffect(w, SndLaserP2, LaserSoundFile(w.ship[1]));
  for (const EffectFile& e : kEffects) LoadEffect(w, e.slot, e.file);
  if (w.options.musicOn) LoadSongs(w);
}

void LoadNewSound(GameWindow& w) {
  if (!w.options.soundOn) return;
  ReloadLaser(w, SndLaserP1, w.ship[0]);
  ReloadLaser(w, SndLaserP2, w.ship[1]);
}

}  // namespace quorvex
