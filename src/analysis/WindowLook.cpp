#include "analysis/WindowLook.h"

#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QLinearGradient>
#include <QScreen>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace orvel {

QFont FormFont() {
  QFont font;
  font.setFamilies({u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"Noto Sans CJK JP"_s, u"Noto Sans JP"_s});
  font.setPixelSize(12);
  return font;
}

void StyleChart(QChart* chart, const QString& title) {
  QLinearGradient background(0, 0, 0, 1);
  background.setCoordinateMode(QGradient::ObjectBoundingMode);
  background.setColorAt(0, QColor(0xC0, 0xC0, 0xC0));
  background.setColorAt(1, Qt::white);
  chart->setBackgroundBrush(background);
  chart->setBackgroundRoundness(0);
  chart->setDropShadowEnabled(false);
  chart->setMargins(QMargins(2, title.isEmpty() ? 2 : 16, 2, 2));
  if (!title.isEmpty()) {
    // QChart centres its own title; this one stands at the left.
    auto* item = new QGraphicsSimpleTextItem(title, chart);
    QFont font = FormFont();
    font.setBold(true);
    item->setFont(font);
    item->setPos(6, 3);
  }
}

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (!screen) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

}  // namespace orvel
