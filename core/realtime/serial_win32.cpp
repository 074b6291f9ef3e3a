#include "realtime/serial.h"

#include <algorithm>

#include <windows.h>

#include "base/format.h"
#include "base/utf16.h"

// The port is always opened for overlapped I/O with no driver time-outs:
// every wait is bounded here, by waiting on the operation's event, and an
// operation whose time is up is cancelled.
namespace tessaly::realtime {
namespace {

HANDLE PortHandle(intptr_t port) { return reinterpret_cast<HANDLE>(port); }

// One overlapped operation's structure with its own event.
class Operation {
 public:
  Operation() { overlapped_.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr); }
  ~Operation() {
    if (overlapped_.hEvent) ::CloseHandle(overlapped_.hEvent);
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  // Runs `start` (a call taking the OVERLAPPED) and waits up to `timeoutMs`
  // for it; the bytes moved in `count`. 0, kErrorTimeout (the operation
  // cancelled, `count` what it had moved) or the system's error.
  template <typename Start>
  int32_t Run(HANDLE port, Start start, uint32_t timeoutMs, DWORD& count) {
    count = 0;
    if (!overlapped_.hEvent) return static_cast<int32_t>(::GetLastError());
    if (!start(&overlapped_)) {
      const DWORD error = ::GetLastError();
      if (error != ERROR_IO_PENDING) return static_cast<int32_t>(error);
      if (::WaitForSingleObject(overlapped_.hEvent, timeoutMs) == WAIT_TIMEOUT) {
        ::CancelIoEx(port, &overlapped_);
        ::GetOverlappedResult(port, &overlapped_, &count, TRUE);
        return kErrorTimeout;
      }
    }
    if (!::GetOverlappedResult(port, &overlapped_, &count, TRUE)) return static_cast<int32_t>(::GetLastError());
    return 0;
  }

 private:
  OVERLAPPED overlapped_{};
};

}  // namespace

std::string CSerial::DefaultComDevice(int portNumber) { return base::Format("\\\\.\\COM%d", portNumber); }

int32_t CSerial::OpenDevice(const std::string& deviceName, uint32_t inQueueSize, uint32_t outQueueSize,
                            bool overlapped) {
  Succeed();
  if (IsOpen()) return Fail(kErrorAlreadyInitialized);
  // No sharing: a second opener in any process is refused.
  const HANDLE port = ::CreateFileW(base::Utf8ToUtf16(deviceName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) return Fail(static_cast<int32_t>(::GetLastError()));
  COMMTIMEOUTS none{};
  if ((inQueueSize || outQueueSize) && !::SetupComm(port, inQueueSize, outQueueSize)) {
    const DWORD error = ::GetLastError();
    ::CloseHandle(port);
    return Fail(static_cast<int32_t>(error));
  }
  ::SetCommTimeouts(port, &none);
  port_ = reinterpret_cast<intptr_t>(port);
  overlapped_ = overlapped;
  SetEventMask(kDefaultEventMask);
  SetReadMode(0);
  return Succeed();
}

int32_t CSerial::ClosePort() {
  if (IsOpen()) {
    ::CloseHandle(PortHandle(port_));
    port_ = -1;
  }
  return Succeed();
}

int32_t CSerial::FlushInput() {
  Succeed();
  if (!IsOpen()) return Fail(kErrorInvalidHandle);
  if (!::PurgeComm(PortHandle(port_), PURGE_RXABORT | PURGE_RXCLEAR)) return Fail(::GetLastError());
  return Succeed();
}

namespace {

// Reads the line settings; false (error recorded) when it cannot.
bool ReadLine(intptr_t port, DCB& dcb, int32_t& error) {
  error = 0;
  if (port == -1) {
    error = kErrorInvalidHandle;
    return false;
  }
  dcb = DCB{};
  dcb.DCBlength = sizeof dcb;
  if (!::GetCommState(PortHandle(port), &dcb)) {
    error = static_cast<int32_t>(::GetLastError());
    return false;
  }
  return true;
}

}  // namespace

int32_t CSerial::Configure(int baudRate, int dataBits, int parity, int stopBits) {
  DCB dcb;
  if (!ReadLine(port_, dcb, lastError_)) return lastError_;
  if (baudRate <= 0 || dataBits < 5 || dataBits > 8 || parity < 0 || parity > 2 || stopBits < 0 || stopBits > 2)
    return Fail(ERROR_INVALID_PARAMETER);
  // The codes are the DCB's own: NOPARITY, ODDPARITY, EVENPARITY and
  // ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS.
  dcb.BaudRate = static_cast<DWORD>(baudRate);
  dcb.ByteSize = static_cast<BYTE>(dataBits);
  dcb.Parity = static_cast<BYTE>(parity);
  dcb.StopBits = static_cast<BYTE>(stopBits);
  dcb.fBinary = TRUE;
  dcb.fParity = parity != 0;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  if (!::SetCommState(PortHandle(port_), &dcb)) return Fail(::GetLastError());
  return Succeed();
}

int32_t CSerial::SetEventCharacter(uint8_t character, bool adjustMask) {
  DCB dcb;
  if (!ReadLine(port_, dcb, lastError_)) return lastError_;
  dcb.EvtChar = static_cast<char>(character);
  if (!::SetCommState(PortHandle(port_), &dcb)) return Fail(::GetLastError());
  eventChar_ = character;
  if (adjustMask) return SetEventMask(QueryEventMask() | kEvRxFlag);
  return Succeed();
}

int32_t CSerial::SetEventMask(uint32_t mask) {
  Succeed();
  if (!IsOpen()) return Fail(kErrorInvalidHandle);
  if (!::SetCommMask(PortHandle(port_), mask)) return Fail(::GetLastError());
  eventMask_ = mask;
  return Succeed();
}

int32_t CSerial::WaitForEvent(uint32_t timeoutMs) {
  lastEvent_ = 0;
  if (const int32_t error = CheckIo(timeoutMs)) return error;
  const HANDLE port = PortHandle(port_);
  DWORD events = 0, ignored = 0;
  Operation operation;
  const int32_t result = operation.Run(
      port, [&](OVERLAPPED* o) { return ::WaitCommEvent(port, &events, o); }, timeoutMs, ignored);
  if (result != 0) return Fail(result);
  lastEvent_ = events & eventMask_;
  return Succeed();
}

int32_t CSerial::SetFlowControl(int mode) {
  DCB dcb;
  if (!ReadLine(port_, dcb, lastError_)) return lastError_;
  if (mode < 0 || mode > 2) return Fail(kErrorInvalidArg);
  dcb.fOutxCtsFlow = mode == 1;
  dcb.fRtsControl = mode == 1 ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  dcb.fOutX = dcb.fInX = mode == 2;
  if (mode == 2) {
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
  }
  if (!::SetCommState(PortHandle(port_), &dcb)) return Fail(::GetLastError());
  return Succeed();
}

int CSerial::QueryBaudRate() {
  DCB dcb;
  return ReadLine(port_, dcb, lastError_) ? static_cast<int>(dcb.BaudRate) : -1;
}

int CSerial::QueryDataBits() {
  DCB dcb;
  return ReadLine(port_, dcb, lastError_) ? dcb.ByteSize : -1;
}

int CSerial::QueryParity() {
  DCB dcb;
  if (!ReadLine(port_, dcb, lastError_)) return -1;
  return dcb.Parity <= EVENPARITY ? dcb.Parity : 0;
}

int CSerial::QueryStopBits() {
  DCB dcb;
  return ReadLine(port_, dcb, lastError_) ? dcb.StopBits : -1;
}

int CSerial::QueryFlowControl() {
  DCB dcb;
  if (!ReadLine(port_, dcb, lastError_)) return -1;
  if (dcb.fOutxCtsFlow) return 1;
  if (dcb.fOutX && dcb.fInX) return 2;
  return 0;
}

int32_t CSerial::WriteToLine(const void* data, uint32_t size, uint32_t& count, uint32_t timeoutMs) {
  const HANDLE port = PortHandle(port_);
  DWORD done = 0;
  Operation operation;
  const int32_t result = operation.Run(
      port, [&](OVERLAPPED* o) { return ::WriteFile(port, data, size, nullptr, o); }, timeoutMs, done);
  count = done;
  // What the driver has not sent by the time-out is cancelled with the call.
  if (result == kErrorTimeout) ::PurgeComm(port, PURGE_TXABORT | PURGE_TXCLEAR);
  return result;
}

int32_t CSerial::ReadFromLine(void* buffer, uint32_t size, uint32_t& count, uint32_t timeoutMs) {
  const HANDLE port = PortHandle(port_);
  uint32_t wanted = size;
  if (readMode_ == 0) {
    // Returning at once: only what the input queue holds is asked for, so
    // the read completes without waiting on any driver's time-out rules.
    COMSTAT status{};
    DWORD errors = 0;
    if (!::ClearCommError(port, &errors, &status)) return static_cast<int32_t>(::GetLastError());
    wanted = std::min<uint32_t>(size, status.cbInQue);
    if (wanted == 0) return 0;
  }
  DWORD done = 0;
  Operation operation;
  const int32_t result = operation.Run(
      port, [&](OVERLAPPED* o) { return ::ReadFile(port, buffer, wanted, nullptr, o); }, timeoutMs, done);
  count = done;
  return result;
}

}  // namespace tessaly::realtime
