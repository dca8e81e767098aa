// What two machines of a network battle say to each other. Every packet starts with its kind;
// numbers are little-endian. A packet that is too short, too long, of an unknown kind or with a
// value out of range is refused whole: nothing of it reaches the game.
//   hello  kind, "QVNT", protocol version (u16)                  guest -> host, on connecting
//   start  kind, input delay (u8), duel delay (u8), rollback window (u8), replay text
//                                                                host -> guest: options, ships, seed
//   input  kind, ack (u32), first frame (u32), lag (u8, 128 + frames the sender plays past the
//          last frame of keys it holds), frame count (u8), count x (key count (u8),
//          key count x (down u8, code u8))                       every frame, unreliable: the sender's
//          keys of every frame the receiver has not acknowledged, and the sender's acknowledgement:
//          it holds the receiver's keys up to frame `ack`
//   hash   kind, frame (u32), state hash (u64)                   every kHashInterval frames
//   bye    kind, reason (u8), frame (u32)                        the sender leaves, and why
//   ping   kind, number (u8)                                     host -> guest before the start
//   pong   kind, number (u8)                                     the guest's answer
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Display.h"

namespace quorvex {

inline constexpr uint16_t kNetProtocolVersion = 3;
// Key events one player may send for one frame; a real hand makes a few.
inline constexpr size_t kMaxKeysPerFrame = 32;
// Frames and bytes one input packet may carry: what goes unacknowledged at the longest input delay,
// in one datagram that is never split.
inline constexpr size_t kMaxFramesPerPacket = 64;
inline constexpr size_t kMaxInputBytes = 1024;
// The start packet carries the ship files; a replay of the same holds the same bound.
inline constexpr size_t kMaxStartBytes = 8u << 20;
inline constexpr int kMinInputDelay = 1;
inline constexpr int kMaxInputDelay = 30;
// Frames a duel may be played past the other player's last keys, on a guess of them.
inline constexpr int kMaxRollbackWindow = 24;
// How far the lag one machine reports may say it runs ahead or behind.
inline constexpr int kMaxLag = 127;

enum class PacketKind : uint8_t { Hello = 1, Start = 2, Input = 3, Hash = 4, Bye = 5, Ping = 6, Pong = 7 };

enum class ByeReason : uint8_t { Leaving = 0, Full = 1, Version = 2, Differs = 3 };

struct Packet {
  PacketKind kind = PacketKind::Hello;
  uint16_t version = kNetProtocolVersion;  // hello
  int delay = 0;                           // start
  int duelDelay = 0;                       // start: 1 .. delay
  int window = 0;                          // start: 0 .. kMaxRollbackWindow
  std::string text;                        // start
  int64_t frame = 0;                       // input (the first frame carried), hash, bye
  int64_t ack = 0;                         // input
  int lag = 0;                             // input: -kMaxLag .. kMaxLag
  std::vector<std::vector<KeyEvent>> frames;  // input: the keys of frame, frame + 1, ...
  int number = 0;                          // ping, pong
  uint64_t hash = 0;                       // hash
  ByeReason reason = ByeReason::Leaving;   // bye
};

std::vector<uint8_t> EncodePacket(const Packet& packet);

// False (and `out` unspecified) for anything but a well-formed packet.
bool DecodePacket(const uint8_t* data, size_t size, Packet* out);

}  // namespace quorvex
