// A duel frame played again after a rollback starts only the sounds its first play did not: a shot
// is heard once however often its frame is worked out, and a sound new to the frame still starts.
#include <gtest/gtest.h>

#include <vector>

#include "game/audio/SoundEffects.h"

namespace quorvex {
namespace {

TEST(RollbackSound, AFramePlayedAgainStartsNoSoundTwice) {
  struct Play {
    int64_t frame;
    bool again;
    std::vector<SoundSlot> asked;
    std::vector<bool> started;
  };
  const Play plays[] = {
      {0, false, {SndLaserP1, SndLaserP1}, {true, true}},  // no network duel: every sound
      {7, false, {SndLaserP1, SndHit1A, SndLaserP1}, {true, true, true}},
      {8, false, {SndBoom}, {true}},
      {7, true, {SndLaserP1, SndHit1A, SndLaserP1}, {false, false, false}},  // the same again
      {8, true, {SndLaserP1, SndBoom}, {true, false}},  // a shot new to frame 8, the same boom
      {7, true, {SndHit1A, SndIon, SndLaserP1, SndLaserP1, SndLaserP1}, {false, true, false, false, true}},
      {8, true, {SndLaserP1, SndBoom, SndBoom}, {false, false, true}},
      {71, false, {SndLaserP2}, {true}},  // 64 frames on: the ring's slot of frame 7 is taken
      {7, true, {SndHit1A}, {true}},      // frame 7 long gone: nothing is known of it
  };
  FrameSounds sounds;
  for (const Play& p : plays) {
    SoundFrameBegins(sounds, p.frame, p.again);
    for (size_t i = 0; i < p.asked.size(); ++i) {
      EXPECT_EQ(SoundStartsNow(sounds, p.asked[i]), p.started[i]) << "frame " << p.frame << (p.again ? " again" : "") << ", sound " << i;
    }
  }
}

}  // namespace
}  // namespace quorvex
