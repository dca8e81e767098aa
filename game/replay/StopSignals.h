// Ctrl-C (SIGINT) and SIGTERM during a replay: held back while it plays and looked for between
// frames, so a playback that runs for long, or a window that never closes, still ends at once.
#pragma once
#include <signal.h>

namespace quorvex {

struct StopSignals {
  sigset_t before{};  // the thread's signal mask before they were held
  bool held = false;
};

// Holds SIGINT and SIGTERM back from this thread (and the threads it starts from now on).
StopSignals HoldStopSignals();
// The signal waiting to be taken (SIGINT or SIGTERM), taken; 0 when none came.
int TakeStopSignal();
// Lets the signals through again as before.
void ReleaseStopSignals(const StopSignals& held);
// Ends the process as that signal ends it, once the game is shut down: the caller's shell or
// `timeout` sees the signal, as with any other program.
[[noreturn]] void DieOfSignal(int signal);

// Holds them for as long as it lives.
struct HeldStopSignals {
  StopSignals held = HoldStopSignals();
  HeldStopSignals() = default;
  HeldStopSignals(const HeldStopSignals&) = delete;
  HeldStopSignals& operator=(const HeldStopSignals&) = delete;
  ~HeldStopSignals() { ReleaseStopSignals(held); }
};

}  // namespace quorvex
