#include "analysis/statistics.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "base/format.h"
#include "base/number_text.h"
#include "base/texts.h"

namespace tessaly::analysis {
namespace {

using record::RecordTime;
using record::SampleBuffer;

constexpr int kChannelColumnWidth = 60;
constexpr int kValueColumnWidth = 100;
constexpr int64_t kHalfSecond = record::kTicksPerSecond / 2;
constexpr int64_t kTicksPerMs = 10'000;

bool Matches(const RecordTime& sampleTime, const RecordTime& instant) {
  if (!sampleTime.IsValid() || !instant.IsValid()) return false;
  int64_t cut = sampleTime.ticks - sampleTime.ticks % record::kTicksPerSecond;
  if (sampleTime.ticks < 0 && cut != sampleTime.ticks) cut -= record::kTicksPerSecond;
  const int64_t distance = cut > instant.ticks ? cut - instant.ticks : instant.ticks - cut;
  return distance < kHalfSecond;
}

bool StartBeforeEnd(const RecordTime& start, const RecordTime& end) {
  return start.IsValid() && end.IsValid() && start.ticks < end.ticks;
}

// The steps both statistics share: the order check, the columns, the empty
// buffer and the order of the resolved indexes. Returns whether rows follow.
bool Prepare(const SampleBuffer& samples, const RecordTime& start, const RecordTime& end,
             std::vector<StatisticsTable::Column> columns, StatisticsResult& result, SampleRange& range) {
  if (!StartBeforeEnd(start, end)) {
    result.status = StatisticsStatus::TimeUnreasonable;
    return false;
  }
  result.table.columns = std::move(columns);
  if (samples.empty()) return false;
  range = ResolveRange(samples, start, end);
  if (range.start > range.end) {
    result.status = StatisticsStatus::RangeReversed;
    return false;
  }
  return true;
}

}  // namespace

SampleRange ResolveRange(const SampleBuffer& samples, const RecordTime& start, const RecordTime& end) {
  SampleRange range;
  if (samples.empty()) return range;
  range.end = samples.size() - 1;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (Matches(samples.TimeAt(i), start)) {
      range.start = i;
      break;
    }
  }
  for (size_t i = samples.size(); i-- > 0;) {
    if (Matches(samples.TimeAt(i), end)) {
      range.end = i;
      break;
    }
  }
  return range;
}

StatisticsResult PeakValleyAverage(const SampleBuffer& samples, const RecordTime& start, const RecordTime& end,
                                   int language) {
  using base::Text;
  using base::TextId;
  StatisticsResult result;
  SampleRange range;
  if (!Prepare(samples, start, end,
               {{Text(TextId::StatsColumnChannel, language), kChannelColumnWidth},
                {Text(TextId::StatsColumnMax, language), kValueColumnWidth},
                {Text(TextId::StatsColumnMin, language), kValueColumnWidth},
                {Text(TextId::StatsColumnAvg, language), kValueColumnWidth}},
               result, range))
    return result;

  const double n = static_cast<double>(range.end - range.start + 1);
  for (int ch = 0; ch < record::kChannelCount; ++ch) {
    float max = samples.ValueAt(range.start, ch);
    float min = max;
    double sum = max;
    for (size_t i = range.start + 1; i <= range.end; ++i) {
      const float v = samples.ValueAt(i, ch);
      if (v > max) max = v;
      if (v < min) min = v;
      sum += v;
    }
    result.table.rows.push_back({base::Format("%d", ch + 1), base::Format("%g", static_cast<double>(max)),
                                 base::Format("%g", static_cast<double>(min)), base::Format("%g", sum / n)});
  }
  return result;
}

StatisticsResult OverLimit(const SampleBuffer& samples, const RecordTime& start, const RecordTime& end,
                           const OverLimitOptions& options, int language) {
  using base::Text;
  using base::TextId;
  std::vector<StatisticsTable::Column> columns{{Text(TextId::StatsColumnChannel, language), kChannelColumnWidth}};
  if (options.below) columns.push_back({Text(TextId::StatsColumnBelow, language), kValueColumnWidth});
  if (options.above) columns.push_back({Text(TextId::StatsColumnAbove, language), kValueColumnWidth});
  StatisticsResult result;
  SampleRange range;
  if (!Prepare(samples, start, end, std::move(columns), result, range)) return result;

  const bool single = options.channel >= 1 && options.channel <= record::kChannelCount;
  const int firstChannel = single ? options.channel : 1;
  const int lastChannel = single ? options.channel : record::kChannelCount;
  // A single channel is labelled in Chinese in both languages.
  const char* label = Text(single ? TextId::StatsSingleChannelRow : TextId::StatsChannelRow, language);
  for (int channel = firstChannel; channel <= lastChannel; ++channel) {
    LimitTimes times;
    for (size_t i = range.start; i < range.end; ++i) {
      const float v = samples.ValueAt(i, channel - 1);
      if (v != record::kMarkerHigh)
        times.Count(v, StepMs(samples.TimeAt(i), samples.TimeAt(i + 1)), options.lower, options.upper);
    }
    std::vector<std::string> row{base::FormatText(label, channel)};
    if (options.below) row.push_back(base::Format("%.1f", times.belowMs / 1000.0));
    if (options.above) row.push_back(base::Format("%.1f", times.aboveMs / 1000.0));
    result.table.rows.push_back(std::move(row));
  }
  return result;
}

int64_t StepMs(const RecordTime& from, const RecordTime& to) {
  if (!from.IsValid() || !to.IsValid()) return 0;
  return (to.ticks - from.ticks) / kTicksPerMs;
}

void LimitTimes::Count(float opening, int64_t stepMs, float lower, float upper) {
  const auto add = [stepMs](float sum) {
    return static_cast<float>(static_cast<double>(sum) + static_cast<double>(stepMs));
  };
  if (opening < lower) belowMs = add(belowMs);
  if (opening > upper) aboveMs = add(aboveMs);
}

float ParseLimit(std::string_view text) {
  const double value = base::LeadingDecimal(text);
  if (std::fabs(value) > FLT_MAX) return value > 0 ? HUGE_VALF : -HUGE_VALF;
  return static_cast<float>(value);
}

std::string CopyText(const StatisticsTable& table) {
  std::string text;
  for (const StatisticsTable::Column& column : table.columns) text += column.heading + "\t";
  text += "\n";
  for (const std::vector<std::string>& row : table.rows) {
    for (const std::string& cell : row) text += cell + "\t";
    text += "\n";
  }
  return text;
}

std::string RangeTimeText(const RecordTime& time) {
  const record::CalendarFields f = time.Fields();
  return base::Format("%4.4d-%2.2d-%2.2d %2.2d:%2.2d:%2.2d", f.year, f.month, f.day, f.hour, f.minute, f.second);
}

}  // namespace tessaly::analysis
