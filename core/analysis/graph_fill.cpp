#include "analysis/graph_fill.h"

#include <algorithm>
#include <cmath>

#include "base/format.h"
#include "base/texts.h"

namespace tessaly::analysis {
namespace {

// Truncation toward zero into an unsigned 32-bit index, wrapping as the
// recorder software's conversions do: a window dragged left of point 0 gives
// huge indexes, and so a window that draws nothing. Values no conversion can
// hold saturate instead of being undefined.
uint32_t TruncateToIndex(long double x) {
  if (std::isnan(x)) return 0;
  constexpr long double kInt64Edge = 9.2e18L;
  if (x >= kInt64Edge) return UINT32_MAX;
  if (x <= -kInt64Edge) return 0;
  return static_cast<uint32_t>(static_cast<int64_t>(x));
}

PointRun CapAtLimit(uint32_t first, uint32_t end) {
  if (end <= kChartPointLimit) return {first, end, false};
  return {std::min(first, kChartPointLimit), kChartPointLimit, true};
}

// The part window for band points [low, high] at intervals A and P, each
// quotient rounded to single precision first.
void PlaceFromBand(recorder::CRecorderData& data, double low, double high) {
  const double a = data.allGraphInterval;
  const double p = PartInterval(data);
  data.partFirst = TruncateToIndex(static_cast<float>(low * a / p));
  data.partEnd = TruncateToIndex(static_cast<float>(high * a / p));
}

}  // namespace

uint32_t PartInterval(const settings::DisplaySettings& display) {
  return display.partGraphInterval > 0 ? static_cast<uint32_t>(display.partGraphInterval) : 1u;
}

uint32_t SetAllGraphInterval(recorder::CRecorderData& data) {
  const size_t a = data.samples.size() / 500 + 1;
  data.allGraphInterval = static_cast<int32_t>(a);
  return static_cast<uint32_t>(data.samples.size() / a);
}

PointRun AllGraphPoints(uint32_t points) { return CapAtLimit(0, points); }

WindowBand PlaceWindowBand(recorder::CRecorderData& data, uint32_t points) {
  const auto a = static_cast<uint32_t>(data.allGraphInterval);
  const double middle = points * 0.5;
  const double tenth = points * 0.05;
  const WindowBand band{TruncateToIndex(middle - tenth), TruncateToIndex(middle + tenth)};
  data.partFirst = band.low;
  data.partEnd = band.high;
  if (data.autoInterval == 1) data.partGraphInterval = static_cast<int32_t>((band.high - band.low) * a / 500u + 1u);
  const long double p = PartInterval(data);
  data.partFirst = TruncateToIndex(static_cast<long double>(a) * band.low / p);
  data.partEnd = TruncateToIndex(static_cast<long double>(a) * band.high / p);
  return band;
}

PointRun PartGraphPoints(const recorder::CRecorderData& data) {
  const auto available = static_cast<uint32_t>(data.samples.size() / PartInterval(data));
  if (!(data.partEnd < available && data.partFirst < data.partEnd)) return {};
  return CapAtLimit(data.partFirst, data.partEnd);
}

void MovePartWindow(recorder::CRecorderData& data, double bandStart, double bandEnd) {
  const double low = std::min(bandStart, bandEnd);
  const double high = std::max(bandStart, bandEnd);
  PlaceFromBand(data, low, high);
  if (data.autoInterval == 1) {
    data.partGraphInterval = static_cast<int32_t>((data.partEnd - data.partFirst) * PartInterval(data) / 1000u + 1u);
    PlaceFromBand(data, low, high);
  }
}

PlotPoint PlotValue(const settings::DisplaySettings& display, int channel, float value, GraphKind graph) {
  using Kind = PlotPoint::Kind;
  if (display.yAxisMode == 0) {
    const settings::ChannelInfo& info = display.channels[channel];
    const float percent = (value - info.rangeLow) * 100.0f / (info.rangeHigh - info.rangeLow);
    return {Kind::Normal, percent};
  }
  if (display.yAxisMode != 1) return {};
  const bool plotted = graph == GraphKind::All ? (-1e10 < value && value < 1e10)
                                               : (record::kMarkerLow < value && value < record::kMarkerHigh);
  return plotted ? PlotPoint{Kind::Normal, value} : PlotPoint{Kind::Empty, 0.0};
}

std::string PointText(const record::RecordTime& time) {
  const record::CalendarFields f = time.Fields();
  return base::FormatText(base::Text(base::TextId::GraphPointText, base::kChinese), f.year, f.month, f.day, f.hour,
                          f.minute, f.second);
}

}  // namespace tessaly::analysis
