// One end of a network battle's connection over ENet: the host listens on a UDP port and takes
// one guest; the guest connects to it. Every packet goes on one reliable, ordered channel, so
// ENet resends what the network loses and keys arrive in the order they were sent.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "game/net/Packets.h"

struct _ENetHost;
struct _ENetPeer;

namespace quorvex {

struct NetLink {
  _ENetHost* host = nullptr;
  _ENetPeer* peer = nullptr;  // the other machine, once connected
  bool gone = false;          // the other machine disconnected or could not be reached
  int refused = 0;            // packets dropped as malformed or from a stranger

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

void SendPacket(NetLink& link, const Packet& packet);

enum class NetEvent { None, Connected, Received, Gone };
// Waits at most `waitMs` for something to happen: a guest connected (the host's first one; a
// later one is told the game is full and sent away), a well-formed packet from the other machine,
// or the other machine gone. Malformed packets and strangers' packets are dropped and counted.
NetEvent Receive(NetLink& link, int waitMs, Packet* out);

// Says goodbye with `bye` (when the other machine is still there), lets it go out and closes.
void CloseLink(NetLink& link, const Packet* bye);

}  // namespace quorvex
