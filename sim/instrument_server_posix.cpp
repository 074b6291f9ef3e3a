#include "instrument_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "realtime/modbus.h"

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

InstrumentServer::InstrumentServer(const InstrumentOptions& options) : options_(options), instrument_(options) {}

InstrumentServer::~InstrumentServer() {
  Stop();
  if (thread_.joinable()) thread_.join();
  for (int fd : wake_)
    if (fd >= 0) ::close(fd);
}

bool InstrumentServer::Open(std::string& error) {
  if (::pipe2(wake_, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return pty_.Open(error);
}

void InstrumentServer::Start() {
  thread_ = std::thread([this] { Serve(); });
}

void InstrumentServer::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (stop_) return;
    stop_ = true;
  }
  stopped_.notify_all();
  if (wake_[1] >= 0) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = ::write(wake_[1], &byte, 1);
  }
}

bool InstrumentServer::WaitUntil(Clock::time_point when) {
  std::unique_lock lock(mutex_);
  return !stopped_.wait_until(lock, when, [this] { return stop_; });
}

bool InstrumentServer::WriteAll(const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(pty_.MasterFd(), data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

void InstrumentServer::Serve() {
  std::vector<Bytes> answers;
  while (!instrument_.Finished()) {
    pollfd p[2] = {{pty_.MasterFd(), POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (p[1].revents) return;
    if (!(p[0].revents & POLLIN)) return;
    uint8_t buffer[256];
    const ssize_t n = ::read(pty_.MasterFd(), buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return;
    const Clock::time_point received = Clock::now();
    answers.clear();
    const uint64_t before = instrument_.Requests();
    instrument_.Receive(buffer, static_cast<size_t>(n), answers);
    requests_ = instrument_.Requests();
    // The master asks one request at a time, so a late request's answer is
    // the last one of the bytes that completed it.
    bool late = false;
    for (uint64_t r = before + 1; r <= instrument_.Requests(); ++r) late = late || instrument_.AnswersLate(r);
    for (size_t i = 0; i < answers.size(); ++i) {
      const bool thisLate = late && i + 1 == answers.size();
      Send(answers[i], thisLate ? received + std::chrono::milliseconds(kLateAnswerMs) : received);
    }
  }
}

void InstrumentServer::Send(const Bytes& answer, Clock::time_point requestEnd) {
  const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / std::max(options_.baud, 1));
  // With pacing, the request itself took its wire time to arrive.
  Clock::time_point next = requestEnd + std::chrono::milliseconds(options_.delayMs);
  if (options_.pace) next += byteTime * static_cast<int64_t>(realtime::kRequestSize);
  if (!WaitUntil(next)) return;
  const size_t pieces = static_cast<size_t>(std::clamp<int>(options_.pieces, 1, static_cast<int>(answer.size())));
  size_t sent = 0;
  for (size_t piece = 0; piece < pieces; ++piece) {
    const size_t end = answer.size() * (piece + 1) / pieces;
    if (piece > 0 && !WaitUntil(Clock::now() + std::chrono::milliseconds(options_.pieceGapMs))) return;
    if (!options_.pace) {
      if (!WriteAll(answer.data() + sent, end - sent)) return;
      sent = end;
      continue;
    }
    next = std::max(next, Clock::now());
    for (; sent < end; ++sent) {
      next += byteTime;
      if (!WaitUntil(next) || !WriteAll(answer.data() + sent, 1)) return;
    }
  }
}

}  // namespace tessaly::sim
