#include "viewer/data_graph_dlg.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

#include "analysis/graph_fill.h"
#include "base/format.h"
#include "chart/ct_chart.h"
#include "gui_probe.h"
#include "record/sector.h"
#include "record_writer.h"
#include "recorder/recorder_data.h"
#include "settings/settings_file.h"
#include "viewer/my_button.h"

namespace tessaly::gui {
namespace {

using settings::kChannels;

class RecordingSink : public base::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { said.push_back(text); }
  std::vector<std::string> said;
};

class ProgressLog : public FillProgressSink {
 public:
  void ReportFillProgress(unsigned step, unsigned steps) override { reports.emplace_back(step, steps); }
  std::vector<std::pair<unsigned, unsigned>> reports;
};

// Paints a widget at once on every report, as the status bar's progress does.
class PaintingProgress : public FillProgressSink {
 public:
  void ReportFillProgress(unsigned, unsigned) override {
    if (painted) painted->repaint();
    ++reports;
  }
  QWidget* painted = nullptr;
  int reports = 0;
};

// Counts the paints a widget receives.
class PaintCount : public QObject {
 public:
  explicit PaintCount(QWidget& widget) { widget.installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Markers on samples that both charts show: 4998 and 5040 are multiples of
// A = 21 and of P = 2 after a load of 10,000 samples.
constexpr uint64_t kHighMarkerSample = 4998;
constexpr uint64_t kLowMarkerSample = 5040;

// A page of 10,000 samples decoded from recorder sectors, one a second.
void LoadSamples(recorder::CRecorderData& data) {
  sim::RecordSpec recordSpec;
  recordSpec.channels = kChannels;
  recordSpec.samplesPerSector = 5;
  recordSpec.sectorCount = 2000;
  recordSpec.waveform = [](int channel, uint64_t sample) {
    if (channel == 2 && sample == kHighMarkerSample) return record::kMarkerHigh;
    if (channel == 3 && sample == kLowMarkerSample) return record::kMarkerLow;
    return sim::DemoWave(channel, sample);
  };
  record::DecodeState state;
  unsigned char sector[512];
  for (uint32_t i = 0; i < recordSpec.sectorCount; ++i) {
    sim::BuildSector(recordSpec, i, sector);
    ASSERT_TRUE(record::SectorDecodable(sector));
    record::DecodeSector(sector, state, data.samples);
  }
  ASSERT_EQ(data.samples.size(), 10000u);
}

class GraphPage : public ::testing::Test {
 protected:
  void SetUp() override {
    // Values, automatic intervals, cursor and grid, every channel shown.
    settings::ApplyDefaultSettings(data);
    data.messages = &sink;
    data.language = 1;
    data.autoRange = 1;
    for (int k = 0; k < kChannels; ++k) settings::SetChannelName(data.channels[k], "Temp " + std::to_string(k + 1));
    settings::SetDeviceName(data, "Tessaly-R18");
    LoadSamples(data);
  }

  void Open() {
    page = std::make_unique<CDataGraphDlg>(data, &progress);
    page->resize(1280, 720);
    page->show();
  }

  void Fill() {
    page->FillAllGraph();
    page->FillPartGraph();
  }

  record::Sample PartSample(int point) const {
    return data.samples[(data.partFirst + point) * static_cast<size_t>(data.partGraphInterval)];
  }

  recorder::CRecorderData data;
  RecordingSink sink;
  ProgressLog progress;
  std::unique_ptr<CDataGraphDlg> page;
};

// A repaint of the progress display (here a label below the page, in the
// same window) paints every waiting widget of the window; the charts are
// drawn once, after their fill, not after every channel.
TEST_F(GraphPage, ProgressPaintsDoNotDrawTheChartsWhileTheyFill) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  PaintingProgress painting;
  auto* graph = new CDataGraphDlg(data, &painting, &window);
  auto* status = new QLabel("0/100", &window);
  layout->addWidget(graph, 1);
  layout->addWidget(status);
  window.resize(1280, 760);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::processEvents();
  painting.painted = status;
  PaintCount all(graph->AllGraph());
  PaintCount part(graph->PartGraph());
  graph->FillAllGraph();
  ASSERT_GT(painting.reports, kChannels);
  EXPECT_EQ(all.paints, 0);
  EXPECT_EQ(part.paints, 0) << "its window moved: it waits for its own fill";
  graph->FillPartGraph();  // its progress paints the finished all graph once
  ASSERT_GT(painting.reports, 2 * kChannels);
  EXPECT_EQ(all.paints, 1);
  EXPECT_EQ(part.paints, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return part.paints > 0; }));
  EXPECT_EQ(part.paints, 1);
}

// A fill while the whole page holds its updates leaves the charts following
// the page's setting afterwards.
TEST_F(GraphPage, AFillWhileThePageHoldsItsUpdatesLeavesTheChartsFollowingIt) {
  Open();
  page->setUpdatesEnabled(false);
  Fill();
  page->setUpdatesEnabled(true);
  EXPECT_TRUE(page->AllGraph().updatesEnabled());
  EXPECT_TRUE(page->PartGraph().updatesEnabled());
}

TEST_F(GraphPage, BeforeTheFirstLoadBothChartsHoldEighteenEmptySeries) {
  Open();
  for (CTChart* chart : {&page->AllGraph(), &page->PartGraph()}) {
    ASSERT_EQ(chart->SeriesCount(), kChannels);
    for (int k = 0; k < kChannels; ++k) EXPECT_EQ(chart->PointCount(k), 0);
  }
  EXPECT_EQ(page->PartGraph().SeriesTitle(0), "CH1");
  EXPECT_EQ(page->PartGraph().SeriesTitle(17), "CH18");
  EXPECT_EQ(page->AllGraph().TitleText(), "All Graph");
  EXPECT_FALSE(page->AllGraph().LegendVisible());
  EXPECT_TRUE(page->PartGraph().LegendVisible());
  EXPECT_FALSE(page->AllGraph().ToolActive(data.bandTool));
  EXPECT_FALSE(page->PartGraph().CursorLinesVisible(data.cursorTool));
  EXPECT_EQ(page->AllGraph().geometry(), QRect(0, 0, 1280, 145));
  EXPECT_EQ(page->PartGraph().geometry(), QRect(0, 150, 1280, 570));
  EXPECT_EQ(page->InfoPanel().geometry(), QRect(40, 173, 300, 320));
}

TEST_F(GraphPage, LoadedPageDrawsBothChartsWithGapsAtMarkersOnThePartGraph) {
  data.channels[5].shown = 0;
  Open();
  Fill();
  ASSERT_EQ(data.allGraphInterval, 21);
  ASSERT_EQ(data.partGraphInterval, 2);
  ASSERT_EQ(data.partFirst, 2247u);
  ASSERT_EQ(data.partEnd, 2740u);
  CTChart& all = page->AllGraph();
  CTChart& part = page->PartGraph();
  for (int k = 0; k < kChannels; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(all.PointCount(k), k == 5 ? 0 : 476);
    EXPECT_EQ(part.PointCount(k), k == 5 ? 0 : 493);
    EXPECT_EQ(part.SeriesShown(k), k != 5);
  }
  // The all graph plots the markers, the part graph leaves gaps there.
  const int allHigh = static_cast<int>(kHighMarkerSample / 21), allLow = static_cast<int>(kLowMarkerSample / 21);
  const int partHigh = static_cast<int>(kHighMarkerSample / 2 - data.partFirst);
  const int partLow = static_cast<int>(kLowMarkerSample / 2 - data.partFirst);
  EXPECT_FALSE(all.IsEmptyPoint(2, allHigh));
  EXPECT_EQ(all.PointValue(2, allHigh), 45000.0);
  EXPECT_EQ(all.PointValue(3, allLow), -19999.0);
  EXPECT_TRUE(part.IsEmptyPoint(2, partHigh));
  EXPECT_TRUE(part.IsEmptyPoint(3, partLow));
  EXPECT_FALSE(part.IsEmptyPoint(2, partHigh + 1));
  EXPECT_FALSE(part.IsEmptyPoint(3, partHigh));
  // Point v of the part graph shows sample v x P with its time.
  EXPECT_EQ(part.PointValue(7, 10), static_cast<double>(PartSample(10).values[7]));
  EXPECT_EQ(part.PointLabel(7, 10).toStdString(), analysis::PointText(PartSample(10).time));
  EXPECT_EQ(all.PointLabel(0, 1).toStdString(), analysis::PointText(data.samples[21].time));
  EXPECT_EQ(part.TitleText(), "Device Name:   Tessaly-R18");
  EXPECT_TRUE(all.ToolActive(data.bandTool));
  EXPECT_EQ(all.BandStart(data.bandTool), 214.0);
  EXPECT_EQ(all.BandEnd(data.bandTool), 261.0);

  std::vector<std::pair<unsigned, unsigned>> oneFill;
  for (unsigned k = 0; k < kChannels; ++k)
    if (k != 5) oneFill.emplace_back(k, 18u);
  oneFill.emplace_back(17u, 18u);
  std::vector<std::pair<unsigned, unsigned>> bothFills = oneFill;
  bothFills.insert(bothFills.end(), oneFill.begin(), oneFill.end());
  EXPECT_EQ(progress.reports, bothFills);
}

TEST_F(GraphPage, AnEmptyBufferOrAnotherShowModeLeavesBothChartsEmpty) {
  for (const bool emptyBuffer : {false, true}) {
    SCOPED_TRACE(emptyBuffer ? "empty buffer" : "show mode 2");
    data.yAxisMode = emptyBuffer ? 1 : 2;
    if (emptyBuffer) data.samples.clear();
    Open();
    Fill();
    for (int k = 0; k < kChannels; ++k) {
      EXPECT_EQ(page->AllGraph().PointCount(k), 0);
      EXPECT_EQ(page->PartGraph().PointCount(k), 0);
    }
  }
}

struct AxisCase {
  int32_t autoRange;
  int32_t mode;
  bool automatic;
};

TEST_F(GraphPage, LeftAxisScalesItselfOnlyWithAutoRangeOutsidePercentageMode) {
  data.yRangeMin = -5.0f;
  data.yRangeMax = 120.0f;
  Open();
  for (const AxisCase& c :
       {AxisCase{1, 1, true}, AxisCase{0, 1, false}, AxisCase{1, 0, false}, AxisCase{0, 0, false}}) {
    SCOPED_TRACE(::testing::Message() << "autoRange " << c.autoRange << ", mode " << c.mode);
    data.autoRange = c.autoRange;
    data.yAxisMode = c.mode;
    Fill();
    for (CTChart* chart : {&page->AllGraph(), &page->PartGraph()}) {
      EXPECT_EQ(chart->LeftAxisAutomatic(), c.automatic);
      if (!c.automatic) {
        EXPECT_EQ(chart->LeftAxisMin(), -5.0);
        EXPECT_EQ(chart->LeftAxisMax(), 120.0);
      }
    }
  }
}

TEST_F(GraphPage, ShowCursorZeroHidesOneShowsOtherValuesKeep) {
  Open();
  for (const auto& [showCursor, visible] :
       {std::pair{0, false}, std::pair{7, false}, std::pair{1, true}, std::pair{7, true}}) {
    SCOPED_TRACE(showCursor);
    data.showCursor = showCursor;
    page->FillPartGraph();
    EXPECT_EQ(page->InfoPanel().isVisible(), visible);
    EXPECT_EQ(page->PartGraph().CursorLinesVisible(data.cursorTool), visible);
  }
}

// Drags an edge of the all graph's band from one X value to another.
void DragBand(CTChart& chart, double from, double to) {
  const int y = chart.height() / 2;
  QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(chart.PixelAtXValue(from), y));
  QTest::mouseMove(&chart, QPoint((chart.PixelAtXValue(from) + chart.PixelAtXValue(to)) / 2, y));
  QTest::mouseMove(&chart, QPoint(chart.PixelAtXValue(to), y));
  QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(chart.PixelAtXValue(to), y));
}

TEST_F(GraphPage, DraggingTheBandMovesThePartWindowAndRedrawsThePartGraph) {
  Open();
  Fill();
  CTChart& all = page->AllGraph();
  DragBand(all, 261.0, 350.0);
  const double start = all.BandStart(data.bandTool), end = all.BandEnd(data.bandTool);
  EXPECT_EQ(start, 214.0);
  EXPECT_NEAR(end, 350.0, 0.5);

  recorder::CRecorderData expected;
  expected.samples = data.samples;
  expected.allGraphInterval = 21;
  expected.partGraphInterval = 2;
  expected.autoInterval = 1;
  analysis::MovePartWindow(expected, start, end);
  EXPECT_EQ(data.partFirst, expected.partFirst);
  EXPECT_EQ(data.partEnd, expected.partEnd);
  EXPECT_EQ(data.partGraphInterval, expected.partGraphInterval);
  EXPECT_GT(data.partEnd - data.partFirst, 493u);
  EXPECT_EQ(page->PartGraph().PointCount(0), static_cast<int>(data.partEnd - data.partFirst));
  EXPECT_EQ(page->PartGraph().PointLabel(0, 0).toStdString(), analysis::PointText(PartSample(0).time));
  EXPECT_EQ(data.idle, 1);
  EXPECT_TRUE(sink.said.empty());
}

TEST_F(GraphPage, ReleaseDuringALoadIsRefusedAndKeepsThePartWindow) {
  for (const auto& [language, text] :
       {std::pair{0, "系统忙，请稍后"}, std::pair{1, "Server busy, please retry later"}}) {
    SCOPED_TRACE(language);
    data.language = language;
    sink.said.clear();
    Open();
    Fill();
    data.idle = 0;
    DragBand(page->AllGraph(), 261.0, 350.0);
    EXPECT_EQ(sink.said, std::vector<std::string>{text});
    EXPECT_EQ(data.partFirst, 2247u);
    EXPECT_EQ(data.partEnd, 2740u);
    EXPECT_EQ(page->PartGraph().PointCount(0), 493);
    EXPECT_EQ(data.idle, 0);
    data.idle = 1;
  }
}

// A height inside the part graph's plot where the info panel does not catch
// the mouse.
int BelowInfoPanel(const CTChart& part) { return part.height() - 80; }

TEST_F(GraphPage, CursorReadOutListsEveryShownChannelInItsOwnRow) {
  data.channels[0].shown = 0;
  data.channels[4].shown = 0;
  Open();
  Fill();
  CTChart& part = page->PartGraph();
  const int x = part.PixelAtXValue(100.3);
  MoveMouse(part, QPoint(x, BelowInfoPanel(part)));
  const int i = static_cast<int>(static_cast<float>(part.XValueAtPixel(1, x)));
  ASSERT_NEAR(i, 100, 1);

  const QStringList& lines = page->InfoPanel().Lines();
  ASSERT_EQ(lines.size(), 1 + kChannels);
  EXPECT_EQ(lines[0].toStdString(), "Time：" + analysis::PointText(PartSample(i).time));
  for (int j = 0; j < kChannels; ++j) {
    SCOPED_TRACE(j);
    const std::string row =
        j == 0 || j == 4 ? std::string() : base::Format("Temp %d:  %g", j + 1, double{PartSample(i).values[j]});
    EXPECT_EQ(lines[j + 1].toStdString(), row);
  }

  // Right of the last point there is nothing to show.
  MoveMouse(part, QPoint(part.PixelAtXValue(part.PointCount(1) + 3.0), BelowInfoPanel(part)));
  EXPECT_TRUE(page->InfoPanel().Lines().isEmpty());
}

// The read-out shows what lies under the mouse now: nothing after a fill
// until the mouse moves, no value in a gap, a name for a nameless channel.
TEST_F(GraphPage, CursorReadOutLeavesGapsBlankNamesNamelessChannelsAndEmptiesOnAFill) {
  settings::SetChannelName(data.channels[6], "");
  Open();
  Fill();
  CTChart& part = page->PartGraph();
  const int gap = static_cast<int>(kHighMarkerSample / 2 - data.partFirst);  // channel 3 has no point there
  const int x = part.PixelAtXValue(gap + 0.5);
  MoveMouse(part, QPoint(x, BelowInfoPanel(part)));
  ASSERT_EQ(static_cast<int>(static_cast<float>(part.XValueAtPixel(0, x))), gap);

  const QStringList& lines = page->InfoPanel().Lines();
  ASSERT_EQ(lines.size(), 1 + kChannels);
  EXPECT_EQ(lines[0].toStdString(), "Time：" + analysis::PointText(PartSample(gap).time));
  EXPECT_EQ(lines[3].toStdString(), "");
  EXPECT_EQ(lines[4].toStdString(), base::Format("Temp 4:  %g", double{PartSample(gap).values[3]}));
  EXPECT_EQ(lines[7].toStdString(), base::Format("Channel07:  %g", double{PartSample(gap).values[6]}));

  Fill();
  EXPECT_TRUE(page->InfoPanel().Lines().isEmpty());
}

TEST_F(GraphPage, CursorReadOutFollowsOnlyWithShowCursorOne) {
  data.showCursor = 0;
  Open();
  Fill();
  MoveMouse(page->PartGraph(), QPoint(page->PartGraph().PixelAtXValue(50.0), BelowInfoPanel(page->PartGraph())));
  EXPECT_TRUE(page->InfoPanel().Lines().isEmpty());
}

TEST_F(GraphPage, LegendClickFlipsShownOfItsChannel) {
  data.channels[5].shown = 0;
  Open();
  Fill();
  CTChart& part = page->PartGraph();
  auto click = [&](int series) { QTest::mouseClick(&part, Qt::LeftButton, {}, part.LegendEntryRect(series).center()); };
  click(3);
  EXPECT_EQ(data.channels[3].shown, 0);
  EXPECT_FALSE(part.SeriesShown(3));
  click(3);
  EXPECT_EQ(data.channels[3].shown, 1);
  EXPECT_TRUE(part.SeriesShown(3));
  // A channel hidden at the fill shows its curve when checked.
  click(5);
  EXPECT_EQ(data.channels[5].shown, 1);
  EXPECT_TRUE(part.SeriesShown(5));
  EXPECT_EQ(part.PointCount(5), 493);
}

TEST_F(GraphPage, InfoPanelClickMovesItAsideAndBack) {
  Open();
  CMyButton& panel = page->InfoPanel();
  QTest::mouseClick(&panel, Qt::LeftButton);
  EXPECT_EQ(panel.pos(), QPoint(1280 - 400, 173));
  QTest::mouseClick(&panel, Qt::LeftButton);
  EXPECT_EQ(panel.pos(), QPoint(40, 173));
}

// Set TESSALY_GRAPH_PNG_DIR to keep the pictures (graph_page_zh.png, graph_page_en.png).
TEST_F(GraphPage, RenderedPageShowsTheCurvesOfBothCharts) {
  for (const int language : {0, 1}) {
    SCOPED_TRACE(language);
    data.language = language;
    data.autoRange = 0;
    data.yRangeMin = 0.0f;
    data.yRangeMax = 150.0f;
    Open();
    Fill();
    MoveMouse(page->PartGraph(), QPoint(page->PartGraph().PixelAtXValue(120.0), BelowInfoPanel(page->PartGraph())));
    EXPECT_FALSE(page->InfoPanel().Lines().isEmpty());
    const QImage image = page->grab().toImage();
    for (const int k : {0, 8, 17}) {
      EXPECT_GT(CountColour(image, page->AllGraph().geometry(), data.channels[k].color), 100) << "channel " << k;
      EXPECT_GT(CountColour(image, page->PartGraph().geometry(), data.channels[k].color), 300) << "channel " << k;
    }
    const QString folder = qEnvironmentVariable("TESSALY_GRAPH_PNG_DIR");
    if (!folder.isEmpty()) image.save(folder + (language == 0 ? "/graph_page_zh.png" : "/graph_page_en.png"));
  }
}

}  // namespace
}  // namespace tessaly::gui
