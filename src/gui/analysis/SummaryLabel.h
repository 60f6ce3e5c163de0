#pragma once

#include <QLabel>

namespace orvel {

// The four-line summary in a box of the design's height. Japanese fonts on
// today's desktops have far taller line spacing than the original Windows
// font, so the lines are drawn at a fixed, tighter step; text() stays the
// plain summary, and sizeHint() says what the drawing needs.
class SummaryLabel final : public QLabel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(SummaryLabel)

public:
  explicit SummaryLabel(QWidget* parent = nullptr);

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace orvel
