#include "viewer/cursor_panel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/cursor_readout.h"
#include "base/format.h"
#include "chart/ct_chart.h"
#include "recorder/recorder_data.h"
#include "widgets/ui_text.h"

namespace tessaly::gui {

using base::TextId;

namespace {

constexpr int kGripWidth = 6;
constexpr int kInitialWidth = 560;
constexpr int kMinWidth = 220;
constexpr int kMaxWidth = 1400;

QString Labelled(TextId id, int language, const std::string& value) {
  return QString::fromStdString(base::FormatText(base::Text(id, language), value.c_str()));
}

}  // namespace

CCursorPanel::CCursorPanel(int language, QWidget* parent)
    : QDockWidget(UiText(TextId::CursorPanelTitle, language), parent),
      language_(language),
      timeA_(new QLabel(this)),
      timeB_(new QLabel(this)),
      delta_(new QLabel(this)),
      grid_(new QTableWidget(this)),
      copy_(new QPushButton(UiText(TextId::CursorCopy, language), this)),
      statistics_(new QPushButton(UiText(TextId::CursorStatistics, language), this)),
      grip_(new QWidget(this)),
      requestedWidth_(kInitialWidth) {
  setObjectName(QStringLiteral("cursorPanel"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  grid_->setObjectName(QStringLiteral("cursorTable"));
  copy_->setObjectName(QStringLiteral("cursorCopy"));
  statistics_->setObjectName(QStringLiteral("cursorStatistics"));
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  auto* clear = new QPushButton(UiText(TextId::CursorClear, language), this);
  clear->setObjectName(QStringLiteral("cursorClear"));
  auto* hint = new QLabel(UiText(TextId::CursorHint, language), this);
  hint->setWordWrap(true);

  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->addWidget(hint);
  for (QLabel* label : {timeA_, timeB_, delta_}) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
  }
  layout->addWidget(grid_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(copy_);
  buttons->addWidget(statistics_);
  buttons->addStretch();
  buttons->addWidget(clear);
  layout->addLayout(buttons);
  setWidget(body);

  grip_->setCursor(Qt::SizeHorCursor);
  grip_->installEventFilter(this);

  connect(copy_, &QPushButton::clicked, this, &CCursorPanel::Copy);
  connect(statistics_, &QPushButton::clicked, this, &CCursorPanel::statisticsRequested);
  connect(clear, &QPushButton::clicked, this, &CCursorPanel::clearRequested);
  // The buttons' commands are also the table's context menu.
  grid_->setContextMenuPolicy(Qt::ActionsContextMenu);
  for (QPushButton* button : {copy_, statistics_, clear}) {
    auto* action = new QAction(button->text(), grid_);
    connect(action, &QAction::triggered, button, &QPushButton::click);
    grid_->addAction(action);
    commands_.emplace_back(button, action);
  }
}

void CCursorPanel::Show(const recorder::CRecorderData& data, std::optional<size_t> a, std::optional<size_t> b) {
  const std::string none = base::Text(TextId::CursorNoValue, language_);
  const auto time = [&](std::optional<size_t> i) {
    return i ? analysis::CursorTimeText(data.samples.TimeAt(*i), language_) : none;
  };
  timeA_->setText(Labelled(TextId::CursorLabelA, language_, time(a)));
  timeB_->setText(Labelled(TextId::CursorLabelB, language_, time(b)));
  analysis::CursorReadout readout;
  table_ = {};
  if (a && b) {
    readout = analysis::ReadCursors(data.samples, data, *a, *b);
    table_ = analysis::CursorTable(readout, data, language_);
  }
  // The first row holds the times; the labels show them.
  delta_->setText(Labelled(TextId::CursorLabelDelta, language_, table_.rows.empty() ? none : table_.rows[0][4]));
  copy_->setEnabled(!table_.rows.empty());
  statistics_->setEnabled(a && b);
  for (const auto& [button, action] : commands_) action->setEnabled(button->isEnabled());

  grid_->clear();
  grid_->setColumnCount(static_cast<int>(table_.columns.size()));
  grid_->setRowCount(table_.rows.empty() ? 0 : static_cast<int>(table_.rows.size()) - 1);
  QStringList headings;
  for (const analysis::StatisticsTable::Column& column : table_.columns)
    headings << QString::fromStdString(column.heading);
  grid_->setHorizontalHeaderLabels(headings);
  for (size_t r = 1; r < table_.rows.size(); ++r) {
    const QColor colour = ColourFromBgr(data.channels[readout.channels[r - 1].channel].color);
    for (size_t c = 0; c < table_.rows[r].size(); ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(table_.rows[r][c]));
      if (c == 0) {
        item->setData(Qt::DecorationRole, colour);
      } else {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      }
      grid_->setItem(static_cast<int>(r - 1), static_cast<int>(c), item);
    }
  }
  grid_->resizeColumnsToContents();
  // Until the user drags its edge, the panel is as wide as its table.
  if (!userSized_ && grid_->columnCount() > 0) {
    int table = 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < grid_->columnCount(); ++c) table += grid_->columnWidth(c);
    const QMargins margins = widget()->layout()->contentsMargins();
    requestedWidth_ = std::clamp(table + margins.left() + margins.right(), kMinWidth, kMaxWidth);
    emit layoutChanged();
  }
}

bool CCursorPanel::event(QEvent* event) {
  const bool handled = QDockWidget::event(event);
  if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) emit layoutChanged();
  return handled;
}

void CCursorPanel::resizeEvent(QResizeEvent* event) {
  QDockWidget::resizeEvent(event);
  grip_->setGeometry(0, 0, kGripWidth, height());
  grip_->raise();
}

// Dragging the left edge: the panel grows as the edge moves left.
bool CCursorPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched != grip_) return QDockWidget::eventFilter(watched, event);
  auto* mouse = static_cast<QMouseEvent*>(event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: dragX_ = static_cast<int>(mouse->globalPosition().x()); return true;
    case QEvent::MouseMove:
      if (dragX_) {
        const int x = static_cast<int>(mouse->globalPosition().x());
        requestedWidth_ = std::clamp(requestedWidth_ + *dragX_ - x, kMinWidth, kMaxWidth);
        userSized_ = true;
        dragX_ = x;
        emit layoutChanged();
      }
      return true;
    case QEvent::MouseButtonRelease: dragX_.reset(); return true;
    default: return QDockWidget::eventFilter(watched, event);
  }
}

void CCursorPanel::Copy() {
  if (QClipboard* clipboard = QApplication::clipboard()) clipboard->setText(QString::fromStdString(CopyText()));
}

}  // namespace tessaly::gui
