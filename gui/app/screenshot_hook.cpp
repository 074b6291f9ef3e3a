#include "app/screenshot_hook.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <cstdio>

#include "app/main_frame.h"
#include "realtime/child_frame2.h"
#include "realtime/realtime_set_dlg.h"
#include "viewer/child_frame.h"

namespace tessaly::gui {
namespace {

// Lets the window settle (layout, first paints) before clicking or grabbing.
constexpr int kSettleMs = 400;

void Shoot(CMainFrame& frame, const QString& path) {
  QTimer::singleShot(kSettleMs, &frame, [&frame, path] {
    if (!frame.grab().save(path)) std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(path));
    frame.close();
  });
}

constexpr size_t kShotRecords = 5;
constexpr qint64 kShotWaitMs = 30'000;
constexpr int kRecordPollMs = 100;

void Press(CChildFrame2& page, int control) {
  if (auto* button = page.panel()->findChild<QPushButton*>(QString::number(control))) button->click();
}

// Start, then Manual Save and the picture once the store holds a few records.
void ShootAcquisition(CMainFrame& frame, CChildFrame2& page, const QString& path) {
  Press(page, CRealtimeSetDlg::kStart);
  auto* poll = new QTimer(&page);
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(poll, &QTimer::timeout, &page, [&frame, &page, path, poll, clock] {
    if (page.acquisition().records.Size() < kShotRecords && clock->elapsed() < kShotWaitMs) return;
    poll->stop();
    delete clock;
    Press(page, CRealtimeSetDlg::kManualSave);
    Shoot(frame, path);
  });
  poll->start(kRecordPollMs);
}

bool ClickFirstPage(CMainFrame& frame) {
  CChildFrame* viewer = frame.CurrentViewer();
  QTreeWidgetItem* first = viewer ? viewer->pagingRoot()->child(0) : nullptr;
  if (!first) return false;
  viewer->pageTree()->scrollToItem(first);
  viewer->OnPageTreeClick(viewer->LabelRect(first).center());
  return true;
}

}  // namespace

void InstallScreenshotHook(CMainFrame& frame) {
  const QString path = qEnvironmentVariable("TESSALY_SCREENSHOT");
  const bool autoload = qEnvironmentVariable("TESSALY_AUTOLOAD_FIRST_PAGE") == QLatin1String("1");
  const bool realtime = qEnvironmentVariable("TESSALY_OPEN_REALTIME") == QLatin1String("1");
  if (path.isEmpty() && !autoload && !realtime) return;
  if (!path.isEmpty()) {
    // A virtual display has no window manager to maximise the window.
    if (QScreen* screen = QGuiApplication::primaryScreen()) frame.setGeometry(screen->availableGeometry());
  }
  if (realtime) {
    CChildFrame2* page = frame.NewRealtimePage();
    if (!path.isEmpty())
      QTimer::singleShot(kSettleMs, page, [&frame, page, path] { ShootAcquisition(frame, *page, path); });
    return;
  }
  QTimer::singleShot(kSettleMs, &frame, [&frame, path, autoload] {
    const bool loading = autoload && ClickFirstPage(frame);
    if (path.isEmpty()) return;
    if (loading)
      QObject::connect(&frame, &CMainFrame::loadHandedOff, &frame, [&frame, path] { Shoot(frame, path); },
                       Qt::SingleShotConnection);
    else
      Shoot(frame, path);
  });
}

}  // namespace tessaly::gui
