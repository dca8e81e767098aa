// What two machines of a network battle say to each other. Every packet starts with its kind;
// numbers are little-endian. A packet that is too short, too long, of an unknown kind or with a
// value out of range is refused whole: nothing of it reaches the game.
//   hello  kind, "QVNT", protocol version (u16)                  guest -> host, on connecting
//   start  kind, input delay (u8), replay text                   host -> guest: options, ships, seed
//   input  kind, frame (u32), key count (u8), count x (down u8, code u8)
//   hash   kind, frame (u32), state hash (u64)                   every kHashInterval frames
//   bye    kind, reason (u8), frame (u32)                        the sender leaves, and why
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Display.h"

namespace quorvex {

inline constexpr uint16_t kNetProtocolVersion = 1;
// Key events one player may send for one frame; a real hand makes a few.
inline constexpr size_t kMaxKeysPerFrame = 32;
// The start packet carries the ship files; a replay of the same holds the same bound.
inline constexpr size_t kMaxStartBytes = 8u << 20;
inline constexpr int kMinInputDelay = 1;
inline constexpr int kMaxInputDelay = 30;

enum class PacketKind : uint8_t { Hello = 1, Start = 2, Input = 3, Hash = 4, Bye = 5 };

enum class ByeReason : uint8_t { Leaving = 0, Full = 1, Version = 2, Differs = 3 };

struct Packet {
  PacketKind kind = PacketKind::Hello;
  uint16_t version = kNetProtocolVersion;  // hello
  int delay = 0;                           // start
  std::string text;                        // start
  int64_t frame = 0;                       // input, hash, bye
  std::vector<KeyEvent> keys;              // input
  uint64_t hash = 0;                       // hash
  ByeReason reason = ByeReason::Leaving;   // bye
};

std::vector<uint8_t> EncodePacket(const Packet& packet);

// False (and `out` unspecified) for anything but a well-formed packet.
bool DecodePacket(const uint8_t* data, size_t size, Packet* out);

}  // namespace quorvex
