#pragma once
// A real-time page for the tests: records what the worker and the page
// actions do to the chart, the log, the messages and the save path.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "realtime/acquisition.h"
#include "realtime/comm_log.h"

namespace tessaly::realtime {

class FakePage : public AcquisitionPage, public CommLog {
 public:
  struct Point {
    double value;
    std::string label;
    uint32_t color;
  };

  void AddPoint(int series, double value, const std::string& label, uint32_t color) override {
    points[series].push_back({value, label, color});
    if (series == 0 && onCycle) onCycle(++cycles);
  }
  void ClearSeries(int series) override {
    points[series].clear();
    ++clears[series];
  }
  int PageCount() override { return 3; }
  void SetCurrentPage(int page) override { currentPage = page; }
  bool AutoFollow() override { return autoFollow; }
  CommLog* Log() override { return this; }
  void AddLine(const std::string& text) override { log.push_back(text); }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::string SavePath() override { return savePath; }
  void SetSavePath(const std::string& path, bool showInField) override {
    savePath = path;
    if (showInField) pathField = path;
  }
  std::string ReceiveFolder() override { return receiveFolder; }

  std::array<std::vector<Point>, kRecordChannels> points;
  std::array<int, kRecordChannels> clears{};
  int cycles = 0;
  std::function<void(int cycle)> onCycle;  // from series 0's point of every cycle
  bool autoFollow = false;
  int currentPage = 0;
  std::vector<std::string> log;
  std::vector<std::string> messages;
  std::string savePath;
  std::string pathField;
  std::string receiveFolder;
};

}  // namespace tessaly::realtime
