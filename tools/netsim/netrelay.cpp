// netrelay: a poor connection between two programs on this machine, for trying network battles.
//   netrelay --to 27960 [--listen 27961] [--delay 150] [--jitter 30] [--loss 0.05] [--dup 0.25]
//            [--reorder 0.25] [--seed 1]
// The host listens on 127.0.0.1:27960; the guest joins 127.0.0.1:27961. The conditions apply each
// way. Ends on Ctrl-C or SIGTERM and says how many datagrams it passed, lost, repeated and reordered.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "tools/netsim/Relay.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void OnSignal(int) { stopRequested = 1; }

bool Number(const char* text, double lo, double hi, double* out) {
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(v >= lo && v <= hi)) return false;
  *out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quorvex;
  RelayConditions c;
  double listen = 0, to = 0, seed = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    double v = 0;
    const bool hasValue = i + 1 < argc;
    bool ok = hasValue;
    if (arg == "--listen") ok = ok && Number(argv[++i], 0, 65535, &listen);
    else if (arg == "--to") ok = ok && Number(argv[++i], 1, 65535, &to);
    else if (arg == "--delay") ok = ok && Number(argv[++i], 0, 10000, &v), c.delayMs = static_cast<int>(v);
    else if (arg == "--jitter") ok = ok && Number(argv[++i], 0, 10000, &v), c.jitterMs = static_cast<int>(v);
    else if (arg == "--loss") ok = ok && Number(argv[++i], 0, 1, &c.loss);
    else if (arg == "--dup") ok = ok && Number(argv[++i], 0, 1, &c.duplicate);
    else if (arg == "--reorder") ok = ok && Number(argv[++i], 0, 1, &c.reorder);
    else if (arg == "--seed") ok = ok && Number(argv[++i], 0, 4e9, &seed);
    else ok = false;
    if (!ok) {
      std::fprintf(stderr, "usage: netrelay --to PORT [--listen PORT] [--delay MS] [--jitter MS] [--loss P] "
                           "[--dup P] [--reorder P] [--seed N]\n");
      return 2;
    }
  }
  if (to == 0) {
    std::fprintf(stderr, "netrelay: --to PORT is needed\n");
    return 2;
  }
  if (listen == 0) listen = to + 1;
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  Relay relay;
  relay.seed = static_cast<unsigned>(seed);
  std::string error;
  if (!StartRelay(relay, static_cast<uint16_t>(listen), static_cast<uint16_t>(to), c, &error)) {
    std::fprintf(stderr, "netrelay: %s\n", error.c_str());
    return 1;
  }
  std::printf("netrelay: 127.0.0.1:%u -> 127.0.0.1:%u, %s each way\n", relay.port, relay.targetPort,
              DescribeConditions(c).c_str());
  std::fflush(stdout);
  while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  StopRelay(relay);
  std::printf("netrelay: %d passed, %d lost, %d repeated, %d reordered\n", relay.counts.passed.load(),
              relay.counts.lost.load(), relay.counts.duplicated.load(), relay.counts.reordered.load());
  return 0;
}
