#pragma once

#include <QLabel>

namespace orvel {

// A label drawn as a link, blue and underlined under a hand cursor, that
// reports a click.
class LinkLabel final : public QLabel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(LinkLabel)

public:
  explicit LinkLabel(QWidget* parent = nullptr);

signals:
  void clicked();

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace orvel
