#include "analysis/cursor_readout.h"

#include <algorithm>
#include <cinttypes>
#include <cstdlib>

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

CursorChannel ReadChannel(const record::SampleBuffer& samples, const settings::ChannelInfo& info, int channel,
                          size_t a, size_t b) {
  CursorChannel out;
  out.channel = channel;
  out.decimals = samples.DecimalsAt(a, channel);
  out.atA = samples.ValueAt(a, channel);
  out.atB = samples.ValueAt(b, channel);
  if (!IsMarker(out.atA) && !IsMarker(out.atB))
    out.delta = static_cast<double>(out.atB) - static_cast<double>(out.atA);
  const size_t first = std::min(a, b);
  const size_t last = std::max(a, b);
  double sum = 0.0;
  size_t counted = 0;
  for (size_t i = first; i <= last; ++i) {
    const float v = samples.ValueAt(i, channel);
    if (IsMarker(v)) continue;
    out.min = out.min ? std::min(*out.min, v) : v;
    out.max = out.max ? std::max(*out.max, v) : v;
    sum += v;
    ++counted;
  }
  if (counted > 0) out.mean = sum / static_cast<double>(counted);
  out.outside = TimeOutsideLimits(samples, channel, first, last, info.rangeLow, info.rangeHigh, IsMarker);
  return out;
}

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

CursorReadout ReadCursors(const record::SampleBuffer& samples, const settings::DisplaySettings& display, size_t a,
                          size_t b) {
  CursorReadout out;
  out.a = a;
  out.b = b;
  out.timeA = samples.TimeAt(a);
  out.timeB = samples.TimeAt(b);
  if (out.timeA.IsValid() && out.timeB.IsValid()) out.deltaMs = (out.timeB.ticks - out.timeA.ticks) / 10'000;
  for (int k = 0; k < settings::kChannels; ++k)
    if (display.channels[k].shown == 1) out.channels.push_back(ReadChannel(samples, display.channels[k], k, a, b));
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
    table.rows.push_back({name.empty() ? base::FormatText(Text(TextId::GraphSeriesTitle, language), c.channel + 1) : name,
                          settings::ChannelUnit(info),
                          Number(std::optional<float>(c.atA), c.decimals, language),
                          Number(std::optional<float>(c.atB), c.decimals, language),
                          Number(c.delta, c.decimals, language), Number(c.min, c.decimals, language),
                          Number(c.max, c.decimals, language), Number(c.mean, c.decimals, language),
                          SecondsText(static_cast<int64_t>(c.outside.aboveMs)),
                          SecondsText(static_cast<int64_t>(c.outside.belowMs))});
  }
  return table;
}

std::string CursorTimeText(const record::RecordTime& time, int language) {
  if (!time.IsValid()) return Text(TextId::CursorTimeNotValid, language);
  const record::CalendarFields f = time.Fields();
  return base::Format("%4.4d-%2.2d-%2.2d %2.2d:%2.2d:%2.2d.%3.3d", f.year, f.month, f.day, f.hour, f.minute, f.second,
                      f.millisecond);
}

std::optional<size_t> SampleAtPoint(const settings::CRecorderData& data, int64_t point) {
  const PointRun run = PartGraphPoints(data);
  if (point < 0 || point >= int64_t{run.end} - int64_t{run.first}) return std::nullopt;
  return (static_cast<size_t>(run.first) + static_cast<size_t>(point)) * PartInterval(data);
}

std::optional<double> PointOfSample(const settings::CRecorderData& data, size_t sample) {
  const PointRun run = PartGraphPoints(data);
  const double p = PartInterval(data);
  const double x = (static_cast<double>(sample) - run.first * p) / p;
  if (run.end == run.first || x < 0.0 || x > static_cast<double>(run.end - run.first - 1)) return std::nullopt;
  return x;
}

}  // namespace tessaly::analysis
