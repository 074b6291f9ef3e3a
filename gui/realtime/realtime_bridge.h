#pragma once
// Carries the acquisition worker's calls over to the UI thread: each call
// waits until the UI thread has run it, so the chart, the log, the messages
// and the save path are only ever touched there, in the worker's order.
// Unlike a plain blocking queued call, a wait can be given up: once the page
// closes the bridge, pending and later calls return at once (doing nothing,
// reading as empty), so the page can join its worker without a deadlock.
#include <QObject>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "realtime/acquisition.h"
#include "realtime/comm_log.h"

namespace tessaly::gui {

class RealtimeBridge : public QObject, public realtime::AcquisitionPage, public realtime::CommLog {
  Q_OBJECT
 public:
  // `uiPage` is called on the thread this bridge lives on.
  explicit RealtimeBridge(realtime::AcquisitionPage& uiPage);

  void AddPoint(int series, double value, const std::string& label, uint32_t color) override;
  void ClearSeries(int series) override;
  int PageCount() override;
  void SetCurrentPage(int page) override;
  bool AutoFollow() override;
  realtime::CommLog* Log() override { return this; }
  void AddLine(const std::string& utf8Text) override;
  void ShowMessage(const std::string& utf8Text) override;
  std::string SavePath() override;
  void SetSavePath(const std::string& path, bool showInField) override;
  std::string ReceiveFolder() override;

  // From the UI thread: no call runs from now on, and every waiting worker
  // call returns.
  void Close();

 private:
  struct Call {
    std::function<void()> work;
    bool done = false;
  };
  void RunOnUiThread(std::function<void()> work);
  void Deliver(const std::shared_ptr<Call>& call);

  realtime::AcquisitionPage& uiPage_;
  std::mutex mutex_;
  std::condition_variable finished_;
  bool closed_ = false;  // guarded by mutex_
};

}  // namespace tessaly::gui
