#pragma once
// The acquisition worker of a real-time page: opens the port, checks the
// instrument, then polls the channel values at the set pause, appends one
// record per poll to the page's store, plots it, and rotates the store into
// a .DT file every kRotationRecords records.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "realtime/record_store.h"

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::realtime {

class CommLog;

constexpr size_t kRotationRecords = 12'500;

// What the worker needs of its page. The desktop program implements it by
// handing each call to the UI thread and waiting for it; the command line
// implements it directly. Calls come from the worker thread, and from the
// caller's thread for the page actions (page_actions.h).
class AcquisitionPage {
 public:
  virtual ~AcquisitionPage() = default;

  // The chart: series i draws channel i + 1; colours are 0x00BBGGRR.
  virtual void AddPoint(int series, double value, const std::string& label, uint32_t color) = 0;
  virtual void ClearSeries(int series) = 0;
  virtual int PageCount() = 0;
  virtual void SetCurrentPage(int page) = 0;
  // "Auto Show Last Data": show the last chart page after every poll.
  virtual bool AutoFollow() = 0;

  // The communication log; null logs nothing.
  virtual CommLog* Log() = 0;
  // A modal message; returns when the user has seen it.
  virtual void ShowMessage(const std::string& utf8Text) = 0;

  // The file the next save writes. `showInField` also puts it in the
  // panel's path field (the rotation changes the path only).
  virtual std::string SavePath() = 0;
  virtual void SetSavePath(const std::string& path, bool showInField) = 0;
  // Ends with "/".
  virtual std::string ReceiveFolder() = 0;
};

// The settings of one run, taken when it starts, so the worker never reads
// what the UI thread may be changing.
struct AcquisitionSettings {
  std::string devicePath;  // when empty, COM port `comPort`
  int comPort = 1;
  int baudRate = 9600;
  int parity = 0;  // 0 none, 1 odd, 2 even
  int deviceAddress = 1;
  int pollIntervalMs = 1000;
  int language = 0;
  std::array<uint32_t, kRecordChannels> colors{};

  // Baud index 0..4 gives 2400..38400 (anything else 9600); parity index 1
  // odd, 2 even, anything else none.
  static AcquisitionSettings From(const recorder::CRecorderData& data);
};

enum class AcquisitionEnd { Stopped, PortFailed, SyncFailed, RotationFailed };

// The page's acquisition state: its flags, channel count and store, and the
// worker thread. The page must outlive it, and a page that goes away calls
// Interrupt() and Join() before its chart and panel go.
class Acquisition {
 public:
  explicit Acquisition(AcquisitionPage& page);
  ~Acquisition();  // interrupts and joins a running worker
  Acquisition(const Acquisition&) = delete;
  Acquisition& operator=(const Acquisition&) = delete;

  // Starts a worker when none runs (`idle` is 1); otherwise shows "系统忙，
  // 请稍后再试" / "Server busy, please retry later" and returns false.
  bool Start(const AcquisitionSettings& settings);
  // Clears `running`: the worker ends after its current cycle and pause.
  void Stop();
  // Stop, and cut the pause short. Any thread, also the page's calls.
  void Interrupt();
  // Waits for the worker, if any. Not from the thread that serves the
  // page's calls while a worker runs.
  void Join();

  // How the last worker ended (meaningful once `idle` is 1 again).
  AcquisitionEnd LastEnd() const { return lastEnd_.load(); }

  std::atomic<uint8_t> running{0};                     // 1 while the worker polls
  std::atomic<uint8_t> idle{1};                        // 1 while no worker runs
  std::atomic<int32_t> channelCount{kRecordChannels};  // read once at each start
  RecordStore records;

 private:
  void Run(const AcquisitionSettings& settings);
  AcquisitionEnd AcquisitionThread(const AcquisitionSettings& settings);
  bool Rotate(const AcquisitionSettings& settings, int channels);
  void Pause(int ms);

  AcquisitionPage& page_;
  std::thread thread_;
  std::atomic<AcquisitionEnd> lastEnd_{AcquisitionEnd::Stopped};
  std::mutex pauseMutex_;
  std::condition_variable pauseWake_;
  bool interrupted_ = false;  // guarded by pauseMutex_
};

}  // namespace tessaly::realtime
