#pragma once
// The graph page's arithmetic: the point intervals, the window band over the
// all graph, the part window, which points each chart draws and what each
// point plots. Kept apart from the widgets so that the exact integer and
// floating steps can be checked alone; the printed part graph reads the same
// part window.
#include <cstdint>
#include <string>

#include "record/record_time.h"
#include "recorder/recorder_data.h"

namespace tessaly::analysis {

// Chart points from this index on are never drawn: a fill that reaches it
// stops at once.
constexpr uint32_t kChartPointLimit = 65535;

enum class GraphKind { All, Part };

// Points [first, end) of one channel's series. `stopped`: the fill reached
// kChartPointLimit after these points, so the whole fill ends there.
struct PointRun {
  uint32_t first = 0;
  uint32_t end = 0;
  bool stopped = false;
};

// The part-graph interval P as the arithmetic uses it: a stored interval
// below 1 counts as 1, so that nothing divides by zero.
uint32_t PartInterval(const settings::DisplaySettings& display);

// All-graph points [low, high] covered by the window band.
struct WindowBand {
  uint32_t low = 0;
  uint32_t high = 0;
};

// An all-graph fill in its order: first allGraphInterval A = count / 500 + 1,
// which gives the all graph's point count nA (point k' shows sample k' x A);
// after drawing, the band over the middle tenth of the all graph, with
// autoInterval the part-graph interval for about 500 points, and the part
// window under the band.
uint32_t SetAllGraphInterval(recorder::CRecorderData& data);
PointRun AllGraphPoints(uint32_t points);
WindowBand PlaceWindowBand(recorder::CRecorderData& data, uint32_t points);

// Points of each shown channel of the part graph (point v shows sample
// v x PartInterval): the part window, or none when it is not drawable.
PointRun PartGraphPoints(const recorder::CRecorderData& data);

// The part window after the band was dragged to [bandStart, bandEnd] (either
// order); with autoInterval also the interval for about 1000 points.
void MovePartWindow(recorder::CRecorderData& data, double bandStart, double bandEnd);

struct PlotPoint {
  enum class Kind { None, Normal, Empty };
  Kind kind = Kind::None;
  double value = 0.0;
};

// What a sample's value of `channel` adds to a chart, by yAxisMode: the
// percentage of the channel's range, the value itself (or a gap where the
// chart leaves values out), or nothing.
PlotPoint PlotValue(const settings::DisplaySettings& display, int channel, float value, GraphKind graph);

// The label of a chart point: date and time on two lines.
std::string PointText(const record::RecordTime& time);

}  // namespace tessaly::analysis
