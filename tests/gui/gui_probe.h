#pragma once
// Looking at and pointing into widgets: a curve's colour in a rendered
// picture (smoothed edges included), and mouse moves that always arrive.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <utility>
#include <vector>

namespace tessaly::gui {

// The pixel is the colour (0x00BBGGRR) laid at least half opaque on white.
bool ShowsColour(QRgb pixel, uint32_t colour);

int CountColour(const QImage& image, const QRect& region, uint32_t colour);

// Stretches of row y that show the colour, as [first, last] pixel pairs.
std::vector<std::pair<int, int>> RunsOnRow(const QImage& image, int y, uint32_t colour);

// Moves the mouse to `at` in `widget`. A move to where the mouse already is
// would be dropped, so it comes from the pixel beside it.
void MoveMouse(QWidget& widget, QPoint at);

}  // namespace tessaly::gui
