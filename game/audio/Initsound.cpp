#include "game/audio/Initsound.h"

#include <cstdio>
#include <vector>

#include "game/audio/Jukebox.h"
#include "platform/Files.h"
#include "platform/Music.h"

namespace quorvex {

namespace {

constexpr int kPlaylistHeaderLines = 4;

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

Song* LoadSongFile(GameWindow& w, const std::string& file) {
  return LoadSong(w.audio, ResolveFileName(w.programDir, file).string());
}

void LoadSongs(GameWindow& w) {
  FreeSongs(w);
  w.songCount = 1;
  w.songs[0] = LoadSongFile(w, "menu.it");
  std::string text, error;
  if (!ReadWholeFile(ResolveFileName(w.programDir, "playlist.txt"), &text, &error)) {
    std::fprintf(stderr, "%s (no battle music)\n", error.c_str());
    return;
  }
  const std::vector<std::string> lines = SplitLines(text);
  for (size_t i = kPlaylistHeaderLines; i < lines.size() && w.songCount < kSongEntries; ++i) {
    // A module that cannot be loaded keeps its entry, empty: choosing it plays nothing.
    w.songs[w.songCount] = LoadSongFile(w, lines[i]);
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
