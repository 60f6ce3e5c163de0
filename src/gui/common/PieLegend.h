#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>

namespace orvel {

// A pie's legend: one coloured square and label per slice, one under the
// other at a fixed step. The charts' own legend spaces its entries by the
// font's line height, which the Japanese fonts make so tall that eight
// entries do not fit beside a pie of the design's height, and it elides
// labels on a narrow chart; this one is as wide as its longest label.
class PieLegend final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(PieLegend)

public:
  struct Entry {
    QString label;
    QColor color;
  };

  explicit PieLegend(QWidget* parent = nullptr);

  void SetEntries(const QList<Entry>& entries);
  const QList<Entry>& entries() const { return entries_; }
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QList<Entry> entries_;
};

}  // namespace orvel
