#include "gui/common/ZoomChartView.h"

#include <QLabel>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace orvel {

ZoomChartView::ZoomChartView(QWidget* parent) : QChartView(parent) {
  setRubberBand(QChartView::RectangleRubberBand);
  setRenderHint(QPainter::Antialiasing, false);
}

void ZoomChartView::AddHint(const QString& name, int top) {
  auto* hint = new QLabel(u"・マウスで範囲指定して拡大できます。右クリックでドラッグしてスクロールできます。"_s, this);
  hint->setObjectName(name);
  hint->setAttribute(Qt::WA_TransparentForMouseEvents);
  hint->move(124, top);
  // The design's font draws this text narrower than today's Japanese fonts:
  // a smaller size keeps it whole on a narrow chart.
  QFont font = hint->font();
  const int room = width() - 124 - 4;
  while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(hint->text()) > room) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  hint->setFont(font);
  hint->adjustSize();
}

void ZoomChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    scrolling_ = true;
    scrolled_ = false;
    last_ = event->position().toPoint();
    event->accept();
    return;
  }
  QChartView::mousePressEvent(event);
}

void ZoomChartView::mouseMoveEvent(QMouseEvent* event) {
  if (scrolling_ && chart()) {
    const QPoint now = event->position().toPoint();
    const QPoint delta = now - last_;
    last_ = now;
    if (!delta.isNull()) {
      chart()->scroll(-delta.x(), delta.y());
      scrolled_ = true;
      zoomed_ = true;
      emit userChangedRange();
    }
    event->accept();
    return;
  }
  QChartView::mouseMoveEvent(event);
}

void ZoomChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && scrolling_) {
    scrolling_ = false;
    if (!scrolled_ && !zoomed_ && !actions().isEmpty()) {
      QMenu::exec(actions(), event->globalPosition().toPoint(), nullptr, this);
    } else if (!scrolled_ && chart()) {
      zoomed_ = false;
      chart()->zoomReset();
      emit userResetRange();
    }
    event->accept();
    return;
  }
  const bool zooming = event->button() == Qt::LeftButton && rubberBand() != QChartView::NoRubberBand;
  QChartView::mouseReleaseEvent(event);
  if (zooming) {
    zoomed_ = true;
    emit userChangedRange();
  }
}

void ZoomChartView::contextMenuEvent(QContextMenuEvent* event) {
  // The mouse's right button is handled on release above; the keyboard's
  // menu key opens the menu at once.
  if (event->reason() != QContextMenuEvent::Mouse && !actions().isEmpty()) {
    QMenu::exec(actions(), event->globalPos(), nullptr, this);
    event->accept();
    return;
  }
  QChartView::contextMenuEvent(event);
}

}  // namespace orvel
