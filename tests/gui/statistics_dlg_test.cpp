#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "dialog_shot.h"
#include "settings/settings_file.h"
#include "support/record_fixture.h"
#include "support/sample_fixture.h"
#include "viewer/statistics_dlg.h"

namespace tessaly::gui {
namespace {

using record::RecordTime;

// Five samples a second apart from 2015-01-05 08:00:00; channel 1 rises
// 1..5, channel 5 dips below zero in the middle.
record::SampleBuffer FiveSamples() {
  std::vector<record::Sample> samples(5);
  for (int i = 0; i < 5; ++i) {
    samples[i].time = RecordTime::FromCalendar(2015, 1, 5, 8, 0, i);
    for (int ch = 0; ch < 18; ++ch) {
      samples[i].decimals[ch] = 1;
      samples[i].values[ch] = static_cast<float>(ch + 1);
    }
    samples[i].values[0] = static_cast<float>(i + 1);
    samples[i].values[4] = i == 2 ? -1.0f : 5.0f;
  }
  return tessaly::testing::BufferOf(samples);
}

class StatisticsDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.messages = &sink;
    data.samples = FiveSamples();
  }
  template <class W>
  W* Control(CStatisticsDlg& dlg, int id) {
    W* widget = dlg.findChild<W*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
  }
  void Click(CStatisticsDlg& dlg, int id) { Control<QAbstractButton>(dlg, id)->click(); }

  // The report list's headings and cells, as the user sees them.
  static std::vector<std::vector<std::string>> Shown(QTreeWidget* list) {
    std::vector<std::vector<std::string>> shown(1);
    for (int c = 0; c < list->columnCount(); ++c) shown[0].push_back(list->headerItem()->text(c).toStdString());
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
      shown.emplace_back();
      for (int c = 0; c < list->columnCount(); ++c)
        shown.back().push_back(list->topLevelItem(r)->text(c).toStdString());
    }
    return shown;
  }

  recorder::CRecorderData data;
  testing::RecordingSink sink;
};

TEST_F(StatisticsDlgTest, OpensOnTheWholeBuffer) {
  CStatisticsDlg dlg(data);
  EXPECT_EQ(Control<QLineEdit>(dlg, 1009)->text(), "2015-01-05 08:00:00");
  EXPECT_EQ(Control<QLineEdit>(dlg, 1010)->text(), "2015-01-05 08:00:04");
  EXPECT_EQ(Control<QDateEdit>(dlg, 1045)->date(), QDate(2015, 1, 5));
  EXPECT_EQ(Control<QTimeEdit>(dlg, 1043)->time(), QTime(8, 0, 0));
  EXPECT_EQ(Control<QDateEdit>(dlg, 1046)->date(), QDate(2015, 1, 5));
  EXPECT_EQ(Control<QTimeEdit>(dlg, 1044)->time(), QTime(8, 0, 4));
  EXPECT_EQ(Control<QLineEdit>(dlg, 1011)->text(), "0");
  EXPECT_EQ(Control<QLineEdit>(dlg, 1012)->text(), "0");
  EXPECT_FALSE(Control<QCheckBox>(dlg, 1005)->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(dlg, 1006)->isChecked());
  QComboBox* channel = Control<QComboBox>(dlg, 1007);
  EXPECT_EQ(channel->count(), 19);
  EXPECT_EQ(channel->currentText(), "所有通道");
  EXPECT_EQ(Control<QTreeWidget>(dlg, 1047)->selectionBehavior(), QAbstractItemView::SelectRows);
  dlg.show();
  EXPECT_FALSE(Control<QPushButton>(dlg, 1042)->isVisible());
  // Copy before any statistics: the empty heading line alone.
  Click(dlg, 1051);
  EXPECT_EQ(QApplication::clipboard()->text(), "\n");
}

TEST_F(StatisticsDlgTest, PeakValleyAverageFillsTheListAndTheCopy) {
  CStatisticsDlg dlg(data);
  Click(dlg, 1040);
  QTreeWidget* list = Control<QTreeWidget>(dlg, 1047);
  const auto shown = Shown(list);
  ASSERT_EQ(shown.size(), 19u);
  EXPECT_EQ(shown[0], (std::vector<std::string>{"通道号", "峰值", "谷值", "均值"}));
  EXPECT_EQ(shown[1], (std::vector<std::string>{"1", "5", "1", "3"}));
  EXPECT_EQ(shown[5], (std::vector<std::string>{"5", "5", "-1", "3.8"}));
  EXPECT_EQ(list->columnWidth(0), 60);
  EXPECT_EQ(list->columnWidth(3), 100);
  Click(dlg, 1051);
  const std::string copied = QApplication::clipboard()->text().toStdString();
  const std::string head = "通道号\t峰值\t谷值\t均值\t\n1\t5\t1\t3\t\n";
  EXPECT_EQ(copied.substr(0, head.size()), head);
  EXPECT_EQ(copied, dlg.CopyText());
  testing::SaveShot(dlg, "statistics_zh");
}

TEST_F(StatisticsDlgTest, OverLimitForOneChannelIsLabelledInChineseAlsoInEnglish) {
  data.language = 1;
  CStatisticsDlg dlg(data);
  Control<QLineEdit>(dlg, 1011)->setText(" 0.5 volts");
  Control<QLineEdit>(dlg, 1012)->setText("4.5");
  Click(dlg, 1005);
  Click(dlg, 1006);
  QComboBox* channel = Control<QComboBox>(dlg, 1007);
  channel->setCurrentIndex(5);
  Click(dlg, 1041);
  EXPECT_EQ(Shown(Control<QTreeWidget>(dlg, 1047)),
            (std::vector<std::vector<std::string>>{{"Channel", "lowerlimit time（s）", "Upperlimit time（s）"},
                                                   {"通道5", "1.0", "3.0"}}));
  // Each column shows its whole heading and its cells.
  QTreeWidget* list = Control<QTreeWidget>(dlg, 1047);
  for (int c = 0; c <= 2; ++c) {
    EXPECT_GT(list->columnWidth(c), list->fontMetrics().horizontalAdvance(list->headerItem()->text(c))) << c;
    EXPECT_GT(list->columnWidth(c), list->fontMetrics().horizontalAdvance(list->topLevelItem(0)->text(c))) << c;
  }
  channel->setCurrentIndex(0);
  Click(dlg, 1006);  // upper box off: one result column
  Click(dlg, 1041);
  const auto all = Shown(Control<QTreeWidget>(dlg, 1047));
  ASSERT_EQ(all.size(), 19u);
  EXPECT_EQ(all[0], (std::vector<std::string>{"Channel", "lowerlimit time（s）"}));
  EXPECT_EQ(all[1], (std::vector<std::string>{"Channel1", "0.0"}));
  testing::SaveShot(dlg, "statistics_en");
}

TEST_F(StatisticsDlgTest, AStartNotBeforeTheEndIsRefusedAndTheListKept) {
  for (int language : {0, 1}) {
    data.language = language;
    sink.said.clear();
    CStatisticsDlg dlg(data);
    Click(dlg, 1040);
    const auto before = Shown(Control<QTreeWidget>(dlg, 1047));
    Control<QTimeEdit>(dlg, 1043)->setTime(QTime(8, 0, 4));
    for (int button : {1040, 1041}) Click(dlg, button);
    EXPECT_EQ(sink.said, std::vector<std::string>(2, language == 0 ? "时间设置不合理" : "Time unreasonable"));
    EXPECT_EQ(Shown(Control<QTreeWidget>(dlg, 1047)), before);
  }
}

}  // namespace
}  // namespace tessaly::gui
