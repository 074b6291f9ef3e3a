#pragma once
// Ctrl-C (and SIGTERM on POSIX) for a command that stops cleanly when asked:
// from construction on, an interrupt no longer ends the program but is
// reported by Wait. Construct it on the main thread before starting any
// thread, so that only Wait takes the signals.
#include <cstdint>

namespace tessaly::cli {

class ConsoleInterrupt {
 public:
  ConsoleInterrupt();
  ConsoleInterrupt(const ConsoleInterrupt&) = delete;
  ConsoleInterrupt& operator=(const ConsoleInterrupt&) = delete;

  // Waits up to `timeoutMs` for an interrupt; true when one came.
  bool Wait(uint32_t timeoutMs);
};

}  // namespace tessaly::cli
