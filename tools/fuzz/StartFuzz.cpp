// libFuzzer harness of a network start as the guest takes it: the packet decoded, the replay
// text inside read, the ship files written out and every check the guest makes before it opens
// its window.
#include <cstdlib>
#include <string>

#include "game/net/Packets.h"
#include "game/replay/ReplayFile.h"
#include "game/replay/ShipCopies.h"
#include "game/replay/StateCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The start packet's kind byte is given: the rest of the packet comes from the fuzzer.
  std::string packet(1, static_cast<char>(quorvex::PacketKind::Start));
  packet.append(reinterpret_cast<const char*>(data), size);
  quorvex::Packet p;
  if (!quorvex::DecodePacket(reinterpret_cast<const uint8_t*>(packet.data()), packet.size(), &p)) return 0;
  if (p.kind != quorvex::PacketKind::Start || p.delay < quorvex::kMinInputDelay || p.delay > quorvex::kMaxInputDelay) {
    std::abort();
  }
  quorvex::Replay start;
  std::string problem;
  if (!quorvex::ParseReplay(p.text, &start, &problem)) return 0;
  quorvex::ShipCopies ships;
  if (!ships.Write(start.shipFiles, "fuzz", &problem)) return 0;
  quorvex::CheckStart(start, ships, &problem);
  return 0;
}
