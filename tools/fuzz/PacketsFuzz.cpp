// libFuzzer harness of the network packet decoder: whatever bytes arrive, the decoder stays inside
// them, a packet it accepts encodes back to the same bytes, and the lockstep queue and hash check
// take what it hands them without harm.
#include <cstdlib>

#include "game/net/Lockstep.h"
#include "game/net/Packets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quorvex::Packet p;
  if (!quorvex::DecodePacket(data, size, &p)) return 0;
  const std::vector<uint8_t> again = quorvex::EncodePacket(p);
  if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
  if (p.frames.size() > quorvex::kMaxFramesPerPacket) std::abort();
  for (const auto& keys : p.frames) {
    if (keys.size() > quorvex::kMaxKeysPerFrame) std::abort();
  }
  quorvex::LockstepQueue queue(4);
  quorvex::HashCheck check;
  if (p.kind == quorvex::PacketKind::Input) queue.AddRemote(p.ack, p.frame, p.frames);
  if (p.kind == quorvex::PacketKind::Hash) check.AddRemote(p.frame, p.hash, 0, 10);
  return 0;
}
