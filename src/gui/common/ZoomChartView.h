#pragma once

#include <QChartView>
#include <QPoint>
#include <QString>

namespace orvel {

// A chart view the user zooms by dragging a rectangle and scrolls by
// dragging with the right button, as the charts' hint labels say. A
// right-click without a drag zooms back out; on a chart the user has not
// zoomed or scrolled, it opens the view's actions as a context menu
// instead, if it has any.
class ZoomChartView final : public QChartView {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ZoomChartView)

public:
  explicit ZoomChartView(QWidget* parent = nullptr);

  // The hint label that tells the user how to zoom and scroll, on the
  // chart's top at height `top`; it lets the mouse through to the chart.
  void AddHint(const QString& name, int top);

signals:
  // The user changed the visible range by zooming or scrolling.
  void userChangedRange();
  // The user zoomed back out to the chart's own range.
  void userResetRange();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  bool scrolling_ = false;
  bool scrolled_ = false;
  bool zoomed_ = false;  // by the user, since the last zoom back out
  QPoint last_;
};

}  // namespace orvel
