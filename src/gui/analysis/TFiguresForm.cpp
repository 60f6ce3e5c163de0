#include "gui/analysis/TFiguresForm.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPieSeries>
#include <QPieSlice>
#include <QTableView>

#include <algorithm>
#include <vector>

#include "core/analysis/FigureTexts.h"
#include "core/analysis/ResultTexts.h"
#include "gui/common/ChartLegend.h"
#include "gui/common/TextRowsModel.h"
#include "gui/common/WindowLook.h"

using namespace Qt::StringLiterals;

namespace orvel {

namespace {

// The analysis window's colours of the six modes.
const std::array<QColor, Mode::kCount> kModeColors{QColor(0x000080), QColor(0xFF00FF), QColor(0x00FF00),
                                                   QColor(0xFFFF00), QColor(0xFF0000), QColor(0xFFFFFF)};

}  // namespace

TFiguresForm::TFiguresForm(QWidget* owner) : QWidget(owner, Qt::Window), figures_(MachineFigures()) {
  setObjectName(u"FiguresForm"_s);
  setWindowTitle(u"解析値"_s);
  setFont(FormFont());

  const std::vector<FigureRow> rows = FigureRows(figures_);
  QStringList headers{QString()};
  for (std::int32_t level = Level::kMin; level <= Level::kMax; ++level) headers << u"設定%1"_s.arg(level);
  model_ = new TextRowsModel(
      headers,
      [rows](int row) {
        QStringList texts;
        if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return texts;
        const FigureRow& r = rows[static_cast<std::size_t>(row)];
        texts << ToQString(r.caption);
        for (const std::string& text : r.texts) texts << ToQString(text);
        return texts;
      },
      this);
  model_->RefreshAll(static_cast<int>(rows.size()));

  table_ = new QTableView(this);
  table_->setObjectName(u"FiguresListView"_s);
  table_->setModel(model_);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setShowGrid(false);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setMinimumSectionSize(1);
  table_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 2);
  table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  table_->horizontalHeader()->setSectionsMovable(false);
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Every column as wide as its widest text, every row in view.
  const QFontMetrics cells(font());
  int width = 0;
  for (int c = 0; c < model_->columnCount(); ++c) {
    int column = cells.horizontalAdvance(model_->headerData(c, Qt::Horizontal).toString()) + 20;
    for (int r = 0; r < model_->rowCount(); ++r) {
      column = std::max(column, cells.horizontalAdvance(model_->index(r, c).data().toString()) + 14);
    }
    table_->horizontalHeader()->resizeSection(c, column);
    width += column;
  }
  const int frame = 2 * table_->frameWidth();
  const int height = table_->horizontalHeader()->sizeHint().height() +
                     model_->rowCount() * table_->verticalHeader()->defaultSectionSize() + frame;
  table_->setGeometry(8, 8, width + frame, height);

  auto* label = new QLabel(u"モード別滞在率：設定"_s, this);
  label->setObjectName(u"LevelLabel"_s);
  levelBox_ = new QComboBox(this);
  levelBox_->setObjectName(u"LevelComboBox"_s);
  for (std::int32_t level = Level::kMin; level <= Level::kMax; ++level) levelBox_->addItem(QString::number(level));
  const int right = table_->geometry().right() + 12;
  label->setGeometry(right, 8, label->sizeHint().width(), 24);
  levelBox_->setGeometry(right + label->width() + 4, 8, 56, 24);

  auto* view = new QChartView(this);
  view->setObjectName(u"FiguresChart"_s);
  view->setGeometry(right, 40, 300, 200);
  auto* chart = new QChart();
  chart->setBackgroundRoundness(0);
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->legend()->hide();
  pie_ = new QPieSeries(chart);
  pie_->setObjectName(u"ModeShareSeries"_s);
  pie_->setPieSize(0.95);
  chart->addSeries(pie_);
  InstallChart(view, chart);
  view->setRenderHint(QPainter::Antialiasing);
  legend_ = new ChartLegend(view);
  legend_->setObjectName(u"ModeShareLegend"_s);
  QList<ChartLegend::Entry> entries;
  for (std::int32_t m = 0; m < Mode::kCount; ++m) {
    QPieSlice* slice = pie_->append(ToQString(ModeName(m)), 0);
    slice->setColor(kModeColors[static_cast<std::size_t>(m)]);
    slice->setBorderColor(Qt::black);
    entries.append({slice->label(), slice->color()});
  }
  legend_->SetEntries(entries);
  const QSize size = legend_->sizeHint();
  legend_->setGeometry(view->width() - size.width() - 6, (view->height() - size.height()) / 2, size.width(),
                       size.height());
  chart->setPlotArea(QRectF(2, 2, legend_->x() - 8, view->height() - 4));

  setFixedSize(view->geometry().right() + 9, std::max(table_->geometry().bottom(), view->geometry().bottom()) + 9);
  connect(levelBox_, &QComboBox::currentIndexChanged, this, &TFiguresForm::LevelComboBoxChange);
  LevelComboBoxChange(0);
}

TFiguresForm::~TFiguresForm() = default;

void TFiguresForm::LevelComboBoxChange(int index) {
  if (index < 0 || index >= Level::kCount) return;
  const ExactFigures& f = figures_[static_cast<std::size_t>(index)];
  const QList<QPieSlice*> slices = pie_->slices();
  for (qsizetype m = 0; m < slices.size(); ++m) slices[m]->setValue(f.modeShares[static_cast<std::size_t>(m)]);
}

}  // namespace orvel
