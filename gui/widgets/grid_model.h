#pragma once
// The cell store behind CGridCtrl: every cell of the grid, headings included,
// as UTF-8 texts packed one buffer per row. A list page holds 65,535 x 20
// cells, so a cell costs only its bytes and one offset; no object per cell.
//
// Grid coordinates count the heading rows and columns; the Qt side of the
// model shows only the normal cells (grid row fixedRows + r is view row r),
// and the headings reach the view through the header views.
#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::gui {

class GridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColumnCount() const { return columns_; }
  int FixedRowCount() const { return fixedRows_; }
  int FixedColumnCount() const { return fixedColumns_; }

  // Every row and column gone, no headings.
  void Clear();
  // Adds empty rows / columns at the end or removes them from the end;
  // headings that no longer exist are dropped.
  void SetRowCount(int rows);
  void SetColumnCount(int columns);
  // Headings beyond the counts grow the grid to hold them.
  void SetFixedCounts(int rows, int columns);

  // Stores the text and marks the cell modified; false (nothing changed)
  // for a cell the grid does not have. Tells no view: the grid announces a
  // run of writes at once with AnnounceTextChanges().
  bool SetText(int row, int column, std::string_view utf8);
  QString Text(int row, int column) const;
  bool IsModified(int row, int column) const;
  bool Contains(int row, int column) const;

  void AnnounceTextChanges();
  void SetEditable(bool editable);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  // One row's texts back to back; ends[c] is where cell c ends, its top bit
  // the modified mark. A row never written has no ends at all.
  struct Row {
    std::string text;
    std::vector<uint32_t> ends;
  };
  static constexpr uint32_t kModified = 0x8000'0000u;
  static constexpr uint32_t kOffset = ~kModified;

  static uint32_t Start(const Row& row, int column);
  void ChangeCount(Qt::Orientation orientation, int count, int before, int& fixed, const std::function<void()>& resize);

  std::vector<Row> rows_;
  int columns_ = 0;
  int fixedRows_ = 0;
  int fixedColumns_ = 0;
  bool editable_ = false;
};

}  // namespace tessaly::gui
