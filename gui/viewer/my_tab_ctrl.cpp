#include "viewer/my_tab_ctrl.h"

namespace tessaly::gui {

CMyTabCtrl::CMyTabCtrl(QWidget* parent) : QTabWidget(parent) {
  setObjectName(QStringLiteral("tabCtrl"));
  connect(this, &QTabWidget::currentChanged, this, [this](int index) {
    if (QWidget* page = widget(index)) page->setFocus();
  });
}

}  // namespace tessaly::gui
