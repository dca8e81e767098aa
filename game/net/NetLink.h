// One end of a network battle's connection over ENet: the host listens on a UDP port and takes
// as its guest the first machine that greets it with a hello; the guest connects to it. The keys
// go unreliable and unordered (each packet carries what the last ones did, see Lockstep.h); the
// set-up, the state hashes and the goodbyes go reliable: ENet resends them until they arrive.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/net/Packets.h"

struct _ENetHost;
struct _ENetPeer;

namespace quorvex {

struct NetLink {
  _ENetHost* host = nullptr;
  _ENetPeer* peer = nullptr;  // the other machine, once connected (the host's guest: once it said hello)
  bool listening = false;     // this end hosts
  bool gone = false;          // the other machine disconnected or could not be reached
  int refused = 0;            // packets dropped as malformed or from a stranger
  // Since when each of the host's peer slots holds someone who is not the guest (0: free or the
  // guest): half-open or forged connection requests are dropped after a moment, so they cannot
  // keep the slots full and a real guest out.
  std::vector<int64_t> strangerSince;

  NetLink() = default;
  NetLink(const NetLink&) = delete;
  NetLink& operator=(const NetLink&) = delete;
  ~NetLink();
};

// Milliseconds of a steady clock: how long the network waits. Real time, never the game's clock.
int64_t NetNowMs();

// ENet once per program; false with the reason when the library cannot start.
bool NetStartup(std::string* error);

// Listens on UDP `port` of every address.
bool ListenOn(NetLink& link, uint16_t port, std::string* error);
// The UDP port a listening link took.
uint16_t ListeningPort(const NetLink& link);
// Connects to `address` (a name or a number) on UDP `port`, waiting at most `waitMs`, or until
// `cancelled` (asked every 50 ms) says so: then false with an empty error.
bool ConnectTo(NetLink& link, const std::string& address, uint16_t port, int waitMs, std::string* error,
               const std::function<bool()>& cancelled = {});

// Sends `packet` at once: keys and pings unreliable (unless `mustArrive`, for the last keys before
// a goodbye), everything else reliable.
void SendPacket(NetLink& link, const Packet& packet, bool mustArrive = false);

enum class NetEvent { None, Received, Gone };
// Waits at most `waitMs` for something to happen: a well-formed packet from the other machine, or
// the other machine gone. A host without a guest takes the first machine whose packet is a hello
// (its packet is the one received); once it has its guest, others are told the game is full and
// sent away. Malformed packets and strangers' packets are dropped and counted.
NetEvent Receive(NetLink& link, int waitMs, Packet* out);

// Says goodbye with `bye` (when the other machine is still there), lets it go out and closes.
void CloseLink(NetLink& link, const Packet* bye);

}  // namespace quorvex
