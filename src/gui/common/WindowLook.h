#pragma once

#include <QFont>
#include <QPen>
#include <QString>
#include <QStringList>

#include <array>
#include <string>

class QAbstractAxis;
class QChart;
class QChartView;
class QKeyEvent;
class QLabel;
class QStatusBar;
class QValueAxis;
class QWidget;

// What the windows share of their look, and the bridge from the core's
// UTF-8 texts to Qt's strings.
namespace orvel {

inline QString ToQString(const std::string& text) { return QString::fromStdString(text); }

template <std::size_t N>
QStringList ToQStringList(const std::array<std::string, N>& texts) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(N));
  for (const auto& text : texts) list.append(ToQString(text));
  return list;
}

// The forms' font: ＭＳ Ｐゴシック at 12 pixels where it exists, else a
// Japanese sans-serif font of the same size.
QFont FormFont();

// A flat chart on a silver-to-white background with a left-aligned title.
void StyleChart(QChart* chart, const QString& title);

// The forms' font for an axis' title (bold) and labels.
void SetAxisFonts(QAbstractAxis* axis);

// A value axis with integer labels, added to `chart` at `alignment`.
QValueAxis* AddIntegerAxis(QChart* chart, const QString& title, Qt::Alignment alignment);

// The slump charts' medal line: red, two pixels wide.
QPen SlumpPen();

// Puts `chart` into `view`, which owns it from then on. A chart view starts
// with a chart of its own that setChart merely lets go of: it is deleted
// here.
void InstallChart(QChartView* view, QChart* chart);

// A sunken panel of `width` pixels added to a status bar.
QLabel* AddStatusPanel(QStatusBar* bar, const QString& name, int width,
                       Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// Sets an axis to min … max with ticks on round whole numbers (1, 2 or 5
// times a power of ten, never below 1), about `ticks` of them (a short axis
// has room for fewer labels). A range narrower than one unit (a single
// value) is widened by one on each side.
void SetRangeWithRoundTicks(QValueAxis* axis, double min, double max, int ticks = 6);

// The setting dialogs bind neither Enter nor Escape to a button: true when
// the key was one of them and has been swallowed.
bool SwallowButtonKeys(QKeyEvent* event);

// Places a top-level window at the centre of its screen.
void CentreOnScreen(QWidget* window);

}  // namespace orvel
