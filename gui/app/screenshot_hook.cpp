#include "app/screenshot_hook.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <cstdio>

#include "app/main_frame.h"
#include "chart/ct_chart.h"
#include "output/print_frame.h"
#include "realtime/child_frame2.h"
#include "realtime/realtime_set_dlg.h"
#include "viewer/child_frame.h"
#include "viewer/data_graph_dlg.h"
#include "viewer/my_form_view.h"

namespace tessaly::gui {
namespace {

// Lets the window settle (layout, first paints) before clicking or grabbing.
constexpr int kSettleMs = 400;

// Saves a picture of `shown` (the main window or a window over it), then
// closes it and the main window.
void Shoot(CMainFrame& frame, QWidget& shown, const QString& path) {
  QTimer::singleShot(kSettleMs, &shown, [&frame, &shown, path] {
    if (!shown.grab().save(path)) std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(path));
    if (&shown != &frame) shown.close();
    frame.close();
  });
}

// Clicks the part graph as a person sets the cursors: "A,B" point indexes.
void ClickCursors(CMainFrame& frame, const QString& points) {
  CChildFrame* viewer = frame.CurrentViewer();
  if (!viewer || points.isEmpty()) return;
  CTChart& chart = viewer->formView()->graphPage()->PartGraph();
  const QStringList parts = points.split(',');
  for (qsizetype i = 0; i < std::min<qsizetype>(parts.size(), 2); ++i) {
    const Qt::MouseButton button = i == 0 ? Qt::LeftButton : Qt::RightButton;
    const QPoint at(chart.PixelAtXValue(parts[i].toDouble()), chart.PlotRect().center().y());
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, at, chart.mapToGlobal(at), button,
                        type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(&chart, &event);
    }
  }
}

// With TESSALY_SCREENSHOT_PREVIEW=list|graph the picture shows that print
// preview of the loaded page instead of the main window.
void ShootLoaded(CMainFrame& frame, const QString& path) {
  const QString preview = qEnvironmentVariable("TESSALY_SCREENSHOT_PREVIEW");
  CChildFrame* viewer = frame.CurrentViewer();
  frame.loader().Join();  // the load has handed off; its thread only has to end
  ClickCursors(frame, qEnvironmentVariable("TESSALY_SCREENSHOT_CURSORS"));
  if (preview.isEmpty() || !viewer) return Shoot(frame, frame, path);
  viewer->OnCommand(preview == QLatin1String("graph") ? Command::PreviewPartGraph : Command::PreviewPartList);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* printFrame = qobject_cast<CPrintFrame*>(w); printFrame && printFrame->isVisible()) {
      if (QScreen* screen = QGuiApplication::primaryScreen()) printFrame->setGeometry(screen->availableGeometry());
      return Shoot(frame, *printFrame, path);
    }
  Shoot(frame, frame, path);
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
    Shoot(frame, frame, path);
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
      // Queued: the hand-off is still under way while the signal is sent.
      QObject::connect(
          &frame, &CMainFrame::loadHandedOff, &frame, [&frame, path] { ShootLoaded(frame, path); },
          static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    else
      Shoot(frame, frame, path);
  });
}

}  // namespace tessaly::gui
