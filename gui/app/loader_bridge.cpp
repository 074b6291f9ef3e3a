#include "app/loader_bridge.h"

#include <QCoreApplication>
#include <QThread>

namespace tessaly::gui {

LoaderBridge::LoaderBridge(recorder::LoaderHost& uiHost) : uiHost_(uiHost) {}

void LoaderBridge::ReportLoadProgress(uint32_t index) {
  RunOnUiThread([this, index] { uiHost_.ReportLoadProgress(index); });
}

void LoaderBridge::FillList() {
  RunOnUiThread([this] { uiHost_.FillList(); });
}

void LoaderBridge::FillAllGraph() {
  RunOnUiThread([this] { uiHost_.FillAllGraph(); });
}

void LoaderBridge::FillPartGraph() {
  RunOnUiThread([this] { uiHost_.FillPartGraph(); });
}

void LoaderBridge::RunOnUiThread(std::function<void()> work) {
  if (QThread::currentThread() == thread()) {
    work();
    return;
  }
  {
    std::lock_guard lock(mutex_);
    pending_ = std::move(work);
  }
  // Invoked by name so that nothing of ours crosses the threads outside the lock.
  QMetaObject::invokeMethod(this, "RunPending", Qt::BlockingQueuedConnection);
  std::lock_guard acquire(mutex_);  // sees what the UI thread did
}

void LoaderBridge::RunPending() {
  std::function<void()> work;
  {
    std::lock_guard lock(mutex_);
    work.swap(pending_);
  }
  if (work) work();
  std::lock_guard release(mutex_);  // publishes it to the waiting loader
}

void LoaderBridge::DeliverQueued() { QCoreApplication::sendPostedEvents(this, QEvent::MetaCall); }

}  // namespace tessaly::gui
