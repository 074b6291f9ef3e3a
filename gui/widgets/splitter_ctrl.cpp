#include "widgets/splitter_ctrl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <cmath>

namespace tessaly::gui {

SplitterCtrl::SplitterCtrl(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  SetColumnShares({100});
}

void SplitterCtrl::SetColumnShares(const std::vector<int>& percent) {
  shares_.assign(percent.begin(), percent.end());
  if (shares_.empty()) shares_.push_back(100);
  panes_.assign(shares_.size(), nullptr);
  Relayout();
}

void SplitterCtrl::SetPane(int column, QWidget* pane) {
  if (column < 0 || column >= ColumnCount()) return;
  pane->setParent(this);
  panes_[column] = pane;
  pane->show();
  Relayout();
}

QWidget* SplitterCtrl::Pane(int column) const {
  return column >= 0 && column < ColumnCount() ? panes_[column] : nullptr;
}

std::vector<int> SplitterCtrl::Edges() const {
  const int w = width();
  std::vector<int> edges{0};
  for (size_t i = 0; i + 1 < shares_.size(); ++i)
    edges.push_back(edges.back() + static_cast<int>(std::lround(w * shares_[i] / 100.0)));
  edges.push_back(w);
  return edges;
}

void SplitterCtrl::Relayout() {
  const std::vector<int> edges = Edges();
  const int last = ColumnCount() - 1;
  for (int i = 0; i <= last; ++i) {
    if (!panes_[i]) continue;
    const int right = i == last ? edges[i + 1] : edges[i + 1] - kBarWidth;
    panes_[i]->setGeometry(edges[i], 0, std::max(0, right - edges[i]), height());
  }
  update();
}

int SplitterCtrl::BarAt(int x) const {
  const std::vector<int> edges = Edges();
  for (int i = 0; i + 1 < ColumnCount(); ++i)
    if (x >= edges[i + 1] - kBarWidth && x < edges[i + 1]) return i;
  return -1;
}

void SplitterCtrl::resizeEvent(QResizeEvent*) { Relayout(); }

void SplitterCtrl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const std::vector<int> edges = Edges();
  for (int i = 0; i + 1 < ColumnCount(); ++i) {
    QStyleOption option;
    option.initFrom(this);
    option.rect = QRect(edges[i + 1] - kBarWidth, 0, kBarWidth, height());
    option.state |= QStyle::State_Horizontal;
    style()->drawControl(QStyle::CE_Splitter, &option, &p, this);
  }
}

void SplitterCtrl::mousePressEvent(QMouseEvent* event) {
  dragBar_ = event->button() == Qt::LeftButton ? BarAt(event->position().toPoint().x()) : -1;
}

void SplitterCtrl::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (dragBar_ < 0) {
    setCursor(BarAt(x) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
    return;
  }
  // The dragged bar's right edge follows the mouse; its two columns share
  // what they had together, each keeping a minimum width.
  const std::vector<int> edges = Edges();
  const int left = edges[dragBar_];
  const int right = edges[dragBar_ + 2];
  const int lowest = left + kMinPaneWidth + kBarWidth;
  const int highest = right - kMinPaneWidth;
  if (lowest > highest) return;
  const int edge = std::clamp(x + kBarWidth / 2, lowest, highest);
  const double pair = shares_[dragBar_] + shares_[dragBar_ + 1];
  shares_[dragBar_] = pair * (edge - left) / (right - left);
  shares_[dragBar_ + 1] = pair - shares_[dragBar_];
  Relayout();
}

void SplitterCtrl::mouseReleaseEvent(QMouseEvent*) { dragBar_ = -1; }

}  // namespace tessaly::gui
