#include "widgets/moment_edit.h"

#include <QDateEdit>
#include <QDateTime>
#include <QHBoxLayout>
#include <QTimeEdit>

#include "widgets/ui_text.h"

namespace tessaly::gui {

MomentEdit::MomentEdit(int dateId, int timeId, QWidget* parent)
    : QWidget(parent), date_(new QDateEdit(this)), time_(new QTimeEdit(this)) {
  WithControlId(date_, dateId);
  WithControlId(time_, timeId);
  date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  date_->setCalendarPopup(true);
  time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(date_, 3);
  row->addWidget(time_, 2);
}

void MomentEdit::SetMoment(const record::RecordTime& moment) {
  if (!moment.IsValid()) return;
  const record::CalendarFields f = moment.Fields();
  date_->setDate(QDate(f.year, f.month, f.day));
  time_->setTime(QTime(f.hour, f.minute, f.second));
}

void MomentEdit::SetNow() {
  const QDateTime now = QDateTime::currentDateTime();
  date_->setDate(now.date());
  time_->setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
}

record::CalendarFields MomentEdit::Fields() const {
  const QDate d = date_->date();
  const QTime t = time_->time();
  return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), 0};
}

record::RecordTime MomentEdit::Moment() const {
  const record::CalendarFields f = Fields();
  return record::RecordTime::FromCalendar(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

}  // namespace tessaly::gui
