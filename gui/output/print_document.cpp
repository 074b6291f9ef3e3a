#include "output/print_document.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>

#include "chart/ct_chart.h"

namespace tessaly::gui {
namespace {

constexpr QSize kPictureSize(800, 500);

// "宋体" where it exists, else the CJK font the program installs.
QFont PrintFont(int points) {
  QFont font;
  font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei")});
  // Layout units are dots at kPrintDotsPerInch; a point is 1/72 inch.
  font.setPixelSize(std::max(1, points * output::kPrintDotsPerInch / 72));
  return font;
}

}  // namespace

void PaintPrintPage(QPainter& painter, const output::PrintPage& page, const QImage& picture, const QRectF& area) {
  const double scale = std::min(area.width() / output::kPrintLayoutWidth, area.height() / output::kPrintLayoutHeight);
  painter.save();
  painter.translate(area.topLeft());
  painter.scale(scale, scale);
  const QPen ink(Qt::black, 0);  // one device pixel wide at every scale
  painter.setPen(ink);
  if (page.picture) {
    const QRectF box(QPointF(page.picture->x1, page.picture->y1), QPointF(page.picture->x2, page.picture->y2));
    if (picture.isNull()) {
      painter.fillRect(box, Qt::white);
      painter.drawRect(box);
    } else {
      painter.drawImage(box, picture);
    }
  }
  for (const output::PrintLine& l : page.lines) painter.drawLine(QLineF(l.x1, l.y1, l.x2, l.y2));
  for (const output::PrintRect& r : page.rects) {
    const QRectF box(QPointF(r.x1, r.y1), QPointF(r.x2, r.y2));
    painter.fillRect(box, ColourFromBgr(r.colour));
    painter.drawRect(box);
  }
  int points = 0;
  double ascent = 0.0;
  for (const output::PrintText& t : page.texts) {
    if (t.points != points) {
      points = t.points;
      painter.setFont(PrintFont(points));
      ascent = QFontMetricsF(painter.font()).ascent();
    }
    painter.drawText(QPointF(t.x, t.y + ascent), QString::fromStdString(t.text));
  }
  painter.restore();
}

QImage PartGraphPicture(CTChart& chart, int cursorTool) {
  const bool legend = chart.LegendVisible();
  const bool cursorLines = chart.CursorLinesVisible(cursorTool);
  chart.SetLegendVisible(false);
  chart.SetCursorLinesVisible(cursorTool, false);
  QImage picture = chart.RenderImage(kPictureSize, 0xFFFFFFu);
  chart.SetCursorLinesVisible(cursorTool, cursorLines);
  chart.SetLegendVisible(legend);
  return picture;
}

void UsePrintPaper(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, device.pageLayout().margins(),
                                   device.pageLayout().units()));
}

RenderResult RenderDocument(PrintDocument& document, QPagedPaintDevice& device) {
  const uint32_t pages = document.BeginPrinting();
  if (pages == 0) return RenderResult::Busy;
  QPainter painter;
  if (!painter.begin(&device)) {
    document.EndPrinting();
    return RenderResult::Failed;
  }
  const QRectF area(0, 0, device.width(), device.height());
  bool ok = true;
  for (uint32_t p = 1; p <= pages && ok; ++p) {
    if (p > 1) ok = device.newPage();
    if (ok) document.PrintPage(painter, area, p);
  }
  ok = painter.end() && ok;
  document.EndPrinting();
  return ok ? RenderResult::Done : RenderResult::Failed;
}

RenderResult WritePdf(PrintDocument& document, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return RenderResult::Failed;
  RenderResult result = RenderResult::Failed;
  {
    QPdfWriter writer(&file);
    writer.setResolution(output::kPrintDotsPerInch);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    result = RenderDocument(document, writer);
  }
  if (result != RenderResult::Done) {
    file.cancelWriting();
    return result;
  }
  return file.commit() ? RenderResult::Done : RenderResult::Failed;
}

}  // namespace tessaly::gui
