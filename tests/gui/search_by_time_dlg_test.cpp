#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QPushButton>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include "dialog_shot.h"
#include "recorder/recorder_data.h"
#include "support/record_fixture.h"
#include "viewer/search_by_time_dlg.h"

namespace tessaly::gui {
namespace {

QDateTime Picked(CSearchByTimeDlg& dlg, int dateId, int timeId) {
  return QDateTime(dlg.findChild<QDateEdit*>(QString::number(dateId))->date(),
                   dlg.findChild<QTimeEdit*>(QString::number(timeId))->time());
}

void SetPicked(CSearchByTimeDlg& dlg, int dateId, int timeId, const QDateTime& moment) {
  dlg.findChild<QDateEdit*>(QString::number(dateId))->setDate(moment.date());
  dlg.findChild<QTimeEdit*>(QString::number(timeId))->setTime(moment.time());
}

TEST(SearchByTimeDlg, OpensOnNowSavingToTheTreeWithoutClearingIt) {
  recorder::CRecorderData data;
  const QDateTime before = QDateTime::currentDateTime().addMSecs(-999);
  CSearchByTimeDlg dlg(data);
  const QDateTime after = QDateTime::currentDateTime();
  for (auto [date, time] : {std::pair{1045, 1043}, {1046, 1044}}) {
    const QDateTime picked = Picked(dlg, date, time);
    EXPECT_LE(before, picked);
    EXPECT_LE(picked, after);
    EXPECT_EQ(picked.time().msec(), 0);
  }
  EXPECT_TRUE(dlg.SaveToTree());
  EXPECT_FALSE(dlg.ClearTree());
  testing::SaveShot(dlg, "search_zh");
}

TEST(SearchByTimeDlg, AStopNotLaterThanTheStartIsRefusedInChineseInBothLanguages) {
  const QDateTime start(QDate(2023, 4, 5), QTime(10, 5, 30));
  struct Case {
    int language;
    QDateTime stop;
    bool accepted;
  } const cases[] = {
      {0, start, false},
      {1, start, false},
      {1, start.addSecs(-1), false},
      {0, start.addDays(-1).addSecs(3600), false},
      {1, start.addSecs(1), true},
      {0, start.addDays(1).addSecs(-3600), true},
  };
  for (const Case& c : cases) {
    recorder::CRecorderData data;
    testing::RecordingSink sink;
    data.messages = &sink;
    data.language = c.language;
    CSearchByTimeDlg dlg(data);
    dlg.show();
    SetPicked(dlg, 1045, 1043, start);
    SetPicked(dlg, 1046, 1044, c.stop);
    dlg.findChild<QPushButton*>("1")->click();
    EXPECT_EQ(dlg.result() == QDialog::Accepted, c.accepted) << c.stop.toString().toStdString();
    EXPECT_EQ(dlg.isVisible(), !c.accepted);
    if (c.accepted) {
      EXPECT_TRUE(sink.said.empty());
      const record::CalendarFields f = dlg.StartFields();
      EXPECT_EQ(std::vector<int>({f.year, f.month, f.day, f.hour, f.minute, f.second}),
                std::vector<int>({2023, 4, 5, 10, 5, 30}));
    } else {
      EXPECT_EQ(sink.said, std::vector<std::string>{"时间设置不合理"});
    }
    if (c.language == 1 && !c.accepted) testing::SaveShot(dlg, "search_en");
  }
}

}  // namespace
}  // namespace tessaly::gui
