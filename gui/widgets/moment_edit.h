#pragma once
// A date picker and a time-of-day picker side by side that together give one
// moment, to the whole second. Each picker carries its own control id as
// object name.
#include <QWidget>

#include "record/record_time.h"

class QDateEdit;
class QTimeEdit;

namespace tessaly::gui {

class MomentEdit : public QWidget {
  Q_OBJECT
 public:
  MomentEdit(int dateId, int timeId, QWidget* parent = nullptr);

  // Fields of a moment that is not Valid leave the pickers as they are.
  void SetMoment(const record::RecordTime& moment);
  void SetNow();
  // The date's year, month and day with the time's hour, minute and second.
  record::CalendarFields Fields() const;
  record::RecordTime Moment() const;

  QDateEdit* DateEdit() const { return date_; }
  QTimeEdit* TimeEdit() const { return time_; }

 private:
  QDateEdit* date_;
  QTimeEdit* time_;
};

}  // namespace tessaly::gui
