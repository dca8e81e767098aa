// netbattle: a scripted network battle between two game windows of this program (headless, on the
// real clock), the guest joining through the relay, once for each set of network conditions. Both
// players fly and fire for the whole time. Prints a table: frames per second on each side, the
// longest stall between two frames, how many frames late a player's own thrust key took effect on
// his own machine, rollbacks per second and the longest (in frames), and whether the state hashes
// agreed at every check and the two replays are the same.
//   netbattle [--seconds 20] [--data PROGRAM-FOLDER] [--only N] [--keep 1]
#include <SDL.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "game/net/NetBattle.h"
#include "game/replay/ReplayFile.h"
#include "game/config/ConfigFiles.h"
#include "platform/Files.h"
#include "platform/Keys.h"
#include "tools/netsim/Relay.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Side {
  fs::path folder, replays;
  std::unique_ptr<GameWindow> w = std::make_unique<GameWindow>();
  SdlClock clock;
  std::string message;
  std::vector<Clock::time_point> frameTimes;
  // Frames from a thrust press to the ship thrusting, and how many frames into its duel it was pressed.
  std::vector<std::pair<int, int>> keyLags;
  int duelFrames = 0;
  NetStats stats;
};

// Keys by frame: the armada and the first duel's start, then flying and firing in a round of 60
// frames, and the menus' Enter now and then should a duel end.
std::multimap<int, KeyEvent> Script(bool host) {
  const int thrust = host ? 'W' : vk::Up, left = host ? 'A' : vk::Left, right = host ? 'D' : vk::Right;
  const int fire = host ? ' ' : vk::Control;
  std::multimap<int, KeyEvent> s{{3, {true, right}}, {4, {false, right}}, {5, {true, fire}}, {6, {false, fire}},
                                 {host ? 14 : 22, {false, vk::Return}}};
  for (int f = 40; f < 100000; f += 60) {
    const int o = host ? 0 : 17;
    s.insert({{f + o, {true, thrust}}, {f + o + 25, {false, thrust}}, {f + o + 10, {true, left}},
              {f + o + 20, {false, left}}, {f + o + 30, {true, fire}}, {f + o + 45, {false, fire}}});
    if (f % 300 == 40) s.insert({f + 50, {false, vk::Return}});
  }
  return s;
}

bool PrepareSide(Side& side, const fs::path& data, const fs::path& dir, bool host, int frames, std::string* error) {
  side.folder = dir / "game";
  side.replays = dir / "replays";
  fs::create_directories(side.folder);
  for (const auto& entry : fs::directory_iterator(data)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".bmp" || ext == ".shp" || entry.path().filename() == "keys.cfg") {
      fs::copy_file(entry.path(), side.folder / entry.path().filename(), fs::copy_options::overwrite_existing);
    }
  }
  Options o;
  o.soundOn = o.musicOn = false;
  if (!SaveOptionsFile(side.folder / "options.cfg", o, error) ||
      !SaveDeviceFile(side.folder / "device.cfg", DeviceConfig{}, error) ||
      !SaveKeysFile(side.folder / "keys.cfg", KeyTable{}, error)) {
    return false;
  }
  side.w->headless = true;
  side.w->programDir = side.folder;
  side.w->clock = &side.clock;
  Side* s = &side;
  auto pressedAt = std::make_shared<int>(0);
  auto pressedInDuel = std::make_shared<int>(0);
  side.w->eventScript = [s, script = Script(host), frames, host, pressedAt, pressedInDuel](GameWindow& g) {
    s->frameTimes.push_back(Clock::now());
    const int frame = static_cast<int>(s->frameTimes.size());
    const ShipState& own = g.ship[host ? 0 : 1];
    if (*pressedAt > 0 && own.thrustHeld) {
      s->keyLags.emplace_back(frame - *pressedAt - 1, *pressedInDuel);
      *pressedAt = 0;
    }
    s->duelFrames = g.menuActive ? 0 : s->duelFrames + 1;
    const auto [from, to] = script.equal_range(frame);
    for (auto k = from; k != to; ++k) {
      g.events.keys.push_back(k->second);
      if (k->second.down && k->second.code == (host ? 'W' : vk::Up) && !g.menuActive && !own.thrustHeld) {
        *pressedAt = frame;
        *pressedInDuel = s->duelFrames;
      }
    }
    if (frame >= frames) g.events.closeRequested = true;
  };
  return true;
}

struct Measured {
  double fps = 0;
  int stallMs = 0;
  int keyLag = -1;       // the longest, once the menus' longer delay has run out in the duel
  int keyLagAtStart = -1;  // the longest before that
};

Measured Measure(const Side& side) {
  Measured m;
  const auto& t = side.frameTimes;
  const size_t first = std::min<size_t>(30, t.size());  // after the start
  if (t.size() > first + 1) {
    const double seconds = std::chrono::duration<double>(t.back() - t[first]).count();
    m.fps = static_cast<double>(t.size() - 1 - first) / seconds;
    for (size_t i = first + 1; i < t.size(); ++i) {
      m.stallMs = std::max<int>(m.stallMs, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(t[i] - t[i - 1]).count()));
    }
  }
  // At a duel's start the frames the menus' delay reached hold keys already: new ones wait for them.
  const int warmUp = side.stats.delay - side.stats.duelDelay;
  for (const auto& [lag, inDuel] : side.keyLags) (inDuel > warmUp ? m.keyLag : m.keyLagAtStart) = std::max(inDuel > warmUp ? m.keyLag : m.keyLagAtStart, lag);
  return m;
}

// The hashes both replays hold for the same frames agree, and there is at least one; `same`: the
// two replays are the same battle, record for record. The battle ends with both windows closed on
// their own, each machine's replay cut at the last frame it knows was played on the right keys:
// the two are compared up to the shorter one's end.
bool HashesAgree(const Side& a, const Side& b, int* checks, bool* same) {
  Replay ra, rb;
  std::string error;
  const auto na = ListFilesWithExtension(a.replays, ".qvr"), nb = ListFilesWithExtension(b.replays, ".qvr");
  if (na.size() != 1 || nb.size() != 1 || !LoadReplay(a.replays / na[0], &ra, &error) ||
      !LoadReplay(b.replays / nb[0], &rb, &error)) {
    return false;
  }
  *checks = 0;
  const int64_t end = std::min(ra.frameCount, rb.frameCount);
  for (Replay* r : {&ra, &rb}) {
    r->frames.erase(r->frames.upper_bound(end), r->frames.end());
    r->hashes.erase(r->hashes.upper_bound(end), r->hashes.end());
    r->frameCount = end;
  }
  *same = ReplayText(ra) == ReplayText(rb);
  for (const auto& [frame, hash] : ra.hashes) {
    const auto other = rb.hashes.find(frame);
    if (other == rb.hashes.end()) continue;
    if (other->second != hash) return false;
    ++*checks;
  }
  return *checks > 0;
}

std::string Fixed(double v, int decimals) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

}  // namespace
}  // namespace quorvex

int main(int argc, char** argv) {
  using namespace quorvex;
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "disk", 0);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
  int seconds = 20, only = -1;
  bool keep = false;  // the two games' folders and replays stay for a look
  fs::path data = QV_PROGRAM_DIR;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--seconds") seconds = std::clamp(std::atoi(argv[i + 1]), 3, 600);
    else if (arg == "--data") data = argv[i + 1];
    else if (arg == "--only") only = std::atoi(argv[i + 1]);
    else if (arg == "--keep") keep = std::atoi(argv[i + 1]) != 0;
  }
  const std::vector<RelayConditions> conditions = {
      {}, {50, 10, 0, 0, 0}, {150, 30, 0, 0, 0}, {300, 60, 0, 0, 0}, {0, 0, 0.05, 0, 0}, {0, 0, 0.20, 0, 0},
      {0, 0, 0, 0.25, 0.25}, {150, 30, 0.05, 0, 0},
  };
  char pattern[] = "/tmp/netbattle-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const fs::path tmp = pattern;
  const int frames = seconds * 1000 / 21;
  std::printf("| condition (each way) | fps host | fps guest | longest stall | own key shown after | rollbacks/s | "
              "longest rollback | hashes |\n|---|---|---|---|---|---|---|---|\n");
  std::fflush(stdout);
  int failures = 0;
  for (size_t n = 0; n < conditions.size(); ++n) {
    if (only >= 0 && static_cast<size_t>(only) != n) continue;
    Side host, guest;
    std::string error;
    const fs::path dir = tmp / std::to_string(n);
    if (!PrepareSide(host, data, dir / "host", true, frames, &error) ||
        !PrepareSide(guest, data, dir / "guest", false, frames, &error)) {
      std::fprintf(stderr, "netbattle: %s\n", error.c_str());
      return 1;
    }
    std::promise<uint16_t> port;
    std::future<uint16_t> listening = port.get_future();
    NetGameSetup hs, gs;
    hs.replayFolder = host.replays;
    gs.replayFolder = guest.replays;
    hs.listening = [&port](uint16_t p) { port.set_value(p); };
    hs.stats = &host.stats;
    gs.stats = &guest.stats;
    std::thread hostThread([&] { host.message = HostNetGame(*host.w, 0, hs); });
    Relay relay;
    relay.seed = static_cast<unsigned>(n + 1);
    if (!StartRelay(relay, 0, listening.get(), conditions[n], &error)) {
      std::fprintf(stderr, "netbattle: %s\n", error.c_str());
      return 1;
    }
    guest.message = JoinNetGame(*guest.w, "127.0.0.1", relay.port, gs);
    hostThread.join();
    StopRelay(relay);
    const Measured h = Measure(host), g = Measure(guest);
    int checks = 0;
    bool same = false;
    const bool hashesAgree = HashesAgree(host, guest, &checks, &same);
    const bool agree = hashesAgree && same;
    const bool ended = (host.message.empty() || host.message == "The other player left the game") &&
                       (guest.message.empty() || guest.message == "The other player left the game");
    failures += agree && ended ? 0 : 1;
    const int lag = std::max(h.keyLag, g.keyLag), lagAtStart = std::max(h.keyLagAtStart, g.keyLagAtStart);
    std::string ownKey = lag >= 0 ? std::to_string(lag) + (lag == 1 ? " frame" : " frames") : "?";
    if (lagAtStart > lag) ownKey += " (" + std::to_string(lagAtStart) + " in a duel's first " + std::to_string(host.stats.delay - host.stats.duelDelay) + ')';
    std::string hashes = !hashesAgree ? "DIFFER or missing"
                         : "equal at " + std::to_string(checks) + " checks, " + (same ? "same replays" : "REPLAYS DIFFER");
    if (!ended) hashes += "; ended: " + host.message + " / " + guest.message;
    // Rollbacks of both machines over the battle's time.
    const double played = std::max<double>(1, std::max(host.stats.frames, guest.stats.frames)) * 21 / 1000;
    const double perSecond = static_cast<double>(host.stats.rollbacks + guest.stats.rollbacks) / 2 / played;
    const int longest = std::max(host.stats.longestRollback, guest.stats.longestRollback);
    std::printf("| %s | %s | %s | %d ms | %s | %s | %d frames (window %d) | %s |\n",
                DescribeConditions(conditions[n]).c_str(), Fixed(h.fps, 1).c_str(), Fixed(g.fps, 1).c_str(),
                std::max(h.stallMs, g.stallMs), ownKey.c_str(),
                Fixed(perSecond, 1).c_str(), longest, host.stats.window, hashes.c_str());
    std::fflush(stdout);
  }
  std::error_code ec;
  if (keep) std::fprintf(stderr, "netbattle: the games are in %s\n", tmp.c_str());
  else fs::remove_all(tmp, ec);
  return failures == 0 ? 0 : 1;
}
