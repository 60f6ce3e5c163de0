#include "gui/common/TextRowsModel.h"

namespace orvel {

TextRowsModel::TextRowsModel(QStringList headers, RowTexts rowTexts, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)), rowTexts_(std::move(rowTexts)) {}

int TextRowsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TextRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant TextRowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const QStringList texts = rowTexts_(index.row());
  return index.column() < texts.size() ? QVariant(texts[index.column()]) : QVariant(QString());
}

QVariant TextRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= headers_.size()) {
    return {};
  }
  return headers_[section];
}

void TextRowsModel::SetRowCount(int rows) {
  if (rows == rows_) return;
  if (rows > rows_) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  } else {
    beginResetModel();
    rows_ = rows;
    endResetModel();
  }
}

void TextRowsModel::RefreshAll(int rows) {
  if (rows != rows_) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
  } else if (rows_ > 0) {
    emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1), {Qt::DisplayRole});
  }
}

}  // namespace orvel
