#include "output/print_pages.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "analysis/graph_fill.h"
#include "base/command_line.h"
#include "base/format.h"
#include "base/local_time.h"
#include "base/number_format.h"
#include "base/texts.h"
#include "recorder/recorder_data.h"

namespace tessaly::output {
namespace {

using base::TextId;

constexpr uint32_t kRowsPerPage = 40;
constexpr int kLeft = 200;
constexpr int kTableRight = 6550;
constexpr int kTableTop = 250;
constexpr int kTableBottom = 4350;
constexpr int kRowHeight = 100;
constexpr int kFirstRowY = 370;
constexpr int kChannelColumn = 300;
constexpr int kFirstChannelX = 1150;

uint32_t Interval(const PrintInput& in) { return std::max(in.partInterval, 1u); }

// R: the part points the buffer holds.
uint32_t PartPoints(const PrintInput& in) { return static_cast<uint32_t>(in.samples->size() / Interval(in)); }

// The window's points can be printed: it starts no later than it ends and
// ends at or before the data's end. A window reaching the very end still
// prints all its points.
bool Printable(const PrintInput& in) { return in.partFirst <= in.partEnd && in.partEnd <= PartPoints(in); }

bool Measured(float v) { return record::kMarkerLow < v && v < record::kMarkerHigh; }

std::string Fixed(double value, int precision) {
  char text[base::kFixedRoom];
  return {text, base::WriteFixed(text, value, precision)};
}

std::string TimeText(TextId pattern, int language, const record::RecordTime& time) {
  const record::CalendarFields f = time.Fields();
  return base::FormatText(base::Text(pattern, language), f.year, f.month, f.day, f.hour, f.minute, f.second);
}

std::string PrintTimeText(const PrintInput& in) {
  const record::CalendarFields& f = in.printTime;
  return base::FormatText(base::Text(TextId::PrintTime, in.language), f.year, f.month, f.day, f.hour, f.minute,
                          f.second);
}

// The time of sample `index`; a sample past the end reads as the last one.
record::RecordTime SampleTime(const record::SampleBuffer& samples, uint64_t index) {
  if (samples.empty()) return {};
  return samples.TimeAt(static_cast<size_t>(std::min<uint64_t>(index, samples.size() - 1)));
}

// From the second and millisecond fields of samples 0 and 1 alone; none with
// fewer than two samples.
std::optional<std::string> IntervalText(const PrintInput& in, TextId seconds, TextId milliseconds) {
  if (in.samples->size() < 2) return std::nullopt;
  const record::CalendarFields f0 = in.samples->TimeAt(0).Fields();
  const record::CalendarFields f1 = in.samples->TimeAt(1).Fields();
  if (f1.second != f0.second) return base::FormatText(base::Text(seconds, in.language), f1.second - f0.second);
  return base::FormatText(base::Text(milliseconds, in.language), f1.millisecond - f0.millisecond);
}

class PageBuilder {
 public:
  explicit PageBuilder(PrintPage& page) : page_(page) {}
  void Text(int x, int y, int points, std::string text) { page_.texts.push_back({x, y, points, std::move(text)}); }
  void Line(int x1, int y1, int x2, int y2) { page_.lines.push_back({x1, y1, x2, y2}); }

 private:
  PrintPage& page_;
};

void ComposeGraph(const PrintInput& in, PrintPage& page) {
  PageBuilder out(page);
  page.picture = PrintBox{kLeft, 300, 6600, 4300};
  out.Text(3000, 20, kTitlePoints, base::Text(TextId::PrintGraphTitle, in.language));
  const uint64_t st = Interval(in);
  const record::RecordTime start = SampleTime(*in.samples, in.partFirst * st);
  const record::RecordTime stop = SampleTime(*in.samples, in.partEnd * st);
  out.Text(kLeft, 200, kLinePoints, TimeText(TextId::PrintStartTime, in.language, start));
  out.Text(2200, 200, kLinePoints, TimeText(TextId::PrintStopTime, in.language, stop));
  if (auto interval = IntervalText(in, TextId::PrintGraphIntervalSeconds, TextId::PrintGraphIntervalMilliseconds))
    out.Text(4000, 200, kLinePoints, std::move(*interval));
  out.Text(5500, 200, kLinePoints, PrintTimeText(in));
  constexpr int kLegendPerRow = 6;
  for (int c = 0; c < settings::kChannels; ++c) {
    const int x = 300 + 1200 * (c % kLegendPerRow);
    const int top = 4350 + 120 * (c / kLegendPerRow);
    const settings::ChannelInfo& channel = in.display->channels[c];
    page.rects.push_back({x - 100, top, x, top + 100, channel.color});
    out.Text(x, top + 20, kLinePoints, settings::ChannelName(channel));
  }
}

int ChannelX(int channel) { return kFirstChannelX + 15 + kChannelColumn * channel; }

void ListFrame(const PrintInput& in, uint32_t page, uint32_t pages, PageBuilder& out) {
  const int language = in.language;
  out.Text(3000, 50, kTitlePoints, base::Text(TextId::PrintListTitle, language));
  out.Text(5500, 100, kLinePoints, PrintTimeText(in));
  const std::string device = settings::DeviceName(*in.display);
  out.Text(kLeft, 4500, kLinePoints, base::FormatText(base::Text(TextId::PrintDeviceName, language), device.c_str()));
  if (auto interval = IntervalText(in, TextId::PrintListIntervalSeconds, TextId::PrintListIntervalMilliseconds))
    out.Text(3100, 4500, kLinePoints, std::move(*interval));
  const char* pageNumber = base::Text(TextId::PrintPageNumber, language);
  out.Text(6200, 4500, kLinePoints, base::FormatText(pageNumber, static_cast<int>(page), static_cast<int>(pages)));
  for (int y = kTableTop; y <= kTableBottom; y += kRowHeight) out.Line(kLeft, y, kTableRight, y);
  for (const int x : {kLeft, 400}) out.Line(x, kTableTop, x, kTableBottom);
  for (int x = kFirstChannelX; x <= kTableRight; x += kChannelColumn) out.Line(x, kTableTop, x, kTableBottom);
  out.Text(215, 270, kTablePoints, base::Text(TextId::ListIndexHeading, language));
  out.Text(415, 270, kTablePoints, base::Text(TextId::ListTimeHeading, language));
  for (int c = 0; c < settings::kChannels; ++c)
    out.Text(kFirstChannelX + 10 + kChannelColumn * c, 270, kTablePoints,
             base::FormatText(base::Text(TextId::PrintChannelHeading, language), c + 1));
}

std::optional<std::string> CellText(const PrintInput& in, int channel, float value, int32_t decimals) {
  const settings::DisplaySettings& display = *in.display;
  if (display.yAxisMode == 0) {
    const settings::ChannelInfo& info = display.channels[channel];
    const float percent = (value - info.rangeLow) * 100.0f / (info.rangeHigh - info.rangeLow);
    return Fixed(percent, 2);
  }
  if (display.yAxisMode != 1) return std::nullopt;
  if (Measured(value)) return Fixed(value, decimals);
  if (value >= record::kMarkerHigh) return base::Text(TextId::PrintOverUpper, in.language);
  if (value <= record::kMarkerLow) return base::Text(TextId::PrintUnderLower, in.language);
  return std::nullopt;  // not a number
}

bool AnyChannelShown(const settings::DisplaySettings& display) {
  return std::any_of(std::begin(display.channels), std::end(display.channels),
                     [](const settings::ChannelInfo& c) { return c.shown == 1; });
}

void ListRows(const PrintInput& in, uint32_t page, PageBuilder& out) {
  if (!Printable(in) || !AnyChannelShown(*in.display)) return;
  const uint32_t st = Interval(in);
  const uint64_t first = in.partFirst + uint64_t{kRowsPerPage} * (page - 1);
  const uint64_t end = std::min<uint64_t>(first + kRowsPerPage, in.partEnd);
  const char* indexFormat = base::Text(TextId::ListIndexFormat, in.language);
  record::SampleBuffer::Walker walker(*in.samples);
  for (uint64_t i = first; i < end; ++i) {
    const int y = kFirstRowY + kRowHeight * static_cast<int>(i - first);
    const size_t index = static_cast<size_t>(i * st);
    const record::Sample& sample = walker.At(index);
    out.Text(215, y, kTablePoints, base::FormatText(indexFormat, static_cast<int>(index)));
    out.Text(415, y, kTablePoints, TimeText(TextId::ListTimeFormat, in.language, sample.time));
    for (int c = 0; c < settings::kChannels; ++c) {
      if (in.display->channels[c].shown != 1) continue;
      if (auto text = CellText(in, c, sample.values[c], sample.decimals[c]))
        out.Text(ChannelX(c), y, kTablePoints, std::move(*text));
    }
  }
}

struct ChannelSummary {
  uint32_t count = 0;
  float sum = 0.0f;
  float max = 0.0f;
  float min = 0.0f;
};

void ListStatistics(const PrintInput& in, PageBuilder& out) {
  out.Text(415, 4070, kTablePoints, base::Text(TextId::PrintMaximum, in.language));
  out.Text(415, 4170, kTablePoints, base::Text(TextId::PrintMinimum, in.language));
  out.Text(415, 4270, kTablePoints, base::Text(TextId::PrintAverage, in.language));
  if (in.display->yAxisMode != 1 || !Printable(in)) return;
  ChannelSummary summaries[settings::kChannels];
  const uint32_t st = Interval(in);
  record::SampleBuffer::Walker walker(*in.samples);
  for (uint32_t i = in.partFirst; i < in.partEnd; ++i) {
    const record::Sample& sample = walker.At(size_t{i} * st);
    for (int c = 0; c < settings::kChannels; ++c) {
      const float v = sample.values[c];
      if (in.display->channels[c].shown != 1 || !Measured(v)) continue;
      ChannelSummary& s = summaries[c];
      if (s.count == 0 || v > s.max) s.max = v;
      if (s.count == 0 || v < s.min) s.min = v;
      s.sum += v;
      ++s.count;
    }
  }
  for (int c = 0; c < settings::kChannels; ++c) {
    const ChannelSummary& s = summaries[c];
    if (s.count == 0) continue;
    const int32_t decimals = in.samples->DecimalsAt(0, c);
    const float average = s.sum / static_cast<float>(s.count);
    const std::pair<int, float> cells[] = {{4070, s.max}, {4170, s.min}, {4270, average}};
    for (const auto& [y, value] : cells)
      if (Measured(value)) out.Text(ChannelX(c), y, kTablePoints, Fixed(value, decimals));
  }
}

}  // namespace

PrintInput ViewerPrintInput(const recorder::CRecorderData& data, PrintKind kind,
                            const record::CalendarFields& printTime) {
  PrintInput input;
  input.kind = kind;
  input.partFirst = data.partFirst;
  input.partEnd = data.partEnd;
  input.partInterval = analysis::PartInterval(data);
  input.samples = &data.samples;
  input.display = &data.Display();
  input.language = data.language;
  input.printTime = printTime;
  return input;
}

record::CalendarFields PrintTimeNow() {
  std::tm parts{};
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  const std::optional<int64_t> fixed =
      epoch ? base::ParseInteger(epoch, 0, int64_t{253402300799}) : std::nullopt;  // up to 9999-12-31
  const std::time_t now = fixed ? static_cast<std::time_t>(*fixed) : std::time(nullptr);
  if (fixed)
    base::UtcCalendar(now, parts);
  else
    base::LocalCalendar(now, parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, 0};
}

uint32_t PrintPageCount(const PrintInput& input) {
  if (input.kind == PrintKind::Graph || !Printable(input)) return 1;
  return (input.partEnd - input.partFirst + 4 + kRowsPerPage - 1) / kRowsPerPage;
}

PrintPage ComposePrintPage(const PrintInput& input, uint32_t page) {
  PrintPage out;
  if (input.kind == PrintKind::Graph) {
    ComposeGraph(input, out);
    return out;
  }
  const uint32_t pages = PrintPageCount(input);
  PageBuilder builder(out);
  ListFrame(input, page, pages, builder);
  ListRows(input, page, builder);
  if (page == pages) ListStatistics(input, builder);
  return out;
}

}  // namespace tessaly::output
