#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <filesystem>

#include "app/progress_status_bar.h"
#include "app/prompt_service.h"
#include "base/texts.h"
#include "chart/ct_chart.h"
#include "gui/support/gui_fixture.h"
#include "gui_probe.h"
#include "output/print_frame.h"
#include "record_writer.h"
#include "viewer/child_frame.h"
#include "viewer/data_graph_dlg.h"
#include "viewer/data_list_dlg.h"
#include "viewer/my_button.h"
#include "viewer/my_form_view.h"
#include "viewer/my_tab_ctrl.h"
#include "widgets/grid_ctrl.h"
#include "widgets/splitter_ctrl.h"

namespace tessaly::testing {
namespace {

using gui::CChildFrame;
using gui::Command;

const std::vector<std::string> kHandOff = {"FillList", "FillAllGraph", "FillPartGraph"};

QStringList TopLevelTexts(QTreeWidget* tree) {
  QStringList texts;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) texts << tree->topLevelItem(i)->text(0);
  return texts;
}

// The calls after the last progress report: the hand-off of a load.
std::vector<std::string> HandOffOf(const std::vector<std::string>& calls) {
  std::vector<std::string> tail;
  for (const std::string& call : calls)
    if (call.rfind("progress", 0) != 0) tail.push_back(call);
  return tail;
}

class ViewerTest : public GuiTest {
 protected:
  void ClickLabel(CChildFrame* viewer, QTreeWidgetItem* item) {
    QTest::mouseClick(viewer->pageTree()->viewport(), Qt::LeftButton, {}, viewer->LabelRect(item).center());
  }

  // A viewer on a three-page file whose first page's load is held in its
  // first progress report; null if the load did not arrive there.
  CChildFrame* HoldALoadOfTheFirstPage() {
    MakeFrame();
    CChildFrame* viewer = OpenThroughMenu(WriteRecord("three.D01", 2500));
    if (!viewer) return nullptr;
    probe->HoldNextLoad();
    ClickLabel(viewer, viewer->pagingRoot()->child(0));
    return probe->WaitUntilHeld() ? viewer : nullptr;
  }
};

TEST_F(ViewerTest, OpenListsThePagesBelowTheSearchedRootWithTheirLabelsAndItemData) {
  MakeFrame();
  // 2500 data sectors at 1024 per page (automatic paging): three pages.
  CChildFrame* viewer = OpenThroughMenu(WriteRecord("three.D01", 2500));
  ASSERT_NE(viewer, nullptr);
  ASSERT_EQ(prompts.Count("open"), 1);
  EXPECT_EQ(prompts.asked[0].text, QStringLiteral("记录仪文件(*.D01;*.D02) (*.D?\?)"));
  EXPECT_TRUE(prompts.Messages().empty());

  EXPECT_EQ(TopLevelTexts(viewer->pageTree()), QStringList({"已搜索数据", "记录数据分页显示"}));
  QTreeWidgetItem* paging = viewer->pagingRoot();
  EXPECT_EQ(paging, viewer->pageTree()->topLevelItem(1));
  EXPECT_TRUE(paging->isExpanded());
  EXPECT_EQ(paging->data(0, gui::kItemDataRole).toInt(), 0);
  EXPECT_EQ(viewer->searchedRoot()->data(0, gui::kItemDataRole).toInt(), 0);
  ASSERT_EQ(paging->childCount(), 3);
  ASSERT_EQ(data.pages.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(paging->child(i)->text(0).toStdString(), data.pages[i].label);
    EXPECT_EQ(paging->child(i)->data(0, gui::kItemDataRole).toInt(), i + 1);
  }
  EXPECT_EQ(paging->child(0)->text(0), QStringLiteral("2015_01_05 08:00:00"));
  EXPECT_EQ(frame->mdiArea()->currentSubWindow()->windowTitle(), QStringLiteral("three.D01"));

  // Tabs: graph page first and shown.
  gui::CMyTabCtrl* tabs = viewer->formView()->tabCtrl();
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("历史曲线"));
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("数据列表"));
  EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST_F(ViewerTest, EnglishInterfaceNamesRootsAndTabsInEnglish) {
  data.language = 1;
  MakeFrame();
  CChildFrame* viewer = OpenThroughMenu(WriteRecord("one.D01", 10));
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(prompts.asked[0].text, QStringLiteral("Record File(*.D01;*.D02) (*.D?\?)"));
  EXPECT_EQ(TopLevelTexts(viewer->pageTree()), QStringList({"Record Searched", "Record Show Paging"}));
  EXPECT_EQ(viewer->formView()->tabCtrl()->tabText(0), QStringLiteral("History Curve"));
  EXPECT_EQ(viewer->formView()->tabCtrl()->tabText(1), QStringLiteral("Record List"));
}

// A recording of 2500 sectors copied off as shift.D01 to shift.D03 (834, 833
// and 833 sectors) opens as one timeline, from its folder or from the files.
TEST_F(ViewerTest, AFolderOrSeveralChosenFilesOpenAsOneTimeline) {
  data.language = 1;
  MakeFrame();
  const std::string folder = files.File("copied");
  std::filesystem::create_directory(folder);
  sim::RecordSpec recording;
  recording.sectorCount = 2500;
  const std::vector<std::string> parts = sim::ConsecutiveRecordNames(folder + "/shift.D01", 3);
  for (uint32_t k = 0, first = 0; k < 3; first += k++ == 0 ? 834 : 833)
    ASSERT_TRUE(sim::WriteRecordPart(parts[k], recording, first, k == 0 ? 834 : 833));

  prompts.paths.push_back(QString::fromStdString(folder));
  Trigger(Command::FileOpenFolder);
  CChildFrame* viewer = frame->CurrentViewer();
  ASSERT_NE(viewer, nullptr);
  const auto expectTimeline = [&] {
    EXPECT_EQ(viewer->pagingRoot()->text(0), QStringLiteral("Record Show Paging - shift (3 files)"));
    ASSERT_EQ(viewer->pagingRoot()->childCount(), 3);  // sectors 2-1025, 1026-2049, 2050-2501
    EXPECT_EQ(viewer->pagingRoot()->child(0)->toolTip(0), QStringLiteral("shift.D01\nshift.D02"));
    EXPECT_EQ(viewer->pagingRoot()->child(1)->toolTip(0), QStringLiteral("shift.D02\nshift.D03"));
    EXPECT_EQ(viewer->pagingRoot()->child(2)->toolTip(0), QStringLiteral("shift.D03"));
    EXPECT_EQ(frame->mdiArea()->currentSubWindow()->windowTitle(), QStringLiteral("shift"));
  };
  expectTimeline();
  EXPECT_EQ(prompts.asked.back().kind, "folder");
  EXPECT_EQ(prompts.asked.back().text, QStringLiteral("Open Record Folder"));

  // The same files chosen together in the viewer's open dialog.
  prompts.paths.push_back(QString::fromStdString(parts[1] + "\n" + parts[2] + "\n" + parts[0]));
  Trigger(Command::FileOpen);
  EXPECT_EQ(frame->CurrentViewer(), viewer);
  expectTimeline();

  // A folder without record files says so and leaves the viewer as it was.
  const std::string empty = files.File("empty");
  std::filesystem::create_directory(empty);
  prompts.paths.push_back(QString::fromStdString(empty));
  Trigger(Command::FileOpenFolder);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{empty + ": no record files"});
  expectTimeline();
}

TEST_F(ViewerTest, CancellingTheOpenDialogLeavesNoViewer) {
  MakeFrame();
  Trigger(Command::FileOpen);  // no answer queued: Cancel
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame->mdiArea()->subWindowList().isEmpty(); }));
  EXPECT_EQ(frame->CurrentViewer(), nullptr);

  // "Open" in a viewer that shows a file, then Cancel: that viewer closes.
  ASSERT_NE(OpenThroughMenu(WriteRecord("a.D01", 10)), nullptr);
  Trigger(Command::FileOpen);
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame->mdiArea()->subWindowList().isEmpty(); }));
  EXPECT_EQ(frame->CurrentViewer(), nullptr);
}

TEST_F(ViewerTest, AFileThatCannotBeOpenedLeavesTheTreeAsItWas) {
  MakeFrame();
  CChildFrame* viewer = OpenThroughMenu(files.File("missing.D01"));
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>({"文件打开失败"}));
  EXPECT_EQ(TopLevelTexts(viewer->pageTree()), QStringList({"记录数据分页显示", "已搜索数据"}));
  EXPECT_EQ(viewer->pagingRoot()->childCount(), 0);
}

TEST_F(ViewerTest, ClickingAPageLabelLoadsItAndHandsOffToTheViewer) {
  MakeFrame();
  CChildFrame* viewer = OpenThroughMenu(WriteRecord("three.D01", 2500));
  ASSERT_NE(viewer, nullptr);
  QSignalSpy handedOff(frame.get(), &gui::CMainFrame::loadHandedOff);
  ClickLabel(viewer, viewer->pagingRoot()->child(2));
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(handedOff.count(), 1);
  EXPECT_EQ(viewer->pageTree()->currentItem(), viewer->pagingRoot()->child(2));
  // The last page: 452 sectors, reported at 0, 300 and 451.
  const std::vector<std::string> expected = {"progress 0", "progress 300", "progress 451",
                                             "FillList",   "FillAllGraph", "FillPartGraph"};
  EXPECT_EQ(probe->Calls(), expected);
  EXPECT_EQ(data.loadFirst, data.pages[2].firstSector);
  EXPECT_EQ(data.loadCount, 452u);
  EXPECT_FALSE(data.samples.empty());
  gui::CProgressStatusBar* bar = frame->progressStatusBar();
  EXPECT_EQ(bar->loadProgress()->maximum(), 452);
  EXPECT_EQ(bar->loadProgress()->value(), 452);
  EXPECT_EQ(bar->Pane(1)->text(), QStringLiteral("100 / 100"));
  EXPECT_EQ(frame->mdiArea()->currentSubWindow()->windowTitle(),
            QStringLiteral("three.D01 - %1").arg(QString::fromStdString(data.pages[2].label)));

  // A click on the item that is already selected loads it again.
  probe->ClearCalls();
  ClickLabel(viewer, viewer->pagingRoot()->child(2));
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(probe->Calls(), expected);
}

TEST_F(ViewerTest, OnlyTheLabelOfAnEntryIsAHit) {
  MakeFrame();
  frame->resize(1800, 900);  // room right of the labels
  CChildFrame* viewer = OpenThroughMenu(WriteRecord("three.D01", 2500));
  ASSERT_NE(viewer, nullptr);
  QTreeWidget* tree = viewer->pageTree();
  ASSERT_TRUE(QTest::qWaitFor([&] { return tree->width() > 250; }));
  QTreeWidgetItem* page = viewer->pagingRoot()->child(0);
  const QRect label = viewer->LabelRect(page);
  const QRect row = tree->visualItemRect(page);
  const QRect root = tree->visualItemRect(viewer->pagingRoot());
  ASSERT_GT(tree->viewport()->width() - label.right(), 20);
  struct {
    const char* where;
    QPoint pos;
  } misses[] = {
      {"branch area", QPoint(row.left() - tree->indentation() / 2, row.center().y())},
      {"right of the label", QPoint(label.right() + 10, label.center().y())},
      {"below the items", QPoint(label.center().x(), tree->viewport()->height() - 2)},
      {"expand button of the root", QPoint(root.left() - tree->indentation() / 2, root.center().y())},
  };
  for (const auto& miss : misses) {
    SCOPED_TRACE(miss.where);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, miss.pos);
    EXPECT_EQ(data.idle.load(), 1);
    EXPECT_TRUE(probe->Calls().empty());
  }
  viewer->pagingRoot()->setExpanded(true);
  // A root is hit, but loads nothing.
  ClickLabel(viewer, viewer->searchedRoot());
  EXPECT_EQ(tree->currentItem(), viewer->searchedRoot());
  EXPECT_TRUE(probe->Calls().empty());
  ClickLabel(viewer, page);
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(HandOffOf(probe->Calls()), kHandOff);
}

TEST_F(ViewerTest, SearchedItemsLoadTheirEntryAndStaleItemsAreIgnored) {
  MakeFrame();
  CChildFrame* older = OpenThroughMenu(WriteRecord("older.D01", 30));
  ASSERT_NE(older, nullptr);
  data.searched.push_back({5, "range", 4});
  auto* found = new QTreeWidgetItem(older->searchedRoot(), QStringList{"range"});
  found->setData(0, gui::kItemDataRole, record::SearchedItemBase);
  auto* gone = new QTreeWidgetItem(older->searchedRoot(), QStringList{"gone"});
  gone->setData(0, gui::kItemDataRole, record::SearchedItemBase + 1);
  older->searchedRoot()->setExpanded(true);

  ClickLabel(older, found);
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(data.loadFirst, 5u);
  EXPECT_EQ(data.loadCount, 4u);
  EXPECT_EQ(HandOffOf(probe->Calls()), kHandOff);

  probe->ClearCalls();
  ClickLabel(older, gone);
  EXPECT_TRUE(probe->Calls().empty());

  // Another file opened in a newer viewer: the older tree's pages are gone.
  CChildFrame* newer = frame->OpenRecordPaths({QString::fromStdString(WriteRecord("newer.D01", 3000))});
  ASSERT_NE(newer, nullptr);
  frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(older->parentWidget()));
  ClickLabel(older, older->pagingRoot()->child(0));
  EXPECT_EQ(data.idle.load(), 1);
  EXPECT_TRUE(probe->Calls().empty());
}

TEST_F(ViewerTest, WhileALoadRunsClicksRebuildAndCloseAreRefusedAsBusy) {
  CChildFrame* viewer = HoldALoadOfTheFirstPage();
  ASSERT_NE(viewer, nullptr);
  const std::vector<record::PageEntry> pages = data.pages;

  ClickLabel(viewer, viewer->pagingRoot()->child(1));
  viewer->RebuildPageTree();
  Trigger(Command::FileClose);
  const std::string busy = base::Text(base::TextId::ServerBusyRetry, 0);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>(3, busy));
  EXPECT_EQ(viewer->pageTree()->currentItem(), viewer->pagingRoot()->child(1));
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1);
  EXPECT_TRUE(data.recordSet.IsOpen());
  EXPECT_EQ(data.pages.size(), pages.size());

  probe->Release();
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(data.loadFirst, pages[0].firstSector);  // the refused click changed nothing
  EXPECT_EQ(HandOffOf(probe->Calls()), kHandOff);
}

TEST_F(ViewerTest, HandOffGoesToTheNewestViewerStillOpen) {
  MakeFrame();
  CChildFrame* first = OpenThroughMenu(WriteRecord("a.D01", 20));
  CChildFrame* second = frame->OpenRecordPaths({QString::fromStdString(WriteRecord("b.D01", 20))});
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, first);
  EXPECT_EQ(frame->CurrentViewer(), second);
  EXPECT_EQ(frame->ActiveViewer(), second);
  frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
  EXPECT_EQ(frame->CurrentViewer(), second);  // the newest, not the active one
  qobject_cast<QMdiSubWindow*>(second->parentWidget())->close();
  EXPECT_EQ(frame->CurrentViewer(), first);
  qobject_cast<QMdiSubWindow*>(first->parentWidget())->close();
  EXPECT_EQ(frame->CurrentViewer(), nullptr);
}

TEST_F(ViewerTest, CloseCommandClosesTheViewerAndTheRecordFile) {
  MakeFrame();
  ASSERT_NE(OpenThroughMenu(WriteRecord("a.D01", 20)), nullptr);
  ASSERT_TRUE(data.recordSet.IsOpen());
  Trigger(Command::FileClose);
  EXPECT_FALSE(data.recordSet.IsOpen());
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame->mdiArea()->subWindowList().isEmpty(); }));
}

TEST_F(ViewerTest, RangeStatisticsOnAnEmptyBufferDoesNothing) {
  MakeFrame();
  ASSERT_NE(OpenThroughMenu(WriteRecord("a.D01", 20)), nullptr);
  const size_t asked = prompts.asked.size();
  Trigger(Command::RangeStatistics);
  EXPECT_EQ(prompts.asked.size(), asked);
}

// Nothing of an earlier file stays on show or under the commands once
// another open was tried, whether it succeeded or not.
TEST_F(ViewerTest, AnOpenEmptiesBothPagesAndTheReadOutWhetherOrNotItSucceeds) {
  MakeFrame();
  CChildFrame* viewer = OpenThroughMenu(WriteRecord("three.D01", 2500));
  ASSERT_NE(viewer, nullptr);
  gui::CDataGraphDlg* graph = viewer->formView()->graphPage();
  gui::CGridCtrl& list = viewer->formView()->listPage()->Grid();
  gui::CTChart& part = graph->PartGraph();
  const QString partTitle = part.TitleText();
  for (const std::string& next : {WriteRecord("other.D01", 20), files.File("missing.D01")}) {
    SCOPED_TRACE(next);
    ClickLabel(viewer, viewer->pagingRoot()->child(0));
    ASSERT_TRUE(WaitForIdle());
    ASSERT_GT(part.PointCount(0), 0);
    ASSERT_GT(list.GetRowCount(), 1);
    gui::MoveMouse(part, QPoint(part.PixelAtXValue(part.PointCount(0) / 2.0), part.height() - 80));
    ASSERT_FALSE(graph->InfoPanel().Lines().isEmpty());

    prompts.paths.push_back(QString::fromStdString(next));
    Trigger(Command::FileOpen);  // the viewer's own Open
    EXPECT_TRUE(data.samples.empty());
    for (gui::CTChart* chart : {&graph->AllGraph(), &part})
      for (int k = 0; k < settings::kChannels; ++k) EXPECT_EQ(chart->PointCount(k), 0) << k;
    EXPECT_FALSE(graph->AllGraph().ToolActive(data.bandTool));
    EXPECT_EQ(part.TitleText(), QStringLiteral("单页局部图"));
    EXPECT_TRUE(graph->InfoPanel().Lines().isEmpty());
    EXPECT_EQ(list.GetRowCount(), 0);
    const size_t asked = prompts.asked.size();
    Trigger(Command::RangeStatistics);
    EXPECT_EQ(prompts.asked.size(), asked);
  }
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>({"文件打开失败"}));
}

// A load the sample limit cut ends full and says so; closing the viewer
// leaves no progress behind.
TEST_F(ViewerTest, ACutLoadEndsAtOneHundredWithANoteAndClosingClearsTheBars) {
  data.language = 1;
  data.autoPaging = 0;
  data.sectorsPerPage = 9000;
  MakeFrame();
  sim::RecordSpec recordSpec;
  recordSpec.sectorCount = 8404;  // 8404 x 119 samples just pass 1,000,000
  recordSpec.channels = 1;
  recordSpec.samplesPerSector = 119;
  recordSpec.interval = 1;
  const std::string path = files.File("long.D01");
  ASSERT_TRUE(sim::WriteRecordFile(path, recordSpec));
  CChildFrame* viewer = OpenThroughMenu(path);
  ASSERT_NE(viewer, nullptr);
  ClickLabel(viewer, viewer->pagingRoot()->child(0));
  ASSERT_TRUE(WaitForIdle());
  ASSERT_EQ(data.samples.size(), record::kSampleBufferLimit);

  gui::CProgressStatusBar* bar = frame->progressStatusBar();
  EXPECT_EQ(bar->loadProgress()->value(), bar->loadProgress()->maximum());
  EXPECT_EQ(bar->Pane(1)->text(), QStringLiteral("100 / 100"));
  EXPECT_EQ(bar->Pane(3)->text(), QStringLiteral("100 / 100    Page cut at 1000000 samples"));

  Trigger(Command::FileClose);
  for (QProgressBar* progress : {bar->loadProgress(), bar->fillProgress()}) EXPECT_EQ(progress->value(), 0);
  for (int pane = 0; pane < gui::CProgressStatusBar::kPaneCount; ++pane) EXPECT_TRUE(bar->Pane(pane)->text().isEmpty());
}

TEST_F(ViewerTest, ARestoredViewerTakesMostOfTheDocumentArea) {
  MakeFrame();
  ASSERT_NE(OpenThroughMenu(WriteRecord("a.D01", 20)), nullptr);
  QMdiSubWindow* window = frame->mdiArea()->currentSubWindow();
  ASSERT_TRUE(window->isMaximized());
  window->showNormal();
  EXPECT_GE(window->width() * 3, frame->mdiArea()->width() * 2);
  EXPECT_GE(window->height() * 3, frame->mdiArea()->height() * 2);
}

TEST_F(ViewerTest, PreviewCommandsChooseThePrintedDocument) {
  MakeFrame();
  CChildFrame* viewer = OpenThroughMenu(WriteRecord("a.D01", 20));
  ASSERT_NE(viewer, nullptr);
  // Each command opens a preview of its own document.
  const auto closePreviews = [] {
    int closed = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* preview = qobject_cast<gui::CPrintFrame*>(w); preview && preview->isVisible())
        closed += preview->close();
    return closed;
  };
  Trigger(Command::PreviewPartGraph);
  EXPECT_EQ(viewer->printKind(), 1);
  EXPECT_EQ(closePreviews(), 1);
  Trigger(Command::PreviewPartList);
  EXPECT_EQ(viewer->printKind(), 0);
  EXPECT_EQ(closePreviews(), 1);
}

TEST_F(ViewerTest, SplitterKeepsEightyFiveAndFifteenPercentOnResize) {
  MakeFrame();
  CChildFrame viewer(*frame);
  for (int width : {1000, 600, 777}) {
    SCOPED_TRACE(width);
    viewer.resize(width, 400);
    viewer.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer.splitter()->width() == width; }));
    const int share = static_cast<int>(std::lround(width * 0.85));
    EXPECT_EQ(viewer.formView()->geometry(), QRect(0, 0, share - gui::SplitterCtrl::kBarWidth, 400));
    EXPECT_EQ(viewer.pageTree()->geometry(), QRect(share, 0, width - share, 400));
  }
}

TEST_F(ViewerTest, ClosingDuringALoadWaitsForItToEnd) {
  CChildFrame* viewer = HoldALoadOfTheFirstPage();
  ASSERT_NE(viewer, nullptr);

  EXPECT_FALSE(frame->close());
  EXPECT_EQ(data.running.load(), 0);
  QTest::qWait(0);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(data.recordSet.IsOpen());

  probe->Release();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }, 20000));
  // The stopped load still handed off what it had decoded.
  EXPECT_EQ(probe->Calls(), std::vector<std::string>({"progress 0", "FillList", "FillAllGraph", "FillPartGraph"}));
  EXPECT_EQ(data.idle.load(), 1);
  EXPECT_FALSE(data.recordSet.IsOpen());
  EXPECT_EQ(restarts, 0);
}

TEST_F(ViewerTest, AFrameDestroyedUnderALoadStopsItAndServesItsLastCalls) {
  ASSERT_NE(HoldALoadOfTheFirstPage(), nullptr);
  probe->Release();
  probe = nullptr;  // goes with the frame
  frame.reset();    // must not wait forever for a loader that waits for it
  EXPECT_EQ(data.idle.load(), 1);
  EXPECT_EQ(data.running.load(), 0);
}

TEST(QtFileFilter, TurnsDescriptionPatternPairsIntoQtNameFilters) {
  const struct {
    const char* pairs;
    const char* filter;
  } cases[] = {
      {"记录仪文件(*.D01;*.D02)|*.D??||", "记录仪文件(*.D01;*.D02) (*.D?\?)"},
      {"CSV(*.csv)|*.csv|All|*.*||", "CSV(*.csv) (*.csv);;All (*.*)"},
      {"Both|*.a;*.b||", "Both (*.a *.b)"},
      {"(*.xlsx)|*.xlsx|(*.xls)|*.xls||", "(*.xlsx);;(*.xls)"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(gui::QtFileFilter(QString::fromUtf8(c.pairs)), QString::fromUtf8(c.filter)) << c.pairs;
}

// A name typed without an extension gets the one of the filter chosen.
TEST(PrepareSaveDialog, AddsTheChosenFiltersExtensionToANameWithoutOne) {
  TempDir dir;
  QFileDialog dialog(nullptr, {}, QString::fromStdString(dir.path().string()),
                     gui::QtFileFilter(QStringLiteral("(*.xlsx)|*.xlsx|(*.xls)|*.xls||")));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  gui::PrepareSaveDialog(dialog);
  const auto saved = [&](const QString& typed) {
    dialog.selectFile(typed);
    return QFileInfo(dialog.selectedFiles().value(0)).fileName();
  };
  EXPECT_EQ(saved(QStringLiteral("out1")), QStringLiteral("out1.xlsx"));
  EXPECT_EQ(saved(QStringLiteral("out2.dat")), QStringLiteral("out2.dat"));
  auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  ASSERT_NE(types, nullptr);
  QTest::keyClick(types, Qt::Key_Down);  // the user picks "(*.xls)"
  ASSERT_EQ(dialog.selectedNameFilter(), QStringLiteral("(*.xls)"));
  EXPECT_EQ(saved(QStringLiteral("out1")), QStringLiteral("out1.xls"));
  EXPECT_EQ(gui::FilterSuffix(QStringLiteral("Record (*.D?\?)")), QString());
}

}  // namespace
}  // namespace tessaly::testing
