#include "game/net/NetLink.h"

#include <enet/enet.h>

#include <chrono>
#include <mutex>

namespace quorvex {

namespace {

// Peer slots: the guest, and room to tell others that the game is full. A connection request takes
// a slot until it is answered; a flood of them is cleared out by SendAwayStrangers.
constexpr size_t kPeers = 16;
// A stranger's slot is freed after this long: a connection still being set up (a real guest's
// takes one round trip), or one that was told the game is full and has had time to hear it.
constexpr int64_t kHalfOpenMs = 1000;
constexpr int64_t kToldFullMs = 3000;
// ENet's own time-outs: the game gives up on a silent peer long before these.
constexpr enet_uint32 kPeerTimeoutMs = 10000;

// Channel 0: set-up, goodbyes and the unreliable keys; channel 1: the state hashes, reliable, so
// that a resent hash never holds keys back.
constexpr size_t kChannels = 2;

// Keys never wait for ENet's flow control: a packet it drops is a frame of keys late.
void KeepEveryPacket(ENetPeer* peer) {
  enet_peer_timeout(peer, 0, kPeerTimeoutMs, kPeerTimeoutMs);
  enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
}

void Configure(NetLink& link) {
  link.host->maximumPacketSize = 2 + kMaxStartBytes;
  link.host->maximumWaitingData = 4 * (2 + kMaxStartBytes);
}

// Frees the slots of peers other than the guest that have held one too long.
void SendAwayStrangers(NetLink& link) {
  ENetHost* host = link.host;
  link.strangerSince.resize(host->peerCount, 0);
  const int64_t now = NetNowMs();
  for (size_t i = 0; i < host->peerCount; ++i) {
    ENetPeer* peer = &host->peers[i];
    int64_t& since = link.strangerSince[i];
    if (peer == link.peer || peer->state == ENET_PEER_STATE_DISCONNECTED) {
      since = 0;
      continue;
    }
    if (since == 0) since = now;
    const bool settingUp = peer->state < ENET_PEER_STATE_CONNECTED;
    if (now - since > (settingUp ? kHalfOpenMs : kToldFullMs)) {
      enet_peer_reset(peer);
      since = 0;
    }
  }
}

}  // namespace

int64_t NetNowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

NetLink::~NetLink() { CloseLink(*this, nullptr); }

bool NetStartup(std::string* error) {
  // ENet keeps process-wide state of its own: it starts once, whoever asks first.
  static std::once_flag once;
  static int status = 0;
  std::call_once(once, [] {
    status = enet_initialize();
    if (status == 0) std::atexit(enet_deinitialize);
  });
  if (status != 0) *error = "The network library (ENet) cannot start";
  return status == 0;
}

bool ListenOn(NetLink& link, uint16_t port, std::string* error) {
  if (!NetStartup(error)) return false;
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = port;
  link.host = enet_host_create(&address, kPeers, kChannels, 0, 0);
  if (link.host == nullptr) {
    *error = "Cannot listen on UDP port " + std::to_string(port) + " (is another game using it?)";
    return false;
  }
  Configure(link);
  link.listening = true;
  return true;
}

uint16_t ListeningPort(const NetLink& link) { return link.host ? link.host->address.port : 0; }

bool ConnectTo(NetLink& link, const std::string& address, uint16_t port, int waitMs, std::string* error,
               const std::function<bool()>& cancelled) {
  if (!NetStartup(error)) return false;
  const std::string where = address + ":" + std::to_string(port);
  ENetAddress to{};
  if (enet_address_set_host(&to, address.c_str()) != 0) {
    *error = "Cannot find the address " + address;
    return false;
  }
  to.port = port;
  link.host = enet_host_create(nullptr, 1, kChannels, 0, 0);
  if (link.host == nullptr) {
    *error = "Cannot open a network connection";
    return false;
  }
  Configure(link);
  link.peer = enet_host_connect(link.host, &to, kChannels, 0);
  if (link.peer == nullptr) {
    *error = "Cannot connect to " + where;
    return false;
  }
  enet_peer_timeout(link.peer, 0, kPeerTimeoutMs, kPeerTimeoutMs);
  const int64_t end = NetNowMs() + waitMs;
  ENetEvent event;
  for (int64_t now = NetNowMs(); now < end; now = NetNowMs()) {
    if (cancelled && cancelled()) {
      enet_peer_reset(link.peer);
      link.peer = nullptr;
      error->clear();
      return false;
    }
    if (enet_host_service(link.host, &event, static_cast<enet_uint32>(std::min<int64_t>(end - now, 50))) <= 0) continue;
    if (event.type == ENET_EVENT_TYPE_CONNECT) {
      KeepEveryPacket(link.peer);
      return true;
    }
    if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
    if (event.type == ENET_EVENT_TYPE_DISCONNECT) break;
  }
  enet_peer_reset(link.peer);
  link.peer = nullptr;
  *error = "No game answers at " + where;
  return false;
}

void SendPacket(NetLink& link, const Packet& packet, bool mustArrive) {
  if (link.peer == nullptr || link.gone) return;
  const std::vector<uint8_t> bytes = EncodePacket(packet);
  // Keys and pings go once: the next one carries the same again. The rest is resent until it arrives.
  const bool once = !mustArrive && (packet.kind == PacketKind::Input || packet.kind == PacketKind::Ping ||
                                    packet.kind == PacketKind::Pong);
  const enet_uint8 channel = packet.kind == PacketKind::Hash ? 1 : 0;
  ENetPacket* p = enet_packet_create(bytes.data(), bytes.size(), once ? ENET_PACKET_FLAG_UNSEQUENCED : ENET_PACKET_FLAG_RELIABLE);
  if (p != nullptr && enet_peer_send(link.peer, channel, p) != 0) enet_packet_destroy(p);
  enet_host_flush(link.host);
}

NetEvent Receive(NetLink& link, int waitMs, Packet* out) {
  if (link.host == nullptr) return NetEvent::Gone;
  ENetEvent event;
  const int64_t end = NetNowMs() + waitMs;
  for (;;) {
    SendAwayStrangers(link);
    const int64_t left = end - NetNowMs();
    if (enet_host_service(link.host, &event, static_cast<enet_uint32>(left > 0 ? left : 0)) <= 0) return NetEvent::None;
    switch (event.type) {
      case ENET_EVENT_TYPE_CONNECT:
        // Before its guest said hello a host keeps every newcomer: one that never says it is swept away.
        if (link.peer != nullptr && event.peer != link.peer) {
          Packet full;
          full.kind = PacketKind::Bye;
          full.reason = ByeReason::Full;
          const std::vector<uint8_t> bytes = EncodePacket(full);
          ENetPacket* p = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
          if (p != nullptr && enet_peer_send(event.peer, 0, p) != 0) enet_packet_destroy(p);
          enet_peer_disconnect_later(event.peer, 0);
        }
        break;
      case ENET_EVENT_TYPE_RECEIVE: {
        const bool choosing = link.listening && link.peer == nullptr && !link.gone;
        const bool fromPeer = event.peer == link.peer || choosing;
        bool ok = fromPeer && DecodePacket(event.packet->data, event.packet->dataLength, out);
        if (ok && choosing) {
          ok = out->kind == PacketKind::Hello;
          if (ok) {
            link.peer = event.peer;
            KeepEveryPacket(link.peer);
          }
        }
        enet_packet_destroy(event.packet);
        if (ok) return NetEvent::Received;
        ++link.refused;
        break;
      }
      case ENET_EVENT_TYPE_DISCONNECT:
        if (event.peer == link.peer) {
          link.gone = true;
          link.peer = nullptr;
          return NetEvent::Gone;
        }
        break;
      default:
        break;
    }
    if (NetNowMs() >= end) return NetEvent::None;
  }
}

void CloseLink(NetLink& link, const Packet* bye) {
  if (link.host == nullptr) return;
  if (link.peer != nullptr && !link.gone) {
    if (bye != nullptr) SendPacket(link, *bye);
    enet_peer_disconnect_later(link.peer, 0);
    // A short wait lets the goodbye out; a peer that does not answer is dropped.
    ENetEvent event;
    const int64_t end = NetNowMs() + 300;
    while (NetNowMs() < end && enet_host_service(link.host, &event, 20) >= 0) {
      if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
      if (event.type == ENET_EVENT_TYPE_DISCONNECT && event.peer == link.peer) break;
    }
  }
  enet_host_destroy(link.host);
  link.host = nullptr;
  link.peer = nullptr;
}

}  // namespace quorvex
