#include "gui_probe.h"

#include <QTest>

#include <algorithm>
#include <cmath>

#include "chart/ct_chart.h"

namespace tessaly::gui {

bool ShowsColour(QRgb pixel, uint32_t colour) {
  const QColor c = ColourFromBgr(colour);
  const int wanted[3] = {c.red(), c.green(), c.blue()};
  const int seen[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
  // pixel = white + a * (colour - white): one opacity a for all three parts.
  double low = 1.0, high = 0.0;
  for (int i = 0; i < 3; ++i) {
    if (wanted[i] > 235) {
      if (seen[i] < 220) return false;
      continue;
    }
    const double a = (255.0 - seen[i]) / (255.0 - wanted[i]);
    low = std::min(low, a);
    high = std::max(high, a);
  }
  return low >= 0.5 && high <= 1.05 && high - low <= 0.15;
}

int CountColour(const QImage& image, const QRect& region, uint32_t colour) {
  int count = 0;
  for (int y = region.top(); y <= region.bottom(); ++y)
    for (int x = region.left(); x <= region.right(); ++x) count += ShowsColour(image.pixel(x, y), colour);
  return count;
}

std::vector<std::pair<int, int>> RunsOnRow(const QImage& image, int y, uint32_t colour) {
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < image.width(); ++x) {
    if (!ShowsColour(image.pixel(x, y), colour)) continue;
    if (!runs.empty() && runs.back().second == x - 1)
      runs.back().second = x;
    else
      runs.push_back({x, x});
  }
  return runs;
}

void MoveMouse(QWidget& widget, QPoint at) {
  QTest::mouseMove(&widget, at + QPoint(1, 0));
  QTest::mouseMove(&widget, at);
}

}  // namespace tessaly::gui
