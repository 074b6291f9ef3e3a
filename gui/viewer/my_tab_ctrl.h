#pragma once
// The tab control of the record viewer: one tab per page; the page of the
// chosen tab is shown and gets the keyboard focus.
#include <QTabWidget>

namespace tessaly::gui {

class CMyTabCtrl : public QTabWidget {
  Q_OBJECT
 public:
  explicit CMyTabCtrl(QWidget* parent);
};

}  // namespace tessaly::gui
