#pragma once
// A grid of text cells with heading rows and columns: scrolling, whole-row
// selection, keyboard navigation, resizing by the heading borders and copying
// the selection as tab-separated text. Rows and columns are counted in grid
// coordinates, the headings included (row 0 is the first heading row when
// there is one).
//
// The heading rows are drawn in the horizontal header and the heading
// columns in the vertical header, so they stay put while the cells scroll.
#include <QTableView>
#include <array>
#include <string_view>
#include <vector>

class QAbstractButton;
class QMouseEvent;

namespace tessaly::gui {

class GridModel;

class CGridCtrl : public QTableView {
  Q_OBJECT
 public:
  // The four default cells: normal cells, cells of heading rows, cells of
  // heading columns and the corner where both meet.
  enum class DefaultCell { Normal, FixedRow, FixedColumn, Corner };

  static constexpr int kDefaultColumnWidth = 90;
  static constexpr QRgb kGridLineColor = 0xC0C0C0;

  explicit CGridCtrl(QWidget* parent = nullptr);

  // Removes every row and column; selection and focus go with them.
  void DeleteAllItems();
  void SetRowCount(int rows);
  void SetColumnCount(int columns);
  int GetRowCount() const;
  int GetColumnCount() const;
  // The first rows / columns become headings; the grid grows to hold them.
  // Headings keep their sizes while they stay headings; new ones get the
  // default heading row height and the default column width.
  void SetFixedRowCount(int rows);
  void SetFixedColumnCount(int columns);

  // Sizes of rows and columns that exist; others are ignored (0 is read).
  void SetColumnWidth(int column, int px);
  void SetRowHeight(int row, int px);
  int GetColumnWidth(int column) const;
  int GetRowHeight(int row) const;

  // A cell the grid does not have is left alone: false.
  bool SetItemText(int row, int column, std::string_view utf8);
  QString GetItemText(int row, int column) const;
  bool IsItemModified(int row, int column) const;

  // A row is as high as the highest default of the kinds of cells it holds:
  // normal rows take Normal (and FixedColumn when there is a heading column),
  // heading rows FixedRow (and Corner). A change applies to normal rows at
  // once and to heading rows when they become headings.
  void SetDefaultCellHeight(DefaultCell cell, int px);

  // Editable: Qt's in-place editor on double-click, F2 or typing. Off: the
  // texts change only through SetItemText, and cut, paste, Delete and F2 do
  // nothing.
  void SetEditable(bool editable);
  // List mode: a click selects the whole row; clicks on the heading row
  // select nothing.
  void SetListMode(bool listMode);
  void EnableSelection(bool enable);
  // Highlight the headings of the focus cell's row and column.
  void SetTrackFocusCell(bool track);
  // Outline the focus cell in its text colour.
  void SetFrameFocusCell(bool frame);

  struct CellId {
    int row = -1;
    int column = -1;
    bool operator==(const CellId&) const = default;
  };
  // In grid coordinates; {-1, -1} when there is none.
  CellId GetFocusCell() const;
  bool IsCellSelected(int row, int column) const;

  // What Ctrl+C puts on the clipboard: over the selection's bounding box,
  // each row of positive height gives the texts of its selected cells in
  // the columns of positive width, a tab after every column but the box's
  // last, CR LF after every row but the box's last.
  QString SelectionText() const;
  void CopySelection() const;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  enum class CornerEdge { None, Right, Bottom };

  friend class GridHeader;
  friend class GridCellDelegate;

  CornerEdge CornerEdgeAt(QPoint at) const;
  bool CornerMouse(const QMouseEvent& event);
  void Resize(Qt::Orientation orientation, int index, int px);
  int SizeOf(Qt::Orientation orientation, int index) const;
  int NormalRowHeight() const;
  int HeadingRowHeight() const;
  void ApplyNormalRowHeight();
  void ApplyHeadingSizes();
  void ScheduleRepaint();
  void RepaintHeadings();
  QModelIndex ViewIndex(int row, int column) const;

  void PaintHeadingCell(QPainter& painter, const QRect& rect, int row, int column, bool highlighted) const;
  void PaintHeadingSection(QPainter& painter, const QRect& rect, Qt::Orientation orientation, int section) const;
  void PaintCorner(QPainter& painter) const;
  void PaintCell(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

  GridModel* model_;
  QAbstractButton* corner_;
  std::array<int, 4> defaultHeights_;
  std::vector<int> headingRowHeights_;
  std::vector<int> headingColumnWidths_;
  bool editable_ = true;
  bool trackFocus_ = false;
  bool frameFocus_ = false;
  bool repaintPending_ = false;
  CornerEdge cornerDrag_ = CornerEdge::None;
};

}  // namespace tessaly::gui
