#include "resources/drawn_icons.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace tessaly::gui {
namespace {

using Painter = void (*)(QPainter&);

QPixmap Draw(int size, Painter paint) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 48.0, size / 48.0);  // every picture is drawn on a 48 x 48 grid
  paint(p);
  return pixmap;
}

void Gear(QPainter& p, QPointF centre, double radius, const QColor& colour) {
  QPainterPath path;
  constexpr int kTeeth = 8;
  for (int i = 0; i < kTeeth * 2; ++i) {
    const double r = (i % 2 == 0) ? radius : radius * 0.74;
    for (double f : {-0.16, 0.16}) {
      const double a = (i + 0.5 + f) * std::numbers::pi / kTeeth;
      const QPointF pt(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
      if (path.elementCount() == 0)
        path.moveTo(pt);
      else
        path.lineTo(pt);
    }
  }
  path.closeSubpath();
  path.addEllipse(centre, radius * 0.32, radius * 0.32);
  path.setFillRule(Qt::OddEvenFill);
  p.setPen(QPen(colour.darker(160), 1.2));
  QRadialGradient fill(centre, radius);
  fill.setColorAt(0, colour.lighter(130));
  fill.setColorAt(1, colour);
  p.setBrush(fill);
  p.drawPath(path);
}

void ChartPanel(QPainter& p, const QRectF& r) {
  QLinearGradient back(r.topLeft(), r.bottomLeft());
  back.setColorAt(0, QColor(28, 44, 74));
  back.setColorAt(1, QColor(12, 22, 40));
  p.setPen(QPen(QColor(90, 100, 120), 1.5));
  p.setBrush(back);
  p.drawRoundedRect(r, 3, 3);
  p.setPen(QPen(QColor(80, 110, 150), 0.8));
  for (int i = 1; i < 4; ++i) {
    const double y = r.top() + r.height() * i / 4;
    p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    const double x = r.left() + r.width() * i / 4;
    p.drawLine(QPointF(x, r.top() + 2), QPointF(x, r.bottom() - 2));
  }
}

void Curve(QPainter& p, const QRectF& r, double phase, double level, const QColor& colour) {
  QPainterPath path;
  for (int i = 0; i <= 24; ++i) {
    const double x = r.left() + 2 + (r.width() - 4) * i / 24.0;
    const double y = r.top() + r.height() * (level + 0.22 * std::sin(phase + i * 0.45));
    if (i == 0)
      path.moveTo(x, y);
    else
      path.lineTo(x, y);
  }
  p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

// 32776: the record file whose reading is set up.
void RecordReadParams(QPainter& p) {
  QPainterPath sheet;
  sheet.moveTo(8, 3);
  sheet.lineTo(29, 3);
  sheet.lineTo(38, 12);
  sheet.lineTo(38, 44);
  sheet.lineTo(8, 44);
  sheet.closeSubpath();
  QLinearGradient paper(8, 3, 38, 44);
  paper.setColorAt(0, Qt::white);
  paper.setColorAt(1, QColor(222, 230, 240));
  p.setPen(QPen(QColor(96, 112, 136), 1.6));
  p.setBrush(paper);
  p.drawPath(sheet);
  p.setBrush(QColor(200, 210, 225));
  p.drawPolygon(QPolygonF({QPointF(29, 3), QPointF(29, 12), QPointF(38, 12)}));
  const QColor rows[] = {QColor(214, 48, 49), QColor(0, 148, 68), QColor(30, 100, 210), QColor(110, 110, 110)};
  for (int i = 0; i < 4; ++i) {
    p.setPen(QPen(rows[i], 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(13, 18 + i * 6), QPointF(i % 2 ? 27 : 32, 18 + i * 6));
  }
  Gear(p, QPointF(35, 36), 11, QColor(240, 150, 30));
}

// 32774: how the charts are shown.
void ShowParams(QPainter& p) {
  const QRectF panel(3, 5, 40, 32);
  ChartPanel(p, panel);
  Curve(p, panel, 0.0, 0.35, QColor(255, 90, 80));
  Curve(p, panel, 2.0, 0.62, QColor(90, 230, 120));
  Gear(p, QPointF(35, 36), 11, QColor(240, 150, 30));
}

// 32779: a clock under a magnifying glass.
void SearchByTime(QPainter& p) {
  p.setPen(QPen(QColor(90, 60, 30), 1));
  p.setBrush(QColor(150, 95, 40));
  QPainterPath handle;
  handle.moveTo(29, 33);
  handle.lineTo(33, 29);
  handle.lineTo(45, 41);
  handle.quadTo(45, 45, 41, 45);
  handle.closeSubpath();
  p.drawPath(handle);
  const QPointF c(19, 19);
  QRadialGradient glass(c, 17);
  glass.setColorAt(0, Qt::white);
  glass.setColorAt(1, QColor(205, 225, 245));
  p.setPen(QPen(QColor(40, 90, 170), 3.5));
  p.setBrush(glass);
  p.drawEllipse(c, 15, 15);
  p.setPen(QPen(QColor(60, 60, 70), 1.2));
  for (int i = 0; i < 12; ++i) {
    const double a = i * std::numbers::pi / 6;
    const double r0 = (i % 3 == 0) ? 9.0 : 10.5;
    p.drawLine(QPointF(c.x() + r0 * std::cos(a), c.y() + r0 * std::sin(a)),
               QPointF(c.x() + 12 * std::cos(a), c.y() + 12 * std::sin(a)));
  }
  p.setPen(QPen(QColor(30, 30, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c, QPointF(c.x(), c.y() - 8));
  p.setPen(QPen(QColor(200, 40, 40), 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c, QPointF(c.x() + 6, c.y() + 3));
}

// 32782: statistics over a range of the record.
void RangeStatistics(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 236, 160, 150));
  p.drawRect(QRectF(15, 6, 20, 36));  // the chosen range
  const struct {
    double x, h;
    QColor colour;
  } bars[] = {{6, 14, QColor(30, 100, 210)},
              {16, 26, QColor(0, 148, 68)},
              {26, 20, QColor(240, 150, 30)},
              {36, 32, QColor(214, 48, 49)}};
  for (const auto& b : bars) {
    QLinearGradient g(b.x, 0, b.x + 8, 0);
    g.setColorAt(0, b.colour.lighter(135));
    g.setColorAt(1, b.colour);
    p.setPen(QPen(b.colour.darker(150), 1));
    p.setBrush(g);
    p.drawRect(QRectF(b.x, 42 - b.h, 7.5, b.h));
  }
  p.setPen(QPen(QColor(50, 50, 60), 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3, 4), QPointF(3, 43));
  p.drawLine(QPointF(3, 43), QPointF(46, 43));
}

// 57664: help.
void Help(QPainter& p) {
  const QPointF c(24, 24);
  QRadialGradient ball(QPointF(18, 16), 26);
  ball.setColorAt(0, QColor(110, 170, 255));
  ball.setColorAt(1, QColor(20, 80, 190));
  p.setPen(QPen(QColor(15, 55, 140), 1.5));
  p.setBrush(ball);
  p.drawEllipse(c, 20, 20);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(30);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(4, 4, 40, 41), Qt::AlignCenter, QStringLiteral("?"));
}

void Program(QPainter& p) {
  QLinearGradient body(0, 0, 0, 48);
  body.setColorAt(0, QColor(236, 239, 244));
  body.setColorAt(1, QColor(176, 184, 196));
  p.setPen(QPen(QColor(80, 88, 100), 1.5));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(2, 3, 44, 42), 6, 6);
  const QRectF screen(6, 7, 36, 26);
  ChartPanel(p, screen);
  Curve(p, screen, 0.5, 0.38, QColor(255, 90, 80));
  Curve(p, screen, 2.6, 0.64, QColor(90, 230, 120));
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 3; ++i) {
    p.setBrush(i == 0 ? QColor(40, 180, 80) : QColor(110, 118, 130));
    p.drawEllipse(QPointF(12 + i * 8, 39), 2.2, 2.2);
  }
}

}  // namespace

QPixmap ProgramPixmap(int size) { return Draw(size, Program); }

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : kProgramIconSizes) icon.addPixmap(ProgramPixmap(size));
  return icon;
}

QPixmap DisabledLook(const QPixmap& normal) {
  QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = line[x];
      const int grey = 128 + qGray(c) / 2;  // lighter and without colour
      line[x] = qRgba(grey, grey, grey, qAlpha(c) * 3 / 5);
    }
  }
  return QPixmap::fromImage(image);
}

QIcon ToolBarIcon(Command command) {
  Painter paint = nullptr;
  switch (command) {
    case Command::RecordReadParams: paint = RecordReadParams; break;
    case Command::ShowParams: paint = ShowParams; break;
    case Command::SearchByTime: paint = SearchByTime; break;
    case Command::RangeStatistics: paint = RangeStatistics; break;
    case Command::AppAbout: paint = Help; break;
    default: return {};
  }
  const QPixmap normal = Draw(kToolBarImageSize, paint);
  QIcon icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(normal, QIcon::Active);
  icon.addPixmap(DisabledLook(normal), QIcon::Disabled);
  return icon;
}

}  // namespace tessaly::gui
