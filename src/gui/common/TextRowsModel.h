#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

namespace orvel {

// A read-only table whose rows are made on demand: the owner says how many
// rows there are and supplies a row's texts when a view asks for them. The
// play list of a million games keeps its rows as integers elsewhere and
// costs strings only for the rows on the screen.
class TextRowsModel final : public QAbstractTableModel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TextRowsModel)

public:
  using RowTexts = std::function<QStringList(int row)>;

  TextRowsModel(QStringList headers, RowTexts rowTexts, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Grows to `rows` with one insertion for the whole batch, or, when
  // `rows` is smaller, starts over.
  void SetRowCount(int rows);
  // Every row may have new texts (the small tables, rebuilt each refresh).
  void RefreshAll(int rows);

private:
  QStringList headers_;
  RowTexts rowTexts_;
  int rows_ = 0;
};

}  // namespace orvel
