#include "realtime/realtime_bridge.h"

#include <QThread>

namespace tessaly::gui {

RealtimeBridge::RealtimeBridge(realtime::AcquisitionPage& uiPage) : uiPage_(uiPage) {}

void RealtimeBridge::AddPoint(int series, double value, const std::string& label, uint32_t color) {
  RunOnUiThread([&] { uiPage_.AddPoint(series, value, label, color); });
}

void RealtimeBridge::ClearSeries(int series) {
  RunOnUiThread([&] { uiPage_.ClearSeries(series); });
}

int RealtimeBridge::PageCount() {
  int count = 0;
  RunOnUiThread([&] { count = uiPage_.PageCount(); });
  return count;
}

void RealtimeBridge::SetCurrentPage(int page) {
  RunOnUiThread([&] { uiPage_.SetCurrentPage(page); });
}

bool RealtimeBridge::AutoFollow() {
  bool follow = false;
  RunOnUiThread([&] { follow = uiPage_.AutoFollow(); });
  return follow;
}

void RealtimeBridge::AddLine(const std::string& utf8Text) {
  RunOnUiThread([&] {
    if (realtime::CommLog* log = uiPage_.Log()) log->AddLine(utf8Text);
  });
}

void RealtimeBridge::ShowMessage(const std::string& utf8Text) {
  RunOnUiThread([&] { uiPage_.ShowMessage(utf8Text); });
}

std::string RealtimeBridge::SavePath() {
  std::string path;
  RunOnUiThread([&] { path = uiPage_.SavePath(); });
  return path;
}

void RealtimeBridge::SetSavePath(const std::string& path, bool showInField) {
  RunOnUiThread([&] { uiPage_.SetSavePath(path, showInField); });
}

std::string RealtimeBridge::ReceiveFolder() {
  std::string folder;
  RunOnUiThread([&] { folder = uiPage_.ReceiveFolder(); });
  return folder;
}

void RealtimeBridge::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  finished_.notify_all();
}

void RealtimeBridge::RunOnUiThread(std::function<void()> work) {
  if (QThread::currentThread() == thread()) {
    work();
    return;
  }
  auto call = std::make_shared<Call>();
  call->work = std::move(work);
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
  }
  // Dropped by Qt if the bridge is gone before the UI thread gets to it.
  QMetaObject::invokeMethod(
      this, [this, call] { Deliver(call); }, Qt::QueuedConnection);
  std::unique_lock lock(mutex_);
  // The lock also orders the UI thread's writes before the worker's reads.
  finished_.wait(lock, [&] { return call->done || closed_; });
}

void RealtimeBridge::Deliver(const std::shared_ptr<Call>& call) {
  {
    std::lock_guard lock(mutex_);
    // A closed bridge's worker no longer waits: its call's captures are gone.
    if (closed_) return;
  }
  call->work();
  std::lock_guard lock(mutex_);
  call->done = true;
  finished_.notify_all();
}

}  // namespace tessaly::gui
