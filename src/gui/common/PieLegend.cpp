#include "gui/common/PieLegend.h"

#include <QPainter>

#include "gui/common/WindowLook.h"

namespace orvel {

namespace {

constexpr int kStep = 15;    // from one entry's top to the next
constexpr int kSquare = 9;   // the colour square's side
constexpr int kGap = 4;      // between square and label

}  // namespace

PieLegend::PieLegend(QWidget* parent) : QWidget(parent) {
  QFont font = FormFont();
  font.setPixelSize(11);
  setFont(font);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PieLegend::SetEntries(const QList<Entry>& entries) {
  entries_ = entries;
  updateGeometry();
  update();
}

QSize PieLegend::sizeHint() const {
  int width = 0;
  for (const Entry& entry : entries_) width = std::max(width, fontMetrics().horizontalAdvance(entry.label));
  return {kSquare + kGap + width + 2, static_cast<int>(entries_.size()) * kStep};
}

void PieLegend::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  int top = 0;
  for (const Entry& entry : entries_) {
    const QRect square(0, top + (kStep - kSquare) / 2, kSquare, kSquare);
    painter.fillRect(square, entry.color);
    painter.setPen(Qt::black);
    painter.drawRect(square);
    painter.setPen(palette().color(QPalette::WindowText));
    // Centred on the square, whatever room the font keeps above its glyphs.
    const int baseline = square.center().y() + (metrics.capHeight() + 1) / 2;
    painter.drawText(kSquare + kGap, baseline, entry.label);
    top += kStep;
  }
}

}  // namespace orvel
