#pragma once

#include <QWidget>

#include <array>

#include "core/analysis/ExactFigures.h"

class QComboBox;
class QPieSeries;
class QTableView;

namespace orvel {

class ChartLegend;
class TextRowsModel;

// The 解析値 window: the machine's exact long-run figures for settings
// 1 … 6 as a table (rates as 1/x.x, 機械割 and the shares in percent), and
// a pie of the mode shares of the setting chosen in its combo box. The
// figures are computed from the tables once, when the window is made.
class TFiguresForm final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TFiguresForm)

public:
  explicit TFiguresForm(QWidget* owner);
  ~TFiguresForm() override;

  void LevelComboBoxChange(int index);

private:
  std::array<ExactFigures, Level::kCount> figures_;
  TextRowsModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  QComboBox* levelBox_ = nullptr;
  QPieSeries* pie_ = nullptr;
  ChartLegend* legend_ = nullptr;
};

}  // namespace orvel
