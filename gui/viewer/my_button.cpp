#include "viewer/my_button.h"

#include <QPainter>

#include "chart/ct_chart.h"

namespace tessaly::gui {

CMyButton::CMyButton(const settings::DisplaySettings& display, QWidget* parent)
    : QAbstractButton(parent), display_(display) {
  // Rows are 16 pixels apart.
  QFont small = font();
  small.setPixelSize(12);
  setFont(small);
}

void CMyButton::SetLines(const QStringList& lines) {
  lines_ = lines;
  update();
}

void CMyButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().button());
  p.setPen(palette().mid().color());
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  if (lines_.isEmpty()) return;
  const int ascent = p.fontMetrics().ascent();
  // Texts at their top-left corner; a point text's '\r' shows as a blank.
  auto text = [&](int x, int y, const QString& line) {
    p.setPen(palette().buttonText().color());
    p.drawText(x, y + ascent, QString(line).replace('\r', ' '));
  };
  text(10, 2, lines_[0]);
  for (int i = 0; i + 1 < lines_.size() && i < settings::kChannels; ++i) {
    const settings::ChannelInfo& channel = display_.channels[i];
    if (channel.shown != 1) continue;
    p.setPen(Qt::black);
    p.setBrush(ColourFromBgr(channel.color));
    p.drawRect(3, 19 + 16 * i, 14, 10);  // pixels 3..17 x 19+16i..29+16i
    text(20, 16 + 16 * i, lines_[i + 1]);
  }
}

}  // namespace tessaly::gui
