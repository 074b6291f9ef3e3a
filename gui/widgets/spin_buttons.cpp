#include "widgets/spin_buttons.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tessaly::gui {

SpinButtons::SpinButtons(QLineEdit* buddy, QWidget* parent)
    : QWidget(parent), buddy_(buddy), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  const int height = buddy_->sizeHint().height();
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFixedSize(height, height / 2);
    layout->addWidget(button);
  }
  connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
  buddy_->installEventFilter(this);
}

void SpinButtons::SetRange(int64_t low, int64_t high) {
  low_ = low;
  high_ = std::max(low, high);
  position_ = std::clamp(position_, low_, high_);
}

void SpinButtons::SetPosition(int64_t position) {
  position_ = std::clamp(position, low_, high_);
  const QString text = QString::number(position_);
  if (buddy_->text() != text) buddy_->setText(text);
}

void SpinButtons::StepBy(int64_t steps) {
  if (isEnabled()) SetPosition(position_ + steps);
}

bool SpinButtons::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress && !buddy_->isReadOnly()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      StepBy(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tessaly::gui
