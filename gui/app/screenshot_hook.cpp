#include "app/screenshot_hook.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <cstdio>

#include "app/main_frame.h"
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
  if (path.isEmpty() && !autoload) return;
  if (!path.isEmpty()) {
    // A virtual display has no window manager to maximise the window.
    if (QScreen* screen = QGuiApplication::primaryScreen()) frame.setGeometry(screen->availableGeometry());
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
