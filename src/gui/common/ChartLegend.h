#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>

namespace orvel {

// A chart's legend: one coloured mark and label per entry, one under the
// other at a fixed step, as wide as its longest label. The charts' own
// legend spaces its entries by the font's line height, which the Japanese
// fonts make so tall that eight entries do not fit beside a pie of the
// design's height; it elides labels on a narrow chart; and laid over a
// plot it narrows the plot or, detached, loses its entries.
class ChartLegend final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ChartLegend)

public:
  enum class Shape { Square, Circle, Triangle, Diamond };

  struct Entry {
    QString label;
    QColor color;
    Shape shape = Shape::Square;
  };

  explicit ChartLegend(QWidget* parent = nullptr);

  void SetEntries(const QList<Entry>& entries);
  const QList<Entry>& entries() const { return entries_; }
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QList<Entry> entries_;
};

}  // namespace orvel
