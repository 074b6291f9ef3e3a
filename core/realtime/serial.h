#pragma once
// One serial port: POSIX termios (serial_posix.cpp) or Win32 communications
// (serial_win32.cpp). Every operation records an error code and returns it
// (or, for the queries, a value); nothing throws.
//
// The codes callers test by number keep their Windows values (below); any
// other failure returns the platform's errno or GetLastError().
//
// On POSIX, overlapped I/O has no counterpart. What it gave the callers is kept:
// the descriptor is always non-blocking, reads in mode 0 return at once with
// what has arrived, writes return when the bytes are handed to the driver or
// when their time-out expires. A port opened with `overlapped` = false
// behaves as a plainly synchronous one: a finite time-out is refused with
// kErrorInvalidFunction, as it was there. The queue sizes of OpenDevice are
// accepted and ignored (termios has no such setting). On Windows they reach
// SetupComm; the port is opened for overlapped I/O whatever `overlapped`
// says, and every wait is bounded by the call's own time-out.
#include <cstdint>
#include <string>

namespace tessaly::realtime {

constexpr int32_t kErrorInvalidFunction = 1;
constexpr int32_t kErrorInvalidHandle = 6;
constexpr int32_t kErrorAlreadyInitialized = 1247;
constexpr int32_t kErrorTimeout = 1460;
constexpr int32_t kErrorInvalidArg = static_cast<int32_t>(0x80070057u);

constexpr uint32_t kInfinite = 0xFFFFFFFFu;

// Event bits of SetEventMask / WaitForEvent (Windows' EV_ bits). termios
// cannot tell the event character apart from any other byte, so on POSIX
// kEvRxFlag is reported like kEvRxChar; a hang-up or line error as kEvErr.
constexpr uint32_t kEvRxChar = 0x01;
constexpr uint32_t kEvRxFlag = 0x02;
constexpr uint32_t kEvBreak = 0x40;
constexpr uint32_t kEvErr = 0x80;
constexpr uint32_t kDefaultEventMask = kEvBreak | kEvErr | kEvRxChar;

// Parity codes: 0 none, 1 odd, 2 even. Stop-bit codes: 0 one, 2 two (1, one
// and a half, exists on Windows only; POSIX refuses it with EINVAL).
class CSerial {
 public:
  CSerial() = default;
  virtual ~CSerial();
  CSerial(const CSerial&) = delete;
  CSerial& operator=(const CSerial&) = delete;

  // Port n is the device named by the environment variable TESSALY_COM<n>
  // when it is set, else /dev/ttyS<n-1> (\\.\COM<n> on Windows).
  static std::string ComPortPath(int portNumber);

  // Closes an open port, opens and configures the new one with the default
  // event mask. 1 on success; 0 (and the port closed) on any failure.
  virtual int OpenComPort(int portNumber, int baudRate, int dataBits, int parity, int stopBits);
  // The same for a device given by its path.
  virtual int OpenPort(const std::string& path, int baudRate, int dataBits, int parity, int stopBits);

  // Opens exclusively (TIOCEXCL and an advisory lock, so a second opener in
  // any process is refused) in raw mode; kErrorAlreadyInitialized when this
  // object already has a port open.
  virtual int32_t OpenDevice(const std::string& deviceName, uint32_t inQueueSize = 0, uint32_t outQueueSize = 0,
                             bool overlapped = true);
  virtual int32_t ClosePort();  // 0, also when nothing is open
  // Drops every byte received and not yet read.
  virtual int32_t FlushInput();

  virtual int32_t Configure(int baudRate, int dataBits, int parity, int stopBits);
  virtual int32_t SetEventCharacter(uint8_t character, bool adjustMask = true);
  virtual int32_t SetEventMask(uint32_t mask);
  // Waits for an event of the mask (kErrorTimeout when none came in time).
  virtual int32_t WaitForEvent(uint32_t timeoutMs = kInfinite);
  virtual int32_t SetFlowControl(int mode);  // 0 none, 1 RTS/CTS, 2 XON/XOFF
  virtual int32_t SetReadMode(int mode);     // 0 return at once, 1 wait for the count

  virtual int QueryBaudRate();
  virtual int QueryDataBits();
  virtual int QueryParity();
  virtual int QueryStopBits();
  virtual int QueryFlowControl();
  virtual uint32_t QueryEventMask();
  virtual uint8_t QueryEventCharacter();

  virtual int32_t WriteText(const char* text, uint32_t* written = nullptr, uint32_t timeoutMs = kInfinite);
  virtual int32_t WriteBytes(const void* data, uint32_t size, uint32_t* written = nullptr,
                             uint32_t timeoutMs = kInfinite);
  virtual int32_t ReadBytes(void* buffer, uint32_t size, uint32_t* read = nullptr, uint32_t timeoutMs = kInfinite);

  bool IsOpen() const { return port_ != -1; }
  int32_t LastError() const { return lastError_; }
  uint32_t LastEvent() const { return lastEvent_; }

 private:
  int32_t Fail(int32_t code) { return lastError_ = code; }
  int32_t Succeed() { return lastError_ = 0; }
  // Common entry of the I/O calls: kErrorInvalidHandle / kErrorInvalidFunction or 0.
  int32_t CheckIo(uint32_t timeoutMs);
  // The platform's halves of WriteBytes and ReadBytes, on an open port with
  // `count` cleared: the bytes moved go to `count`; the result code.
  int32_t WriteToLine(const void* data, uint32_t size, uint32_t& count, uint32_t timeoutMs);
  int32_t ReadFromLine(void* buffer, uint32_t size, uint32_t& count, uint32_t timeoutMs);
  static std::string DefaultComDevice(int portNumber);

  int32_t lastError_ = 0;
  // A descriptor, or a HANDLE on Windows; -1 when closed.
  intptr_t port_ = -1;
  uint32_t lastEvent_ = 0;
  uint32_t eventMask_ = 0;
  uint8_t eventChar_ = 0;
  int readMode_ = 0;
  bool overlapped_ = false;
};

}  // namespace tessaly::realtime
