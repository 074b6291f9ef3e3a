#pragma once
// The communication log list: the lines of a CommLogLines, with vertical and
// horizontal scroll bars so long hexadecimal lines can be read whole.
#include <QListWidget>

#include "realtime/comm_log.h"

namespace tessaly::gui {

class CIHListBox : public QListWidget, public realtime::CommLog {
  Q_OBJECT
 public:
  explicit CIHListBox(QWidget* parent = nullptr);

  void AddLine(const std::string& utf8Text) override;
  void ClearLines();
  const realtime::CommLogLines& Lines() const { return lines_; }

 private:
  realtime::CommLogLines lines_;
};

}  // namespace tessaly::gui
