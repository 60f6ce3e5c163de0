#include "gui/hall/HallGridModel.h"

#include <QApplication>
#include <QPalette>

#include "gui/common/WindowLook.h"

namespace orvel {

HallGridModel::HallGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int HallGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HallGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : HallGridColumn::Count;
}

QVariant HallGridModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  switch (role) {
    case Qt::DisplayRole: return rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    case Qt::TextAlignmentRole:
      return index.column() == HallGridColumn::Mode ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                    : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
      // The fixed column of seat numbers.
      return index.column() == HallGridColumn::Seat ? QVariant(QApplication::palette().button()) : QVariant();
    default: return {};
  }
}

QVariant HallGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= HallGridColumn::Count) {
    return {};
  }
  return ToQString(HallGridCaptions()[static_cast<std::size_t>(section)]);
}

void HallGridModel::SetRows(std::vector<Row> rows) {
  const int before = static_cast<int>(rows_.size());
  const int after = static_cast<int>(rows.size());
  if (after < before) {
    beginRemoveRows({}, after, before - 1);
    rows_.resize(static_cast<std::size_t>(after));
    endRemoveRows();
  } else if (after > before) {
    beginInsertRows({}, before, after - 1);
    rows_.resize(static_cast<std::size_t>(after));
    endInsertRows();
  }
  rows_ = std::move(rows);
  if (after > 0) emit dataChanged(index(0, 0), index(after - 1, HallGridColumn::Count - 1), {Qt::DisplayRole});
}

const QString& HallGridModel::Cell(int seat, int column) const {
  return rows_.at(static_cast<std::size_t>(seat)).at(static_cast<std::size_t>(column));
}

}  // namespace orvel
