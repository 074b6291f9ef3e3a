#pragma once
// Range statistics over the SampleBuffer: peak, valley and mean per channel,
// or the time spent below and above two limits, as the table the dialog
// lists and copies.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "record/record_time.h"
#include "record/sample.h"

namespace tessaly::analysis {

struct StatisticsTable {
  struct Column {
    std::string heading;
    int width = 0;  // pixels; every column is left-aligned
  };
  std::vector<Column> columns;
  std::vector<std::vector<std::string>> rows;  // one cell per column
};

enum class StatisticsStatus {
  Ok,                // the table holds the result
  TimeUnreasonable,  // start not earlier than end: show "时间设置不合理" / "Time unreasonable", keep the old table
  RangeReversed,     // the start sample lies after the end sample (times out of order): the table has its
                     // columns only; show the RangeReversed text
};

struct StatisticsResult {
  StatisticsStatus status = StatisticsStatus::Ok;
  StatisticsTable table;
};

// Buffer indexes of the range: the first sample (from index 0 up) whose valid
// time, cut to whole seconds, lies less than half a second from `start`, else
// 0; the last one (from the end down) matching `end`, else the last index.
struct SampleRange {
  size_t start = 0;
  size_t end = 0;
};
SampleRange ResolveRange(const record::SampleBuffer& samples, const record::RecordTime& start,
                         const record::RecordTime& end);

// Per channel 1 to 18: "%g" of the float maximum and minimum and of the mean
// (double sum / count) over the range. The marker 45000.0 counts like a value.
StatisticsResult PeakValleyAverage(const record::SampleBuffer& samples, const record::RecordTime& start,
                                   const record::RecordTime& end, int language);

struct OverLimitOptions {
  float lower = 0.0f;  // L: time below it is counted
  float upper = 0.0f;  // U: time above it is counted
  bool below = false;  // the lower check box: a column for the time below L
  bool above = false;  // the upper check box: a column for the time above U
  int channel = 0;     // 0 all channels, 1 to 18 that channel alone
};

// Seconds ("%.1f") spent strictly below L and strictly above U, the value at
// the start of each interval deciding; intervals in whole milliseconds (0
// next to a time that is not valid); 45000.0 never counts.
StatisticsResult OverLimit(const record::SampleBuffer& samples, const record::RecordTime& start,
                           const record::RecordTime& end, const OverLimitOptions& options, int language);

// Milliseconds spent strictly below a lower and strictly above an upper
// limit, each sum a float rounded after every addition.
struct LimitTimes {
  float belowMs = 0.0f;
  float aboveMs = 0.0f;
  // An interval of `stepMs` that the value `opening` opens: the value at the
  // start of an interval decides for all of it.
  void Count(float opening, int64_t stepMs, float lower, float upper);
};

// Whole milliseconds from one sample's time to the next one's, 0 when either
// is not valid; negative when the later sample carries the earlier time.
int64_t StepMs(const record::RecordTime& from, const record::RecordTime& to);

// A limit field as the dialog reads it: leading white space skipped, the
// longest leading decimal number converted, 0 when there is none; rounded to
// a float.
float ParseLimit(std::string_view text);

// The clipboard text: each heading followed by a tab, a line feed; then for
// each row each cell followed by a tab, a line feed.
std::string CopyText(const StatisticsTable& table);

// "%4.4d-%2.2d-%2.2d %2.2d:%2.2d:%2.2d" of a time (-1 in every field when it
// is not valid): the dialog's range fields.
std::string RangeTimeText(const record::RecordTime& time);

}  // namespace tessaly::analysis
