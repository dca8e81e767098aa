#include "tools/netsim/Relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <queue>
#include <random>
#include <vector>

namespace quorvex {

namespace {

using Time = std::chrono::steady_clock::time_point;

struct Held {
  Time due;
  uint64_t order = 0;  // ties go in the order received
  bool toTarget = true;
  std::vector<char> bytes;
  bool operator>(const Held& o) const { return due != o.due ? due > o.due : order > o.order; }
};

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port);
  return a;
}

void Run(Relay& relay) {
  std::mt19937 gen(relay.seed);
  std::uniform_real_distribution<double> chance(0, 1);
  const RelayConditions& c = relay.conditions;
  std::priority_queue<Held, std::vector<Held>, std::greater<>> held;
  const sockaddr_in target = Loopback(relay.targetPort);
  sockaddr_in client{};
  bool haveClient = false;
  uint64_t order = 0;
  std::vector<char> buffer(65536);
  auto hold = [&](bool toTarget, std::vector<char> bytes, int extraMs) {
    const int jitter = c.jitterMs > 0 ? static_cast<int>(gen() % static_cast<unsigned>(2 * c.jitterMs + 1)) - c.jitterMs : 0;
    const int ms = std::max(0, c.delayMs + jitter + extraMs);
    held.push(Held{std::chrono::steady_clock::now() + std::chrono::milliseconds(ms), order++, toTarget, std::move(bytes)});
  };
  while (!relay.stop) {
    int waitMs = 5;
    if (!held.empty()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(held.top().due - std::chrono::steady_clock::now());
      waitMs = static_cast<int>(std::clamp<int64_t>(left.count(), 0, 5));
    }
    pollfd p{relay.socket, POLLIN, 0};
    if (::poll(&p, 1, waitMs) > 0) {
      sockaddr_in from{};
      socklen_t len = sizeof from;
      const ssize_t n = ::recvfrom(relay.socket, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &len);
      if (n >= 0 && from.sin_addr.s_addr == htonl(INADDR_LOOPBACK)) {
        const bool fromTarget = from.sin_port == target.sin_port;
        if (!fromTarget && !haveClient) {
          client = from;
          haveClient = true;
        }
        const bool known = fromTarget || (from.sin_port == client.sin_port);
        if (known && chance(gen) < c.loss) {
          ++relay.counts.lost;
        } else if (known) {
          std::vector<char> bytes(buffer.begin(), buffer.begin() + n);
          // Held back behind what comes in the next few tens of milliseconds.
          const int extra = chance(gen) < c.reorder ? 30 + static_cast<int>(gen() % 40) : 0;
          if (extra > 0) ++relay.counts.reordered;
          if (chance(gen) < c.duplicate) {
            ++relay.counts.duplicated;
            hold(!fromTarget, bytes, extra + static_cast<int>(gen() % 20));
          }
          hold(!fromTarget, std::move(bytes), extra);
        }
      }
    }
    for (auto now = std::chrono::steady_clock::now(); !held.empty() && held.top().due <= now;) {
      const Held& h = held.top();
      const sockaddr_in& to = h.toTarget ? target : client;
      ::sendto(relay.socket, h.bytes.data(), h.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
      ++relay.counts.passed;
      held.pop();
    }
  }
}

}  // namespace

std::string DescribeConditions(const RelayConditions& c) {
  std::string text;
  auto add = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
  auto percent = [](double v) { return std::to_string(static_cast<int>(v * 100 + 0.5)) + " %"; };
  if (c.delayMs > 0 || c.jitterMs > 0) {
    add(std::to_string(c.delayMs) + " ms" + (c.jitterMs > 0 ? " ± " + std::to_string(c.jitterMs) : ""));
  }
  if (c.loss > 0) add(percent(c.loss) + " loss");
  if (c.duplicate > 0) add(percent(c.duplicate) + " duplication");
  if (c.reorder > 0) add(percent(c.reorder) + " reordering");
  return text.empty() ? "none" : text;
}

Relay::~Relay() { StopRelay(*this); }

bool StartRelay(Relay& relay, uint16_t listenPort, uint16_t targetPort, const RelayConditions& conditions,
                std::string* error) {
  relay.socket = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in a = Loopback(listenPort);
  if (relay.socket < 0 || ::bind(relay.socket, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    *error = "Cannot listen on 127.0.0.1:" + std::to_string(listenPort);
    if (relay.socket >= 0) ::close(relay.socket);
    relay.socket = -1;
    return false;
  }
  socklen_t len = sizeof a;
  ::getsockname(relay.socket, reinterpret_cast<sockaddr*>(&a), &len);
  relay.port = ntohs(a.sin_port);
  relay.targetPort = targetPort;
  relay.conditions = conditions;
  relay.stop = false;
  relay.thread = std::thread([&relay] { Run(relay); });
  return true;
}

void StopRelay(Relay& relay) {
  relay.stop = true;
  if (relay.thread.joinable()) relay.thread.join();
  if (relay.socket >= 0) ::close(relay.socket);
  relay.socket = -1;
}

}  // namespace quorvex
