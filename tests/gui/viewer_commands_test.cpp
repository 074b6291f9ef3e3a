#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <cstring>

#include "app/progress_status_bar.h"
#include "base/gbk.h"
#include "chart/ct_chart.h"
#include "gui/support/gui_fixture.h"
#include "settings/settings_file.h"
#include "support/workbook_cells.h"
#include "viewer/child_frame.h"
#include "viewer/data_graph_dlg.h"
#include "viewer/data_list_dlg.h"
#include "viewer/my_form_view.h"
#include "widgets/grid_ctrl.h"

namespace tessaly::testing {
namespace {

using gui::CChildFrame;
using gui::Command;

constexpr int32_t kSearchedBase = 2000000000;

// The default record: 6 samples a second apart per sector, sector d of the
// data starting at 08:00:00 + 6d s, 2015-01-05; absolute sector = d + 2.
class ViewerCommandsTest : public GuiTest {
 protected:
  CChildFrame* OpenRecord(uint32_t sectors = 2500) {
    MakeFrame();
    return OpenThroughMenu(WriteRecord("rec.D01", sectors));
  }
  void ClickLabel(CChildFrame* viewer, QTreeWidgetItem* item) {
    QTest::mouseClick(viewer->pageTree()->viewport(), Qt::LeftButton, {}, viewer->LabelRect(item).center());
  }
  bool LoadFirstPage(CChildFrame* viewer) {
    ClickLabel(viewer, viewer->pagingRoot()->child(0));
    return WaitForIdle() && !data.samples.empty();
  }
  // A load of the first page held in its first progress report.
  bool HoldALoad(CChildFrame* viewer) {
    probe->HoldNextLoad();
    ClickLabel(viewer, viewer->pagingRoot()->child(0));
    return probe->WaitUntilHeld();
  }

  // Answers the next dialog by acting on it, then pressing its OK button.
  void AnswerWithOk(std::function<void(QDialog&)> act) {
    prompts.dialogs.push_back([act](QDialog& dialog) {
      act(dialog);
      dialog.findChild<QPushButton*>("1")->click();
      return dialog.result();
    });
  }
  // A search from hh:mm:ss to hh:mm:ss on the record's day.
  void AnswerSearch(QTime start, QTime stop, bool save, bool clear) {
    AnswerWithOk([=](QDialog& dialog) {
      for (auto [id, date] : {std::pair{"1045", QDate(2015, 1, 5)}, {"1046", QDate(2015, 1, 5)}})
        dialog.findChild<QDateEdit*>(id)->setDate(date);
      dialog.findChild<QTimeEdit*>("1043")->setTime(start);
      dialog.findChild<QTimeEdit*>("1044")->setTime(stop);
      dialog.findChild<QCheckBox*>("1005")->setChecked(save);
      dialog.findChild<QCheckBox*>("1020")->setChecked(clear);
    });
  }
  std::vector<std::pair<std::string, int>> SearchedItems(CChildFrame* viewer) {
    std::vector<std::pair<std::string, int>> items;
    for (int i = 0; i < viewer->searchedRoot()->childCount(); ++i) {
      QTreeWidgetItem* item = viewer->searchedRoot()->child(i);
      items.emplace_back(item->text(0).toStdString(), item->data(0, gui::kItemDataRole).toInt());
    }
    return items;
  }
  gui::CGridCtrl& List(CChildFrame* viewer) { return viewer->formView()->listPage()->Grid(); }
};

TEST_F(ViewerCommandsTest, ShowParamsOkSavesTheSettingsAndRefillsTheList) {
  CChildFrame* viewer = OpenRecord();
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(LoadFirstPage(viewer));
  const size_t count = data.samples.size();
  AnswerWithOk([](QDialog& dialog) {
    dialog.findChild<QCheckBox*>("1048")->click();  // automatic intervals off
    dialog.findChild<QLineEdit*>("1041")->setText("100");
    dialog.findChild<QLineEdit*>("1009")->setText("温度");
    dialog.findChild<QCheckBox*>("1020")->click();  // grid off
    QComboBox* width = dialog.findChild<QComboBox*>("1007");
    width->setFocus();
    QTest::keyClick(width, Qt::Key_End);  // line width 4
  });
  Trigger(Command::ShowParams);
  ASSERT_EQ(prompts.Count("dialog"), 1);
  EXPECT_EQ(prompts.asked.back().text, "showParamsDlg");
  EXPECT_EQ(data.listInterval, 100);
  EXPECT_EQ(List(viewer).GetRowCount(), static_cast<int>(count / 100) + 1);
  EXPECT_EQ(List(viewer).GetItemText(0, 2), "温度");
  EXPECT_EQ(List(viewer).GetItemText(2, 0), "100");
  gui::CTChart& part = viewer->formView()->graphPage()->PartGraph();
  EXPECT_EQ(part.SeriesPenWidth(0), 4);
  EXPECT_EQ(viewer->formView()->graphPage()->AllGraph().SeriesPenWidth(0), 4);
  EXPECT_FALSE(part.GridVisible(gui::ChartAxis::Left));
  const std::string file = ReadFileBytes(settingsDir.SettingsFile());
  ASSERT_EQ(file.size(), settings::kSettingsFileSize);
  int32_t stored = 0;
  std::memcpy(&stored, file.data() + 1128, 4);
  EXPECT_EQ(stored, 100);
}

TEST_F(ViewerCommandsTest, ShowParamsCancelChangesAndWritesNothing) {
  CChildFrame* viewer = OpenRecord();
  ASSERT_NE(viewer, nullptr);
  const settings::DisplaySettings before = data.Display();
  prompts.dialogs.push_back([](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("1017")->setText("42");
    dialog.findChild<QPushButton*>("2")->click();
    return dialog.result();
  });
  Trigger(Command::ShowParams);
  EXPECT_EQ(0, std::memcmp(&data.Display(), &before, sizeof before));
  EXPECT_FALSE(std::filesystem::exists(settingsDir.SettingsFile()));
}

TEST_F(ViewerCommandsTest, ShowParamsFromTheMainFrameOnlySavesTheSettings) {
  MakeFrame();
  ASSERT_EQ(frame->ActiveViewer(), nullptr);
  AnswerWithOk([](QDialog& dialog) { dialog.findChild<QLineEdit*>("1018")->setText("250.555"); });
  Trigger(Command::ShowParams);
  ASSERT_EQ(prompts.Count("dialog"), 1);
  EXPECT_EQ(data.yRangeMax, 250.555f);
  EXPECT_EQ(ReadFileBytes(settingsDir.SettingsFile()).size(), settings::kSettingsFileSize);
}

TEST_F(ViewerCommandsTest, CommandsThatReadTheSamplesAreRefusedWhileAPageLoads) {
  CChildFrame* viewer = OpenRecord();
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(HoldALoad(viewer));
  for (Command command : {Command::ShowParams, Command::RangeStatistics, Command::ExportXls, Command::ExportCsv}) {
    prompts.asked.clear();
    viewer->OnCommand(command);
    EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"系统忙，请稍后再试"}) << static_cast<int>(command);
    EXPECT_EQ(prompts.asked.size(), 1u) << "nothing but the message is asked";
  }
  probe->Release();
  ASSERT_TRUE(WaitForIdle());
}

TEST_F(ViewerCommandsTest, SearchesKeptInTheTreeLoadWhenClickedAndClearingStartsAgain) {
  CChildFrame* viewer = OpenRecord();
  ASSERT_NE(viewer, nullptr);
  // 08:01:00 is the start of data sector 10 (absolute 12), 08:02:00 of 20 (22).
  AnswerSearch(QTime(8, 1, 0), QTime(8, 2, 0), true, false);
  AnswerSearch(QTime(8, 0, 3), QTime(8, 0, 20), true, false);
  Trigger(Command::SearchByTime);
  Trigger(Command::SearchByTime);
  EXPECT_EQ(SearchedItems(viewer), (std::vector<std::pair<std::string, int>>{
                                       {"2015_01_05 08:01:00--2015_01_05 08:02:00", kSearchedBase},
                                       {"2015_01_05 08:00:03--2015_01_05 08:00:20", kSearchedBase + 1}}));
  EXPECT_TRUE(viewer->searchedRoot()->isExpanded());
  ASSERT_EQ(data.searched.size(), 2u);
  EXPECT_EQ(data.searched[0].firstSector, 12u);
  EXPECT_EQ(data.searched[0].sectorCount, 11u);
  EXPECT_TRUE(probe->Calls().empty()) << "a kept search loads nothing";

  ClickLabel(viewer, viewer->searchedRoot()->child(0));
  ASSERT_TRUE(WaitForIdle());
  ASSERT_EQ(data.samples.size(), 11u * 6u);
  EXPECT_EQ(data.samples.front().time.ticks, record::RecordTime::FromCalendar(2015, 1, 5, 8, 1, 0).ticks);
  EXPECT_EQ(data.samples.back().time.ticks, record::RecordTime::FromCalendar(2015, 1, 5, 8, 2, 5).ticks);

  // Clearing replaces the searched root after the paging root and counts anew.
  AnswerSearch(QTime(8, 3, 0), QTime(8, 4, 0), true, true);
  Trigger(Command::SearchByTime);
  QTreeWidget* tree = viewer->pageTree();
  ASSERT_EQ(tree->topLevelItemCount(), 2);
  EXPECT_EQ(tree->topLevelItem(0), viewer->pagingRoot());
  EXPECT_EQ(tree->topLevelItem(1), viewer->searchedRoot());
  EXPECT_EQ(viewer->searchedRoot()->text(0), "已搜索数据");
  EXPECT_EQ(SearchedItems(viewer),
            (std::vector<std::pair<std::string, int>>{{"2015_01_05 08:03:00--2015_01_05 08:04:00", kSearchedBase}}));
  ASSERT_EQ(data.searched.size(), 1u);
  EXPECT_EQ(data.searched[0].firstSector, 32u);
}

TEST_F(ViewerCommandsTest, ASearchNotKeptLoadsAtOnceAndOneInsideASectorDoesNothing) {
  CChildFrame* viewer = OpenRecord();
  ASSERT_NE(viewer, nullptr);
  AnswerSearch(QTime(8, 0, 1), QTime(8, 0, 4), false, false);  // both in data sector 0
  Trigger(Command::SearchByTime);
  EXPECT_TRUE(probe->Calls().empty());
  AnswerSearch(QTime(8, 1, 0), QTime(8, 2, 0), false, false);
  Trigger(Command::SearchByTime);
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(data.samples.size(), 11u * 6u);
  EXPECT_EQ(viewer->searchedRoot()->childCount(), 0);
  EXPECT_TRUE(data.searched.empty());
  const std::vector<std::string> calls = probe->Calls();
  EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
            (std::vector<std::string>{"FillList", "FillAllGraph", "FillPartGraph"}));
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(ViewerCommandsTest, RangeStatisticsOpensOnlyOnLoadedSamplesAndCopiesItsTable) {
  CChildFrame* viewer = OpenRecord(30);
  ASSERT_NE(viewer, nullptr);
  Trigger(Command::RangeStatistics);
  EXPECT_EQ(prompts.Count("dialog"), 0);
  EXPECT_TRUE(prompts.Messages().empty());

  ASSERT_TRUE(LoadFirstPage(viewer));
  QString copied;
  prompts.dialogs.push_back([&copied](QDialog& dialog) {
    dialog.findChild<QPushButton*>("1040")->click();
    dialog.findChild<QPushButton*>("1051")->click();
    copied = QApplication::clipboard()->text();
    return QDialog::Accepted;
  });
  Trigger(Command::RangeStatistics);
  ASSERT_EQ(prompts.Count("dialog"), 1);
  EXPECT_EQ(prompts.asked.back().text, "statisticsDlg");
  const QStringList lines = copied.split('\n');
  ASSERT_EQ(lines.size(), 20);  // heading, 18 channels, nothing after the last line feed
  EXPECT_EQ(lines[0], "通道号\t峰值\t谷值\t均值\t");
  EXPECT_TRUE(lines[1].startsWith("1\t"));
  EXPECT_TRUE(lines[18].startsWith("18\t"));
  EXPECT_EQ(lines[19], "");
}

TEST_F(ViewerCommandsTest, ExportsWriteExactlyTheChosenPathWithProgress) {
  CChildFrame* viewer = OpenRecord(30);
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(LoadFirstPage(viewer));
  data.autoInterval = 0;
  data.listInterval = 3;
  const size_t rows = data.samples.size() / 3;

  const std::string csv = files.File("page.csv");
  prompts.paths.push_back(QString::fromStdString(csv));
  Trigger(Command::ExportCsv);
  EXPECT_EQ(prompts.asked.back().kind, "save");
  EXPECT_EQ(prompts.asked.back().text, "(*.csv)");
  const std::string bytes = ReadFileBytes(csv);
  ASSERT_FALSE(bytes.empty());
  // GBK, CR LF line ends: the heading, one line per row, nothing after the last.
  EXPECT_EQ(bytes.rfind(base::Utf8ToGbk("序号,时间,"), 0), 0u);
  const QStringList lines = QString::fromLatin1(bytes).split("\r\n");
  ASSERT_EQ(lines.size(), static_cast<int>(rows) + 2);
  EXPECT_TRUE(lines[2].startsWith("3,2015-01-05 08-00-03,")) << lines[2].toStdString();
  EXPECT_EQ(lines.back(), "");
  EXPECT_EQ(frame->progressStatusBar()->fillProgress()->value(), frame->progressStatusBar()->fillProgress()->maximum());

  // The workbook goes to the name as chosen, even with the older extension.
  const std::string xls = files.File("page.xls");
  prompts.paths.push_back(QString::fromStdString(xls));
  Trigger(Command::ExportXls);
  EXPECT_EQ(prompts.asked.back().text, "(*.xlsx);;(*.xls)");
  const std::map<std::string, std::string> cells = WorkbookCells(xls);
  EXPECT_EQ(cells.at("A1"), "序号");
  EXPECT_EQ(cells.at("B1"), "时间");
  EXPECT_EQ(cells.at("A3"), "3");
  EXPECT_EQ(cells.at("B3"), "2015-01-05 08-00-03");
  EXPECT_EQ(cells.count("A" + std::to_string(rows + 1)), 1u);
  EXPECT_EQ(cells.count("A" + std::to_string(rows + 2)), 0u);
  EXPECT_FALSE(std::filesystem::exists(files.File("page.xlsx")));
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(ViewerCommandsTest, ExportFailuresAndNothingToExport) {
  CChildFrame* viewer = OpenRecord(30);
  ASSERT_NE(viewer, nullptr);
  // Before any load the buffer is empty: the dialog is asked, nothing is written or said.
  const std::string empty = files.File("empty.csv");
  for (Command command : {Command::ExportCsv, Command::ExportXls}) {
    prompts.paths.push_back(QString::fromStdString(empty));
    Trigger(command);
  }
  EXPECT_EQ(prompts.Count("save"), 2);
  EXPECT_FALSE(std::filesystem::exists(empty));
  EXPECT_TRUE(prompts.Messages().empty());
  // Cancelled: nothing at all.
  Trigger(Command::ExportCsv);
  EXPECT_TRUE(prompts.Messages().empty());

  ASSERT_TRUE(LoadFirstPage(viewer));
  for (Command command : {Command::ExportCsv, Command::ExportXls}) {
    prompts.paths.push_back(QString::fromStdString(files.File("no-such-folder/out")));
    Trigger(command);
  }
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>(2, "文件打开失败"));
}

}  // namespace
}  // namespace tessaly::testing
