#include "realtime/serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "base/format.h"

namespace tessaly::realtime {
namespace {

struct BaudEntry {
  int rate;
  speed_t speed;
};

constexpr BaudEntry kBaudRates[] = {
    {50, B50},           {75, B75},         {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},       {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},     {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200}, {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600}, {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000},
};

bool SpeedFor(int rate, speed_t& speed) {
  for (const BaudEntry& e : kBaudRates)
    if (e.rate == rate) {
      speed = e.speed;
      return true;
    }
  return false;
}

int RateFor(speed_t speed) {
  for (const BaudEntry& e : kBaudRates)
    if (e.speed == speed) return e.rate;
  return -1;
}

using Clock = std::chrono::steady_clock;

int Fd(intptr_t port) { return static_cast<int>(port); }

// Milliseconds left until `deadline` for poll(): -1 waits forever.
int PollTimeout(bool infinite, Clock::time_point deadline) {
  if (infinite) return -1;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

Clock::time_point DeadlineAfter(uint32_t timeoutMs) { return Clock::now() + std::chrono::milliseconds(timeoutMs); }

}  // namespace

std::string CSerial::DefaultComDevice(int portNumber) { return base::Format("/dev/ttyS%d", portNumber - 1); }

int32_t CSerial::OpenDevice(const std::string& deviceName, uint32_t, uint32_t, bool overlapped) {
  Succeed();
  if (IsOpen()) return Fail(kErrorAlreadyInitialized);
  const int fd = ::open(deviceName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Fail(errno);
  // TIOCEXCL does not hold against a privileged opener; the lock does, for
  // every opener that asks for it.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    return Fail(error);
  }
  ::ioctl(fd, TIOCEXCL);
  port_ = fd;
  overlapped_ = overlapped;
  SetEventMask(kDefaultEventMask);
  SetReadMode(0);
  // The platform's default configuration: a raw line, as a serial instrument
  // needs it; a device that is no terminal keeps whatever it has.
  termios tio{};
  if (::tcgetattr(Fd(port_), &tio) == 0) {
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(Fd(port_), TCSANOW, &tio);
  }
  return Succeed();
}

int32_t CSerial::ClosePort() {
  if (IsOpen()) {
    // The exclusive flag outlives our descriptor when another one stays open.
    ::ioctl(Fd(port_), TIOCNXCL);
    ::close(Fd(port_));
    port_ = -1;
  }
  return Succeed();
}

int32_t CSerial::FlushInput() {
  Succeed();
  if (!IsOpen()) return Fail(kErrorInvalidHandle);
  return ::tcflush(Fd(port_), TCIFLUSH) == 0 ? 0 : Fail(errno);
}

int32_t CSerial::Configure(int baudRate, int dataBits, int parity, int stopBits) {
  Succeed();
  if (!IsOpen()) return Fail(kErrorInvalidHandle);
  termios tio{};
  if (::tcgetattr(Fd(port_), &tio) != 0) return Fail(errno);
  speed_t speed;
  if (!SpeedFor(baudRate, speed)) return Fail(EINVAL);
  tcflag_t size;
  switch (dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return Fail(EINVAL);
  }
  if (parity < 0 || parity > 2 || (stopBits != 0 && stopBits != 2)) return Fail(EINVAL);
  ::cfsetispeed(&tio, speed);
  ::cfsetospeed(&tio, speed);
  tio.c_cflag = (tio.c_cflag & ~CSIZE) | size;
  tio.c_cflag &= ~(PARENB | PARODD);
  tio.c_iflag &= ~INPCK;
  if (parity != 0) {
    tio.c_cflag |= PARENB | (parity == 1 ? PARODD : 0);
    tio.c_iflag |= INPCK;
  }
  if (stopBits == 2)
    tio.c_cflag |= CSTOPB;
  else
    tio.c_cflag &= ~CSTOPB;
  if (::tcsetattr(Fd(port_), TCSANOW, &tio) != 0) return Fail(errno);
  return Succeed();
}

int32_t CSerial::SetEventCharacter(uint8_t character, bool adjustMask) {
  Succeed();
  if (!IsOpen()) return Fail(kErrorInvalidHandle);
  eventChar_ = character;
  if (adjustMask) return SetEventMask(QueryEventMask() | kEvRxFlag);
  return Succeed();
}

int32_t CSerial::SetEventMask(uint32_t mask) {
  Succeed();
  if (!IsOpen()) return Fail(kErrorInvalidHandle);
  eventMask_ = mask;
  return Succeed();
}

int32_t CSerial::WaitForEvent(uint32_t timeoutMs) {
  lastEvent_ = 0;
  if (const int32_t error = CheckIo(timeoutMs)) return error;
  const uint32_t input = eventMask_ & (kEvRxChar | kEvRxFlag);
  pollfd p{Fd(port_), static_cast<short>(input ? POLLIN : 0), 0};
  const bool infinite = timeoutMs == kInfinite;
  const Clock::time_point deadline = DeadlineAfter(infinite ? 0 : timeoutMs);
  for (;;) {
    const int n = ::poll(&p, 1, PollTimeout(infinite, deadline));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(errno);
    if (n == 0) return Fail(kErrorTimeout);
    break;
  }
  if (p.revents & POLLIN) lastEvent_ = input;
  if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) lastEvent_ |= eventMask_ & kEvErr;
  if (lastEvent_ == 0) return Fail(EIO);
  return Succeed();
}

int32_t CSerial::SetFlowControl(int mode) {
  Succeed();
  if (!IsOpen()) return Fail(kErrorInvalidHandle);
  if (mode < 0 || mode > 2) return Fail(kErrorInvalidArg);
  termios tio{};
  if (::tcgetattr(Fd(port_), &tio) != 0) return Fail(errno);
  tio.c_cflag &= ~CRTSCTS;
  tio.c_iflag &= ~(IXON | IXOFF);
  if (mode == 1) tio.c_cflag |= CRTSCTS;
  if (mode == 2) tio.c_iflag |= IXON | IXOFF;
  if (::tcsetattr(Fd(port_), TCSANOW, &tio) != 0) return Fail(errno);
  return Succeed();
}

namespace {

// Reads the line settings for a query; false (error recorded) when it cannot.
bool ReadLine(int fd, termios& tio, int32_t& error) {
  error = 0;
  if (fd < 0) {
    error = kErrorInvalidHandle;
    return false;
  }
  if (::tcgetattr(fd, &tio) != 0) {
    error = errno;
    return false;
  }
  return true;
}

}  // namespace

int CSerial::QueryBaudRate() {
  termios tio{};
  if (!ReadLine(Fd(port_), tio, lastError_)) return -1;
  return RateFor(::cfgetospeed(&tio));
}

int CSerial::QueryDataBits() {
  termios tio{};
  if (!ReadLine(Fd(port_), tio, lastError_)) return -1;
  switch (tio.c_cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
  }
}

int CSerial::QueryParity() {
  termios tio{};
  if (!ReadLine(Fd(port_), tio, lastError_)) return -1;
  if (!(tio.c_iflag & INPCK) || !(tio.c_cflag & PARENB)) return 0;
  return (tio.c_cflag & PARODD) ? 1 : 2;
}

int CSerial::QueryStopBits() {
  termios tio{};
  if (!ReadLine(Fd(port_), tio, lastError_)) return -1;
  return (tio.c_cflag & CSTOPB) ? 2 : 0;
}

int CSerial::QueryFlowControl() {
  termios tio{};
  if (!ReadLine(Fd(port_), tio, lastError_)) return -1;
  if (tio.c_cflag & CRTSCTS) return 1;
  if ((tio.c_iflag & IXON) && (tio.c_iflag & IXOFF)) return 2;
  return 0;
}

namespace {

// Moves up to `size` bytes with `transfer` (a read or a write returning its
// count), waiting for `events` on the descriptor while nothing moves, unless
// `wait` is false. 0, errno, or kErrorTimeout when the deadline passed.
template <typename Transfer>
int32_t Pump(int fd, Transfer transfer, uint32_t size, uint32_t& count, short events, bool wait, uint32_t timeoutMs) {
  const bool infinite = timeoutMs == kInfinite;
  const Clock::time_point deadline = DeadlineAfter(infinite ? 0 : timeoutMs);
  while (count < size) {
    // A raw terminal with VMIN = VTIME = 0 reads 0 (or EAGAIN) when empty.
    const ssize_t n = transfer(count, size - count);
    if (n > 0) {
      count += static_cast<uint32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return errno;
    if (!wait) break;
    pollfd p{fd, events, 0};
    const int ready = ::poll(&p, 1, PollTimeout(infinite, deadline));
    if (ready < 0 && errno != EINTR) return errno;
    if (ready == 0) return kErrorTimeout;
  }
  return 0;
}

}  // namespace

int32_t CSerial::WriteToLine(const void* data, uint32_t size, uint32_t& count, uint32_t timeoutMs) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  const auto write = [&](uint32_t at, uint32_t n) { return ::write(Fd(port_), bytes + at, n); };
  const int32_t result = Pump(Fd(port_), write, size, count, POLLOUT, true, timeoutMs);
  // What the driver has not sent by the time-out is cancelled with the call.
  if (result == kErrorTimeout) ::tcflush(Fd(port_), TCOFLUSH);
  return result;
}

int32_t CSerial::ReadFromLine(void* buffer, uint32_t size, uint32_t& count, uint32_t timeoutMs) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  const auto readSome = [&](uint32_t at, uint32_t n) { return ::read(Fd(port_), bytes + at, n); };
  return Pump(Fd(port_), readSome, size, count, POLLIN, readMode_ == 1, timeoutMs);
}

}  // namespace tessaly::realtime
