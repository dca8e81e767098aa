#include "game/replay/StopSignals.h"

#include <pthread.h>

#include <cstdlib>
#include <ctime>

namespace quorvex {

namespace {

sigset_t StopSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

StopSignals HoldStopSignals() {
  StopSignals held;
  const sigset_t set = StopSet();
  held.held = pthread_sigmask(SIG_BLOCK, &set, &held.before) == 0;
  return held;
}

int TakeStopSignal() {
  sigset_t pending;
  if (sigpending(&pending) != 0) return 0;
  if (!sigismember(&pending, SIGINT) && !sigismember(&pending, SIGTERM)) return 0;
  const sigset_t set = StopSet();
  const timespec now{0, 0};
  const int taken = sigtimedwait(&set, nullptr, &now);
  return taken > 0 ? taken : 0;
}

void ReleaseStopSignals(const StopSignals& held) {
  if (held.held) pthread_sigmask(SIG_SETMASK, &held.before, nullptr);
}

void DieOfSignal(int signal) {
  struct sigaction plain {};
  plain.sa_handler = SIG_DFL;
  sigemptyset(&plain.sa_mask);
  sigaction(signal, &plain, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  std::_Exit(128 + signal);  // in case the signal was ignored by the parent that started us
}

}  // namespace quorvex
