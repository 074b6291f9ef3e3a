#include "app/screenshot_hook.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <cstdio>

#include "app/main_frame.h"
#include "chart/ct_chart.h"
#include "viewer/child_frame.h"
#include "viewer/data_graph_dlg.h"
#include "viewer/my_form_view.h"

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

bool ClickFirstPage(CMainFrame& frame) {
  CChildFrame* viewer = frame.CurrentViewer();
  QTreeWidgetItem* first = viewer ? viewer->pagingRoot()->child(0) : nullptr;
  if (!first) return false;
  viewer->pageTree()->scrollToItem(first);
  viewer->OnPageTreeClick(viewer->LabelRect(first).center());
  return true;
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

}  // namespace

void InstallScreenshotHook(CMainFrame& frame) {
  const QString path = qEnvironmentVariable("TESSALY_SCREENSHOT");
  const bool autoload = qEnvironmentVariable("TESSALY_AUTOLOAD_FIRST_PAGE") == QLatin1String("1");
  if (path.isEmpty() && !autoload) return;
  if (!path.isEmpty()) {
    // A virtual display has no window manager to maximise the window.
    if (QScreen* screen = QGuiApplication::primaryScreen()) frame.setGeometry(screen->availableGeometry());
  }
  QTimer::singleShot(kSettleMs, &frame, [&frame, path, autoload] {
    const bool loading = autoload && ClickFirstPage(frame);
    if (path.isEmpty()) return;
    if (loading)
      QObject::connect(
          &frame, &CMainFrame::loadHandedOff, &frame,
          [&frame, path] {
            // After the loader has gone idle again.
            QTimer::singleShot(kSettleMs, &frame, [&frame, path] {
              ClickCursors(frame, qEnvironmentVariable("TESSALY_SCREENSHOT_CURSORS"));
              Shoot(frame, path);
            });
          },
          Qt::SingleShotConnection);
    else
      Shoot(frame, path);
  });
}

}  // namespace tessaly::gui
