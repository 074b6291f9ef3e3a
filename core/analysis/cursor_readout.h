#pragma once
// Measurement cursors A and B on the part graph: the times and the values of
// the shown channels at two samples, their differences, and per channel the
// minimum, maximum, mean and the time over and under the channel's range
// limits over every sample between them; also where a cursor's sample lies
// in the part window.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/statistics.h"
#include "record/sample.h"
#include "recorder/recorder_data.h"

namespace tessaly::analysis {

struct CursorChannel {
  int channel = 0;   // 0-based
  int decimals = 0;  // the decimal places the sample at A gives the channel
  float atA = 0.0f;
  float atB = 0.0f;
  std::optional<double> delta;  // B - A; none when either is a marker value
  // Over the samples from the lower to the higher cursor; none when only
  // marker values lie there.
  std::optional<float> min;
  std::optional<float> max;
  std::optional<double> mean;
  LimitTimes outside;  // below rangeLow, above rangeHigh
};

struct CursorReadout {
  size_t a = 0;
  size_t b = 0;
  record::RecordTime timeA;
  record::RecordTime timeB;
  std::optional<int64_t> deltaMs;       // B - A; none when either time is not valid
  std::vector<CursorChannel> channels;  // the shown ones, in channel order
};

// Both indexes must lie in the buffer; either may be the lower one. Marker
// values (45000.0, -19999.0) are left out of the minimum, maximum and mean
// and count neither over nor under a limit.
CursorReadout ReadCursors(const record::SampleBuffer& samples, const settings::DisplaySettings& display, size_t a,
                          size_t b);

// The readout as a table: a time row (the times at A and B and the
// difference in seconds), then a row per shown channel with name, unit, A,
// B, difference, minimum, maximum, mean (in the channel's decimals) and the
// seconds over and under its limits. CopyText gives its clipboard text.
StatisticsTable CursorTable(const CursorReadout& readout, const settings::DisplaySettings& display, int language);

// A cursor's time to the millisecond, or the text for a time that is not
// valid.
std::string CursorTimeText(const record::RecordTime& time, int language);

// The sample that part-graph point `point` (its X value) shows; none outside
// the drawn part window.
std::optional<size_t> SampleAtPoint(const recorder::CRecorderData& data, int64_t point);
// The part-graph X value at which `sample` lies (between points when the
// interval changed since it was chosen); none when the drawn part window does
// not reach it.
std::optional<double> PointOfSample(const recorder::CRecorderData& data, size_t sample);

}  // namespace tessaly::analysis
