#include "instrument_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tessaly::sim {

PseudoTerminal::~PseudoTerminal() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

bool PseudoTerminal::Open(std::string& error) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  char name[256];
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
      ::ptsname_r(master_, name, sizeof name) != 0) {
    error = std::strerror(errno);
    return false;
  }
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios tio{};
  if (slave_ < 0 || ::tcgetattr(slave_, &tio) != 0) {
    error = std::strerror(errno);
    return false;
  }
  ::cfmakeraw(&tio);
  if (::tcsetattr(slave_, TCSANOW, &tio) != 0) {
    error = std::strerror(errno);
    return false;
  }
  path_ = name;
  return true;
}

// The pseudo-terminal and a pipe whose byte wakes the reader.
struct InstrumentServer::Line {
  PseudoTerminal pty;
  int wake[2] = {-1, -1};
  ~Line() {
    for (int fd : wake)
      if (fd >= 0) ::close(fd);
  }
};

void InstrumentServer::LineDeleter::operator()(Line* line) const { delete line; }

bool InstrumentServer::ServesComPorts() { return false; }

bool InstrumentServer::OpenLine(std::string& error) {
  line_.reset(new Line);
  if (::pipe2(line_->wake, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (!line_->pty.Open(error)) return false;
  path_ = line_->pty.DevicePath();
  return true;
}

void InstrumentServer::WakeReader() {
  if (line_->wake[1] < 0) return;
  const char byte = 0;
  [[maybe_unused]] const ssize_t n = ::write(line_->wake[1], &byte, 1);
}

size_t InstrumentServer::ReadLine(uint8_t* buffer, size_t size) {
  for (;;) {
    pollfd p[2] = {{line_->pty.MasterFd(), POLLIN, 0}, {line_->wake[0], POLLIN, 0}};
    if (::poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return 0;
    }
    if (p[1].revents || !(p[0].revents & POLLIN)) return 0;
    const ssize_t n = ::read(line_->pty.MasterFd(), buffer, size);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    return n > 0 ? static_cast<size_t>(n) : 0;
  }
}

bool InstrumentServer::WriteAll(const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(line_->pty.MasterFd(), data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace tessaly::sim
