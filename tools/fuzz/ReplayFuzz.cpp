// libFuzzer harness of the replay reader: whatever bytes a replay file holds, the reader stays
// inside them and within its bounds, a replay it accepts writes back to text it reads the same,
// and its start state goes through the check that every playback makes.
#include <cstdlib>
#include <string>

#include "game/replay/ReplayFile.h"
#include "game/replay/StateCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  quorvex::Replay replay;
  std::string problem;
  if (!quorvex::ParseReplay(text, &replay, &problem)) {
    if (problem.empty()) std::abort();
    return 0;
  }
  if (replay.frameCount < 0 || replay.frameCount > quorvex::kMaxReplayFrames) std::abort();
  for (const auto& [frame, f] : replay.frames) {
    if (f.keys.size() > quorvex::kMaxReplayKeysPerFrame || frame > replay.frameCount) std::abort();
  }
  quorvex::Replay again;
  if (!quorvex::ParseReplay(quorvex::ReplayText(replay), &again, &problem)) std::abort();
  if (again.state != replay.state || again.shipFiles != replay.shipFiles || again.frameCount != replay.frameCount) {
    std::abort();
  }
  quorvex::CheckStartState(replay.state, &problem);
  return 0;
}
