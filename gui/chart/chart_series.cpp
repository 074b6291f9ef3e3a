#include "chart/chart_series.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/graph_fill.h"

namespace tessaly::gui {
namespace {

constexpr size_t kBucketFactor = 4;
// Up to this many points per pixel column every point is drawn as it is.
constexpr double kRawPointsPerColumn = 2.0;

// Builds the runs of a trace: vertices join the open run until a gap closes
// it; a change of colour starts a new run from the last vertex, so the line
// stays connected.
class TraceBuilder {
 public:
  explicit TraceBuilder(SeriesTrace& trace) : trace_(trace) {}

  void Gap() { open_ = false; }

  void Vertex(double x, double value, uint32_t colour) {
    if (open_ && trace_.runs.back().colour != colour) {
      const SeriesTrace::Vertex last = trace_.vertices.back();
      trace_.runs.push_back({trace_.vertices.size(), 0, colour});
      Push(last);
    } else if (!open_) {
      trace_.runs.push_back({trace_.vertices.size(), 0, colour});
      open_ = true;
    }
    Push({x, value});
    trace_.low = std::min(trace_.low, value);
    trace_.high = std::max(trace_.high, value);
  }

  // The value the line arrives at, to order a column's minimum and maximum.
  bool HasLast() const { return open_; }
  double LastValue() const { return trace_.vertices.back().value; }

 private:
  void Push(SeriesTrace::Vertex v) {
    trace_.vertices.push_back(v);
    ++trace_.runs.back().count;
  }

  SeriesTrace& trace_;
  bool open_ = false;
};

}  // namespace

struct ChartSeries::Column {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  bool gap = false;
  bool any = false;
  bool touched = false;
  size_t first = 0;

  void Merge(const Bucket& b, size_t firstPoint) {
    if (!touched) first = firstPoint;
    touched = true;
    gap = gap || b.gap;
    if (!b.any) return;
    any = true;
    low = std::min(low, b.low);
    high = std::max(high, b.high);
  }
};

void ChartSeries::Push(double value, uint8_t flags, int64_t label, uint32_t colour) {
  values_.push_back(value);
  flags_.push_back(flags);
  labels_.push_back(label);
  colours_.push_back(colour);
  Extend();
}

void ChartSeries::PushText(double value, uint8_t flags, const QString& label, uint32_t colour) {
  Push(value, flags, static_cast<int64_t>(texts_.size()), colour);
  texts_.push_back(label);
}

void ChartSeries::PushTime(double value, uint8_t flags, const record::RecordTime& time, uint32_t colour) {
  Push(value, flags | kTimed | (time.IsValid() ? kValidTime : 0), time.IsValid() ? time.ticks : 0, colour);
}

void ChartSeries::Add(double value, const QString& label, uint32_t colour) { PushText(value, 0, label, colour); }

void ChartSeries::Add(double value, const record::RecordTime& time, uint32_t colour) {
  PushTime(value, 0, time, colour);
}

void ChartSeries::AddEmpty(const QString& label) {
  PushText(std::numeric_limits<double>::quiet_NaN(), kEmpty, label, 0);
}

void ChartSeries::AddEmpty(const record::RecordTime& time) {
  PushTime(std::numeric_limits<double>::quiet_NaN(), kEmpty, time, 0);
}

void ChartSeries::Clear() {
  values_.clear();
  flags_.clear();
  labels_.clear();
  texts_.clear();
  colours_.clear();
  for (auto& level : levels_) level.clear();
}

void ChartSeries::Reserve(size_t points) {
  values_.reserve(points);
  flags_.reserve(points);
  labels_.reserve(points);
  colours_.reserve(points);
}

QString ChartSeries::Label(size_t i) const {
  if (!(flags_[i] & kTimed)) return texts_[static_cast<size_t>(labels_[i])];
  record::RecordTime time;
  if (flags_[i] & kValidTime) time = {record::RecordTimeStatus::Valid, labels_[i]};
  return QString::fromStdString(analysis::PointText(time));
}

void ChartSeries::Extend() {
  const size_t n = values_.size();
  size_t size = kBucketFactor;
  for (size_t level = 0; n % size == 0; ++level, size *= kBucketFactor) {
    if (levels_.size() <= level) levels_.emplace_back();
    Bucket b{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), false, false};
    if (level == 0) {
      for (size_t i = n - kBucketFactor; i < n; ++i) {
        const double v = values_[i];
        if (!std::isfinite(v)) {
          b.gap = true;
          continue;
        }
        b.any = true;
        b.low = std::min(b.low, v);
        b.high = std::max(b.high, v);
      }
    } else {
      const auto& below = levels_[level - 1];
      for (size_t j = below.size() - kBucketFactor; j < below.size(); ++j) {
        b.gap = b.gap || below[j].gap;
        b.any = b.any || below[j].any;
        b.low = std::min(b.low, below[j].low);
        b.high = std::max(b.high, below[j].high);
      }
    }
    levels_[level].push_back(b);
  }
}

// Visits points first..last (inclusive) in envelope buckets as large as fit
// in one pixel column, single points at the unaligned ends and the
// incomplete tail.
template <typename Visit>
void ChartSeries::WalkEnvelope(size_t first, size_t last, size_t pointsPerColumn, Visit&& visit) const {
  int level = -1;
  size_t size = 1;
  while (level + 1 < static_cast<int>(levels_.size()) && size * kBucketFactor <= pointsPerColumn) {
    ++level;
    size *= kBucketFactor;
  }
  size_t i = first;
  while (i <= last) {
    if (level >= 0 && i % size == 0 && i + size - 1 <= last && i / size < levels_[level].size()) {
      visit(levels_[level][i / size], i);
      i += size;
      continue;
    }
    const double v = values_[i];
    const bool finite = std::isfinite(v);
    visit(Bucket{v, v, !finite, finite}, i);
    ++i;
  }
}

SeriesTrace ChartSeries::Trace(double xFirst, double xLast, int columns) const {
  SeriesTrace trace;
  trace.low = std::numeric_limits<double>::infinity();
  trace.high = -std::numeric_limits<double>::infinity();
  if (values_.empty() || columns <= 0 || !(xLast > xFirst)) return trace;
  const double firstX = std::max(0.0, std::ceil(xFirst));
  const double lastX = std::min(static_cast<double>(values_.size() - 1), std::floor(xLast));
  if (firstX > lastX) return trace;
  const auto first = static_cast<size_t>(firstX);
  const auto last = static_cast<size_t>(lastX);
  TraceBuilder builder(trace);

  const double pointsPerColumn = (xLast - xFirst) / columns;
  if (pointsPerColumn <= kRawPointsPerColumn) {
    for (size_t i = first; i <= last; ++i) {
      if (std::isfinite(values_[i]))
        builder.Vertex(static_cast<double>(i), values_[i], colours_[i]);
      else
        builder.Gap();
    }
    return trace;
  }

  trace.columns = true;
  std::vector<Column> cells(static_cast<size_t>(columns));
  WalkEnvelope(first, last, static_cast<size_t>(pointsPerColumn), [&](const Bucket& b, size_t i) {
    const auto c = static_cast<long>((static_cast<double>(i) - xFirst) / pointsPerColumn);
    cells[static_cast<size_t>(std::clamp(c, 0L, static_cast<long>(columns - 1)))].Merge(b, i);
  });
  for (size_t c = 0; c < cells.size(); ++c) {
    const Column& cell = cells[c];
    if (!cell.touched || cell.gap || !cell.any) {
      builder.Gap();
      continue;
    }
    const double x = xFirst + (static_cast<double>(c) + 0.5) * pointsPerColumn;
    const uint32_t colour = colours_[cell.first];
    // Enter the column at the end nearer to where the line comes from.
    const bool downward =
        builder.HasLast() && std::fabs(builder.LastValue() - cell.high) < std::fabs(builder.LastValue() - cell.low);
    builder.Vertex(x, downward ? cell.high : cell.low, colour);
    if (cell.high != cell.low) builder.Vertex(x, downward ? cell.low : cell.high, colour);
  }
  return trace;
}

}  // namespace tessaly::gui
