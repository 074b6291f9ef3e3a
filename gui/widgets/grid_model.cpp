#include "widgets/grid_model.h"

#include <algorithm>

namespace tessaly::gui {

void GridModel::Clear() {
  beginResetModel();
  std::vector<Row>().swap(rows_);
  columns_ = fixedRows_ = fixedColumns_ = 0;
  endResetModel();
}

// Rows and columns change alike: at the end of the view, or by a reset when
// headings go.
void GridModel::ChangeCount(Qt::Orientation orientation, int count, int before, int& fixed,
                            const std::function<void()>& resize) {
  if (count < fixed) {
    beginResetModel();
    resize();
    fixed = count;
    endResetModel();
    return;
  }
  const bool rows = orientation == Qt::Vertical;
  const int viewBefore = before - fixed;
  const int viewAfter = count - fixed;
  if (viewAfter > viewBefore) {
    rows ? beginInsertRows({}, viewBefore, viewAfter - 1) : beginInsertColumns({}, viewBefore, viewAfter - 1);
    resize();
    rows ? endInsertRows() : endInsertColumns();
  } else if (viewAfter < viewBefore) {
    rows ? beginRemoveRows({}, viewAfter, viewBefore - 1) : beginRemoveColumns({}, viewAfter, viewBefore - 1);
    resize();
    rows ? endRemoveRows() : endRemoveColumns();
  }
}

void GridModel::SetRowCount(int rows) {
  rows = std::max(rows, 0);
  ChangeCount(Qt::Vertical, rows, RowCount(), fixedRows_, [&] { rows_.resize(static_cast<size_t>(rows)); });
}

void GridModel::SetColumnCount(int columns) {
  columns = std::max(columns, 0);
  ChangeCount(Qt::Horizontal, columns, columns_, fixedColumns_, [&] {
    for (Row& row : rows_) {
      if (row.ends.size() <= static_cast<size_t>(columns)) continue;
      row.text.resize(columns == 0 ? 0 : row.ends[static_cast<size_t>(columns) - 1] & kOffset);
      row.ends.resize(static_cast<size_t>(columns));
    }
    columns_ = columns;
  });
}

void GridModel::SetFixedCounts(int rows, int columns) {
  rows = std::max(rows, 0);
  columns = std::max(columns, 0);
  if (rows == fixedRows_ && columns == fixedColumns_) return;
  beginResetModel();
  if (rows > RowCount()) rows_.resize(static_cast<size_t>(rows));
  columns_ = std::max(columns_, columns);
  fixedRows_ = rows;
  fixedColumns_ = columns;
  endResetModel();
}

bool GridModel::Contains(int row, int column) const {
  return row >= 0 && row < RowCount() && column >= 0 && column < columns_;
}

uint32_t GridModel::Start(const Row& row, int column) {
  return column == 0 ? 0 : row.ends[static_cast<size_t>(column) - 1] & kOffset;
}

bool GridModel::SetText(int row, int column, std::string_view utf8) {
  if (!Contains(row, column)) return false;
  Row& r = rows_[static_cast<size_t>(row)];
  const auto c = static_cast<size_t>(column);
  if (r.ends.size() <= c) r.ends.resize(static_cast<size_t>(columns_), static_cast<uint32_t>(r.text.size()));
  const uint32_t start = Start(r, column);
  const uint32_t end = r.ends[c] & kOffset;
  const int64_t delta = static_cast<int64_t>(utf8.size()) - (end - start);
  if (static_cast<int64_t>(r.text.size()) + delta > kOffset) return false;
  r.text.replace(start, end - start, utf8);
  r.ends[c] = (start + static_cast<uint32_t>(utf8.size())) | kModified;
  for (size_t k = c + 1; k < r.ends.size(); ++k) {
    r.ends[k] = static_cast<uint32_t>((r.ends[k] & kOffset) + delta) | (r.ends[k] & kModified);
  }
  return true;
}

QString GridModel::Text(int row, int column) const {
  if (!Contains(row, column)) return {};
  const Row& r = rows_[static_cast<size_t>(row)];
  if (static_cast<size_t>(column) >= r.ends.size()) return {};
  const uint32_t start = Start(r, column);
  return QString::fromUtf8(r.text.data() + start, (r.ends[static_cast<size_t>(column)] & kOffset) - start);
}

bool GridModel::IsModified(int row, int column) const {
  if (!Contains(row, column)) return false;
  const Row& r = rows_[static_cast<size_t>(row)];
  return static_cast<size_t>(column) < r.ends.size() && (r.ends[static_cast<size_t>(column)] & kModified);
}

void GridModel::AnnounceTextChanges() {
  if (rowCount() > 0 && columnCount() > 0) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
  }
}

void GridModel::SetEditable(bool editable) { editable_ = editable; }

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowCount() - fixedRows_; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_ - fixedColumns_; }

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return Text(index.row() + fixedRows_, index.column() + fixedColumns_);
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!editable_ || !index.isValid() || role != Qt::EditRole) return false;
  const QByteArray utf8 = value.toString().toUtf8();
  if (!SetText(index.row() + fixedRows_, index.column() + fixedColumns_,
               std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())))) {
    return false;
  }
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable_) f |= Qt::ItemIsEditable;
  return f;
}

}  // namespace tessaly::gui
