#include "gui/common/LinkLabel.h"

#include <QMouseEvent>

namespace orvel {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  QPalette blue = palette();
  blue.setColor(QPalette::WindowText, QColor(0x0000FF));
  setPalette(blue);
  setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}

}  // namespace orvel
