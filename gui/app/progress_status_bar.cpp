#include "app/progress_status_bar.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <climits>

#include "base/format.h"
#include "base/texts.h"

namespace tessaly::gui {

CProgressStatusBar::CProgressStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("statusBar"));
  setSizeGripEnabled(true);
  constexpr int kWidths[kPaneCount] = {300, 60, 300, 0};  // 0: takes the rest
  for (int i = 0; i < kPaneCount; ++i) {
    panes_[i] = new QLabel(this);
    panes_[i]->setObjectName(QStringLiteral("pane%1").arg(i));
    panes_[i]->setAlignment(Qt::AlignCenter);
    panes_[i]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    if (kWidths[i] > 0) {
      panes_[i]->setFixedWidth(kWidths[i]);
      addWidget(panes_[i]);
    } else {
      panes_[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      addWidget(panes_[i], 1);
    }
    panes_[i]->installEventFilter(this);
  }
  const auto makeBar = [this](const char* name) {
    auto* bar = new QProgressBar(this);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setTextVisible(false);
    bar->setRange(0, 1);
    bar->setValue(0);
    return bar;
  };
  loadProgress_ = makeBar("loadProgress");
  fillProgress_ = makeBar("fillProgress");
}

void CProgressStatusBar::ShowLoadProgress(uint32_t index, uint32_t total) {
  Show(loadProgress_, panes_[1], index, total);
}

void CProgressStatusBar::ShowFillProgress(uint32_t step, uint32_t steps) {
  Show(fillProgress_, panes_[3], step, steps);
}

void CProgressStatusBar::ShowFillNote(const QString& note) {
  panes_[3]->setText(panes_[3]->text() + QStringLiteral("    ") + note);
}

void CProgressStatusBar::Clear() {
  for (QProgressBar* bar : {loadProgress_, fillProgress_}) {
    bar->setRange(0, 1);
    bar->setValue(0);
  }
  for (QLabel* pane : panes_) pane->clear();
}

void CProgressStatusBar::Show(QProgressBar* bar, QLabel* pane, uint32_t index, uint32_t total) {
  if (total == 0) return;
  const auto toInt = [](uint64_t v) { return static_cast<int>(std::min<uint64_t>(v, INT_MAX)); };
  bar->setRange(0, toInt(total));
  bar->setValue(toInt(uint64_t{index} + 1));
  const auto percent = static_cast<unsigned>((uint64_t{index} + 1) * 100 / total);
  const QString text =
      QString::fromStdString(base::FormatText(base::Text(base::TextId::ProgressOfHundred, 0), percent, 100u));
  if (pane->text() != text) {
    pane->setText(text);
    // Fills run on the UI thread: paint now, at most once per percent.
    pane->repaint();
  }
}

bool CProgressStatusBar::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == panes_[0] || watched == panes_[2]) &&
      (event->type() == QEvent::Resize || event->type() == QEvent::Move))
    PlaceBars();
  return QStatusBar::eventFilter(watched, event);
}

void CProgressStatusBar::PlaceBars() {
  loadProgress_->setGeometry(panes_[0]->geometry().adjusted(1, 0, -1, 0));
  fillProgress_->setGeometry(panes_[2]->geometry().adjusted(1, 0, -1, 0));
  loadProgress_->raise();
  fillProgress_->raise();
}

}  // namespace tessaly::gui
