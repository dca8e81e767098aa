#include "game/net/Packets.h"

#include <algorithm>

namespace quorvex {

namespace {

constexpr uint8_t kMagic[4] = {'Q', 'V', 'N', 'T'};
constexpr uint32_t kMaxFrame = 0x7fffffff;

void Put(std::vector<uint8_t>& b, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t Get(const uint8_t* p, int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
  return v;
}

}  // namespace

std::vector<uint8_t> EncodePacket(const Packet& p) {
  std::vector<uint8_t> b;
  b.push_back(static_cast<uint8_t>(p.kind));
  switch (p.kind) {
    case PacketKind::Hello:
      b.insert(b.end(), kMagic, kMagic + 4);
      Put(b, p.version, 2);
      break;
    case PacketKind::Start:
      Put(b, static_cast<uint64_t>(p.delay), 1);
      Put(b, static_cast<uint64_t>(p.duelDelay), 1);
      Put(b, static_cast<uint64_t>(p.window), 1);
      b.insert(b.end(), p.text.begin(), p.text.end());
      break;
    case PacketKind::Input:
      Put(b, static_cast<uint64_t>(p.ack), 4);
      Put(b, static_cast<uint64_t>(p.frame), 4);
      Put(b, static_cast<uint64_t>(std::clamp(p.lag, -kMaxLag, kMaxLag) + 128), 1);
      Put(b, p.frames.size(), 1);
      for (const std::vector<KeyEvent>& keys : p.frames) {
        Put(b, keys.size(), 1);
        for (const KeyEvent& k : keys) {
          Put(b, k.down ? 1 : 0, 1);
          Put(b, static_cast<uint64_t>(k.code), 1);
        }
      }
      break;
    case PacketKind::Hash:
      Put(b, static_cast<uint64_t>(p.frame), 4);
      Put(b, p.hash, 8);
      break;
    case PacketKind::Bye:
      Put(b, static_cast<uint64_t>(p.reason), 1);
      Put(b, static_cast<uint64_t>(p.frame), 4);
      break;
    case PacketKind::Ping:
    case PacketKind::Pong:
      Put(b, static_cast<uint64_t>(p.number), 1);
      break;
  }
  return b;
}

bool DecodePacket(const uint8_t* d, size_t size, Packet* out) {
  if (d == nullptr || size < 1) return false;
  Packet p;
  p.kind = static_cast<PacketKind>(d[0]);
  switch (d[0]) {
    case static_cast<uint8_t>(PacketKind::Hello):
      if (size != 7 || d[1] != kMagic[0] || d[2] != kMagic[1] || d[3] != kMagic[2] || d[4] != kMagic[3]) return false;
      p.version = static_cast<uint16_t>(Get(d + 5, 2));
      break;
    case static_cast<uint8_t>(PacketKind::Start):
      if (size < 4 || size - 4 > kMaxStartBytes) return false;
      p.delay = d[1];
      p.duelDelay = d[2];
      p.window = d[3];
      if (p.delay < kMinInputDelay || p.delay > kMaxInputDelay || p.duelDelay < kMinInputDelay ||
          p.duelDelay > p.delay || p.window > kMaxRollbackWindow) {
        return false;
      }
      p.text.assign(reinterpret_cast<const char*>(d + 4), size - 4);
      break;
    case static_cast<uint8_t>(PacketKind::Input): {
      if (size < 11 || size > kMaxInputBytes) return false;
      p.ack = static_cast<int64_t>(Get(d + 1, 4));
      p.frame = static_cast<int64_t>(Get(d + 5, 4));
      p.lag = static_cast<int>(d[9]) - 128;
      const size_t count = d[10];
      if (p.ack > kMaxFrame || p.frame < 1 || p.frame > kMaxFrame || count > kMaxFramesPerPacket ||
          p.frame + static_cast<int64_t>(count) - 1 > kMaxFrame || p.lag < -kMaxLag) {
        return false;
      }
      size_t at = 11;
      for (size_t f = 0; f < count; ++f) {
        if (at >= size) return false;
        const size_t keys = d[at++];
        if (keys > kMaxKeysPerFrame || size - at < 2 * keys) return false;
        std::vector<KeyEvent>& frame = p.frames.emplace_back();
        for (size_t i = 0; i < keys; ++i, at += 2) {
          const uint8_t down = d[at];
          const uint8_t code = d[at + 1];
          if (down > 1 || code == 0) return false;
          frame.push_back(KeyEvent{down == 1, code});
        }
      }
      if (at != size) return false;
      break;
    }
    case static_cast<uint8_t>(PacketKind::Hash):
      if (size != 13) return false;
      p.frame = static_cast<int64_t>(Get(d + 1, 4));
      if (p.frame < 1 || p.frame > kMaxFrame) return false;
      p.hash = Get(d + 5, 8);
      break;
    case static_cast<uint8_t>(PacketKind::Bye):
      if (size != 6 || d[1] > static_cast<uint8_t>(ByeReason::Differs)) return false;
      p.reason = static_cast<ByeReason>(d[1]);
      p.frame = static_cast<int64_t>(Get(d + 2, 4));
      if (p.frame > kMaxFrame) return false;
      break;
    case static_cast<uint8_t>(PacketKind::Ping):
    case static_cast<uint8_t>(PacketKind::Pong):
      if (size != 2) return false;
      p.number = d[1];
      break;
    default:
      return false;
  }
  *out = std::move(p);
  return true;
}

}  // namespace quorvex
