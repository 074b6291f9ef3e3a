#include "viewer/part_graph_cursors.h"

#include <QKeyEvent>
#include <algorithm>
#include <cmath>

#include "analysis/cursor_readout.h"
#include "analysis/graph_fill.h"
#include "chart/ct_chart.h"
#include "recorder/page_loader.h"
#include "recorder/recorder_data.h"
#include "viewer/cursor_panel.h"

namespace tessaly::gui {
namespace {

constexpr int kShiftStep = 10;
const QString kLetters[] = {QStringLiteral("A"), QStringLiteral("B")};

}  // namespace

PartGraphCursors::PartGraphCursors(recorder::CRecorderData& data, CTChart& chart, CCursorPanel& panel, QObject* parent)
    : QObject(parent), data_(data), chart_(chart), panel_(panel) {
  chart_.setFocusPolicy(Qt::ClickFocus);
  chart_.installEventFilter(this);
  connect(&chart_, &CTChart::mouseReleased, this, [this](int button, int, int x, int y) { OnRelease(button, x, y); });
  connect(&panel_, &CCursorPanel::clearRequested, this, &PartGraphCursors::Clear);
}

int64_t PartGraphCursors::PointsInWindow() const {
  const analysis::PointRun run = analysis::PartGraphPoints(data_);
  return int64_t{run.end} - int64_t{run.first};
}

// A running load owns the SampleBuffer: cursors are not set or moved then.
void PartGraphCursors::OnRelease(int button, int x, int y) {
  if (button != CTChart::kLeftButton && button != CTChart::kRightButton) return;
  if (!chart_.PlotRect().contains(x, y) || chart_.LegendEntryAt(x, y) >= 0) return;
  if (recorder::RefuseWhileLoading(data_)) return;
  const int cursor = button == CTChart::kLeftButton ? kA : kB;
  Place(cursor, std::llround(chart_.XValueAtPixel(0, x)));
  if (samples_[cursor]) panel_.show();
}

// Clamped to the drawn points, so a click beside the last one takes it.
void PartGraphCursors::Place(int cursor, int64_t point) {
  const int64_t points = PointsInWindow();
  if (points <= 0) return;
  samples_[cursor] = analysis::SampleAtPoint(data_, std::clamp<int64_t>(point, 0, points - 1));
  chosen_ = cursor;
  Update();
}

void PartGraphCursors::Move(int points) {
  if (!samples_[chosen_] || recorder::RefuseWhileLoading(data_)) return;
  const std::optional<double> at = analysis::PointOfSample(data_, *samples_[chosen_]);
  if (at) Place(chosen_, std::llround(*at) + points);
}

void PartGraphCursors::Clear() {
  samples_[kA].reset();
  samples_[kB].reset();
  Update();
}

void PartGraphCursors::Follow() {
  for (std::optional<size_t>& sample : samples_)
    if (sample && (*sample >= data_.samples.size() || !analysis::PointOfSample(data_, *sample))) sample.reset();
  Update();
}

void PartGraphCursors::Update() {
  for (int cursor : {kA, kB})
    chart_.SetMeasureLine(cursor, samples_[cursor] ? analysis::PointOfSample(data_, *samples_[cursor]) : std::nullopt,
                          kLetters[cursor]);
  if (!samples_[kA] && !samples_[kB]) {
    panel_.hide();
    return;
  }
  panel_.Show(data_, samples_[kA], samples_[kB]);
}

bool PartGraphCursors::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &chart_ || event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const int step = key->modifiers() & Qt::ShiftModifier ? kShiftStep : 1;
  switch (key->key()) {
    case Qt::Key_Escape: Clear(); return true;
    case Qt::Key_Left: Move(-step); return true;
    case Qt::Key_Right: Move(step); return true;
    default: return QObject::eventFilter(watched, event);
  }
}

}  // namespace tessaly::gui
