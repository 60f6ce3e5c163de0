#pragma once

#include <QByteArray>

class QAbstractItemModel;
class QAbstractItemView;

namespace orvel {

// A list's texts as CSV (CsvText: UTF-8 with a byte-order mark, "\r\n"):
// the column captions, then every row's texts as the list shows them.
QByteArray ModelCsv(const QAbstractItemModel& model);

// The list's context menu with "CSVで保存…": a file dialog, then ModelCsv
// written whole or not at all.
void AddListCsvMenu(QAbstractItemView* view);

}  // namespace orvel
