#include "chart/ct_chart.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "base/atomic_file.h"

namespace tessaly::gui {
namespace {

constexpr int kMargin = 6;
constexpr int kTick = 4;
constexpr int kGrabPixels = 5;     // how near an edge of the band a press takes it
constexpr int kLabelSpacing = 12;  // least room between two bottom labels
constexpr int kMaxTicks = 1000;
constexpr double kFarOutside = 1e5;  // pixels; keeps off-plot vertices drawable

// Colours of series that have neither a colour of their own nor points yet.
constexpr uint32_t kPalette[] = {0x0000FF, 0x00A000, 0xFF0000, 0x00A0FF, 0xA000A0, 0xA0A000, 0x404040, 0x0060C0};

// Texts and axes in black, or in white on a dark panel.
QColor InkOn(const QColor& panel) {
  const double luminance = 0.299 * panel.red() + 0.587 * panel.green() + 0.114 * panel.blue();
  return luminance < 128 ? Qt::white : Qt::black;
}

// The smallest of 1, 2 and 5 times a power of ten that is at least `raw`.
double NiceStep(double raw) {
  if (!(raw > 0) || !std::isfinite(raw)) return 1.0;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (double f : {1.0, 2.0, 5.0})
    if (f * magnitude >= raw * (1 - 1e-9)) return f * magnitude;
  return 10.0 * magnitude;
}

QString AxisNumber(double v, double step) {
  const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  if (std::fabs(v) < step * 1e-6) v = 0.0;  // no "-0"
  return QString::number(v, 'f', decimals);
}

// The multiples k * step within [low, high], at most kMaxTicks of them.
template <typename Visit>
void ForEachTick(double low, double high, double step, Visit&& visit) {
  const double first = std::ceil(low / step - 1e-9);
  const double last = std::floor(high / step + 1e-9);
  for (int n = 0; n <= std::min(last - first, static_cast<double>(kMaxTicks)); ++n) visit((first + n) * step);
}

int ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return CTChart::kLeftButton;
    case Qt::RightButton: return CTChart::kRightButton;
    case Qt::MiddleButton: return CTChart::kMiddleButton;
    default: return 0;
  }
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? CTChart::kShift : 0) |
         (modifiers & Qt::ControlModifier ? CTChart::kControl : 0) | (modifiers & Qt::AltModifier ? CTChart::kAlt : 0);
}

}  // namespace

QColor ColourFromBgr(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

CTChart::CTChart(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

CTChart::~CTChart() = default;

// ---- series ----

CTChart::Series* CTChart::SeriesAt(int series) {
  return series >= 0 && series < SeriesCount() ? &series_[static_cast<size_t>(series)] : nullptr;
}

const CTChart::Series* CTChart::SeriesAt(int series) const {
  return series >= 0 && series < SeriesCount() ? &series_[static_cast<size_t>(series)] : nullptr;
}

template <typename Change>
void CTChart::ChangeSeries(int series, Change&& change) {
  if (Series* s = SeriesAt(series)) {
    change(*s);
    Invalidate();
  }
}

// What `read` gives for the series and, if given, its point i; `none` when
// either does not exist.
template <typename T, typename Read>
T CTChart::ReadSeries(int series, std::optional<int> i, T none, Read&& read) const {
  const Series* s = SeriesAt(series);
  if (!s || (i && (*i < 0 || static_cast<size_t>(*i) >= s->points.Size()))) return none;
  return read(*s, static_cast<size_t>(i.value_or(0)));
}

int CTChart::AddLineSeries() {
  series_.emplace_back();
  Invalidate();
  return SeriesCount() - 1;
}

int CTChart::SeriesCount() const { return static_cast<int>(series_.size()); }

void CTChart::AddPoint(int series, double value, const QString& label, uint32_t colour) {
  ChangeSeries(series, [&](Series& s) {
    s.points.Add(value, label, colour);
    if (!s.colour) s.colour = colour;
  });
}

void CTChart::AddEmptyPoint(int series, const QString& label) {
  ChangeSeries(series, [&](Series& s) { s.points.AddEmpty(label); });
}

void CTChart::AddPoint(int series, double value, const record::RecordTime& time, uint32_t colour) {
  ChangeSeries(series, [&](Series& s) {
    s.points.Add(value, time, colour);
    if (!s.colour) s.colour = colour;
  });
}

void CTChart::AddEmptyPoint(int series, const record::RecordTime& time) {
  ChangeSeries(series, [&](Series& s) { s.points.AddEmpty(time); });
}

void CTChart::ReservePoints(int series, int points) {
  if (Series* s = SeriesAt(series); s && points > 0) s->points.Reserve(static_cast<size_t>(points));
}

void CTChart::RemoveAllPoints(int series) {
  ChangeSeries(series, [](Series& s) { s.points.Clear(); });
}

void CTChart::SetSeriesTitle(int series, const QString& title) {
  ChangeSeries(series, [&](Series& s) { s.title = title; });
}

void CTChart::SetSeriesShown(int series, bool shown) {
  ChangeSeries(series, [&](Series& s) { s.shown = shown; });
}

void CTChart::SetSeriesPenWidth(int series, int width) {
  ChangeSeries(series, [&](Series& s) { s.penWidth = width; });
}

void CTChart::SetSeriesColour(int series, uint32_t colour) {
  ChangeSeries(series, [&](Series& s) { s.colour = colour; });
}

QString CTChart::SeriesTitle(int series) const {
  return ReadSeries(series, {}, QString(), [](const Series& s, size_t) { return s.title; });
}

bool CTChart::SeriesShown(int series) const {
  return ReadSeries(series, {}, false, [](const Series& s, size_t) { return s.shown; });
}

int CTChart::SeriesPenWidth(int series) const {
  return ReadSeries(series, {}, 0, [](const Series& s, size_t) { return s.penWidth; });
}

int CTChart::PointCount(int series) const {
  return ReadSeries(series, {}, 0, [](const Series& s, size_t) { return static_cast<int>(s.points.Size()); });
}

QString CTChart::PointLabel(int series, int i) const {
  return ReadSeries(series, i, QString(), [](const Series& s, size_t at) { return s.points.Label(at); });
}

double CTChart::PointValue(int series, int i) const {
  return ReadSeries(series, i, 0.0, [](const Series& s, size_t at) { return s.points.Value(at); });
}

bool CTChart::IsEmptyPoint(int series, int i) const {
  return ReadSeries(series, i, false, [](const Series& s, size_t at) { return s.points.IsEmptyPoint(at); });
}

uint32_t CTChart::SeriesColour(int series) const {
  const Series& s = series_[static_cast<size_t>(series)];
  return s.colour.value_or(kPalette[static_cast<size_t>(series) % std::size(kPalette)]);
}

size_t CTChart::LongestSeries(bool shownOnly) const {
  size_t longest = 0;
  for (const Series& s : series_)
    if (s.shown || !shownOnly) longest = std::max(longest, s.points.Size());
  return longest;
}

double CTChart::XValueAtPixel(int /*series*/, int x) const {
  const Frame& f = CurrentFrame();
  return f.xFirst + (x - f.plot.left()) * (f.xLast - f.xFirst) / std::max(1, f.plot.width() - 1);
}

int CTChart::PixelAtXValue(double x) const { return static_cast<int>(std::lround(PixelX(CurrentFrame(), x))); }

// ---- axes, panel, title, legend ----

void CTChart::SetLeftAxisAutomatic(bool automatic) {
  leftAutomatic_ = automatic;
  Invalidate();
}

void CTChart::SetLeftAxisRange(double min, double max) {
  leftAutomatic_ = false;
  leftMin_ = min;
  leftMax_ = max;
  Invalidate();
}

void CTChart::SetAxisTitle(ChartAxis axis, const QString& title) {
  (axis == ChartAxis::Left ? left_ : bottom_).title = title;
  Invalidate();
}

void CTChart::SetGridVisible(ChartAxis axis, bool visible) {
  (axis == ChartAxis::Left ? left_ : bottom_).gridVisible = visible;
  Invalidate();
}

bool CTChart::GridVisible(ChartAxis axis) const { return (axis == ChartAxis::Left ? left_ : bottom_).gridVisible; }

void CTChart::SetGridColour(ChartAxis axis, uint32_t colour) {
  (axis == ChartAxis::Left ? left_ : bottom_).gridColour = colour;
  Invalidate();
}

void CTChart::SetMinorGrid(ChartAxis axis, int ticksBetween, uint32_t colour) {
  AxisStyle& style = axis == ChartAxis::Left ? left_ : bottom_;
  style.minorTicks = std::clamp(ticksBetween, 0, 20);
  style.minorColour = colour;
  Invalidate();
}

void CTChart::SetBottomLabelIncrement(int points) {
  bottomIncrement_ = std::clamp(points, 0, 1'000'000);
  Invalidate();
}

std::vector<QRect> CTChart::BottomLabelRects() const {
  std::vector<QRect> rects;
  for (const BottomLabel& label : CurrentFrame().bottomLabels) rects.push_back(label.rect);
  return rects;
}

void CTChart::SetPanelColour(uint32_t colour) {
  panelColour_ = colour;
  Invalidate();
}

void CTChart::SetTitleText(const QString& text) {
  title_ = text;
  Invalidate();
}

void CTChart::SetLegendVisible(bool visible) {
  legendVisible_ = visible;
  Invalidate();
}

void CTChart::SetLegendCheckBoxes(bool checkBoxes) {
  legendCheckBoxes_ = checkBoxes;
  Invalidate();
}

int CTChart::LegendEntryAt(int x, int y) const {
  const std::vector<QRect>& entries = CurrentFrame().legendEntries;
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].contains(x, y)) return static_cast<int>(i);
  return -1;
}

QRect CTChart::LegendEntryRect(int series) const {
  const std::vector<QRect>& entries = CurrentFrame().legendEntries;
  return series >= 0 && static_cast<size_t>(series) < entries.size() ? entries[static_cast<size_t>(series)] : QRect();
}

// ---- tools ----

CTChart::Tool* CTChart::ToolAt(int tool, ChartTool kind) {
  return tool >= 0 && tool < static_cast<int>(tools_.size()) && tools_[static_cast<size_t>(tool)].kind == kind
             ? &tools_[static_cast<size_t>(tool)]
             : nullptr;
}

const CTChart::Tool* CTChart::ToolAt(int tool, ChartTool kind) const {
  return const_cast<CTChart*>(this)->ToolAt(tool, kind);
}

int CTChart::AddTool(ChartTool kind) {
  tools_.push_back(Tool{kind});
  update();
  return static_cast<int>(tools_.size()) - 1;
}

void CTChart::SetToolActive(int tool, bool active) {
  if (tool >= 0 && tool < static_cast<int>(tools_.size())) {
    tools_[static_cast<size_t>(tool)].active = active;
    update();
  }
}

bool CTChart::ToolActive(int tool) const {
  return tool >= 0 && tool < static_cast<int>(tools_.size()) && tools_[static_cast<size_t>(tool)].active;
}

template <typename Change>
void CTChart::ChangeTool(int tool, ChartTool kind, Change&& change) {
  if (Tool* t = ToolAt(tool, kind)) {
    change(*t);
    update();
  }
}

void CTChart::SetBandStart(int tool, double x) {
  ChangeTool(tool, ChartTool::Band, [&](Tool& t) { t.start = x; });
}

void CTChart::SetBandEnd(int tool, double x) {
  ChangeTool(tool, ChartTool::Band, [&](Tool& t) { t.end = x; });
}

double CTChart::BandStart(int tool) const {
  const Tool* t = ToolAt(tool, ChartTool::Band);
  return t ? t->start : 0.0;
}

double CTChart::BandEnd(int tool) const {
  const Tool* t = ToolAt(tool, ChartTool::Band);
  return t ? t->end : 0.0;
}

void CTChart::SetCursorLinesVisible(int tool, bool visible) {
  ChangeTool(tool, ChartTool::Cursor, [&](Tool& t) { t.linesVisible = visible; });
}

bool CTChart::CursorLinesVisible(int tool) const {
  const Tool* t = ToolAt(tool, ChartTool::Cursor);
  return t && t->linesVisible;
}

// ---- measuring lines ----

void CTChart::SetMeasureLine(int line, std::optional<double> x, const QString& letter) {
  if (line < 0) return;
  if (static_cast<size_t>(line) >= measureLines_.size()) measureLines_.resize(static_cast<size_t>(line) + 1);
  measureLines_[static_cast<size_t>(line)] = {x, letter};
  update();
}

std::optional<double> CTChart::MeasureLineX(int line) const {
  if (line < 0 || static_cast<size_t>(line) >= measureLines_.size()) return std::nullopt;
  return measureLines_[static_cast<size_t>(line)].x;
}

// ---- paging ----

void CTChart::SetPointsPerPage(int points) {
  pointsPerPage_ = std::max(0, points);
  Invalidate();
}

int CTChart::PageCount() const {
  if (pointsPerPage_ <= 0) return 1;
  const size_t per = static_cast<size_t>(pointsPerPage_);
  return std::max(1, static_cast<int>((LongestSeries(false) + per - 1) / per));
}

void CTChart::SetCurrentPage(int page) {
  currentPage_ = std::clamp(page, 1, PageCount());
  Invalidate();
}

void CTChart::NextPage() { SetCurrentPage(CurrentPage() + 1); }

void CTChart::PreviousPage() { SetCurrentPage(CurrentPage() - 1); }

// ---- layout ----

CTChart::Frame CTChart::MakeFrame(const QRect& bounds, const QFontMetrics& fm, std::vector<SeriesTrace>& traces) const {
  Frame f;
  f.bounds = bounds;
  const int lineHeight = fm.height();
  const int top = bounds.top() + kMargin + (title_.isEmpty() ? 0 : lineHeight + 4);
  int right = bounds.right() - kMargin;

  if (legendVisible_ && !series_.empty()) {
    const int count = SeriesCount();
    int textWidth = 0;
    for (const Series& s : series_) textWidth = std::max(textWidth, fm.horizontalAdvance(s.title));
    const int entryWidth = 4 + (legendCheckBoxes_ ? 15 : 0) + 22 + textWidth + 6;
    const int entryHeight = std::max(lineHeight, 13) + 3;
    const int rows = std::clamp((bounds.bottom() - kMargin - top - 4) / entryHeight, 1, count);
    const int columns = (count + rows - 1) / rows;
    f.legend = QRect(right - columns * entryWidth - 3, top, columns * entryWidth + 4, rows * entryHeight + 4);
    for (int i = 0; i < count; ++i)
      f.legendEntries.emplace_back(f.legend.left() + 2 + i / rows * entryWidth,
                                   f.legend.top() + 2 + i % rows * entryHeight, entryWidth, entryHeight);
    right = f.legend.left() - 8;
  }

  if (pointsPerPage_ > 0) {
    f.xFirst = static_cast<double>(CurrentPage() - 1) * pointsPerPage_;
    f.xLast = f.xFirst + std::max(pointsPerPage_ - 1, 1);
  } else {
    const size_t longest = LongestSeries(true) > 0 ? LongestSeries(true) : LongestSeries(false);
    f.xLast = std::max<double>(1.0, static_cast<double>(longest) - 1.0);
  }
  for (int pass = 0; pass < 2 && f.labelSeries < 0; ++pass)
    for (int i = 0; i < SeriesCount() && f.labelSeries < 0; ++i)
      if ((pass == 1 || series_[static_cast<size_t>(i)].shown) && series_[static_cast<size_t>(i)].points.Size() > 0)
        f.labelSeries = i;
  const int labelLines =
      f.labelSeries < 0 ? 1
                        : static_cast<int>(series_[static_cast<size_t>(f.labelSeries)].points.Label(0).count('\r')) + 1;
  const int bottomHeight = kTick + 2 + labelLines * lineHeight + (bottom_.title.isEmpty() ? 0 : lineHeight + 2);
  const int plotTop = top + lineHeight / 2;
  const int plotBottom = std::max(plotTop + 1, bounds.bottom() - kMargin - bottomHeight);
  const int leftTitle = left_.title.isEmpty() ? 0 : lineHeight + 4;

  auto traceAll = [&](int columns) {
    traces.assign(series_.size(), SeriesTrace{});
    for (size_t i = 0; i < series_.size(); ++i)
      if (series_[i].shown) traces[i] = series_[i].points.Trace(f.xFirst, f.xLast, columns);
  };
  int tracedColumns = 0;
  if (leftAutomatic_) {
    tracedColumns = std::max(2, right - (bounds.left() + kMargin + leftTitle + fm.horizontalAdvance("-0000.00") + 8));
    traceAll(tracedColumns);
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (const SeriesTrace& t : traces) {
      low = std::min(low, t.low);
      high = std::max(high, t.high);
    }
    const double pad = high > low ? (high - low) * 0.05 : 1.0;
    f.yLow = low - pad;
    f.yHigh = high + pad;
  } else {
    f.yLow = std::min(leftMin_, leftMax_);
    f.yHigh = std::max(leftMin_, leftMax_);
    if (f.yLow == f.yHigh) {
      f.yLow -= 1.0;
      f.yHigh += 1.0;
    }
  }
  if (!std::isfinite(f.yLow) || !std::isfinite(f.yHigh) || !std::isfinite(f.yHigh - f.yLow) || !(f.yHigh > f.yLow)) {
    f.yLow = 0.0;
    f.yHigh = 1.0;
  }
  f.yStep = NiceStep((f.yHigh - f.yLow) * 2 * lineHeight / std::max(1, plotBottom - plotTop));

  int labelWidth = 0;
  ForEachTick(f.yLow, f.yHigh, f.yStep,
              [&](double v) { labelWidth = std::max(labelWidth, fm.horizontalAdvance(AxisNumber(v, f.yStep))); });
  const int plotLeft = bounds.left() + kMargin + leftTitle + labelWidth + kTick + 4;
  f.plot = QRect(QPoint(plotLeft, plotTop), QPoint(std::max(plotLeft + 1, right), plotBottom));
  if (tracedColumns != f.plot.width()) traceAll(f.plot.width());
  PlaceBottomLabels(f, fm);
  return f;
}

// Bottom labels at a step wide enough for the widest label, each centred on
// its point; one that would still touch its neighbour is left out.
void CTChart::PlaceBottomLabels(Frame& f, const QFontMetrics& fm) const {
  const double pixelsPerPoint = (f.plot.width() - 1) / (f.xLast - f.xFirst);
  const ChartSeries* labels = f.labelSeries >= 0 ? &series_[static_cast<size_t>(f.labelSeries)].points : nullptr;
  const size_t count = labels ? labels->Size() : 0;
  auto textAt = [&](size_t i) {
    QString text = labels->Label(i);
    return text.isEmpty() ? QString::number(i) : text.replace('\r', '\n');
  };
  auto sizeOf = [&](const QString& text) {
    QSize size(0, 0);
    for (const QString& line : text.split('\n')) {
      size.setWidth(std::max(size.width(), fm.horizontalAdvance(line)));
      size.setHeight(size.height() + fm.height());
    }
    return size;
  };

  int widest = 0;
  if (count > 0) {
    const auto first = static_cast<size_t>(std::clamp(f.xFirst, 0.0, static_cast<double>(count - 1)));
    const auto last = static_cast<size_t>(std::clamp(f.xLast, 0.0, static_cast<double>(count - 1)));
    for (size_t i : {first, (first + last) / 2, last}) widest = std::max(widest, sizeOf(textAt(i)).width());
  }
  const double needed = std::min(1e9, (widest + kLabelSpacing) / pixelsPerPoint);
  f.xStep = bottomIncrement_ > 0
                ? bottomIncrement_ * std::max(1, static_cast<int>(std::ceil(needed / bottomIncrement_)))
                : std::max(1, static_cast<int>(NiceStep(needed)));

  int lastRight = f.bounds.left() - kLabelSpacing;
  ForEachTick(f.xFirst, f.xLast, f.xStep, [&](double x) {
    if (x < 0 || x >= static_cast<double>(count)) return;
    const QString text = textAt(static_cast<size_t>(x));
    const QSize size = sizeOf(text);
    QRect r(static_cast<int>(std::lround(PixelX(f, x))) - size.width() / 2, f.plot.bottom() + kTick + 2, size.width(),
            size.height());
    r.moveLeft(std::clamp(r.left(), f.bounds.left(), std::max(f.bounds.left(), f.bounds.right() - r.width())));
    if (r.left() < lastRight + kLabelSpacing / 2) return;
    lastRight = r.right();
    f.bottomLabels.push_back({r, static_cast<int>(x), text});
  });
}

double CTChart::PixelX(const Frame& f, double x) const {
  return f.plot.left() + (x - f.xFirst) / (f.xLast - f.xFirst) * (f.plot.width() - 1);
}

double CTChart::PixelY(const Frame& f, double value) const {
  const double y = f.plot.bottom() - (value - f.yLow) / (f.yHigh - f.yLow) * (f.plot.height() - 1);
  return std::clamp(y, f.plot.top() - kFarOutside, f.plot.bottom() + kFarOutside);
}

// ---- drawing ----

void CTChart::DrawBase(QPainter& p, const Frame& f, const std::vector<SeriesTrace>& traces, uint32_t panel) const {
  const QColor panelColour = ColourFromBgr(panel);
  const QColor ink = InkOn(panelColour);
  p.fillRect(f.bounds, panelColour);
  if (!title_.isEmpty()) {
    p.setPen(ink);
    p.drawText(QRect(f.bounds.left(), f.bounds.top() + kMargin, f.bounds.width(), p.fontMetrics().height()),
               Qt::AlignHCenter | Qt::AlignTop, title_);
  }
  DrawGrid(p, f);
  DrawSeries(p, f, traces);
  DrawAxes(p, f, ink);
  DrawLegend(p, f, ink);
}

void CTChart::DrawGrid(QPainter& p, const Frame& f) const {
  p.save();
  p.setClipRect(f.plot);
  auto lines = [&](const AxisStyle& style, double low, double high, double step, bool vertical) {
    if (!style.gridVisible) return;
    auto draw = [&](double at) {
      if (vertical) {
        const double x = PixelX(f, at);
        p.drawLine(QPointF(x, f.plot.top()), QPointF(x, f.plot.bottom()));
      } else {
        const double y = PixelY(f, at);
        p.drawLine(QPointF(f.plot.left(), y), QPointF(f.plot.right(), y));
      }
    };
    if (style.minorTicks > 0) {
      p.setPen(ColourFromBgr(style.minorColour));
      const double minor = step / (style.minorTicks + 1);
      ForEachTick(low - step, high, step, [&](double major) {
        for (int i = 1; i <= style.minorTicks; ++i)
          if (major + i * minor >= low && major + i * minor <= high) draw(major + i * minor);
      });
    }
    p.setPen(ColourFromBgr(style.gridColour));
    ForEachTick(low, high, step, draw);
  };
  lines(bottom_, f.xFirst, f.xLast, f.xStep, true);
  lines(left_, f.yLow, f.yHigh, f.yStep, false);
  p.restore();
}

// Single points draw as lines between them. Columns draw as vertical spans
// from their minimum to their maximum, stretched to meet the previous column
// so the line stays connected: as many rectangles as the plot is wide, which
// costs the same for any pen width (wide strokes of dense polylines do not).
void CTChart::DrawSeries(QPainter& p, const Frame& f, const std::vector<SeriesTrace>& traces) const {
  p.save();
  p.setClipRect(f.plot);
  p.setRenderHint(QPainter::Antialiasing, false);
  QPolygonF polyline;
  std::vector<QRect> spans;
  for (size_t s = 0; s < series_.size(); ++s) {
    if (!series_[s].shown) continue;
    const SeriesTrace& trace = traces[s];
    const int width = std::clamp(series_[s].penWidth, 1, 8);
    for (const SeriesTrace::Run& run : trace.runs) {
      const QColor colour = ColourFromBgr(run.colour);
      if (trace.columns) {
        spans.clear();
        std::optional<int> previousY;
        for (size_t i = run.begin; i < run.begin + run.count;) {
          const double x = trace.vertices[i].x;
          int top = previousY.value_or(INT32_MAX), bottom = previousY.value_or(INT32_MIN);
          for (; i < run.begin + run.count && trace.vertices[i].x == x; ++i) {
            previousY = static_cast<int>(std::lround(PixelY(f, trace.vertices[i].value)));
            top = std::min(top, *previousY);
            bottom = std::max(bottom, *previousY);
          }
          spans.emplace_back(static_cast<int>(PixelX(f, x)) - (width - 1) / 2, top - (width - 1) / 2, width,
                             bottom - top + width);
        }
        // A wide pen must not cover the column of a gap next to the run.
        const int firstX = static_cast<int>(PixelX(f, trace.vertices[run.begin].x));
        const int lastX = static_cast<int>(PixelX(f, trace.vertices[run.begin + run.count - 1].x));
        for (QRect& span : spans) {
          span.setLeft(std::max(span.left(), firstX));
          span.setRight(std::min(span.right(), lastX));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRects(spans.data(), static_cast<int>(spans.size()));
        continue;
      }
      polyline.resize(static_cast<qsizetype>(run.count));
      for (size_t i = 0; i < run.count; ++i) {
        const SeriesTrace::Vertex& v = trace.vertices[run.begin + i];
        // Pixel centres, as the spans and the aliased grid lie on whole pixels.
        polyline[static_cast<qsizetype>(i)] = QPointF(PixelX(f, v.x) + 0.5, PixelY(f, v.value) + 0.5);
      }
      if (run.count == 1) {
        p.fillRect(QRectF(polyline[0] - QPointF(width / 2.0, width / 2.0), QSizeF(width, width)), colour);
        continue;
      }
      // Flat ends, so that a wide pen does not close the gap beside a run.
      p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
      p.setRenderHint(QPainter::Antialiasing, true);
      p.drawPolyline(polyline);
      p.setRenderHint(QPainter::Antialiasing, false);
    }
  }
  p.restore();
}

void CTChart::DrawAxes(QPainter& p, const Frame& f, const QColor& ink) const {
  const QFontMetrics fm = p.fontMetrics();
  p.setPen(ink);
  p.drawRect(f.plot.adjusted(0, 0, -1, -1));
  ForEachTick(f.yLow, f.yHigh, f.yStep, [&](double v) {
    const int y = static_cast<int>(std::lround(PixelY(f, v)));
    p.drawLine(f.plot.left() - kTick, y, f.plot.left(), y);
    p.drawText(QRect(f.bounds.left(), y - fm.height() / 2, f.plot.left() - kTick - 3 - f.bounds.left(), fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, AxisNumber(v, f.yStep));
  });
  for (const BottomLabel& label : f.bottomLabels) {
    const int x = static_cast<int>(std::lround(PixelX(f, label.point)));
    p.drawLine(x, f.plot.bottom(), x, f.plot.bottom() + kTick);
    p.drawText(label.rect, Qt::AlignHCenter | Qt::AlignTop, label.text);
  }
  if (!bottom_.title.isEmpty())
    p.drawText(QRect(f.plot.left(), f.bounds.bottom() - kMargin - fm.height(), f.plot.width(), fm.height()),
               Qt::AlignHCenter, bottom_.title);
  if (!left_.title.isEmpty()) {
    p.save();
    p.translate(f.bounds.left() + kMargin, f.plot.center().y());
    p.rotate(-90);
    p.drawText(QRect(-f.plot.height() / 2, 0, f.plot.height(), fm.height()), Qt::AlignHCenter, left_.title);
    p.restore();
  }
}

void CTChart::DrawLegend(QPainter& p, const Frame& f, const QColor& ink) const {
  if (f.legendEntries.empty()) return;
  p.setPen(ink);
  p.drawRect(f.legend.adjusted(0, 0, -1, -1));
  for (size_t i = 0; i < f.legendEntries.size(); ++i) {
    const QRect& e = f.legendEntries[i];
    int x = e.left() + 4;
    const int mid = e.center().y();
    if (legendCheckBoxes_) {
      const QRect box(x, mid - 5, 10, 10);
      p.setPen(ink);
      p.setBrush(Qt::NoBrush);
      p.drawRect(box);
      if (series_[i].shown) {
        p.drawLine(box.left() + 2, mid, box.left() + 4, box.bottom() - 2);
        p.drawLine(box.left() + 4, box.bottom() - 2, box.right() - 2, box.top() + 2);
      }
      x += 15;
    }
    p.setPen(QPen(ColourFromBgr(SeriesColour(static_cast<int>(i))), std::clamp(series_[i].penWidth, 1, 3)));
    p.drawLine(x, mid, x + 16, mid);
    x += 22;
    p.setPen(ink);
    p.drawText(QRect(x, e.top(), e.right() - x, e.height()), Qt::AlignLeft | Qt::AlignVCenter, series_[i].title);
  }
}

void CTChart::DrawBand(QPainter& p, const Frame& f) const {
  for (const Tool& t : tools_) {
    if (t.kind != ChartTool::Band || !t.active) continue;
    const double a = std::clamp(PixelX(f, t.start), double(f.plot.left()), double(f.plot.right()));
    const double b = std::clamp(PixelX(f, t.end), double(f.plot.left()), double(f.plot.right()));
    p.fillRect(QRectF(QPointF(std::min(a, b), f.plot.top()), QPointF(std::max(a, b) + 1, f.plot.bottom() + 1)),
               QColor(70, 130, 180, 90));
    p.setPen(QPen(QColor(25, 60, 120), 2));
    p.drawLine(QPointF(a, f.plot.top()), QPointF(a, f.plot.bottom()));
    p.drawLine(QPointF(b, f.plot.top()), QPointF(b, f.plot.bottom()));
  }
}

void CTChart::DrawCursor(QPainter& p, const Frame& f) const {
  if (!mouse_ || !f.plot.contains(*mouse_)) return;
  for (const Tool& t : tools_) {
    if (t.kind != ChartTool::Cursor || !t.active || !t.linesVisible) continue;
    p.setPen(QPen(InkOn(ColourFromBgr(panelColour_)), 1, Qt::DashLine));
    p.drawLine(mouse_->x(), f.plot.top(), mouse_->x(), f.plot.bottom());
    p.drawLine(f.plot.left(), mouse_->y(), f.plot.right(), mouse_->y());
  }
}

// Each line solid, its letter in a box of the ink's colour at the plot's
// bottom, clear of the floating panels over the top of the plot;
// lines outside the plotted X range are not drawn.
void CTChart::DrawMeasureLines(QPainter& p, const Frame& f) const {
  const QColor ink = InkOn(ColourFromBgr(panelColour_));
  const QFontMetrics fm = p.fontMetrics();
  for (const MeasureLine& line : measureLines_) {
    if (!line.x || *line.x < f.xFirst || *line.x > f.xLast) continue;
    const int x = static_cast<int>(std::lround(PixelX(f, *line.x)));
    p.setPen(QPen(ink, 1));
    p.drawLine(x, f.plot.top(), x, f.plot.bottom());
    const QRect box(x - fm.horizontalAdvance(line.letter) / 2 - 3, f.plot.bottom() - fm.height(),
                    fm.horizontalAdvance(line.letter) + 6, fm.height());
    p.fillRect(box, ink);
    p.setPen(ColourFromBgr(panelColour_));
    p.drawText(box, Qt::AlignCenter, line.letter);
  }
}

const CTChart::Frame& CTChart::CurrentFrame() const {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (!baseDirty_ && base_.size() == pixels) return frame_;
  std::vector<SeriesTrace> traces;
  frame_ = MakeFrame(rect(), QFontMetrics(font()), traces);
  baseDirty_ = false;
  if (pixels.isEmpty()) {
    base_ = QImage();
    return frame_;
  }
  base_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
  base_.setDevicePixelRatio(ratio);
  QPainter p(&base_);
  p.setFont(font());
  DrawBase(p, frame_, traces, panelColour_);
  return frame_;
}

void CTChart::Invalidate() {
  if (baseDirty_) return;
  baseDirty_ = true;
  update();
}

void CTChart::paintEvent(QPaintEvent*) {
  const Frame& f = CurrentFrame();
  QPainter p(this);
  if (!base_.isNull()) p.drawImage(QPoint(0, 0), base_);
  DrawBand(p, f);
  DrawMeasureLines(p, f);
  DrawCursor(p, f);
}

QImage CTChart::RenderImage(const QSize& size, std::optional<uint32_t> panelColour) const {
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) return image;
  QPainter p(&image);
  p.setFont(font());
  std::vector<SeriesTrace> traces;
  const Frame f = MakeFrame(QRect(QPoint(0, 0), size), QFontMetrics(font(), &image), traces);
  DrawBase(p, f, traces, panelColour.value_or(panelColour_));
  DrawBand(p, f);
  return image;
}

bool CTChart::SaveBitmap(const QString& path, const QSize& size) const {
  const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
  const QByteArray format = QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArray("bmp");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!RenderImage(size).save(&buffer, format.constData())) return false;
  base::AtomicFile file;
  return file.Open(path.toStdString()) && file.Write(bytes.constData(), static_cast<size_t>(bytes.size())) &&
         file.Commit();
}

// ---- mouse ----

void CTChart::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int entry = LegendEntryAt(at.x(), at.y());
  if (entry >= 0) {
    SetSeriesShown(entry, !SeriesShown(entry));
    emit legendClicked(ButtonCode(event->button()), ShiftCode(event->modifiers()), at.x(), at.y());
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  const Frame& f = CurrentFrame();
  if (at.y() < f.plot.top() || at.y() > f.plot.bottom()) return;
  double nearest = kGrabPixels + 0.5;
  for (size_t i = 0; i < tools_.size(); ++i) {
    const Tool& t = tools_[i];
    if (t.kind != ChartTool::Band || !t.active) continue;
    // On a band of no width the end moves first, so a drag can widen it.
    for (const bool end : {true, false}) {
      const double distance = std::fabs(PixelX(f, end ? t.end : t.start) - at.x());
      if (distance < nearest) {
        nearest = distance;
        dragTool_ = static_cast<int>(i);
        dragEnd_ = end;
      }
    }
  }
}

// The dragged edge follows the mouse, within the bottom axis.
void CTChart::DragBandEdge(int x) {
  const Frame& f = CurrentFrame();
  Tool& t = tools_[static_cast<size_t>(dragTool_)];
  (dragEnd_ ? t.end : t.start) = std::clamp(XValueAtPixel(0, x), f.xFirst, f.xLast);
}

void CTChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  mouse_ = at;
  if (dragTool_ >= 0) DragBandEdge(at.x());
  update();
  emit mouseMoved(ShiftCode(event->modifiers()), at.x(), at.y());
}

void CTChart::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (dragTool_ >= 0 && event->button() == Qt::LeftButton) {
    DragBandEdge(at.x());
    dragTool_ = -1;
    update();
  }
  emit mouseReleased(ButtonCode(event->button()), ShiftCode(event->modifiers()), at.x(), at.y());
}

void CTChart::leaveEvent(QEvent* event) {
  mouse_.reset();
  update();
  QWidget::leaveEvent(event);
}

void CTChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) Invalidate();
  QWidget::changeEvent(event);
}

}  // namespace tessaly::gui
