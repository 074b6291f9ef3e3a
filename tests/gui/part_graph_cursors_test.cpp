// Measurement cursors A and B on the part graph of a loaded page: clicks,
// keys, the part window, the panel and its copy text, the statistics dialog.
#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QDialog>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <filesystem>

#include "analysis/cursor_readout.h"
#include "chart/ct_chart.h"
#include "gui/support/gui_fixture.h"
#include "support/process.h"
#include "viewer/child_frame.h"
#include "viewer/cursor_panel.h"
#include "viewer/data_graph_dlg.h"
#include "viewer/my_form_view.h"
#include "viewer/part_graph_cursors.h"

namespace tessaly::testing {
namespace {

using gui::PartGraphCursors;

// 30 sectors of 6 samples: the part window after the load shows samples 81
// to 98, one point each.
class PartGraphCursorsTest : public GuiTest {
 protected:
  void SetUp() override {
    MakeFrame();
    record = WriteRecord("rec.D01", 30);
    viewer = OpenThroughMenu(record);
    ASSERT_NE(viewer, nullptr);
    QTest::mouseClick(viewer->pageTree()->viewport(), Qt::LeftButton, {},
                      viewer->LabelRect(viewer->pagingRoot()->child(0)).center());
    ASSERT_TRUE(WaitForIdle());
    ASSERT_EQ(data.samples.size(), 180u);
    ASSERT_EQ(data.partFirst, 81u);
    ASSERT_EQ(data.partGraphInterval, 1);
  }
  gui::CDataGraphDlg& Page() { return *viewer->formView()->graphPage(); }
  gui::CTChart& Chart() { return Page().PartGraph(); }
  PartGraphCursors& Cursors() { return Page().Cursors(); }
  void ClickPoint(Qt::MouseButton button, double point) {
    const QPoint at(Chart().PixelAtXValue(point), Chart().PlotRect().bottom() - 5);
    QTest::mouseClick(&Chart(), button, {}, at);
  }

  std::string record;
  gui::CChildFrame* viewer = nullptr;
};

TEST_F(PartGraphCursorsTest, ClicksPlaceTheCursorsAndKeysMoveTheOneSetLast) {
  EXPECT_FALSE(Page().CursorPanel().isVisibleTo(&Page()));
  ClickPoint(Qt::LeftButton, 2.3);
  ClickPoint(Qt::RightButton, 11.8);
  EXPECT_EQ(Cursors().Sample(PartGraphCursors::kA), 83u);
  EXPECT_EQ(Cursors().Sample(PartGraphCursors::kB), 93u);
  EXPECT_EQ(Chart().MeasureLineX(PartGraphCursors::kA), 2.0);
  EXPECT_EQ(Chart().MeasureLineX(PartGraphCursors::kB), 12.0);
  EXPECT_TRUE(Page().CursorPanel().isVisibleTo(&Page()));
  // The panel takes its room from the part graph.
  EXPECT_EQ(Chart().width() + Page().CursorPanel().width(), Page().width());

  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    size_t b;
  };
  // B was set last; it stops at the last point of the window.
  for (const Step& s : {Step{Qt::Key_Left, Qt::NoModifier, 92}, Step{Qt::Key_Left, Qt::ShiftModifier, 82},
                        Step{Qt::Key_Right, Qt::ShiftModifier, 92}, Step{Qt::Key_Right, Qt::ShiftModifier, 98}}) {
    QTest::keyClick(&Chart(), s.key, s.modifiers);
    EXPECT_EQ(Cursors().Sample(PartGraphCursors::kB), s.b);
  }
  EXPECT_EQ(Cursors().Sample(PartGraphCursors::kA), 83u);
  ClickPoint(Qt::LeftButton, 0);
  QTest::keyClick(&Chart(), Qt::Key_Right);
  EXPECT_EQ(Cursors().Sample(PartGraphCursors::kA), 82u);

  // The table's context menu offers the panel's commands; its last clears.
  const QList<QAction*> commands = Page().CursorPanel().findChild<QWidget*>("cursorTable")->actions();
  ASSERT_EQ(commands.size(), 3);
  commands.back()->trigger();
  EXPECT_FALSE(Cursors().Sample(PartGraphCursors::kA));
  EXPECT_FALSE(Cursors().Sample(PartGraphCursors::kB));
  ClickPoint(Qt::LeftButton, 0);
  QTest::keyClick(&Chart(), Qt::Key_Escape);
  EXPECT_FALSE(Cursors().Sample(PartGraphCursors::kA));
  EXPECT_FALSE(Cursors().Sample(PartGraphCursors::kB));
  EXPECT_FALSE(Chart().MeasureLineX(PartGraphCursors::kA));
  EXPECT_FALSE(Page().CursorPanel().isVisibleTo(&Page()));
  EXPECT_EQ(Chart().width(), Page().width());
}

TEST_F(PartGraphCursorsTest, LinesShowOnTheScreenButNotInPicturesForPrintOrExport) {
  const QSize size(800, 500);
  const QImage before = Chart().RenderImage(size);
  const QImage screenBefore = Chart().grab().toImage();
  ClickPoint(Qt::LeftButton, 5);
  ClickPoint(Qt::RightButton, 9);
  EXPECT_EQ(Chart().RenderImage(size), before);
  EXPECT_NE(Chart().grab().toImage(), screenBefore);
}

TEST_F(PartGraphCursorsTest, CursorsFollowThePartWindowAndGoWithANewLoad) {
  ClickPoint(Qt::LeftButton, 4);
  ClickPoint(Qt::RightButton, 15);
  // The window starts five points earlier: both samples still lie in it.
  data.partFirst -= 5;
  Page().FillPartGraph();
  EXPECT_EQ(Chart().MeasureLineX(PartGraphCursors::kA), 9.0);
  EXPECT_EQ(Chart().MeasureLineX(PartGraphCursors::kB), 20.0);
  // Now it ends before B's sample.
  data.partEnd = 95;
  Page().FillPartGraph();
  EXPECT_EQ(Cursors().Sample(PartGraphCursors::kA), 85u);
  EXPECT_FALSE(Cursors().Sample(PartGraphCursors::kB));
  EXPECT_FALSE(Chart().MeasureLineX(PartGraphCursors::kB));
  // A page load draws the all graph first.
  Page().FillAllGraph();
  EXPECT_FALSE(Cursors().Sample(PartGraphCursors::kA));
}

TEST_F(PartGraphCursorsTest, ALoadRefusesCursorsWhileItRunsAndClearsThemWhenItEnds) {
  ClickPoint(Qt::LeftButton, 3);
  probe->HoldNextLoad();
  QTest::mouseClick(viewer->pageTree()->viewport(), Qt::LeftButton, {},
                    viewer->LabelRect(viewer->pagingRoot()->child(0)).center());
  ASSERT_TRUE(probe->WaitUntilHeld());
  // The loader owns the samples now.
  ClickPoint(Qt::RightButton, 5);
  QTest::keyClick(&Chart(), Qt::Key_Right);
  EXPECT_FALSE(Cursors().Sample(PartGraphCursors::kB));
  EXPECT_EQ(Cursors().Sample(PartGraphCursors::kA), 84u);
  EXPECT_EQ(prompts.Messages().size(), 2u);
  probe->Release();
  ASSERT_TRUE(WaitForIdle());
  EXPECT_FALSE(Cursors().Sample(PartGraphCursors::kA));
  EXPECT_FALSE(Page().CursorPanel().isVisibleTo(&Page()));
}

TEST_F(PartGraphCursorsTest, PanelCopiesWhatTheCommandLinePrints) {
  ClickPoint(Qt::LeftButton, 14);
  ClickPoint(Qt::RightButton, 3);
  Page().CursorPanel().findChild<QPushButton*>("cursorCopy")->click();
  const std::string copied = QApplication::clipboard()->text().toStdString();
  // The viewer holds its record file exclusively.
  const std::string copy = files.File("copy.D01");
  std::filesystem::copy_file(record, copy);
  const ProcessResult cli =
      RunProcess({TESSALY_CLI_PATH, "stats", copy, "--page", "1", "--cursors", "95", "84", "--lang", "zh"});
  ASSERT_EQ(cli.exitCode, 0) << cli.err;
  EXPECT_EQ(copied, cli.out);
  EXPECT_EQ(copied, Page().CursorPanel().CopyText());
  EXPECT_EQ(copied.substr(0, copied.find('\n')),
            "通道\t单位\tA\tB\tΔ (B−A)\t最小值\t最大值\t平均值\t超上限（秒）\t超下限（秒）\t");
  // A row per shown channel after the time row; the legend hides one.
  const size_t rows = Page().CursorPanel().Table().rows.size();
  EXPECT_EQ(rows, 1u + analysis::ReadCursors(data.samples, data, 95, 84).channels.size());
  QTest::mouseClick(&Chart(), Qt::LeftButton, {}, Chart().LegendEntryRect(0).center());
  EXPECT_EQ(Page().CursorPanel().Table().rows.size(), rows - 1);
}

TEST_F(PartGraphCursorsTest, StatisticsOpensOnTheRangeBetweenTheCursors) {
  gui::Command command = gui::Command::CursorStatistics;
  Trigger(command);
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Count("dialog"), 0);

  ClickPoint(Qt::LeftButton, 12);
  ClickPoint(Qt::RightButton, 1);
  std::vector<QDateTime> range;
  const auto read = [&range](QDialog& dialog) {
    for (auto [date, time] : {std::pair{"1045", "1043"}, {"1046", "1044"}})
      range.emplace_back(dialog.findChild<QDateEdit*>(date)->date(), dialog.findChild<QTimeEdit*>(time)->time());
    return QDialog::Accepted;
  };
  prompts.dialogs.push_back(read);
  Trigger(command);
  prompts.dialogs.push_back(read);
  Page().CursorPanel().findChild<QPushButton*>("cursorStatistics")->click();
  ASSERT_EQ(prompts.Count("dialog"), 2);
  // The earlier cursor starts the range: samples 82 and 93, a second apart each from 08:00:00.
  const QDateTime start(QDate(2015, 1, 5), QTime(8, 1, 22));
  const QDateTime stop(QDate(2015, 1, 5), QTime(8, 1, 33));
  EXPECT_EQ(range, (std::vector<QDateTime>{start, stop, start, stop}));
}

}  // namespace
}  // namespace tessaly::testing
