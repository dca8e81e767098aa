// The packet codec: every kind survives a round trip, and malformed or hostile packets are refused
// whole (wrong sizes, counts that overrun the packet, bad frames, unknown kinds, random bytes).
#include <gtest/gtest.h>

#include <random>

#include "game/net/Packets.h"

namespace quorvex {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> b) {
  std::vector<uint8_t> v;
  for (int x : b) v.push_back(static_cast<uint8_t>(x));
  return v;
}

TEST(Packets, EveryKindRoundTrips) {
  Packet hello;
  Packet start;
  start.kind = PacketKind::Start;
  start.delay = 5;
  start.duelDelay = 2;
  start.window = 24;
  start.text = std::string("Quorvex replay 1\n\0binary\xff", 25);
  Packet input;
  input.kind = PacketKind::Input;
  input.frame = 0x7fffffff - 1;
  input.ack = 0x7fffffff;
  input.lag = -127;
  input.frames = {{{true, 'W'}, {false, 255}, {true, 1}}, {}};
  Packet ping;
  ping.kind = PacketKind::Ping;
  ping.number = 7;
  Packet pong = ping;
  pong.kind = PacketKind::Pong;
  Packet hash;
  hash.kind = PacketKind::Hash;
  hash.frame = 150;
  hash.hash = 0xfedcba9876543210ULL;
  Packet bye;
  bye.kind = PacketKind::Bye;
  bye.reason = ByeReason::Differs;
  bye.frame = 200;
  for (const Packet& p : {hello, start, input, hash, bye, ping, pong}) {
    const std::vector<uint8_t> b = EncodePacket(p);
    Packet q;
    ASSERT_TRUE(DecodePacket(b.data(), b.size(), &q)) << static_cast<int>(p.kind);
    EXPECT_EQ(q.kind, p.kind);
    EXPECT_EQ(q.version, p.version);
    EXPECT_EQ(q.delay, p.delay);
    EXPECT_EQ(q.duelDelay, p.duelDelay);
    EXPECT_EQ(q.window, p.window);
    EXPECT_EQ(q.lag, p.lag);
    EXPECT_EQ(q.text, p.text);
    EXPECT_EQ(q.frame, p.frame);
    EXPECT_EQ(q.hash, p.hash);
    EXPECT_EQ(q.reason, p.reason);
    EXPECT_EQ(q.ack, p.ack);
    EXPECT_EQ(q.number, p.number);
    ASSERT_EQ(q.frames.size(), p.frames.size());
    for (size_t f = 0; f < q.frames.size(); ++f) {
      ASSERT_EQ(q.frames[f].size(), p.frames[f].size());
      for (size_t i = 0; i < q.frames[f].size(); ++i) {
        EXPECT_EQ(q.frames[f][i].down, p.frames[f][i].down);
        EXPECT_EQ(q.frames[f][i].code, p.frames[f][i].code);
      }
    }
  }
}

TEST(Packets, MalformedPacketsAreRefused) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> longStart(4 + kMaxStartBytes + 1, 'x');
  longStart[0] = 2;
  longStart[1] = 4;
  longStart[2] = 1;
  longStart[3] = 0;
  // Input: kind, ack (4), first frame (4), lag (128 + frames), frame count, then each frame's key
  // count and keys.
  std::vector<uint8_t> manyKeys = Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0, 128, 1, 33});
  for (int i = 0; i < 33; ++i) manyKeys.insert(manyKeys.end(), {1, 'W'});
  std::vector<uint8_t> manyFrames = Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0, 128, 65});
  manyFrames.resize(manyFrames.size() + 65, 0);
  std::vector<uint8_t> tooLong = Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0, 128, 32});
  for (int f = 0; f < 32; ++f) {
    tooLong.push_back(16);
    for (int i = 0; i < 16; ++i) tooLong.insert(tooLong.end(), {1, 'W'});
  }
  const Case cases[] = {
      {"empty", {}},
      {"unknown kind", Bytes({9, 0, 0, 0})},
      {"kind zero", Bytes({0})},
      {"hello short", Bytes({1, 'Q', 'V', 'N', 'T', 1})},
      {"hello long", Bytes({1, 'Q', 'V', 'N', 'T', 1, 0, 0})},
      {"hello wrong magic", Bytes({1, 'Q', 'V', 'N', 'X', 1, 0})},
      {"start without delay", Bytes({2})},
      {"start delay 0", Bytes({2, 0, 1, 0, 'a'})},
      {"start delay too long", Bytes({2, 31, 1, 0, 'a'})},
      {"start without the duel's delay and window", Bytes({2, 4})},
      {"start duel delay 0", Bytes({2, 4, 0, 0, 'a'})},
      {"start duel delay longer than the delay", Bytes({2, 4, 5, 0, 'a'})},
      {"start rollback window too long", Bytes({2, 4, 2, 25, 'a'})},
      {"input lag out of range", Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0, 0, 0})},
      {"start too large", longStart},
      {"input short", Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0})},
      {"input frame count past the end", Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0, 128, 2, 0})},
      {"input key count past the end", Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0, 128, 1, 2, 1, 'W'})},
      {"input bytes after the keys", Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0, 128, 1, 1, 1, 'W', 0})},
      {"input too many keys in a frame", manyKeys},
      {"input too many frames", manyFrames},
      {"input longer than a datagram may be", tooLong},
      {"input first frame 0", Bytes({3, 4, 0, 0, 0, 0, 0, 0, 0, 128, 0})},
      {"input first frame past the range", Bytes({3, 4, 0, 0, 0, 0, 0, 0, 0x80, 128, 0})},
      {"input frames running past the range", Bytes({3, 4, 0, 0, 0, 0xff, 0xff, 0xff, 0x7f, 128, 2, 0, 0})},
      {"input acknowledgement past the range", Bytes({3, 0, 0, 0, 0x80, 5, 0, 0, 0, 128, 0})},
      {"input down not 0 or 1", Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0, 128, 1, 1, 2, 'W'})},
      {"input key code 0", Bytes({3, 4, 0, 0, 0, 5, 0, 0, 0, 128, 1, 1, 1, 0})},
      {"ping short", Bytes({6})},
      {"pong long", Bytes({7, 1, 2})},
      {"hash short", Bytes({4, 50, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7})},
      {"hash long", Bytes({4, 50, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9})},
      {"hash frame 0", Bytes({4, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8})},
      {"bye unknown reason", Bytes({5, 4, 0, 0, 0, 0})},
      {"bye short", Bytes({5, 0, 0, 0, 0})},
  };
  for (const Case& c : cases) {
    Packet p;
    EXPECT_FALSE(DecodePacket(c.bytes.data(), c.bytes.size(), &p)) << c.what;
  }
  Packet p;
  EXPECT_FALSE(DecodePacket(nullptr, 5, &p));
}

// Random bytes and every truncation of valid packets: refused or decoded within the bounds, never
// read past the end (the sanitizers watch).
TEST(Packets, RandomAndTruncatedBytesStayInBounds) {
  std::mt19937 gen(7);
  for (int n = 0; n < 20000; ++n) {
    std::vector<uint8_t> b(gen() % 80);
    for (auto& x : b) x = static_cast<uint8_t>(gen());
    if (!b.empty()) b[0] = static_cast<uint8_t>(1 + gen() % 7);
    Packet p;
    if (DecodePacket(b.data(), b.size(), &p)) {
      EXPECT_LE(p.frames.size(), kMaxFramesPerPacket);
      for (const auto& keys : p.frames) EXPECT_LE(keys.size(), kMaxKeysPerFrame);
      EXPECT_EQ(EncodePacket(p), b) << "a packet read is the packet sent";
    }
  }
  Packet input;
  input.kind = PacketKind::Input;
  input.frame = 9;
  input.ack = 6;
  input.frames = {{{true, 'A'}, {false, 'A'}}, {}, {{true, 'B'}}};
  const std::vector<uint8_t> whole = EncodePacket(input);
  for (size_t size = 0; size < whole.size(); ++size) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    Packet p;
    EXPECT_FALSE(DecodePacket(cut.data(), cut.size(), &p)) << size;
  }
}

}  // namespace
}  // namespace quorvex
