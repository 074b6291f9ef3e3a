#pragma once
// Our chart widget: line series of labelled points over a left and a bottom
// axis, a legend with a check box per series, a band along the bottom axis
// whose edges the user drags, a cursor that follows the mouse, paging and a
// bitmap export. Colours are 0x00BBGGRR values, as the settings keep them.
// A series of any length paints in time that follows the plot's width, not
// its point count (see ChartSeries).
#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <optional>
#include <vector>

#include "chart/chart_series.h"

namespace tessaly::gui {

// A colour of the settings, 0x00BBGGRR.
QColor ColourFromBgr(uint32_t colour);

enum class ChartAxis { Left, Bottom };
enum class ChartTool { Band, Cursor };

class CTChart : public QWidget {
  Q_OBJECT
 public:
  // Mouse buttons and shift states passed with the events.
  static constexpr int kLeftButton = 1;
  static constexpr int kRightButton = 2;
  static constexpr int kMiddleButton = 4;
  static constexpr int kShift = 1;
  static constexpr int kControl = 2;
  static constexpr int kAlt = 4;

  explicit CTChart(QWidget* parent = nullptr);
  ~CTChart() override;

  // Series, numbered in the order they were added. Operations on an index
  // that names no series do nothing and read as empty.
  int AddLineSeries();
  int SeriesCount() const;
  // A point's X is its position in the series (0 first); the bottom axis
  // shows the labels, split into lines at '\r'.
  void AddPoint(int series, double value, const QString& label, uint32_t colour);
  void AddEmptyPoint(int series, const QString& label);  // leaves a gap
  // Points labelled with the time of their sample; the label,
  // "%4.4d-%2.2d-%2.2d\r%2.2d:%2.2d:%2.2d", is made only when the bottom
  // axis or PointLabel needs it.
  void AddPoint(int series, double value, const record::RecordTime& time, uint32_t colour);
  void AddEmptyPoint(int series, const record::RecordTime& time);
  // Room for `points` points in the series, ahead of a long fill.
  void ReservePoints(int series, int points);
  void RemoveAllPoints(int series);
  void SetSeriesTitle(int series, const QString& title);  // the legend text
  QString SeriesTitle(int series) const;
  void SetSeriesShown(int series, bool shown);
  bool SeriesShown(int series) const;
  void SetSeriesPenWidth(int series, int width);  // drawn 1 to 8 pixels wide
  int SeriesPenWidth(int series) const;
  // Colour of the series in the legend; until set, that of its first point.
  void SetSeriesColour(int series, uint32_t colour);
  int PointCount(int series) const;
  QString PointLabel(int series, int i) const;
  double PointValue(int series, int i) const;  // 0 at empty points
  bool IsEmptyPoint(int series, int i) const;
  // Conversions between widget pixels and X values of the bottom axis
  // (every series shares it).
  double XValueAtPixel(int series, int x) const;
  int PixelAtXValue(double x) const;

  // Axes.
  void SetLeftAxisAutomatic(bool automatic);
  void SetLeftAxisRange(double min, double max);  // fixes the range
  bool LeftAxisAutomatic() const { return leftAutomatic_; }
  double LeftAxisMin() const { return leftMin_; }
  double LeftAxisMax() const { return leftMax_; }
  void SetAxisTitle(ChartAxis axis, const QString& title);
  void SetGridVisible(ChartAxis axis, bool visible);
  bool GridVisible(ChartAxis axis) const;
  void SetGridColour(ChartAxis axis, uint32_t colour);
  // Minor grid lines between the grid lines, drawn while the grid is.
  void SetMinorGrid(ChartAxis axis, int ticksBetween, uint32_t colour);
  // Bottom labels at multiples of this many points at least (0: any step).
  void SetBottomLabelIncrement(int points);
  // Where the bottom labels of the current layout are drawn.
  std::vector<QRect> BottomLabelRects() const;

  void SetPanelColour(uint32_t colour);
  uint32_t PanelColour() const { return panelColour_; }
  void SetTitleText(const QString& text);
  QString TitleText() const { return title_; }

  // Legend: an entry per series; a click on an entry shows or hides its
  // series, then reports legendClicked.
  void SetLegendVisible(bool visible);
  bool LegendVisible() const { return legendVisible_; }
  void SetLegendCheckBoxes(bool checkBoxes);
  int LegendEntryAt(int x, int y) const;    // series index or -1
  QRect LegendEntryRect(int series) const;  // empty when not shown

  // Tools, numbered in the order they were added; new tools are active.
  int AddTool(ChartTool kind);
  void SetToolActive(int tool, bool active);
  bool ToolActive(int tool) const;
  void SetBandStart(int tool, double x);
  void SetBandEnd(int tool, double x);
  double BandStart(int tool) const;
  double BandEnd(int tool) const;
  void SetCursorLinesVisible(int tool, bool visible);
  bool CursorLinesVisible(int tool) const;

  // Measuring lines: vertical lines at X values, each with its letter at the
  // foot of the plot, in the panel's ink so that they belong to no series.
  // Drawn on the screen only: RenderImage leaves them out. No X removes one.
  void SetMeasureLine(int line, std::optional<double> x, const QString& letter);
  std::optional<double> MeasureLineX(int line) const;
  // Where the curves are drawn, in widget pixels.
  QRect PlotRect() const { return CurrentFrame().plot; }

  // Paging: with points per page > 0 the bottom axis shows one page of that
  // many points; pages count from 1.
  void SetPointsPerPage(int points);
  int PointsPerPage() const { return pointsPerPage_; }
  int PageCount() const;
  void SetCurrentPage(int page);
  int CurrentPage() const { return currentPage_; }
  void NextPage();
  void PreviousPage();

  // The chart as it stands drawn at `size`, optionally on another panel
  // colour; without the cursor, which belongs to the mouse.
  QImage RenderImage(const QSize& size, std::optional<uint32_t> panelColour = std::nullopt) const;
  // Writes RenderImage(size) to `path` in the format of its suffix (BMP when
  // the suffix names none).
  bool SaveBitmap(const QString& path, const QSize& size) const;

 signals:
  void legendClicked(int button, int shift, int x, int y);
  void mouseMoved(int shift, int x, int y);
  void mouseReleased(int button, int shift, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Series {
    ChartSeries points;
    QString title;
    bool shown = true;
    int penWidth = 1;
    std::optional<uint32_t> colour;
  };
  struct AxisStyle {
    QString title;
    bool gridVisible = true;
    uint32_t gridColour = 0x808080;
    int minorTicks = 0;
    uint32_t minorColour = 0xD3D3D3;
  };
  struct Tool {
    ChartTool kind;
    bool active = true;
    double start = 0.0;
    double end = 0.0;
    bool linesVisible = true;
  };
  struct BottomLabel {
    QRect rect;
    int point;
    QString text;  // lines split at '\n'
  };
  // Where everything goes for one drawing at one size.
  struct Frame {
    QRect bounds;
    QRect plot;
    QRect legend;
    std::vector<QRect> legendEntries;
    double xFirst = 0.0, xLast = 1.0;
    double yLow = 0.0, yHigh = 1.0;
    double yStep = 1.0;
    int xStep = 1;
    int labelSeries = -1;  // the series whose labels the bottom axis shows
    std::vector<BottomLabel> bottomLabels;
  };

  Series* SeriesAt(int series);
  const Series* SeriesAt(int series) const;
  template <typename Change>
  void ChangeSeries(int series, Change&& change);
  template <typename T, typename Read>
  T ReadSeries(int series, std::optional<int> i, T none, Read&& read) const;
  Tool* ToolAt(int tool, ChartTool kind);
  const Tool* ToolAt(int tool, ChartTool kind) const;
  template <typename Change>
  void ChangeTool(int tool, ChartTool kind, Change&& change);
  uint32_t SeriesColour(int series) const;
  size_t LongestSeries(bool shownOnly) const;

  Frame MakeFrame(const QRect& bounds, const QFontMetrics& fm, std::vector<SeriesTrace>& traces) const;
  void PlaceBottomLabels(Frame& frame, const QFontMetrics& fm) const;
  void DrawBase(QPainter& p, const Frame& frame, const std::vector<SeriesTrace>& traces, uint32_t panel) const;
  void DrawGrid(QPainter& p, const Frame& frame) const;
  void DrawAxes(QPainter& p, const Frame& frame, const QColor& ink) const;
  void DrawSeries(QPainter& p, const Frame& frame, const std::vector<SeriesTrace>& traces) const;
  void DrawLegend(QPainter& p, const Frame& frame, const QColor& ink) const;
  void DrawBand(QPainter& p, const Frame& frame) const;
  void DrawCursor(QPainter& p, const Frame& frame) const;
  void DrawMeasureLines(QPainter& p, const Frame& frame) const;

  double PixelX(const Frame& frame, double x) const;
  double PixelY(const Frame& frame, double value) const;
  const Frame& CurrentFrame() const;
  void DragBandEdge(int x);
  void Invalidate();

  std::vector<Series> series_;
  AxisStyle left_;
  AxisStyle bottom_;
  bool leftAutomatic_ = true;
  double leftMin_ = 0.0;
  double leftMax_ = 100.0;
  int bottomIncrement_ = 0;
  uint32_t panelColour_ = 0xFFFFFF;
  QString title_;
  bool legendVisible_ = true;
  bool legendCheckBoxes_ = false;
  std::vector<Tool> tools_;
  int pointsPerPage_ = 0;
  int currentPage_ = 1;

  struct MeasureLine {
    std::optional<double> x;
    QString letter;
  };
  std::vector<MeasureLine> measureLines_;

  std::optional<QPoint> mouse_;
  int dragTool_ = -1;
  bool dragEnd_ = false;

  // The chart without band and cursor, drawn again only after a change.
  mutable QImage base_;
  mutable Frame frame_;
  mutable bool baseDirty_ = true;
};

}  // namespace tessaly::gui
