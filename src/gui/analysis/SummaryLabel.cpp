#include "gui/analysis/SummaryLabel.h"

#include <QPainter>

namespace orvel {

namespace {

// 11-pixel lines of 11-pixel glyphs: four fit under the group box's title.
// The first baseline leaves out the font's internal leading above the
// glyphs, which the CJK fonts make several pixels tall.
constexpr int kLineStep = 11;
constexpr int kFirstBaseline = 10;

}  // namespace

SummaryLabel::SummaryLabel(QWidget* parent) : QLabel(parent) {
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);
}

QSize SummaryLabel::sizeHint() const {
  const QStringList lines = text().split(QLatin1Char('\n'));
  int width = 0;
  for (const QString& line : lines) width = std::max(width, fontMetrics().horizontalAdvance(line));
  const auto descent = fontMetrics().descent();
  return {width, kFirstBaseline + static_cast<int>(lines.size() - 1) * kLineStep + descent};
}

void SummaryLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  int baseline = kFirstBaseline;
  for (const QString& line : text().split(QLatin1Char('\n'))) {
    painter.drawText(0, baseline, line);
    baseline += kLineStep;
  }
}

}  // namespace orvel
