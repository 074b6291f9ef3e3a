#pragma once
// The points of one line series and what is needed to draw any number of them
// in time proportional to the chart's width: min/max envelopes of the values
// in buckets of 4, 16, 64, ... points, kept up to date as points are added
// (the way PulseView keeps its analog segments).
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "record/record_time.h"

namespace tessaly::gui {

// The visible part of a series, ready to be drawn: runs of vertices, one
// polyline each, broken wherever the series has a gap. x is in X-value units
// (point positions), so the caller maps both axes after the Y range is known.
struct SeriesTrace {
  struct Vertex {
    double x;
    double value;
  };
  struct Run {
    size_t begin;
    size_t count;
    uint32_t colour;  // 0x00BBGGRR
  };
  std::vector<Vertex> vertices;
  std::vector<Run> runs;
  // Vertices stand for pixel columns (one or two each: where the line enters
  // the column and where it leaves it) rather than for single points.
  bool columns = false;
  // Range of the values drawn; low > high when nothing is drawn.
  double low = 1.0;
  double high = 0.0;
};

// A point is labelled either with a text or with the time of its sample,
// kept as its ticks; a time's text is made only when it is asked for, so that
// a series of a million points holds no texts.
class ChartSeries {
 public:
  // A point with a value; a value that is not finite draws as a gap.
  void Add(double value, const QString& label, uint32_t colour);
  void Add(double value, const record::RecordTime& time, uint32_t colour);
  // A point with only a label: the line leaves a gap there.
  void AddEmpty(const QString& label);
  void AddEmpty(const record::RecordTime& time);
  void Clear();
  // Room for `points` points in all, for a fill that knows its count.
  void Reserve(size_t points);

  size_t Size() const { return values_.size(); }
  bool IsEmptyPoint(size_t i) const { return (flags_[i] & kEmpty) != 0; }
  // Empty points read back as 0.
  double Value(size_t i) const { return IsEmptyPoint(i) ? 0.0 : values_[i]; }
  // A time's label is its date and time on two lines (PointText).
  QString Label(size_t i) const;

  // Points whose X lies in [xFirst, xLast], for a plot `columns` pixels wide.
  // Where several points share a pixel column the column draws their minimum
  // and maximum; a column holding a gap draws nothing, so gaps stay visible
  // at every scale.
  SeriesTrace Trace(double xFirst, double xLast, int columns) const;

 private:
  struct Bucket {
    double low;
    double high;
    bool gap;  // a point without a finite value lies in the bucket
    bool any;  // a point with a finite value lies in the bucket
  };
  struct Column;

  // Bits of flags_.
  static constexpr uint8_t kEmpty = 1;
  static constexpr uint8_t kTimed = 2;      // labels_[i] holds the sample time's ticks
  static constexpr uint8_t kValidTime = 4;  // with kTimed: the time is valid

  void Push(double value, uint8_t flags, int64_t label, uint32_t colour);
  void PushText(double value, uint8_t flags, const QString& label, uint32_t colour);
  void PushTime(double value, uint8_t flags, const record::RecordTime& time, uint32_t colour);
  void Extend();
  template <typename Visit>
  void WalkEnvelope(size_t first, size_t last, size_t pointsPerColumn, Visit&& visit) const;

  std::vector<double> values_;  // NaN at empty points
  std::vector<uint8_t> flags_;
  // Per point: the ticks of a time label, or the index of a text label in
  // texts_.
  std::vector<int64_t> labels_;
  std::vector<QString> texts_;
  std::vector<uint32_t> colours_;
  // levels_[l] holds complete buckets of 4^(l+1) points each.
  std::vector<std::vector<Bucket>> levels_;
};

}  // namespace tessaly::gui
