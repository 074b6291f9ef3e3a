#include "widgets/grid_ctrl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <numeric>

#include "widgets/grid_model.h"

namespace tessaly::gui {

namespace {

constexpr int kTextMargin = 4;
constexpr int kGripMargin = 4;

int Sum(const std::vector<int>& sizes) { return std::accumulate(sizes.begin(), sizes.end(), 0); }

bool IsCopyKey(const QKeyEvent& key) {
  return (key.modifiers() & Qt::ControlModifier) && (key.key() == Qt::Key_C || key.key() == Qt::Key_Insert);
}

bool IsEditingKey(const QKeyEvent& key) {
  const bool ctrl = key.modifiers() & Qt::ControlModifier;
  return key.key() == Qt::Key_Delete || key.key() == Qt::Key_F2 ||
         (ctrl && (key.key() == Qt::Key_X || key.key() == Qt::Key_V));
}

QPalette::ColorGroup GroupOf(const QStyleOptionViewItem& option) {
  if (!(option.state & QStyle::State_Enabled)) return QPalette::Disabled;
  return (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
}

}  // namespace

// Paints each section as the heading cells of one column (or row).
class GridHeader : public QHeaderView {
 public:
  GridHeader(Qt::Orientation orientation, CGridCtrl* grid) : QHeaderView(orientation, grid), grid_(grid) {}

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int section) const override {
    grid_->PaintHeadingSection(*painter, rect, orientation(), section);
  }

 private:
  CGridCtrl* grid_;
};

class GridCellDelegate : public QStyledItemDelegate {
 public:
  explicit GridCellDelegate(CGridCtrl* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    grid_->PaintCell(*painter, option, index);
  }

 private:
  CGridCtrl* grid_;
};

CGridCtrl::CGridCtrl(QWidget* parent) : QTableView(parent), model_(new GridModel(this)), corner_(nullptr) {
  setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
  setVerticalHeader(new GridHeader(Qt::Vertical, this));
  setModel(model_);
  setItemDelegate(new GridCellDelegate(this));
  // Grid lines are the cells' own right and bottom edges (see PaintCell).
  setShowGrid(false);
  setWordWrap(false);
  setTabKeyNavigation(true);
  setAutoScroll(true);

  QFont cellFont = font();
  cellFont.setFamilies({cellFont.family(), QStringLiteral("WenQuanYi Micro Hei")});
  setFont(cellFont);

  defaultHeights_.fill(fontMetrics().height() + 2 * kTextMargin);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setMinimumSectionSize(0);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
  }
  horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);

  // The corner heading cells live on the table's corner button.
  corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
  if (corner_) {
    corner_->installEventFilter(this);
    corner_->setMouseTracking(true);
  }

  SetEditable(true);
  SetListMode(false);
  EnableSelection(true);
  ApplyHeadingSizes();
}

void CGridCtrl::DeleteAllItems() {
  model_->Clear();
  headingRowHeights_.clear();
  headingColumnWidths_.clear();
  ApplyHeadingSizes();
}

void CGridCtrl::SetRowCount(int rows) {
  model_->SetRowCount(rows);
  headingRowHeights_.resize(static_cast<size_t>(model_->FixedRowCount()));
  ApplyHeadingSizes();
}

void CGridCtrl::SetColumnCount(int columns) {
  model_->SetColumnCount(columns);
  headingColumnWidths_.resize(static_cast<size_t>(model_->FixedColumnCount()));
  ApplyHeadingSizes();
}

int CGridCtrl::GetRowCount() const { return model_->RowCount(); }
int CGridCtrl::GetColumnCount() const { return model_->ColumnCount(); }

void CGridCtrl::SetFixedRowCount(int rows) {
  model_->SetFixedCounts(rows, model_->FixedColumnCount());
  headingRowHeights_.resize(static_cast<size_t>(model_->FixedRowCount()), HeadingRowHeight());
  ApplyHeadingSizes();
}

void CGridCtrl::SetFixedColumnCount(int columns) {
  model_->SetFixedCounts(model_->FixedRowCount(), columns);
  headingColumnWidths_.resize(static_cast<size_t>(model_->FixedColumnCount()), kDefaultColumnWidth);
  ApplyHeadingSizes();
}

// Sizes of headings are the grid's own, those of normal rows and columns
// the header view's.
void CGridCtrl::Resize(Qt::Orientation orientation, int index, int px) {
  const bool columns = orientation == Qt::Horizontal;
  const int count = columns ? GetColumnCount() : GetRowCount();
  const int fixed = columns ? model_->FixedColumnCount() : model_->FixedRowCount();
  if (index < 0 || index >= count) return;
  px = std::max(px, 0);
  if (index < fixed) {
    (columns ? headingColumnWidths_ : headingRowHeights_)[static_cast<size_t>(index)] = px;
    ApplyHeadingSizes();
  } else {
    (columns ? horizontalHeader() : verticalHeader())->resizeSection(index - fixed, px);
  }
}

int CGridCtrl::SizeOf(Qt::Orientation orientation, int index) const {
  const bool columns = orientation == Qt::Horizontal;
  const int count = columns ? GetColumnCount() : GetRowCount();
  const int fixed = columns ? model_->FixedColumnCount() : model_->FixedRowCount();
  if (index < 0 || index >= count) return 0;
  if (index < fixed) return (columns ? headingColumnWidths_ : headingRowHeights_)[static_cast<size_t>(index)];
  return (columns ? horizontalHeader() : verticalHeader())->sectionSize(index - fixed);
}

void CGridCtrl::SetColumnWidth(int column, int px) { Resize(Qt::Horizontal, column, px); }
void CGridCtrl::SetRowHeight(int row, int px) { Resize(Qt::Vertical, row, px); }
int CGridCtrl::GetColumnWidth(int column) const { return SizeOf(Qt::Horizontal, column); }
int CGridCtrl::GetRowHeight(int row) const { return SizeOf(Qt::Vertical, row); }

bool CGridCtrl::SetItemText(int row, int column, std::string_view utf8) {
  if (!model_->SetText(row, column, utf8)) return false;
  ScheduleRepaint();
  return true;
}

QString CGridCtrl::GetItemText(int row, int column) const { return model_->Text(row, column); }

bool CGridCtrl::IsItemModified(int row, int column) const { return model_->IsModified(row, column); }

void CGridCtrl::SetDefaultCellHeight(DefaultCell cell, int px) {
  defaultHeights_[static_cast<size_t>(cell)] = std::max(px, 0);
  ApplyNormalRowHeight();
}

// Qt gives a new default to every row, also the resized ones: only when it
// changes, then.
void CGridCtrl::ApplyNormalRowHeight() {
  if (verticalHeader()->defaultSectionSize() != NormalRowHeight()) {
    verticalHeader()->setDefaultSectionSize(NormalRowHeight());
  }
}

int CGridCtrl::NormalRowHeight() const {
  const int normal = defaultHeights_[static_cast<size_t>(DefaultCell::Normal)];
  if (model_->FixedColumnCount() == 0) return normal;
  return std::max(normal, defaultHeights_[static_cast<size_t>(DefaultCell::FixedColumn)]);
}

int CGridCtrl::HeadingRowHeight() const {
  const int fixedRow = defaultHeights_[static_cast<size_t>(DefaultCell::FixedRow)];
  if (model_->FixedColumnCount() == 0) return fixedRow;
  return std::max(fixedRow, defaultHeights_[static_cast<size_t>(DefaultCell::Corner)]);
}

void CGridCtrl::SetEditable(bool editable) {
  editable_ = editable;
  model_->SetEditable(editable);
  setEditTriggers(editable ? (DoubleClicked | EditKeyPressed | AnyKeyPressed) : NoEditTriggers);
}

void CGridCtrl::SetListMode(bool listMode) {
  setSelectionBehavior(listMode ? SelectRows : SelectItems);
  horizontalHeader()->setSectionsClickable(!listMode);
}

void CGridCtrl::EnableSelection(bool enable) {
  if (!enable) clearSelection();
  setSelectionMode(enable ? ExtendedSelection : NoSelection);
}

void CGridCtrl::SetTrackFocusCell(bool track) {
  trackFocus_ = track;
  RepaintHeadings();
}

void CGridCtrl::SetFrameFocusCell(bool frame) {
  frameFocus_ = frame;
  viewport()->update();
}

CGridCtrl::CellId CGridCtrl::GetFocusCell() const {
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return {};
  return {current.row() + model_->FixedRowCount(), current.column() + model_->FixedColumnCount()};
}

QModelIndex CGridCtrl::ViewIndex(int row, int column) const {
  return model_->index(row - model_->FixedRowCount(), column - model_->FixedColumnCount());
}

bool CGridCtrl::IsCellSelected(int row, int column) const {
  const QModelIndex index = ViewIndex(row, column);
  return index.isValid() && selectionModel()->isSelected(index);
}

QString CGridCtrl::SelectionText() const {
  const QItemSelection selection = selectionModel()->selection();
  if (selection.isEmpty()) return {};
  int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
  for (const QItemSelectionRange& range : selection) {
    top = std::min(top, range.top());
    bottom = std::max(bottom, range.bottom());
    left = std::min(left, range.left());
    right = std::max(right, range.right());
  }
  QString text;
  for (int r = top; r <= bottom; ++r) {
    if (rowHeight(r) <= 0) continue;
    for (int c = left; c <= right; ++c) {
      if (columnWidth(c) <= 0) continue;
      const QModelIndex index = model_->index(r, c);
      if (selectionModel()->isSelected(index)) text += model_->data(index, Qt::DisplayRole).toString();
      if (c != right) text += QLatin1Char('\t');
    }
    if (r != bottom) text += QLatin1String("\r\n");
  }
  return text;
}

void CGridCtrl::CopySelection() const {
  if (!selectionModel()->hasSelection()) return;
  QApplication::clipboard()->setText(SelectionText());
}

bool CGridCtrl::event(QEvent* event) {
  // Copy and the swallowed editing keys are the grid's own, even where a
  // window around it has shortcuts on them.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (IsCopyKey(key) || (!editable_ && IsEditingKey(key))) {
      event->accept();
      return true;
    }
  }
  return QTableView::event(event);
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
  if (IsCopyKey(*event)) {
    CopySelection();
    event->accept();
    return;
  }
  if (!editable_ && IsEditingKey(*event)) {
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

bool CGridCtrl::eventFilter(QObject* watched, QEvent* event) {
  if (watched != corner_) return QTableView::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Paint: {
      QPainter painter(corner_);
      PaintCorner(painter);
      return true;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: return CornerMouse(static_cast<QMouseEvent&>(*event));
    default: return QTableView::eventFilter(watched, event);
  }
}

// The corner's right edge is the border between the last heading column and
// the first normal one, its bottom edge that below the last heading row:
// dragging them sizes those headings, as the header views size the others.
CGridCtrl::CornerEdge CGridCtrl::CornerEdgeAt(QPoint at) const {
  if (std::abs(at.x() - corner_->width()) <= kGripMargin && !headingColumnWidths_.empty()) return CornerEdge::Right;
  if (std::abs(at.y() - corner_->height()) <= kGripMargin && !headingRowHeights_.empty()) return CornerEdge::Bottom;
  return CornerEdge::None;
}

bool CGridCtrl::CornerMouse(const QMouseEvent& event) {
  const QPoint at = event.position().toPoint();
  switch (event.type()) {
    case QEvent::MouseButtonPress:
      if (event.button() != Qt::LeftButton) return false;
      cornerDrag_ = CornerEdgeAt(at);
      return cornerDrag_ != CornerEdge::None;
    case QEvent::MouseButtonRelease: {
      const bool dragged = cornerDrag_ != CornerEdge::None;
      cornerDrag_ = CornerEdge::None;
      return dragged;
    }
    default: break;
  }
  if (cornerDrag_ == CornerEdge::Right) {
    const int last = static_cast<int>(headingColumnWidths_.size()) - 1;
    SetColumnWidth(last, at.x() - (Sum(headingColumnWidths_) - headingColumnWidths_.back()));
  } else if (cornerDrag_ == CornerEdge::Bottom) {
    const int last = static_cast<int>(headingRowHeights_.size()) - 1;
    SetRowHeight(last, at.y() - (Sum(headingRowHeights_) - headingRowHeights_.back()));
  } else {
    switch (CornerEdgeAt(at)) {
      case CornerEdge::Right: corner_->setCursor(Qt::SplitHCursor); break;
      case CornerEdge::Bottom: corner_->setCursor(Qt::SplitVCursor); break;
      case CornerEdge::None: corner_->unsetCursor(); break;
    }
    return false;
  }
  return true;
}

void CGridCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (trackFocus_) RepaintHeadings();
}

void CGridCtrl::ApplyHeadingSizes() {
  horizontalHeader()->setVisible(!headingRowHeights_.empty());
  horizontalHeader()->setFixedHeight(Sum(headingRowHeights_));
  verticalHeader()->setVisible(!headingColumnWidths_.empty());
  verticalHeader()->setFixedWidth(Sum(headingColumnWidths_));
  ApplyNormalRowHeight();
  updateGeometries();
  RepaintHeadings();
}

// Writes come in runs (a list fill writes 1.3 million cells); announcing
// each one to the view would cost more than storing it, so a run is
// announced once when control returns to the event loop.
void CGridCtrl::ScheduleRepaint() {
  if (repaintPending_) return;
  repaintPending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        repaintPending_ = false;
        model_->AnnounceTextChanges();
        RepaintHeadings();
      },
      Qt::QueuedConnection);
}

void CGridCtrl::RepaintHeadings() {
  horizontalHeader()->viewport()->update();
  verticalHeader()->viewport()->update();
  if (corner_) corner_->update();
}

void CGridCtrl::PaintHeadingCell(QPainter& painter, const QRect& rect, int row, int column, bool highlighted) const {
  const QPalette& pal = palette();
  painter.fillRect(rect, pal.button());
  if (highlighted) {
    QColor tint = pal.color(QPalette::Highlight);
    tint.setAlpha(70);
    painter.fillRect(rect, tint);
  }
  painter.setPen(pal.color(QPalette::ButtonText));
  QFont headingFont = font();
  headingFont.setBold(highlighted);
  painter.setFont(headingFont);
  painter.drawText(rect.adjusted(kTextMargin, 0, -kTextMargin, -1), Qt::AlignCenter, model_->Text(row, column));
  painter.setPen(QColor(kGridLineColor));
  painter.drawLine(rect.topRight(), rect.bottomRight());
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());
}

void CGridCtrl::PaintHeadingSection(QPainter& painter, const QRect& rect, Qt::Orientation orientation,
                                    int section) const {
  const CellId focus = GetFocusCell();
  QRect cell = rect;
  if (orientation == Qt::Horizontal) {
    const int column = section + model_->FixedColumnCount();
    const bool highlighted = trackFocus_ && focus.column == column;
    for (int row = 0; row < model_->FixedRowCount(); ++row) {
      cell.setHeight(headingRowHeights_[static_cast<size_t>(row)]);
      PaintHeadingCell(painter, cell, row, column, highlighted);
      cell.translate(0, cell.height());
    }
  } else {
    const int row = section + model_->FixedRowCount();
    const bool highlighted = trackFocus_ && focus.row == row;
    for (int column = 0; column < model_->FixedColumnCount(); ++column) {
      cell.setWidth(headingColumnWidths_[static_cast<size_t>(column)]);
      PaintHeadingCell(painter, cell, row, column, highlighted);
      cell.translate(cell.width(), 0);
    }
  }
}

void CGridCtrl::PaintCorner(QPainter& painter) const {
  int y = 0;
  for (int row = 0; row < model_->FixedRowCount(); ++row) {
    const int height = headingRowHeights_[static_cast<size_t>(row)];
    int x = 0;
    for (int column = 0; column < model_->FixedColumnCount(); ++column) {
      const int width = headingColumnWidths_[static_cast<size_t>(column)];
      PaintHeadingCell(painter, QRect(x, y, width, height), row, column, false);
      x += width;
    }
    y += height;
  }
}

void CGridCtrl::PaintCell(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QPalette::ColorGroup group = GroupOf(option);
  const bool selected = option.state & QStyle::State_Selected;
  const QRect& rect = option.rect;
  painter.fillRect(rect, option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));
  const QColor textColor = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
  painter.setPen(textColor);
  painter.setFont(option.font);
  painter.drawText(rect.adjusted(kTextMargin, 0, -kTextMargin, -1), Qt::AlignLeft | Qt::AlignVCenter,
                   model_->data(index, Qt::DisplayRole).toString());
  painter.setPen(QColor(kGridLineColor));
  painter.drawLine(rect.topRight(), rect.bottomRight());
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());
  if (frameFocus_ && index == currentIndex()) {
    painter.setPen(textColor);
    painter.drawRect(rect.adjusted(0, 0, -2, -2));
  }
}

}  // namespace tessaly::gui
