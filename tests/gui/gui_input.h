#pragma once
// Keys and mouse clicks sent straight to widgets, as a user would give them.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "widgets/grid_ctrl.h"

namespace tessaly::gui::testing {

inline void Key(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(&widget, &release);
}

inline void Mouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, buttons, modifiers);
  QApplication::sendEvent(&widget, &event);
}

// Shown and laid out, but never put on a screen, so nothing is painted:
// the tests drive the widgets and read their state (paints would also run
// Qt's drawing threads, which the thread sanitizer cannot see into).
inline void ShowUnpainted(QWidget& widget, QSize size) {
  widget.setAttribute(Qt::WA_DontShowOnScreen);
  widget.setUpdatesEnabled(false);
  widget.resize(size);
  widget.show();
  QApplication::processEvents();
}

// Centre of a normal cell of a grid with one heading row and column, in
// viewport coordinates.
inline QPoint CellCentre(const CGridCtrl& grid, int row, int column) {
  return grid.visualRect(grid.model()->index(row - 1, column - 1)).center();
}

inline void Click(CGridCtrl& grid, int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPoint at = CellCentre(grid, row, column);
  Mouse(*grid.viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
  Mouse(*grid.viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton, modifiers);
}

}  // namespace tessaly::gui::testing
