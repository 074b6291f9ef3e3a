#pragma once
// The page loader: decodes a range of sectors into the SampleBuffer on a
// worker thread, reports progress and hands the samples to the views.
#include <cstdint>
#include <thread>

namespace tessaly::recorder {

struct CRecorderData;

// Implemented by the desktop program (blocking calls marshalled to the UI
// thread) and by tests. Every call is synchronous: the loader waits for it.
class LoaderHost {
 public:
  virtual ~LoaderHost() = default;
  // Index i (0-based, within the load) of the sector just decoded; sent at
  // i = 0, the last index and multiples of 300. A load that was not stopped
  // always reports its last index, also when the sample limit ended it
  // (`loadCut`) or its last sectors were skipped.
  virtual void ReportLoadProgress(uint32_t index) = 0;
  // The hand-off after the last sector, in this order.
  virtual void FillList() = 0;
  virtual void FillAllGraph() = 0;
  virtual void FillPartGraph() = 0;
};

// True, after showing "系统忙，请稍后再试" / "Server busy, please retry
// later", while a load or a part-graph redraw holds `idle` at 0: the record
// file, the page lists and the SampleBuffer must not be changed then (a new
// open, a close, a rebuild of the page index).
bool RefuseWhileLoading(const CRecorderData& data);

class PageLoader {
 public:
  PageLoader(CRecorderData& data, LoaderHost& host);
  ~PageLoader();  // waits for a running load
  PageLoader(const PageLoader&) = delete;
  PageLoader& operator=(const PageLoader&) = delete;

  // Starts a load of `count` sectors from absolute sector `first` when `idle`
  // is 1; otherwise shows "系统忙，请稍后再试" / "Server busy, please retry
  // later" and returns false. The file is read in blocks of many sectors; a
  // sector that cannot be read whole counts as bad.
  bool StartPageLoad(uint32_t first, uint32_t count);

  // Waits for the current load, if any, to end (its hand-off included).
  // Never from the thread that serves the host's calls while a load runs:
  // the loader would wait for that thread and that thread for the loader.
  void Join();

 private:
  void Run();

  CRecorderData& data_;
  LoaderHost& host_;
  std::thread thread_;
};

}  // namespace tessaly::recorder
