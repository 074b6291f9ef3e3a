#pragma once
// The time text every exporter writes: "%4.4d-%2.2d-%2.2d %2.2d-%2.2d-%2.2d"
// (the time of day with hyphens), every field -1 for a time that is not valid.
#include <cstddef>

#include "base/number_format.h"
#include "record/record_time.h"

namespace tessaly::output {

// Room Write may need: six integer fields and their separators.
constexpr size_t kTimeTextRoom = 6 * base::kIntRoom + 5;

// Writes the time texts of successive samples, converting the date only when
// the day changes: the rows of an export mostly share their day.
class TimeTextWriter {
 public:
  // Returns the end of the text.
  char* Write(char* out, const record::RecordTime& time);

 private:
  bool known_ = false;
  int64_t day_ = 0;
  record::CalendarFields date_{};
};

}  // namespace tessaly::output
