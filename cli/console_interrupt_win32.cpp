#include "console_interrupt.h"

#include <windows.h>

namespace tessaly::cli {
namespace {

// Signalled by the handler, which the system runs on a thread of its own.
HANDLE interrupted = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  ::SetEvent(interrupted);
  return TRUE;
}

}  // namespace

ConsoleInterrupt::ConsoleInterrupt() {
  if (!interrupted) interrupted = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool ConsoleInterrupt::Wait(uint32_t timeoutMs) {
  return ::WaitForSingleObject(interrupted, timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace tessaly::cli
