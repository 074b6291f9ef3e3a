#pragma once
// The simulated recorder on a pseudo-terminal: a program opens the device
// path as its serial port and talks to the Instrument behind it.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "instrument.h"

namespace tessaly::sim {

// A raw pseudo-terminal pair. The terminal side stays open here as well, so
// the line never hangs up while clients come and go.
class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // False, with the reason in `error`, when no pseudo-terminal can be had.
  bool Open(std::string& error);
  int MasterFd() const { return master_; }
  const std::string& DevicePath() const { return path_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

class InstrumentServer {
 public:
  explicit InstrumentServer(const InstrumentOptions& options);
  ~InstrumentServer();  // stops and joins a thread started with Start
  InstrumentServer(const InstrumentServer&) = delete;
  InstrumentServer& operator=(const InstrumentServer&) = delete;

  bool Open(std::string& error);
  const std::string& DevicePath() const { return pty_.DevicePath(); }

  // Answers requests until the instrument is finished (exitAfter) or Stop.
  void Serve();
  // Serve on a thread of its own.
  void Start();
  void Stop();

  uint64_t Requests() const { return requests_.load(); }

 private:
  using Clock = std::chrono::steady_clock;
  void Send(const Bytes& answer, Clock::time_point requestEnd);
  // Waits until `when`; false when stopped meanwhile.
  bool WaitUntil(Clock::time_point when);
  bool WriteAll(const uint8_t* data, size_t size);

  InstrumentOptions options_;
  Instrument instrument_;
  PseudoTerminal pty_;
  int wake_[2] = {-1, -1};
  std::atomic<uint64_t> requests_{0};
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;  // guarded by mutex_
  std::thread thread_;
};

}  // namespace tessaly::sim
