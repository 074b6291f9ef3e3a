#include "instrument_server.h"

#include <algorithm>

#include <windows.h>

#include "base/utf16.h"
#include "realtime/serial.h"

// Windows has no pseudo-terminals: the simulated recorder answers on one end
// of a COM port pair (com0com or the like), and the program opens the other.
// Every wait also waits on the stop event, so Stop ends Serve.
namespace tessaly::sim {
namespace {

constexpr const char* kNoPseudoTerminals = "pseudo-terminals do not exist on Windows";

// Between looks at the input queue. A read waiting for bytes would be simpler,
// but wine leaves one pending on a pseudo-terminal when bytes come, and its
// WaitCommEvent fails there; a read of what the queue holds completes
// everywhere. (Windows' timer makes the wait up to 16 ms; the master's
// time-out is a second.)
constexpr DWORD kQueuePollMs = 1;

int LastError() { return static_cast<int>(::GetLastError()); }

// True when an overlapped operation began: it completed or is pending.
bool Began(BOOL result) { return result || ::GetLastError() == ERROR_IO_PENDING; }

// An operation's structure on `done`, which the operation then signals.
OVERLAPPED On(HANDLE done) {
  ::ResetEvent(done);
  OVERLAPPED operation{};
  operation.hEvent = done;
  return operation;
}

}  // namespace

PseudoTerminal::~PseudoTerminal() = default;

bool PseudoTerminal::Open(std::string& error) {
  error = kNoPseudoTerminals;
  return false;
}

// The port, the events its operations complete on, and the stop event.
struct InstrumentServer::Line {
  HANDLE port = INVALID_HANDLE_VALUE;
  HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE readDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE writeDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Line() {
    if (port != INVALID_HANDLE_VALUE) ::CloseHandle(port);
    for (HANDLE event : {stop, readDone, writeDone})
      if (event) ::CloseHandle(event);
  }

  // Waits for an operation that `began`: true with its byte count in `count`
  // once it completed, false when stopped (it is cancelled) or failed.
  bool Finish(OVERLAPPED& operation, bool began, DWORD& count) {
    count = 0;
    if (!began) return false;
    const HANDLE events[2] = {operation.hEvent, stop};
    if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
      ::CancelIoEx(port, &operation);
      ::GetOverlappedResult(port, &operation, &count, TRUE);
      return false;
    }
    return ::GetOverlappedResult(port, &operation, &count, TRUE);
  }
};

void InstrumentServer::LineDeleter::operator()(Line* line) const { delete line; }

bool InstrumentServer::ServesComPorts() { return true; }

bool InstrumentServer::OpenLine(std::string& error) {
  if (comPort_ <= 0) {
    error = kNoPseudoTerminals;
    return false;
  }
  line_.reset(new Line);
  path_ = realtime::CSerial::ComPortPath(comPort_);
  Line& line = *line_;
  if (!line.stop || !line.readDone || !line.writeDone) {
    error = CannotOpen(path_, LastError());
    return false;
  }
  line.port = ::CreateFileW(base::Utf8ToUtf16(path_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OVERLAPPED, nullptr);
  if (line.port == INVALID_HANDLE_VALUE) {
    error = CannotOpen(path_, LastError());
    return false;
  }
  // Raw 8N1 without flow control or driver time-outs.
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  COMMTIMEOUTS none{};
  if (!::GetCommState(line.port, &dcb)) {
    error = CannotSetUp(path_, LastError());
    return false;
  }
  dcb.BaudRate = static_cast<DWORD>(options_.baud);
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fOutX = dcb.fInX = FALSE;
  dcb.fDsrSensitivity = dcb.fNull = dcb.fAbortOnError = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  if (!::SetCommState(line.port, &dcb) || !::SetCommTimeouts(line.port, &none)) {
    error = CannotSetUp(path_, LastError());
    return false;
  }
  return true;
}

void InstrumentServer::WakeReader() {
  if (line_->stop) ::SetEvent(line_->stop);
}

size_t InstrumentServer::ReadLine(uint8_t* buffer, size_t size) {
  Line& line = *line_;
  for (;;) {
    COMSTAT status{};
    DWORD errors = 0;
    if (!::ClearCommError(line.port, &errors, &status)) return 0;
    if (status.cbInQue > 0) {
      // Only what the queue holds is asked for, so the read completes at once.
      OVERLAPPED read = On(line.readDone);
      const DWORD wanted = static_cast<DWORD>(std::min<size_t>(size, status.cbInQue));
      DWORD count = 0;
      if (!line.Finish(read, Began(::ReadFile(line.port, buffer, wanted, nullptr, &read)), count)) return 0;
      if (count > 0) return count;
    }
    if (::WaitForSingleObject(line.stop, kQueuePollMs) != WAIT_TIMEOUT) return 0;
  }
}

bool InstrumentServer::WriteAll(const uint8_t* data, size_t size) {
  Line& line = *line_;
  while (size > 0) {
    OVERLAPPED write = On(line.writeDone);
    DWORD count = 0;
    if (!line.Finish(write, Began(::WriteFile(line.port, data, static_cast<DWORD>(size), nullptr, &write)), count) ||
        count == 0)
      return false;
    data += count;
    size -= count;
  }
  return true;
}

}  // namespace tessaly::sim
