#pragma once
// The main tool bar: five 48 x 48 buttons with their own tool-tips, each
// action carrying its command id as data.
#include <QToolBar>

#include "app/command_ids.h"

namespace tessaly::gui {

class CTrueColorToolBar : public QToolBar {
  Q_OBJECT
 public:
  CTrueColorToolBar(int language, QWidget* parent);

  // The button of `command`, or null when the tool bar has none.
  QAction* Button(Command command) const;

 signals:
  void commandTriggered(tessaly::gui::Command command);
};

}  // namespace tessaly::gui
