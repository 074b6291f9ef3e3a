#pragma once
// The graph page's floating info panel: the time under the cursor on the
// first line, then one row per channel with its colour and value. A click on
// it moves it aside (the page decides where).
#include <QAbstractButton>
#include <QStringList>

#include "settings/channel_info.h"

namespace tessaly::gui {

class CMyButton : public QAbstractButton {
  Q_OBJECT
 public:
  CMyButton(const settings::DisplaySettings& display, QWidget* parent = nullptr);

  void SetLines(const QStringList& lines);
  const QStringList& Lines() const { return lines_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const settings::DisplaySettings& display_;
  QStringList lines_;
};

}  // namespace tessaly::gui
