// A UDP relay on the loopback address that makes a poor connection between two programs: each
// datagram, each way, is lost, held back (a delay with jitter), sent twice or held back further
// than those after it, as the conditions say. The client is whoever sends to the relay first;
// everything else the relay receives comes from the target.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace quorvex {

struct RelayConditions {
  int delayMs = 0;         // each way
  int jitterMs = 0;        // the delay varies by up to this much either side
  double loss = 0;         // a datagram is lost with this chance
  double duplicate = 0;    // ... sent twice with this chance
  double reorder = 0;      // ... held back behind the next ones with this chance
};

// "150 ms ± 30, 5 % loss": the conditions as the measurements name them.
std::string DescribeConditions(const RelayConditions& c);

struct RelayCounts {
  std::atomic<int> passed{0}, lost{0}, duplicated{0}, reordered{0};
};

struct Relay {
  int socket = -1;
  uint16_t port = 0;        // the relay's own port on 127.0.0.1: the client sends here
  uint16_t targetPort = 0;  // the target's port on 127.0.0.1
  RelayConditions conditions;
  unsigned seed = 1;
  RelayCounts counts;
  std::atomic<bool> stop{false};
  std::thread thread;

  Relay() = default;
  Relay(const Relay&) = delete;
  Relay& operator=(const Relay&) = delete;
  ~Relay();
};

// Opens the relay on 127.0.0.1:`listenPort` (0: any free port) towards 127.0.0.1:`targetPort` and
// starts relaying; false with the reason when the port cannot be had.
bool StartRelay(Relay& relay, uint16_t listenPort, uint16_t targetPort, const RelayConditions& conditions,
                std::string* error);
void StopRelay(Relay& relay);

}  // namespace quorvex
