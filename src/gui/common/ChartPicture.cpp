#include "gui/common/ChartPicture.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QChartView>
#include <QClipboard>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "gui/common/ErrorBox.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/ZoomChartView.h"

using namespace Qt::StringLiterals;

namespace orvel {

QImage ChartImage(QChartView* view) {
  QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  view->render(&painter);
  return image;
}

QString SaveBytes(const QString& file, const QByteArray& bytes) {
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return u"'%1' に書き込めません（%2）。"_s.arg(file, out.errorString());
  if (out.write(bytes) != bytes.size() || !out.commit()) {
    // QSaveFile drops its temporary file: the old file stays as it was.
    return u"'%1' に書き込めません（%2）。"_s.arg(file, out.errorString());
  }
  return {};
}

QString SaveChartPicture(QChartView* view, const QString& file) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (file.endsWith(u".svg"_s, Qt::CaseInsensitive)) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(view->size());
    svg.setViewBox(view->rect());
    svg.setTitle(view->chart() ? view->chart()->title() : QString());
    QPainter painter(&svg);
    view->render(&painter);
  } else {
    ChartImage(view).save(&buffer, "PNG");
  }
  buffer.close();
  return SaveBytes(file, bytes);
}

void CopyChartPicture(QChartView* view) { QApplication::clipboard()->setImage(ChartImage(view)); }

void AddChartMenu(QChartView* view) {
  auto* save = new QAction(u"画像として保存…"_s, view);
  save->setObjectName(view->objectName() + u"SaveMenu"_s);
  auto* copy = new QAction(u"コピー"_s, view);
  copy->setObjectName(view->objectName() + u"CopyMenu"_s);
  view->addAction(save);
  view->addAction(copy);
  QObject::connect(save, &QAction::triggered, view, [view] {
    const QString file = AskSaveFile(view->window(), u"画像として保存"_s, u"PNG画像 (*.png);;SVG画像 (*.svg)"_s,
                                     view->objectName() + u".png"_s, u"png"_s);
    if (file.isEmpty()) return;
    const QString error = SaveChartPicture(view, file);
    if (!error.isEmpty()) ShowErrorDialog(error, view->window());
  });
  QObject::connect(copy, &QAction::triggered, view, [view] { CopyChartPicture(view); });
  // A ZoomChartView opens the menu itself: its right button also scrolls.
  if (qobject_cast<ZoomChartView*>(view) != nullptr) return;
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(view, &QWidget::customContextMenuRequested, view,
                   [view](const QPoint& at) { QMenu::exec(view->actions(), view->mapToGlobal(at), nullptr, view); });
}

}  // namespace orvel
