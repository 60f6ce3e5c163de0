#include "gui/common/ListCsv.h"

#include <QAbstractItemView>
#include <QAction>
#include <QMenu>

#include <string>
#include <vector>

#include "core/hall/HallExport.h"
#include "gui/common/ChartPicture.h"
#include "gui/common/ErrorBox.h"
#include "gui/common/FileDialogs.h"

using namespace Qt::StringLiterals;

namespace orvel {

QByteArray ModelCsv(const QAbstractItemModel& model) {
  std::vector<std::vector<std::string>> rows;
  rows.reserve(static_cast<std::size_t>(model.rowCount()) + 1);
  const int columns = model.columnCount();
  auto& captions = rows.emplace_back();
  for (int c = 0; c < columns; ++c) captions.push_back(model.headerData(c, Qt::Horizontal).toString().toStdString());
  for (int r = 0; r < model.rowCount(); ++r) {
    auto& row = rows.emplace_back();
    row.reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) row.push_back(model.index(r, c).data().toString().toStdString());
  }
  const std::string text = CsvText(rows);
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

void AddListCsvMenu(QAbstractItemView* view) {
  auto* save = new QAction(u"CSVで保存…"_s, view);
  save->setObjectName(view->objectName() + u"CsvMenu"_s);
  view->addAction(save);
  QObject::connect(save, &QAction::triggered, view, [view] {
    if (view->model() == nullptr) return;
    const QString file =
        AskSaveFile(view->window(), u"CSVで保存"_s, u"CSVファイル (*.csv)"_s, view->objectName() + u".csv"_s, u"csv"_s);
    if (file.isEmpty()) return;
    const QString error = SaveBytes(file, ModelCsv(*view->model()));
    if (!error.isEmpty()) ShowErrorDialog(error, view->window());
  });
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(view, &QWidget::customContextMenuRequested, view, [view](const QPoint& at) {
    QMenu::exec(view->actions(), view->viewport()->mapToGlobal(at), nullptr, view);
  });
}

}  // namespace orvel
