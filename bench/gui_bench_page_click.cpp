// What a user waits for, in the program's own windows (offscreen): a click
// on a page of 1,000,000 samples until the list, the all graph and the part
// graph are filled and painted once, with automatic intervals and with
// intervals of 1 (65,535 list rows); and the release of a dragged window band
// until the part graph is painted, with the band over the first 65,535
// samples at interval 1 (the largest part graph). Budgets: a click under
// 0.5 s, a band release under 0.1 s. Times are the process's CPU time (the
// loader thread's decode included): the machines here are shared.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTest>
#include <QTreeWidget>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "app/main_frame.h"
#include "app/prompt_service.h"
#include "bench_report.h"
#include "chart/ct_chart.h"
#include "record/sample.h"
#include "record_writer.h"
#include "recorder/recorder_data.h"
#include "settings/settings_file.h"
#include "viewer/child_frame.h"
#include "viewer/data_graph_dlg.h"
#include "viewer/data_list_dlg.h"
#include "viewer/my_form_view.h"
#include "widgets/grid_ctrl.h"

namespace {

using namespace tessaly;

constexpr uint32_t kSamplesPerSector = 6;
constexpr uint32_t kSectors = (record::kSampleBufferLimit + kSamplesPerSector - 1) / kSamplesPerSector;
constexpr double kClickBudgetSeconds = 0.5;
constexpr double kDragBudgetSeconds = 0.1;

// Answers nothing and shows nothing: the list's message about too many rows
// would otherwise wait for a person.
class SilentPrompts : public gui::UnattendedPrompts {
 public:
  void ShowMessage(const std::string&) override {}
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

struct Seconds {
  double cpu = 0.0;
  double wall = 0.0;
  double startCpu = 0.0;  // inside the input event: a band release's fill; a click only starts the load
};

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs `start`, then processes events until `done` holds; the time between.
// Between events the thread sleeps, as the program's event loop does, so
// that its CPU time is the work and not the waiting.
Seconds Timed(const std::function<void()>& start, const std::function<bool()>& done) {
  const auto wall = std::chrono::steady_clock::now();
  const double cpu = ProcessCpuSeconds();
  start();
  const double started = ProcessCpuSeconds();
  while (!done()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return {ProcessCpuSeconds() - cpu, std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
          started - cpu};
}

class Viewer {
 public:
  explicit Viewer(const std::string& path) : frame_(data_, prompts_) {
    settings::ApplyDefaultSettings(data_);
    data_.autoPaging = 0;
    data_.pageMode = 0;
    data_.sectorsPerPage = kSectors;
    frame_.resize(1600, 900);
    frame_.show();
    viewer_ = frame_.OpenRecordPaths({QString::fromStdString(path)});
    if (!viewer_ || !viewer_->pagingRoot() || viewer_->pagingRoot()->childCount() != 1) std::abort();
    QObject::connect(&frame_, &gui::CMainFrame::loadHandedOff, [this] { ++handOffs_; });
    if (!QTest::qWaitForWindowExposed(&frame_)) std::abort();
  }

  void SetIntervals(bool automatic) {
    data_.autoInterval = automatic ? 1 : 0;
    data_.listInterval = 1;
    data_.partGraphInterval = 1;
  }

  // A click on the page's label until the hand-off has ended and both
  // charts have painted since; the list, on its hidden tab, is painted once
  // as switching to it would.
  Seconds ClickPage() {
    gui::CDataGraphDlg& graph = *viewer_->formView()->graphPage();
    PaintCounter all(&graph.AllGraph());
    PaintCounter part(&graph.PartGraph());
    const int handOffs = handOffs_;
    QTreeWidget* tree = viewer_->pageTree();
    const QPoint at = viewer_->LabelRect(viewer_->pagingRoot()->child(0)).center();
    bool listPainted = false;
    const Seconds s = Timed([&] { QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at); },
                            [&] {
                              if (handOffs_ == handOffs || all.count == 0 || part.count == 0) return false;
                              if (!listPainted) benchmark::DoNotOptimize(viewer_->formView()->listPage()->grab());
                              listPainted = true;
                              return true;
                            });
    if (data_.samples.size() != record::kSampleBufferLimit) std::abort();
    return s;
  }

  // Drags the band's end from its place to `to` (an X value of the all
  // graph); the time from the release until the part graph has painted.
  Seconds DragBandEnd(double to) {
    gui::CTChart& chart = viewer_->formView()->graphPage()->AllGraph();
    const int y = chart.height() / 2;
    const int from = chart.PixelAtXValue(chart.BandEnd(data_.bandTool));
    const int target = chart.PixelAtXValue(to);
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(from, y));
    QTest::mouseMove(&chart, QPoint(target, y));
    QApplication::processEvents();
    PaintCounter part(&viewer_->formView()->graphPage()->PartGraph());
    return Timed([&] { QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(target, y)); },
                 [&] { return part.count > 0; });
  }

  // Puts the band's start at X 0 (untimed).
  void DragBandStartToZero() {
    gui::CTChart& chart = viewer_->formView()->graphPage()->AllGraph();
    const int y = chart.height() / 2;
    const int from = chart.PixelAtXValue(chart.BandStart(data_.bandTool));
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(from, y));
    QTest::mouseMove(&chart, QPoint(chart.PixelAtXValue(0.0), y));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(chart.PixelAtXValue(0.0), y));
    QApplication::processEvents();
  }

  // Points in each shown series of the part graph (channel 1's).
  int PartGraphPoints() { return viewer_->formView()->graphPage()->PartGraph().PointCount(0); }
  const recorder::CRecorderData& data() const { return data_; }

 private:
  recorder::CRecorderData data_;
  SilentPrompts prompts_;
  gui::CMainFrame frame_;
  gui::CChildFrame* viewer_ = nullptr;
  int handOffs_ = 0;
};

std::string gPath;
Viewer* gViewer = nullptr;
Seconds gDefault, gInterval1, gDrag;
int gDragPoints = 0;

template <typename Work>
Seconds Mean(benchmark::State& state, Work work) {
  Seconds total;
  for (auto _ : state) {
    const Seconds s = work();
    total.cpu += s.cpu;
    total.wall += s.wall;
    total.startCpu += s.startCpu;
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["cpu_s"] = total.cpu / runs;
  state.counters["wall_s"] = total.wall / runs;
  state.counters["in_event_cpu_s"] = total.startCpu / runs;
  return {total.cpu / runs, total.wall / runs, total.startCpu / runs};
}

void BM_PageClickDefault(benchmark::State& state) {
  gViewer->SetIntervals(true);
  gDefault = Mean(state, [] { return gViewer->ClickPage(); });
}

void BM_PageClickInterval1(benchmark::State& state) {
  gViewer->SetIntervals(false);
  gInterval1 = Mean(state, [] { return gViewer->ClickPage(); });
}

// The band's end dragged back and forth between two places whose windows
// both lie below point 65,535, so every drag fills all 18 channels.
void BM_BandDrag(benchmark::State& state) {
  gViewer->SetIntervals(false);
  gViewer->ClickPage();
  gViewer->DragBandStartToZero();
  const double a = gViewer->data().allGraphInterval;
  const double ends[] = {65000.0 / a, 60000.0 / a};
  int turn = 0;
  gDrag = Mean(state, [&] { return gViewer->DragBandEnd(ends[turn++ % 2]); });
  gDragPoints = gViewer->PartGraphPoints();
  state.counters["points_per_channel"] = gDragPoints;
}

BENCHMARK(BM_PageClickDefault)->Unit(benchmark::kMillisecond)->Iterations(bench::Repetitions(5));
BENCHMARK(BM_PageClickInterval1)->Unit(benchmark::kMillisecond)->Iterations(bench::Repetitions(5));
BENCHMARK(BM_BandDrag)->Unit(benchmark::kMillisecond)->Iterations(bench::Repetitions(10));

void Report(const char* name, const Seconds& s, double budget) {
  if (s.cpu <= 0) return;
  std::printf("%s: %.3f s CPU (%.3f s wall), %.2f (%.2f) of the %.1f s budget\n", name, s.cpu, s.wall, s.cpu / budget,
              s.wall / budget, budget);
  bench::ReportBudget(name, s.cpu * 1e3, budget * 1e3, "ms");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tessaly-bench-page-click";
  std::filesystem::create_directories(dir);
  qputenv("TESSALY_SETTINGS_DIR", dir.string().c_str());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);

  sim::RecordSpec recordSpec;
  recordSpec.channels = record::kChannelCount;
  recordSpec.samplesPerSector = kSamplesPerSector;
  recordSpec.decimals.fill(2);
  recordSpec.sectorCount = kSectors;
  gPath = (dir / "million.D01").string();
  if (!sim::WriteRecordFile(gPath, recordSpec)) return 1;
  {
    Viewer viewer(gPath);
    gViewer = &viewer;
    benchmark::RunSpecifiedBenchmarks();
    gViewer = nullptr;
  }
  std::filesystem::remove_all(dir);
  benchmark::Shutdown();

  Report("page_click_1M_default", gDefault, kClickBudgetSeconds);
  Report("page_click_1M_interval1", gInterval1, kClickBudgetSeconds);
  if (gDrag.cpu > 0) std::printf("band drag: the part graph holds %d points per channel\n", gDragPoints);
  Report("band_drag", gDrag, kDragBudgetSeconds);
  return 0;
}
