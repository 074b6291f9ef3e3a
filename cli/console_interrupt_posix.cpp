#include "console_interrupt.h"

#include <pthread.h>
#include <signal.h>

namespace tessaly::cli {
namespace {

sigset_t InterruptSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

// Threads started later inherit the blocked mask, so the signals wait for Wait.
ConsoleInterrupt::ConsoleInterrupt() {
  const sigset_t signals = InterruptSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

bool ConsoleInterrupt::Wait(uint32_t timeoutMs) {
  const sigset_t signals = InterruptSignals();
  const timespec timeout{static_cast<time_t>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1'000'000};
  return ::sigtimedwait(&signals, nullptr, &timeout) > 0;
}

}  // namespace tessaly::cli
