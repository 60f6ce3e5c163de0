#include "gui/analysis/SummaryLabel.h"

#include <QPainter>

namespace orvel {

SummaryLabel::SummaryLabel(QWidget* parent) : QLabel(parent) {
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);
}

void SummaryLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  // 12-pixel lines: four fit under the group box's title.
  const int step = 12;
  int baseline = 13;
  for (const QString& line : text().split(QLatin1Char('\n'))) {
    painter.drawText(0, baseline, line);
    baseline += step;
  }
}

}  // namespace orvel
