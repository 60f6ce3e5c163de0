#include "gui/common/ChartLegend.h"

#include <QPainter>

#include "gui/common/WindowLook.h"

namespace orvel {

namespace {

constexpr int kStep = 15;    // from one entry's top to the next
constexpr int kSquare = 9;   // the colour square's side
constexpr int kGap = 4;      // between square and label

}  // namespace

ChartLegend::ChartLegend(QWidget* parent) : QWidget(parent) {
  QFont font = FormFont();
  font.setPixelSize(11);
  setFont(font);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ChartLegend::SetEntries(const QList<Entry>& entries) {
  entries_ = entries;
  updateGeometry();
  update();
}

QSize ChartLegend::sizeHint() const {
  int width = 0;
  for (const Entry& entry : entries_) width = std::max(width, fontMetrics().horizontalAdvance(entry.label));
  const QMargins m = contentsMargins();
  return {m.left() + kSquare + kGap + width + 2 + m.right(),
          m.top() + static_cast<int>(entries_.size()) * kStep + m.bottom()};
}

void ChartLegend::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  const int left = contentsRect().left();
  int top = contentsRect().top();
  for (const Entry& entry : entries_) {
    const QRect square(left, top + (kStep - kSquare) / 2, kSquare, kSquare);
    painter.setPen(Qt::black);
    painter.setBrush(entry.color);
    switch (entry.shape) {
      case Shape::Square: painter.drawRect(square); break;
      case Shape::Circle: painter.drawEllipse(square); break;
      case Shape::Triangle:
        painter.drawPolygon(QPolygon({QPoint(square.center().x(), square.top()), square.bottomRight(),
                                      square.bottomLeft()}));
        break;
      case Shape::Diamond:
        painter.drawPolygon(QPolygon({QPoint(square.center().x(), square.top()),
                                      QPoint(square.right(), square.center().y()),
                                      QPoint(square.center().x(), square.bottom()),
                                      QPoint(square.left(), square.center().y())}));
        break;
    }
    painter.setPen(palette().color(QPalette::WindowText));
    // Centred on the square, whatever room the font keeps above its glyphs.
    const int baseline = square.center().y() + (metrics.capHeight() + 1) / 2;
    painter.drawText(left + kSquare + kGap, baseline, entry.label);
    top += kStep;
  }
}

}  // namespace orvel
