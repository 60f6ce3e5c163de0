#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

#include "core/hall/HallGrid.h"

namespace orvel {

// The texts of the seat grid as RefreshGrid last wrote them.
// Row r holds seat r (grid row r + 1 below the caption row, which is the
// header); column 0, the seat number, is drawn like a header.
class HallGridModel final : public QAbstractTableModel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(HallGridModel)

public:
  using Row = std::array<QString, HallGridColumn::Count>;

  explicit HallGridModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Replaces every row; rows that stay are reported as changed in one batch.
  void SetRows(std::vector<Row> rows);
  const QString& Cell(int seat, int column) const;

private:
  std::vector<Row> rows_;
};

}  // namespace orvel
