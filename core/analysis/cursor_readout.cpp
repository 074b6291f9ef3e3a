#include "analysis/cursor_readout.h"

#include <algorithm>
#include <cinttypes>

#include "analysis/graph_fill.h"
#include "base/format.h"
#include "base/texts.h"

namespace tessaly::analysis {
namespace {

using base::Text;
using base::TextId;

constexpr int kNameColumnWidth = 90;
constexpr int kNumberColumnWidth = 80;
constexpr int kTimeColumnWidth = 170;
constexpr int kMaxDecimals = 15;

bool IsMarker(float v) { return v == record::kMarkerHigh || v == record::kMarkerLow; }

// Whole milliseconds as seconds with three decimals, exactly.
std::string SecondsText(int64_t ms) {
  const uint64_t magnitude = ms < 0 ? 0 - static_cast<uint64_t>(ms) : static_cast<uint64_t>(ms);
  return base::Format("%s%" PRIu64 ".%3.3" PRIu64, ms < 0 ? "-" : "", magnitude / 1000, magnitude % 1000);
}

template <typename T>
std::string Number(const std::optional<T>& value, int decimals, int language) {
  if (!value) return Text(TextId::CursorNoValue, language);
  std::string text = base::Format("%.*f", std::clamp(decimals, 0, kMaxDecimals), static_cast<double>(*value));
  // A difference too small for the decimals reads as 0, without a sign.
  if (text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
  return text;
}

}  // namespace

// One pass forward over the samples between the cursors for every shown
// channel at once: the buffer puts a sample together per index.
CursorReadout ReadCursors(const record::SampleBuffer& samples, const settings::DisplaySettings& display, size_t a,
                          size_t b) {
  CursorReadout out;
  out.a = a;
  out.b = b;
  out.timeA = samples.TimeAt(a);
  out.timeB = samples.TimeAt(b);
  if (out.timeA.IsValid() && out.timeB.IsValid()) out.deltaMs = (out.timeB.ticks - out.timeA.ticks) / 10'000;
  for (int k = 0; k < settings::kChannels; ++k) {
    if (display.channels[k].shown != 1) continue;
    CursorChannel c;
    c.channel = k;
    c.decimals = samples.DecimalsAt(a, k);
    c.atA = samples.ValueAt(a, k);
    c.atB = samples.ValueAt(b, k);
    if (!IsMarker(c.atA) && !IsMarker(c.atB)) c.delta = static_cast<double>(c.atB) - static_cast<double>(c.atA);
    out.channels.push_back(c);
  }

  const size_t first = std::min(a, b);
  const size_t last = std::max(a, b);
  std::vector<double> sums(out.channels.size(), 0.0);
  std::vector<size_t> counted(out.channels.size(), 0);
  record::SampleBuffer::Walker walker(samples);
  record::Sample previous{};
  for (size_t i = first; i <= last; ++i) {
    const record::Sample& s = walker.At(i);
    const int64_t stepMs = i > first ? StepMs(previous.time, s.time) : 0;
    for (size_t j = 0; j < out.channels.size(); ++j) {
      CursorChannel& c = out.channels[j];
      const settings::ChannelInfo& info = display.channels[c.channel];
      if (i > first && !IsMarker(previous.values[c.channel]))
        c.outside.Count(previous.values[c.channel], stepMs, info.rangeLow, info.rangeHigh);
      const float v = s.values[c.channel];
      if (IsMarker(v)) continue;
      c.min = c.min ? std::min(*c.min, v) : v;
      c.max = c.max ? std::max(*c.max, v) : v;
      sums[j] += v;
      ++counted[j];
    }
    previous = s;
  }
  for (size_t j = 0; j < out.channels.size(); ++j)
    if (counted[j] > 0) out.channels[j].mean = sums[j] / static_cast<double>(counted[j]);
  return out;
}

StatisticsTable CursorTable(const CursorReadout& readout, const settings::DisplaySettings& display, int language) {
  StatisticsTable table;
  for (const auto& [id, width] : {std::pair{TextId::CursorColumnChannel, kNameColumnWidth},
                                  {TextId::CursorColumnUnit, kNumberColumnWidth},
                                  {TextId::CursorColumnA, kTimeColumnWidth},
                                  {TextId::CursorColumnB, kTimeColumnWidth},
                                  {TextId::CursorColumnDelta, kNumberColumnWidth},
                                  {TextId::CursorColumnMin, kNumberColumnWidth},
                                  {TextId::CursorColumnMax, kNumberColumnWidth},
                                  {TextId::CursorColumnMean, kNumberColumnWidth},
                                  {TextId::CursorColumnOver, kNumberColumnWidth},
                                  {TextId::CursorColumnUnder, kNumberColumnWidth}})
    table.columns.push_back({Text(id, language), width});
  const std::string none = Text(TextId::CursorNoValue, language);
  table.rows.push_back({Text(TextId::CursorTimeRow, language), Text(TextId::CursorSecondsUnit, language),
                        CursorTimeText(readout.timeA, language), CursorTimeText(readout.timeB, language),
                        readout.deltaMs ? SecondsText(*readout.deltaMs) : none, "", "", "", "", ""});
  for (const CursorChannel& c : readout.channels) {
    const settings::ChannelInfo& info = display.channels[c.channel];
    const std::string name = settings::ChannelName(info);
    // An unnamed channel goes by its legend entry.
    table.rows.push_back(
        {name.empty() ? base::FormatText(Text(TextId::GraphSeriesTitle, language), c.channel + 1) : name,
         settings::ChannelUnit(info), Number(std::optional<float>(c.atA), c.decimals, language),
         Number(std::optional<float>(c.atB), c.decimals, language), Number(c.delta, c.decimals, language),
         Number(c.min, c.decimals, language), Number(c.max, c.decimals, language), Number(c.mean, c.decimals, language),
         SecondsText(static_cast<int64_t>(c.outside.aboveMs)), SecondsText(static_cast<int64_t>(c.outside.belowMs))});
  }
  return table;
}

std::string CursorTimeText(const record::RecordTime& time, int language) {
  if (!time.IsValid()) return Text(TextId::CursorTimeNotValid, language);
  const record::CalendarFields f = time.Fields();
  return base::Format("%4.4d-%2.2d-%2.2d %2.2d:%2.2d:%2.2d.%3.3d", f.year, f.month, f.day, f.hour, f.minute, f.second,
                      f.millisecond);
}

std::optional<size_t> SampleAtPoint(const recorder::CRecorderData& data, int64_t point) {
  const PointRun run = PartGraphPoints(data);
  if (point < 0 || point >= int64_t{run.end} - int64_t{run.first}) return std::nullopt;
  return (static_cast<size_t>(run.first) + static_cast<size_t>(point)) * PartInterval(data);
}

std::optional<double> PointOfSample(const recorder::CRecorderData& data, size_t sample) {
  const PointRun run = PartGraphPoints(data);
  const double p = PartInterval(data);
  const double x = (static_cast<double>(sample) - run.first * p) / p;
  if (run.end == run.first || x < 0.0 || x > static_cast<double>(run.end - run.first - 1)) return std::nullopt;
  return x;
}

}  // namespace tessaly::analysis
