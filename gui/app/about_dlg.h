#pragma once
// The about box: program icon, version and date; no title and no buttons,
// closed with Esc or the close box.
#include <QDialog>

namespace tessaly::gui {

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent);
};

}  // namespace tessaly::gui
