#pragma once
// Carries the page loader's calls over to the UI thread: each call blocks the
// loader until the UI thread has run it (a blocking queued call), so progress
// and fills happen on the UI thread in the order the loader makes them.
#include <QObject>
#include <functional>
#include <mutex>

#include "recorder/page_loader.h"

namespace tessaly::gui {

class LoaderBridge : public QObject, public recorder::LoaderHost {
  Q_OBJECT
 public:
  // `uiHost` is called on the thread this bridge lives on.
  explicit LoaderBridge(recorder::LoaderHost& uiHost);

  void ReportLoadProgress(uint32_t index) override;
  void FillList() override;
  void FillAllGraph() override;
  void FillPartGraph() override;

  // Runs what loader calls are queued (used by a frame that is going away
  // while a stopped load still hands off).
  void DeliverQueued();

 private:
  Q_INVOKABLE void RunPending();
  void RunOnUiThread(std::function<void()> work);

  recorder::LoaderHost& uiHost_;
  // The pending call travels under this lock, which also orders the loader's
  // writes before the UI's reads and the UI's writes before the loader goes on.
  std::mutex mutex_;
  std::function<void()> pending_;
};

}  // namespace tessaly::gui
