#pragma once
// The simulated recorder on a serial line: a pseudo-terminal of its own
// (POSIX), or one end of a COM port pair (Windows). A program opens the other
// end as its serial port and talks to the Instrument behind it.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
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
  // comPort 0: a pseudo-terminal; n: COM port n, where ServesComPorts().
  explicit InstrumentServer(const InstrumentOptions& options, int comPort = 0);
  ~InstrumentServer();  // stops and joins a thread started with Start
  InstrumentServer(const InstrumentServer&) = delete;
  InstrumentServer& operator=(const InstrumentServer&) = delete;

  // Windows has COM port pairs and no pseudo-terminals; POSIX the reverse.
  static bool ServesComPorts();

  bool Open(std::string& error);
  const std::string& DevicePath() const { return path_; }

  // Answers requests until the instrument is finished (exitAfter) or Stop.
  void Serve();
  // Serve on a thread of its own.
  void Start();
  void Stop();

  uint64_t Requests() const { return requests_.load(); }

 private:
  using Clock = std::chrono::steady_clock;
  // The platform's line (instrument_server_posix.cpp / _win32.cpp).
  struct Line;
  struct LineDeleter {
    void operator()(Line* line) const;
  };
  // Creates line_ and sets path_.
  bool OpenLine(std::string& error);
  // The reasons OpenLine gives for a port it cannot open or set up, with the system's error code.
  static std::string CannotOpen(const std::string& path, int code);
  static std::string CannotSetUp(const std::string& path, int code);
  // Waits for bytes: their count, or 0 once stopped or when the line fails.
  size_t ReadLine(uint8_t* buffer, size_t size);
  bool WriteAll(const uint8_t* data, size_t size);
  // Makes a waiting ReadLine return.
  void WakeReader();

  void Send(const Bytes& answer, Clock::time_point requestEnd);
  // Waits until `when`; false when stopped meanwhile.
  bool WaitUntil(Clock::time_point when);

  InstrumentOptions options_;
  int comPort_;
  Instrument instrument_;
  std::string path_;
  std::unique_ptr<Line, LineDeleter> line_;
  std::atomic<uint64_t> requests_{0};
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;  // guarded by mutex_
  std::thread thread_;
};

}  // namespace tessaly::sim
