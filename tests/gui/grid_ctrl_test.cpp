#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui_input.h"
#include "widgets/grid_ctrl.h"

namespace tessaly::gui {
namespace {

using Cell = CGridCtrl::CellId;
using testing::Key;
using testing::Mouse;

std::string CellName(int row, int column) { return std::to_string(row) + "," + std::to_string(column); }

// A shown grid of `rows` x `columns` cells, one heading row and column, every
// cell holding "row,column".
class GridTest : public ::testing::Test {
 protected:
  void Build(int rows, int columns) {
    grid.SetColumnCount(columns);
    grid.SetRowCount(rows);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < columns; ++c) grid.SetItemText(r, c, CellName(r, c));
    }
    testing::ShowUnpainted(grid, QSize(500, 300));
  }

  std::vector<QString> AllTexts() const {
    std::vector<QString> texts;
    for (int r = 0; r < grid.GetRowCount(); ++r) {
      for (int c = 0; c < grid.GetColumnCount(); ++c) texts.push_back(grid.GetItemText(r, c));
    }
    return texts;
  }

  QPoint CellCentre(int row, int column) const { return testing::CellCentre(grid, row, column); }
  void Click(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    testing::Click(grid, row, column, modifiers);
  }

  std::vector<int> SelectedRows() const {
    std::vector<int> rows;
    for (int r = 0; r < grid.GetRowCount(); ++r) {
      bool all = true;
      for (int c = 1; c < grid.GetColumnCount(); ++c) all = all && grid.IsCellSelected(r, c);
      if (all) rows.push_back(r);
    }
    return rows;
  }

  CGridCtrl grid;
};

TEST_F(GridTest, CellsKeepTheirTextsWhenNeighboursChangeLength) {
  grid.SetColumnCount(4);
  grid.SetRowCount(2);
  for (int c = 0; c < 4; ++c) grid.SetItemText(1, c, CellName(1, c));
  grid.SetItemText(1, 1, "a much longer text 温度");
  EXPECT_EQ(grid.GetItemText(1, 0), "1,0");
  EXPECT_EQ(grid.GetItemText(1, 1), QString::fromUtf8("a much longer text 温度"));
  EXPECT_EQ(grid.GetItemText(1, 2), "1,2");
  grid.SetItemText(1, 1, "");
  grid.SetItemText(1, 3, "end");
  EXPECT_EQ(grid.GetItemText(1, 1), "");
  EXPECT_EQ(grid.GetItemText(1, 2), "1,2");
  EXPECT_EQ(grid.GetItemText(1, 3), "end");
  EXPECT_TRUE(grid.IsItemModified(1, 1));
  EXPECT_FALSE(grid.IsItemModified(0, 1));

  grid.SetColumnCount(2);
  grid.SetColumnCount(3);
  EXPECT_EQ(grid.GetItemText(1, 1), "");
  EXPECT_EQ(grid.GetItemText(1, 0), "1,0");
  EXPECT_EQ(grid.GetItemText(1, 2), "") << "a column added again starts empty";
}

TEST_F(GridTest, WritesOutsideTheGridChangeNothing) {
  Build(4, 3);
  const std::vector<QString> before = AllTexts();
  for (const Cell& outside : {Cell{-1, 0}, Cell{4, 0}, Cell{0, -1}, Cell{0, 3}, Cell{65535, 1}}) {
    EXPECT_FALSE(grid.SetItemText(outside.row, outside.column, "x")) << outside.row << "," << outside.column;
    EXPECT_FALSE(grid.IsItemModified(outside.row, outside.column));
  }
  EXPECT_EQ(AllTexts(), before);
  EXPECT_EQ(grid.GetRowCount(), 4);
  EXPECT_EQ(grid.GetColumnCount(), 3);
}

TEST_F(GridTest, HeadingsStayOutOfTheScrollingCells) {
  Build(5, 4);
  ASSERT_EQ(grid.model()->rowCount(), 4);
  ASSERT_EQ(grid.model()->columnCount(), 3);
  EXPECT_EQ(grid.model()->index(0, 0).data().toString(), "1,1");
  EXPECT_TRUE(grid.horizontalHeader()->isVisible());
  EXPECT_TRUE(grid.verticalHeader()->isVisible());

  grid.SetRowHeight(0, 30);
  grid.SetColumnWidth(0, 60);
  grid.SetRowHeight(2, 40);
  grid.SetColumnWidth(3, 0);
  EXPECT_EQ(grid.horizontalHeader()->height(), 30);
  EXPECT_EQ(grid.verticalHeader()->width(), 60);
  EXPECT_EQ(grid.GetRowHeight(2), 40);
  EXPECT_EQ(grid.GetColumnWidth(3), 0);
  grid.SetColumnCount(5);
  EXPECT_EQ(grid.GetRowHeight(2), 40) << "adding columns keeps the row heights";
  EXPECT_EQ(grid.GetColumnWidth(4), CGridCtrl::kDefaultColumnWidth);
}

TEST_F(GridTest, DeleteAllItemsClearsCellsSelectionAndFocus) {
  Build(5, 4);
  Click(2, 2);
  ASSERT_EQ(grid.GetFocusCell(), (Cell{2, 2}));
  grid.DeleteAllItems();
  EXPECT_EQ(grid.GetRowCount(), 0);
  EXPECT_EQ(grid.GetColumnCount(), 0);
  EXPECT_EQ(grid.GetFocusCell(), Cell{});
  EXPECT_FALSE(grid.selectionModel()->hasSelection());
  EXPECT_FALSE(grid.horizontalHeader()->isVisible());
}

TEST_F(GridTest, DefaultHeightsApplyToRowsByKind) {
  grid.SetDefaultCellHeight(CGridCtrl::DefaultCell::Normal, 23);
  grid.SetDefaultCellHeight(CGridCtrl::DefaultCell::FixedRow, 28);
  grid.SetDefaultCellHeight(CGridCtrl::DefaultCell::FixedColumn, 25);
  grid.SetDefaultCellHeight(CGridCtrl::DefaultCell::Corner, 31);
  grid.SetColumnCount(3);
  grid.SetRowCount(4);
  grid.SetFixedRowCount(1);
  EXPECT_EQ(grid.GetRowHeight(0), 28);
  EXPECT_EQ(grid.GetRowHeight(1), 23);
  grid.SetFixedColumnCount(1);
  EXPECT_EQ(grid.GetRowHeight(0), 28) << "a heading keeps its height";
  EXPECT_EQ(grid.GetRowHeight(1), 25) << "rows now hold heading-column cells";
  grid.SetFixedRowCount(2);
  EXPECT_EQ(grid.GetRowHeight(1), 31) << "a new heading row meets the corner";
}

TEST_F(GridTest, MouseSelectsWholeRowsInListMode) {
  Build(10, 5);
  grid.SetListMode(true);
  Click(2, 3);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2}));
  EXPECT_EQ(grid.GetFocusCell(), (Cell{2, 3}));
  Click(5, 1, Qt::ControlModifier);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2, 5}));
  Click(4, 1);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{4}));

  // Dragging from row 4 to row 7 extends the selection over the rows between.
  Mouse(*grid.viewport(), QEvent::MouseButtonPress, CellCentre(4, 2), Qt::LeftButton);
  Mouse(*grid.viewport(), QEvent::MouseMove, CellCentre(7, 2), Qt::LeftButton);
  Mouse(*grid.viewport(), QEvent::MouseButtonRelease, CellCentre(7, 2), Qt::NoButton);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{4, 5, 6, 7}));

  // A click on the heading row selects no column.
  QHeaderView& header = *grid.horizontalHeader();
  const QPoint heading(header.sectionViewportPosition(1) + 10, header.height() / 2);
  Mouse(*header.viewport(), QEvent::MouseButtonPress, heading, Qt::LeftButton);
  Mouse(*header.viewport(), QEvent::MouseButtonRelease, heading, Qt::NoButton);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{4, 5, 6, 7}));
}

TEST_F(GridTest, MouseSelectsSingleCellsOutsideListMode) {
  Build(10, 5);
  Click(2, 3);
  EXPECT_TRUE(grid.IsCellSelected(2, 3));
  EXPECT_FALSE(grid.IsCellSelected(2, 2));
  grid.EnableSelection(false);
  Click(4, 2);
  EXPECT_FALSE(grid.selectionModel()->hasSelection());
  EXPECT_EQ(grid.GetFocusCell(), (Cell{4, 2})) << "the focus cell moves without a selection";
}

TEST_F(GridTest, DraggingAHeadingBorderResizes) {
  Build(10, 5);
  for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
    QHeaderView& header = orientation == Qt::Horizontal ? *grid.horizontalHeader() : *grid.verticalHeader();
    const int before = header.sectionSize(1);
    const int border = header.sectionViewportPosition(1) + before - 1;
    const QPoint from =
        orientation == Qt::Horizontal ? QPoint(border, header.height() / 2) : QPoint(header.width() / 2, border);
    const QPoint to = from + (orientation == Qt::Horizontal ? QPoint(25, 0) : QPoint(0, 25));
    Mouse(*header.viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton);
    Mouse(*header.viewport(), QEvent::MouseMove, to, Qt::LeftButton);
    Mouse(*header.viewport(), QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_EQ(header.sectionSize(1), before + 25) << orientation;
  }
  EXPECT_EQ(grid.GetColumnWidth(2), CGridCtrl::kDefaultColumnWidth + 25);

  // The heading column and the heading row are sized at the corner's edges.
  QWidget& corner = *grid.findChild<QAbstractButton*>();
  const int headingWidth = grid.GetColumnWidth(0);
  const int headingHeight = grid.GetRowHeight(0);
  const QPoint right(corner.width() - 1, corner.height() / 2);
  Mouse(corner, QEvent::MouseButtonPress, right, Qt::LeftButton);
  Mouse(corner, QEvent::MouseMove, right + QPoint(30, 0), Qt::LeftButton);
  Mouse(corner, QEvent::MouseButtonRelease, right + QPoint(30, 0), Qt::NoButton);
  EXPECT_EQ(grid.GetColumnWidth(0), headingWidth + 30 - 1);
  EXPECT_EQ(grid.verticalHeader()->width(), grid.GetColumnWidth(0));
  const QPoint bottom(corner.width() / 2, corner.height() - 1);
  Mouse(corner, QEvent::MouseButtonPress, bottom, Qt::LeftButton);
  Mouse(corner, QEvent::MouseMove, bottom + QPoint(0, 12), Qt::LeftButton);
  Mouse(corner, QEvent::MouseButtonRelease, bottom + QPoint(0, 12), Qt::NoButton);
  EXPECT_EQ(grid.GetRowHeight(0), headingHeight + 12 - 1);
  EXPECT_FALSE(grid.selectionModel()->hasSelection()) << "sizing at the corner selects nothing";
}

TEST_F(GridTest, WheelScrollsTheSystemLinesPerNotchOneRowEach) {
  Build(200, 5);
  QScrollBar& bar = *grid.verticalScrollBar();
  ASSERT_EQ(bar.value(), 0);
  const QPoint at = grid.viewport()->rect().center();
  QWheelEvent notch(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid.viewport(), &notch);
  EXPECT_EQ(bar.value(), QApplication::wheelScrollLines());
  EXPECT_EQ(grid.rowAt(0), QApplication::wheelScrollLines());
}

struct NavigationCase {
  int key;
  Qt::KeyboardModifiers modifiers;
  Cell expected;
};

TEST_F(GridTest, KeysMoveTheFocusCell) {
  Build(50, 6);
  const NavigationCase cases[] = {
      {Qt::Key_Down, Qt::NoModifier, {6, 2}},      {Qt::Key_Up, Qt::NoModifier, {4, 2}},
      {Qt::Key_Right, Qt::NoModifier, {5, 3}},     {Qt::Key_Left, Qt::NoModifier, {5, 1}},
      {Qt::Key_Tab, Qt::NoModifier, {5, 3}},       {Qt::Key_Home, Qt::NoModifier, {5, 1}},
      {Qt::Key_End, Qt::NoModifier, {5, 5}},       {Qt::Key_Home, Qt::ControlModifier, {1, 1}},
      {Qt::Key_End, Qt::ControlModifier, {49, 5}},
  };
  for (const NavigationCase& c : cases) {
    Click(5, 2);
    Key(grid, c.key, c.modifiers);
    EXPECT_EQ(grid.GetFocusCell(), c.expected) << QKeySequence(c.key | c.modifiers).toString().toStdString();
  }

  // A page moves by about the rows in view, and the focus cell stays in view.
  Click(5, 2);
  const int rowsInView = grid.viewport()->height() / grid.GetRowHeight(5);
  Key(grid, Qt::Key_PageDown);
  const Cell down = grid.GetFocusCell();
  EXPECT_GE(down.row, 5 + rowsInView - 2);
  EXPECT_EQ(down.column, 2);
  EXPECT_TRUE(grid.viewport()->rect().contains(CellCentre(down.row, down.column)));
  Key(grid, Qt::Key_PageUp);
  EXPECT_LT(grid.GetFocusCell().row, down.row - rowsInView + 2);
}

TEST_F(GridTest, EditingKeysDoNothingWhenNotEditable) {
  Build(6, 4);
  grid.SetEditable(false);
  QApplication::clipboard()->setText("pasted");
  Click(2, 2);
  const std::vector<QString> before = AllTexts();
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_X, Qt::ControlModifier},
                                       {Qt::Key_V, Qt::ControlModifier},
                                       {Qt::Key_Delete, Qt::NoModifier},
                                       {Qt::Key_F2, Qt::NoModifier}}) {
    Key(grid, key, modifiers);
    EXPECT_EQ(AllTexts(), before) << key;
    EXPECT_EQ(grid.GetFocusCell(), (Cell{2, 2})) << key;
    EXPECT_TRUE(grid.IsCellSelected(2, 2)) << key;
    const QLineEdit* editor = grid.findChild<QLineEdit*>();
    EXPECT_FALSE(editor && editor->isVisible()) << key;
  }
  EXPECT_EQ(QApplication::clipboard()->text(), "pasted") << "cut took nothing";

  grid.SetEditable(true);
  Key(grid, Qt::Key_F2);
  const QLineEdit* editor = grid.findChild<QLineEdit*>();
  EXPECT_TRUE(editor && editor->isVisible()) << "an editable grid edits on F2";
}

struct CopyCase {
  const char* name;
  std::vector<int> rows;  // clicked in this order, Ctrl held after the first; empty: Ctrl+A
  int zeroWidthColumn;    // -1 for none
  int zeroHeightRow;
  std::string expected;
};

TEST_F(GridTest, CopyTakesTheSelectionsBoundingBox) {
  const CopyCase cases[] = {
      {"two rows", {1, 2}, -1, -1, "1,1\t1,2\t1,3\r\n2,1\t2,2\t2,3"},
      {"unselected row inside", {3, 1}, -1, -1, "1,1\t1,2\t1,3\r\n\t\t\r\n3,1\t3,2\t3,3"},
      {"zero-width column", {1, 2}, 2, -1, "1,1\t1,3\r\n2,1\t2,3"},
      {"zero-height row", {}, -1, 2, "1,1\t1,2\t1,3\r\n3,1\t3,2\t3,3"},
  };
  for (const CopyCase& c : cases) {
    grid.DeleteAllItems();
    Build(4, 4);
    grid.SetListMode(true);
    if (c.zeroWidthColumn >= 0) grid.SetColumnWidth(c.zeroWidthColumn, 0);
    if (c.zeroHeightRow >= 0) grid.SetRowHeight(c.zeroHeightRow, 0);
    if (c.rows.empty()) Key(grid, Qt::Key_A, Qt::ControlModifier);
    for (size_t i = 0; i < c.rows.size(); ++i) Click(c.rows[i], 1, i ? Qt::ControlModifier : Qt::NoModifier);
    QApplication::clipboard()->clear();
    Key(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), c.expected) << c.name;
    QApplication::clipboard()->clear();
    Key(grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), c.expected) << c.name << ", Ctrl+Insert";
  }
}

}  // namespace
}  // namespace tessaly::gui
