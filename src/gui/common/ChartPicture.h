#pragma once

#include <QImage>
#include <QString>

class QChartView;
class QWidget;

namespace orvel {

// A chart as the user sees it, at its view's size, for other programs.
QImage ChartImage(QChartView* view);
// Writes the chart to `file`: SVG for a name ending in ".svg", PNG
// otherwise. The file is replaced only once complete (QSaveFile). Returns
// the message for the error box, empty on success.
QString SaveChartPicture(QChartView* view, const QString& file);
// The chart as an image on the clipboard.
void CopyChartPicture(QChartView* view);

// The chart's context menu: "画像として保存…" (a file dialog, then
// SaveChartPicture) and "コピー". On a ZoomChartView it opens on a
// right-click without a drag while the chart is not zoomed (a zoomed one
// zooms back out first, as before); on others on any right-click.
void AddChartMenu(QChartView* view);

// Writes `bytes` to `file` through QSaveFile. Returns the message for the
// error box, empty on success.
QString SaveBytes(const QString& file, const QByteArray& bytes);

}  // namespace orvel
