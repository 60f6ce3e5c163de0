#include "gui/common/WindowLook.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QScreen>
#include <QStatusBar>
#include <QValueAxis>
#include <QWidget>

#include <cmath>
#include <memory>

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

void SetAxisFonts(QAbstractAxis* axis) {
  // The chart's default font has no Japanese glyphs: the fallback font
  // draws them taller than the chart measured, and the chart then elides a
  // vertical title such as 滞在モード to "⋮". A Japanese font from the start
  // is measured as it is drawn.
  QFont titleFont = FormFont();
  titleFont.setBold(true);
  axis->setTitleFont(titleFont);
  axis->setLabelsFont(FormFont());
}

QValueAxis* AddIntegerAxis(QChart* chart, const QString& title, Qt::Alignment alignment) {
  auto* axis = new QValueAxis(chart);
  axis->setTitleText(title);
  axis->setLabelFormat(u"%d"_s);
  SetAxisFonts(axis);
  chart->addAxis(axis, alignment);
  return axis;
}

QPen SlumpPen() {
  QPen red(QColor(0xFF0000));
  red.setWidth(2);
  return red;
}

void InstallChart(QChartView* view, QChart* chart) {
  const std::unique_ptr<QChart> previous(view->chart());
  view->setChart(chart);
}

QLabel* AddStatusPanel(QStatusBar* bar, const QString& name, int width, Qt::Alignment alignment) {
  auto* panel = new QLabel(bar);
  panel->setObjectName(name);
  panel->setFixedWidth(width);
  panel->setAlignment(alignment);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  bar->addWidget(panel);
  return panel;
}

void SetRangeWithRoundTicks(QValueAxis* axis, double min, double max, int ticks) {
  // A chart ignores an empty range: one value, or a run whose points are
  // all equal, gets one unit of room on each side so its point shows.
  if (max - min < 1) {
    min -= 1;
    max += 1;
  }
  const double rough = (max - min) / ticks;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = power;
  for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
    step = factor * power;
    if (step >= rough) break;
  }
  // The labels are integers: a step below one would print one number twice.
  step = std::max(step, 1.0);
  // Every change lays the chart out again: change only what differs.
  if (axis->tickType() != QValueAxis::TicksDynamic) axis->setTickType(QValueAxis::TicksDynamic);
  if (axis->tickAnchor() != 0) axis->setTickAnchor(0);
  if (axis->tickInterval() != step) axis->setTickInterval(step);
  if (axis->min() != min || axis->max() != max) axis->setRange(min, max);
}

bool SwallowButtonKeys(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: event->accept(); return true;
    default: return false;
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
