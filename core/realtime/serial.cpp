#include "realtime/serial.h"

#include <cstdlib>
#include <cstring>

#include "base/format.h"

// What every platform shares; the line itself is in serial_posix.cpp and
// serial_win32.cpp.
namespace tessaly::realtime {

CSerial::~CSerial() { ClosePort(); }

std::string CSerial::ComPortPath(int portNumber) {
  const std::string variable = base::Format("TESSALY_COM%d", portNumber);
  if (const char* path = std::getenv(variable.c_str()); path && *path) return path;
  return DefaultComDevice(portNumber);
}

int CSerial::OpenComPort(int portNumber, int baudRate, int dataBits, int parity, int stopBits) {
  return OpenPort(ComPortPath(portNumber), baudRate, dataBits, parity, stopBits);
}

int CSerial::OpenPort(const std::string& path, int baudRate, int dataBits, int parity, int stopBits) {
  ClosePort();
  if (OpenDevice(path, 0, 0, true) != 0) return 0;
  if (Configure(baudRate, dataBits, parity, stopBits) != 0 || SetEventMask(kDefaultEventMask) != 0) {
    const int32_t error = lastError_;
    ClosePort();
    lastError_ = error;
    return 0;
  }
  return 1;
}

int32_t CSerial::SetReadMode(int mode) {
  Succeed();
  if (!IsOpen()) return Fail(kErrorInvalidHandle);
  if (mode != 0 && mode != 1) return Fail(kErrorInvalidArg);
  readMode_ = mode;
  return Succeed();
}

uint32_t CSerial::QueryEventMask() {
  Succeed();
  if (!IsOpen()) {
    Fail(kErrorInvalidHandle);
    return 0;
  }
  return eventMask_;
}

uint8_t CSerial::QueryEventCharacter() {
  Succeed();
  if (!IsOpen()) {
    Fail(kErrorInvalidHandle);
    return 0;
  }
  return eventChar_;
}

int32_t CSerial::CheckIo(uint32_t timeoutMs) {
  Succeed();
  if (!IsOpen()) return Fail(kErrorInvalidHandle);
  if (!overlapped_ && timeoutMs != kInfinite) return Fail(kErrorInvalidFunction);
  return 0;
}

int32_t CSerial::WriteBytes(const void* data, uint32_t size, uint32_t* written, uint32_t timeoutMs) {
  uint32_t local = 0;
  uint32_t& count = written ? *written : local;
  count = 0;
  if (const int32_t error = CheckIo(timeoutMs)) return error;
  return lastError_ = WriteToLine(data, size, count, timeoutMs);
}

int32_t CSerial::ReadBytes(void* buffer, uint32_t size, uint32_t* read, uint32_t timeoutMs) {
  uint32_t local = 0;
  uint32_t& count = read ? *read : local;
  count = 0;
  if (const int32_t error = CheckIo(timeoutMs)) return error;
  return lastError_ = ReadFromLine(buffer, size, count, timeoutMs);
}

int32_t CSerial::WriteText(const char* text, uint32_t* written, uint32_t timeoutMs) {
  return WriteBytes(text, static_cast<uint32_t>(std::strlen(text)), written, timeoutMs);
}

}  // namespace tessaly::realtime
