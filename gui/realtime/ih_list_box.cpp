#include "realtime/ih_list_box.h"

namespace tessaly::gui {

CIHListBox::CIHListBox(QWidget* parent) : QListWidget(parent) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setUniformItemSizes(true);
}

void CIHListBox::AddLine(const std::string& utf8Text) {
  lines_.AddLine(utf8Text);
  // The lines may have been emptied to keep the log bounded.
  if (lines_.Lines().empty())
    clear();
  else
    addItem(QString::fromStdString(utf8Text));
  scrollToBottom();
}

void CIHListBox::ClearLines() {
  lines_.Clear();
  clear();
}

}  // namespace tessaly::gui
