#include "gui/analysis/Unit1.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QHeaderView>
#include <QStyle>
#include <QTabBar>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTreeView>
#include <QValueAxis>

#include <algorithm>

#include "core/analysis/FigureTexts.h"
#include "core/analysis/ResultTexts.h"
#include "core/analysis/Result_data.h"
#include "core/model/Codes.h"
#include "gui/common/ChartPicture.h"
#include "gui/common/ListCsv.h"
#include "gui/common/ChartLegend.h"
#include "gui/common/CompactTabStyle.h"
#include "gui/common/DisplayScheduler.h"
#include "gui/common/TextRowsModel.h"
#include "gui/common/TimeSlice.h"
#include "gui/common/VisibleLine.h"
#include "gui/common/WindowLook.h"
#include "gui/common/ZoomChartView.h"
#include "ui_Unit1.h"

using namespace Qt::StringLiterals;

namespace orvel {

namespace {

// Games taken in between two looks at the clock while catching up.
constexpr int kChunk = 2048;

struct MarkerLook {
  const char* name;
  QString title;
  QScatterSeries::MarkerShape shape;
  QColor color;
  ChartLegend::Shape legendShape;
};

// In drawing order: Cherry4, Suika_A, Suika_B, Chance, Cherry2.
const std::array<std::pair<Marker, MarkerLook>, 5> kMarkerLooks{{
    {Marker::Cherry4, {"Cherry4", u"4枚チェリー"_s, QScatterSeries::MarkerShapeCircle, QColor(0xFF00FF),
                       ChartLegend::Shape::Circle}},
    {Marker::SuikaA, {"Suika_A", u"スイカA"_s, QScatterSeries::MarkerShapeTriangle, QColor(0x00FF00),
                      ChartLegend::Shape::Triangle}},
    {Marker::SuikaB, {"Suika_B", u"スイカB"_s, QScatterSeries::MarkerShapeTriangle, QColor(0x008000),
                      ChartLegend::Shape::Triangle}},
    {Marker::Chance, {"Chance", u"チャンス目"_s, QScatterSeries::MarkerShapeRotatedRectangle, QColor(0xFFFFFF),
                      ChartLegend::Shape::Diamond}},
    {Marker::Cherry2, {"Cherry2", u"2枚チェリー"_s, QScatterSeries::MarkerShapeCircle, QColor(0xFF0000),
                       ChartLegend::Shape::Circle}},
}};

const std::array<QColor, Koyaku::kWeightedCount> kKoyakuSliceColors{
    QColor(0xFF0000), QColor(0xFF00FF), QColor(0x00FF00), QColor(0x008000),
    QColor(0x0000FF), QColor(0x00FFFF), QColor(0xFFFF00), QColor(0xFFFFFF)};
const std::array<QColor, Mode::kCount> kModeSliceColors{QColor(0x000080), QColor(0xFF00FF), QColor(0x00FF00),
                                                        QColor(0xFFFF00), QColor(0xFF0000), QColor(0xFFFFFF)};
const std::array<QColor, KeizokuMode::kCount> kKeizokuSliceColors{QColor(0x0000FF), QColor(0xFF00FF),
                                                                  QColor(0x00FF00), QColor(0xFFFF00)};

// A column: its design width and the widest texts it must show whole (the
// core's reals have up to 15 significant digits, so a rate can take 19
// characters; play counts are shown for runs of up to 99,999,999 games).
struct ColumnLook {
  int width;
  QStringList widest;
};

const QString kWidestCount = u"99999999"_s;
const QString kWidestRate = u"0.00273972602739726"_s;
const QString kWidestOdds = u"1/3636.36363636364"_s;
const QStringList kWidestPatterns{u"2枚チェリー"_s, u"4枚チェリー"_s, u"チャンス目"_s, u"Orvel×99"_s};
const QStringList kWidestModes{u"Orvel揃い"_s, u"ハマリ"_s, u"継続A"_s};

// Sets the columns to their design widths, widened where the header or the
// widest text would be cut off, and the list to the width its columns need
// (with room for a scroll bar in a list that grows). A list that holds a
// fixed table of `rows` rows is made tall enough for all of them. Returns
// the list's right edge.
int SetColumns(QAbstractItemView* view, TextRowsModel* model, std::initializer_list<ColumnLook> columns,
               int rows = 0) {
  view->setModel(model);
  QHeaderView* header = nullptr;
  if (auto* table = qobject_cast<QTableView*>(view)) {
    // The play list: a table whose rows all have the font's height. Unlike
    // a tree it keeps nothing per row, so a million rows cost nothing to lay
    // out when a window is opened after a long run.
    header = table->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(QFontMetrics(view->font()).height() + 2);
  } else if (auto* tree = qobject_cast<QTreeView*>(view)) {
    header = tree->header();
  } else {
    return view->geometry().right();
  }
  header->setStretchLastSection(false);
  header->setSectionsMovable(false);
  const QFontMetrics cells(view->font());
  const QFontMetrics titles(header->font());
  const int headerMargin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 4;
  constexpr int kCellMargin = 10;
  int column = 0;
  int total = 0;
  for (const ColumnLook& look : columns) {
    int width = std::max(look.width, titles.horizontalAdvance(model->headerData(column, Qt::Horizontal).toString()) +
                                         headerMargin);
    for (const QString& text : look.widest) width = std::max(width, cells.horizontalAdvance(text) + kCellMargin);
    header->resizeSection(column++, width);
    total += width;
  }
  const int frame = 2 * view->frameWidth();
  const int scrollBar = rows == 0 ? view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view) : 0;
  QRect place = view->geometry();
  place.setWidth(std::max(place.width(), total + frame + scrollBar));
  if (rows > 0) {
    // The row height as the list will draw it, taken from a filled model.
    model->RefreshAll(rows);
    const int rowHeight = view->sizeHintForRow(0);
    model->RefreshAll(0);
    place.setHeight(header->sizeHint().height() + rows * rowHeight + frame);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view->setGeometry(place);
  return place.right();
}

// A pie chart beside its table: it keeps its right edge and gives up room
// on the left where the table has grown.
void PlaceBeside(QWidget* chart, int listRight) {
  QRect place = chart->geometry();
  place.setLeft(std::max(place.left(), listRight + 8));
  chart->setGeometry(place);
}

// The legend at the right edge of the pie's view, the pie in the rest.
void PlaceChartLegend(QPieSeries* pie, ChartLegend* legend) {
  auto* view = static_cast<QWidget*>(legend->parent());
  const QSize size = legend->sizeHint();
  legend->setGeometry(view->width() - size.width() - 6, (view->height() - size.height()) / 2, size.width(),
                      size.height());
  pie->chart()->setPlotArea(QRectF(2, 2, legend->x() - 8, view->height() - 4));
}

template <std::size_t N>
void FillPie(QPieSeries* pie, ChartLegend* legend, const std::vector<TableRow>& rows,
             const std::array<QColor, N>& colors) {
  if (static_cast<std::size_t>(pie->count()) == std::min(rows.size(), N)) {
    // The same slices with new values: no slice is made again.
    const QList<QPieSlice*> slices = pie->slices();
    for (qsizetype i = 0; i < slices.size(); ++i) slices[i]->setValue(rows[static_cast<std::size_t>(i)].pieValue);
    return;
  }
  pie->clear();
  QList<ChartLegend::Entry> entries;
  for (std::size_t i = 0; i < rows.size() && i < N; ++i) {
    QPieSlice* slice = pie->append(ToQString(rows[i].pieLabel), rows[i].pieValue);
    slice->setColor(colors[i]);
    slice->setBorderColor(Qt::black);
    slice->setLabelVisible(false);
    entries.append({slice->label(), colors[i]});
  }
  legend->SetEntries(entries);
  PlaceChartLegend(pie, legend);
}

QStringList TableTexts(const std::vector<TableRow>& rows, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return {};
  return ToQStringList(rows[static_cast<std::size_t>(row)].texts);
}

}  // namespace

TMainForm::TMainForm(QWidget* owner, DisplayScheduler* scheduler) : QWidget(owner, Qt::Window), scheduler_(scheduler) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowTitle(u"Orvelsim"_s);
  setFixedSize(606, 716);
  setFont(FormFont());
  ClearResult();
  if (scheduler_) {
    // A hidden window waits for its show.
    scheduler_->Add(this, [this](const TimeSlice& slice) { return !ui_ || !isVisible() || CatchUp(&slice); });
  }
}

TMainForm::~TMainForm() {
  if (scheduler_) scheduler_->Remove(this);
  // The views ask their models for rows while they are torn down, and the
  // models read analysis_: the children go first, while it still exists.
  hide();
  qDeleteAll(findChildren<QObject*>(Qt::FindDirectChildrenOnly));
}

void TMainForm::EnsureBuilt() {
  if (ui_) return;
  ui_ = std::make_unique<Ui::TMainForm>();
  // setupUi sets the design's caption: the one the hall gave this seat stays.
  const QString title = windowTitle();
  ui_->setupUi(this);
  setWindowTitle(title);
  setFixedSize(606, 716);
  // Seven page titles fit the window's width only with narrower tab margins.
  // The style belongs to the tab bar, which outlives every use of it.
  auto* tabs = ui_->PageControl1->findChild<QTabBar*>();
  auto* compact = new CompactTabStyle(12);
  compact->setParent(tabs);
  tabs->setStyle(compact);

  playModel_ = new TextRowsModel({u"PLAY数"_s, u"PLAY数2"_s, u"絵柄"_s, u"モード"_s, u"メダル数"_s},
                                 [this](int row) { return ResultListViewData(row); }, this);
  bonusModel_ = new TextRowsModel(
      {u"PLAY数"_s, u"PLAY数2"_s, u"絵柄"_s, u"モード"_s, u"終了移行"_s, u"獲得メダル"_s},
      [this](int row) { return ToQStringList(analysis_.BonusRowTexts(static_cast<std::size_t>(row))); }, this);
  modeChangeModel_ = new TextRowsModel(
      {u"PLAY数"_s, u"PLAY数2"_s, u"絵柄"_s, u"モード"_s},
      [this](int row) { return ToQStringList(analysis_.ModeChangeRowTexts(static_cast<std::size_t>(row))); },
      this);
  koyakuModel_ = new TextRowsModel({u"絵柄"_s, u"出現回数"_s, u"出現率"_s, u"出現率(1/X)"_s},
                                   [this](int row) { return TableTexts(koyakuRows_, row); }, this);
  modeStayModel_ = new TextRowsModel({u"モード"_s, u"滞在プレイ数"_s, u"滞在率"_s, u"滞在率(1/X)"_s},
                                     [this](int row) { return TableTexts(modeStayRows_, row); }, this);
  keizokuModel_ = new TextRowsModel({u"継続モード"_s, u"抽選回数"_s, u"抽選率"_s, u"抽選率(1/X)"_s},
                                    [this](int row) { return TableTexts(keizokuRows_, row); }, this);
  QStringList estimateHeaders;
  for (const std::string& header : EstimateHeaders()) estimateHeaders << ToQString(header);
  estimateModel_ = new TextRowsModel(
      estimateHeaders,
      [this](int row) {
        QStringList texts;
        if (row >= 0 && static_cast<std::size_t>(row) < estimateRows_.size()) {
          for (const std::string& text : estimateRows_[static_cast<std::size_t>(row)]) texts << ToQString(text);
        }
        return texts;
      },
      this);

  const ColumnLook count{70, {kWidestCount}};
  SetColumns(ui_->ResultListView, playModel_,
             {count, count, {70, kWidestPatterns}, {70, kWidestModes}, {70, {u"-9999999"_s}}});
  SetColumns(ui_->BBListView, bonusModel_,
             {count, count, {80, kWidestPatterns}, {70, kWidestModes}, {60, kWidestModes}, {70, {u"99999"_s}}});
  SetColumns(ui_->ModeChangeListView, modeChangeModel_,
             {count, count, {80, kWidestPatterns}, {70, kWidestModes}});
  const ColumnLook rate{70, {kWidestRate}};
  const ColumnLook odds{80, {kWidestOdds}};
  PlaceBeside(ui_->KoyakuChart,
              SetColumns(ui_->KoyakuListView, koyakuModel_, {{70, kWidestPatterns}, count, rate, odds}, 8));
  PlaceBeside(ui_->ModeStayChart,
              SetColumns(ui_->ModeStayListView, modeStayModel_, {{70, kWidestModes}, count, rate, odds}, 6));
  PlaceBeside(ui_->KModeChart,
              SetColumns(ui_->KeizokuSelectListView, keizokuModel_, {{70, kWidestModes}, count, rate, odds}, 4));
  // 事後確率 and the eight prizes that tell the settings apart, in a
  // smaller type: nine rows fill the page.
  QFont small = FormFont();
  small.setPixelSize(11);
  ui_->EstimateListView->setFont(small);
  ui_->EstimateListView->horizontalHeader()->setFont(small);
  ui_->EstimateLabel->setFont(small);
  // Counts are sized for seven digits, ten million games: the page has no
  // room for more beside the chart.
  const QString widestCount = u"9999999"_s;
  const ColumnLook expected{40, {widestCount, u"100.00 %"_s}};
  const int listRight = SetColumns(
      ui_->EstimateListView, estimateModel_,
      {{60, kWidestPatterns}, {40, {widestCount}}, expected, expected, expected, expected, expected, expected}, 9);
  {
    // Rows of the small type's height, all nine in view above the line.
    QHeaderView* rows = ui_->EstimateListView->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(QFontMetrics(small).height() - 1);
    QRect place = ui_->EstimateListView->geometry();
    place.setHeight(ui_->EstimateListView->horizontalHeader()->sizeHint().height() + 9 * rows->defaultSectionSize() +
                    2 * ui_->EstimateListView->frameWidth());
    ui_->EstimateListView->setGeometry(place);
  }
  PlaceBeside(ui_->EstimateChart, listRight);
  for (QTreeView* list : {ui_->BBListView, ui_->ModeChangeListView}) {
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  }

  BuildSlumpChart();
  BuildBarChart();
  koyakuPie_ = BuildPie(ui_->KoyakuChart, "KoyakuSeries", koyakuLegend_);
  modeStayPie_ = BuildPie(ui_->ModeStayChart, "ModeStaySeries", modeStayLegend_);
  keizokuPie_ = BuildPie(ui_->KModeChart, "KModeSeries", keizokuLegend_);
  figures_ = MachineFigures();
  BuildEstimateChart();

  // Two panels, 400 and 50 pixels; the second centred. Nothing is written.
  AddStatusPanel(ui_->StatusBar1, u"StatusPanel1"_s, 400);
  AddStatusPanel(ui_->StatusBar1, u"StatusPanel2"_s, 50, Qt::AlignCenter);

  connect(ui_->Che2CheckBox, &QCheckBox::clicked, this, &TMainForm::Che2CheckBoxClick);
  connect(ui_->Che4CheckBox, &QCheckBox::clicked, this, &TMainForm::Che4CheckBoxClick);
  connect(ui_->SuikaACheckBox, &QCheckBox::clicked, this, &TMainForm::SuikaACheckBoxClick);
  connect(ui_->SuikaBCheckBox, &QCheckBox::clicked, this, &TMainForm::SuikaBCheckBoxClick);
  connect(ui_->ChanceCheckBox, &QCheckBox::clicked, this, &TMainForm::ChanceCheckBoxClick);

  // Every list and chart can be taken to other programs.
  for (QAbstractItemView* list : std::initializer_list<QAbstractItemView*>{
           ui_->ResultListView, ui_->BBListView, ui_->ModeChangeListView, ui_->KoyakuListView, ui_->ModeStayListView,
           ui_->KeizokuSelectListView}) {
    AddListCsvMenu(list);
  }
  for (QChartView* chart : std::initializer_list<QChartView*>{ui_->SlumpChart, ui_->SlumpChart2, ui_->KoyakuChart,
                                                              ui_->ModeStayChart, ui_->KModeChart}) {
    AddChartMenu(chart);
  }

  ClearWidgets();
  // With a scheduler the show catches up, a slice at a time.
  if (!scheduler_) CatchUp(nullptr);
}

void TMainForm::BuildSlumpChart() {
  slumpChart_ = new QChart();
  slumpChart_->setObjectName(u"SlumpChartChart"_s);
  StyleChart(slumpChart_, u"スランプグラフ"_s);
  slumpChart_->setAnimationOptions(QChart::NoAnimation);

  playAxis_ = AddIntegerAxis(slumpChart_, u"play"_s, Qt::AlignBottom);
  medalAxis_ = AddIntegerAxis(slumpChart_, u"Medal"_s, Qt::AlignLeft);
  modeAxis_ = AddIntegerAxis(slumpChart_, u"滞在モード"_s, Qt::AlignRight);
  modeAxis_->setTickCount(Mode::kCount);
  ShowEmptyRange();

  modeSeries_ = new QLineSeries(slumpChart_);
  modeSeries_->setObjectName(u"ModeSeries"_s);
  modeSeries_->setColor(QColor(0x0080FF));
  slumpSeries_ = new QLineSeries(slumpChart_);
  slumpSeries_->setObjectName(u"SlumpSeries"_s);
  slumpSeries_->setPen(SlumpPen());
  slumpChart_->addSeries(modeSeries_);
  slumpChart_->addSeries(slumpSeries_);
  modeSeries_->attachAxis(playAxis_);
  modeSeries_->attachAxis(modeAxis_);
  slumpSeries_->attachAxis(playAxis_);
  slumpSeries_->attachAxis(medalAxis_);

  for (const auto& [marker, look] : kMarkerLooks) {
    auto* series = new QScatterSeries(slumpChart_);
    series->setObjectName(QString::fromLatin1(look.name));
    series->setName(look.title);
    series->setMarkerShape(look.shape);
    series->setMarkerSize(7);
    series->setColor(look.color);
    series->setBorderColor(Qt::black);
    slumpChart_->addSeries(series);
    series->attachAxis(playAxis_);
    series->attachAxis(medalAxis_);
    series->setVisible(false);
    markerSeries_[static_cast<std::size_t>(marker)] = series;
  }

  // The markers on show are listed at the plot's top right, over the plot:
  // ticking one never narrows the plot. The two lines stay out of it.
  slumpChart_->legend()->hide();
  markerLegend_ = new ChartLegend(ui_->SlumpChart);
  markerLegend_->setObjectName(u"MarkerLegend"_s);
  markerLegend_->setContentsMargins(4, 2, 4, 2);
  QPalette translucent = markerLegend_->palette();
  translucent.setColor(QPalette::Window, QColor(255, 255, 255, 220));
  markerLegend_->setPalette(translucent);
  markerLegend_->setAutoFillBackground(true);
  markerLegend_->hide();  // no marker is on show yet
  connect(slumpChart_, &QChart::plotAreaChanged, this, &TMainForm::PlaceMarkerLegend);

  InstallChart(ui_->SlumpChart, slumpChart_);
  ui_->SlumpChart->AddHint(u"Label4"_s, 12);
  // A zoom or scroll moves every axis; the mode axis stays 0 … 5. A
  // right-click without a drag shows the whole run again, not the ranges
  // from before the first zoom.
  connect(ui_->SlumpChart, &ZoomChartView::userChangedRange, this, [this] {
    modeAxis_->setRange(Mode::Hamari, Mode::BonusOrvel);
    DrawRange(playAxis_->min(), playAxis_->max());
  });
  connect(ui_->SlumpChart, &ZoomChartView::userResetRange, this, &TMainForm::ShowWholeRange);
}

void TMainForm::ShowEmptyRange() {
  modeAxis_->setRange(Mode::Hamari, Mode::BonusOrvel);
  SetRangeWithRoundTicks(playAxis_, 0, 24);
  SetRangeWithRoundTicks(medalAxis_, 0, 1);
}

void TMainForm::ShowWholeRange() {
  if (analysis_.N() == 0) {
    ShowEmptyRange();
    return;
  }
  modeAxis_->setRange(Mode::Hamari, Mode::BonusOrvel);
  ShowCharts();
}

void TMainForm::BuildBarChart() {
  auto* chart = new QChart();
  StyleChart(chart, u"スランプグラフ"_s);
  chart->legend()->hide();
  bars_ = new QBarSeries(chart);
  bars_->setObjectName(u"SlumpBSeries"_s);
  barSet_ = new QBarSet(QString(), bars_);
  barSet_->setColor(QColor(0xFF8E8E));
  barSet_->setBorderColor(Qt::white);
  barSet_->setLabelColor(Qt::black);
  bars_->append(barSet_);
  bars_->setLabelsVisible(true);
  bars_->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
  bars_->setBarWidth(0.7);
  QFont small = FormFont();
  small.setPixelSize(9);
  barSet_->setLabelFont(small);
  chart->addSeries(bars_);
  // Bar j stands at x = j; its label reads j + 1 (ボーナス回数 counts from 1).
  bonusAxis_ = new QCategoryAxis(chart);
  bonusAxis_->setTitleText(u"ボーナス回数"_s);
  bonusAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  bonusAxis_->setGridLineVisible(false);
  chart->addAxis(bonusAxis_, Qt::AlignBottom);
  barPlayAxis_ = AddIntegerAxis(chart, u"Play数"_s, Qt::AlignLeft);
  bars_->attachAxis(bonusAxis_);
  bars_->attachAxis(barPlayAxis_);
  InstallChart(ui_->SlumpChart2, chart);
  ui_->SlumpChart2->AddHint(u"Label5"_s, 8);
}

QPieSeries* TMainForm::BuildPie(QChartView* view, const char* name, ChartLegend*& legend) {
  auto* chart = new QChart();
  chart->setBackgroundRoundness(0);
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->legend()->hide();
  auto* pie = new QPieSeries(chart);
  pie->setObjectName(QString::fromLatin1(name));
  pie->setPieSize(0.95);
  chart->addSeries(pie);
  InstallChart(view, chart);
  view->setRenderHint(QPainter::Antialiasing);
  legend = new ChartLegend(view);
  legend->setObjectName(QString::fromLatin1(name).replace(u"Series"_s, u"Legend"_s));
  PlaceChartLegend(pie, legend);
  return pie;
}

void TMainForm::BuildEstimateChart() {
  auto* chart = new QChart();
  StyleChart(chart, QString());
  chart->legend()->hide();
  auto* bars = new QBarSeries(chart);
  bars->setObjectName(u"EstimateSeries"_s);
  estimateSet_ = new QBarSet(u"事後確率"_s, bars);
  estimateSet_->setColor(QColor(0x8EA8FF));
  estimateSet_->setBorderColor(Qt::white);
  // The most likely setting stands out.
  estimateSet_->setSelectedColor(QColor(0xFF4040));
  estimateSet_->append(QList<qreal>(Level::kCount, 0.0));
  bars->append(estimateSet_);
  bars->setBarWidth(0.7);
  chart->addSeries(bars);
  // A small chart: the settings below the bars, the posterior 0 … 100 %
  // without an axis of its own (the list gives the numbers).
  // Bars 1 … 6 from the left. The view is too narrow for Qt Charts to
  // show six category labels unelided, so the title names the order.
  auto* settings = new QCategoryAxis(chart);
  settings->setRange(-0.5, Level::kCount - 0.5);
  settings->setLabelsVisible(false);
  settings->setTitleText(u"設定1～6"_s);
  settings->setGridLineVisible(false);
  SetAxisFonts(settings);
  chart->addAxis(settings, Qt::AlignBottom);
  estimateAxis_ = new QValueAxis(chart);
  estimateAxis_->setRange(0, 100);
  estimateAxis_->setTickCount(3);
  chart->addAxis(estimateAxis_, Qt::AlignLeft);
  // Hidden, it still scales the bars, and leaves the labels below room.
  estimateAxis_->setVisible(false);
  bars->attachAxis(settings);
  bars->attachAxis(estimateAxis_);
  InstallChart(ui_->EstimateChart, chart);
  // The six labels need every pixel of the narrow view.
  chart->setMargins(QMargins(0, 2, 0, 0));
  chart->layout()->setContentsMargins(0, 0, 0, 0);
}

void TMainForm::UpdateResult(int first, int last, int level, const TSimResultData& log, Display display) {
  analysis_.TakeTallies(log, first, last);
  settingTally_.TakeIn(log, first, last);
  log_ = &log;
  level_ = level;
  nextGame_ = last + 1;
  if (!ui_ || !isVisible()) return;
  if (display == Display::Later && scheduler_) {
    scheduler_->MarkStale(this);
  } else {
    CatchUp(nullptr);
  }
}

bool TMainForm::caughtUp() const {
  return !ui_ || !isVisible() || (shownN_ == analysis_.N() && analysis_.rowsEnd() == analysis_.talliedEnd());
}

void TMainForm::ClearResult() {
  analysis_.Clear();
  settingTally_ = {};
  log_ = nullptr;
  level_ = 0;
  nextGame_ = 0;
  if (ui_) ClearWidgets();
}

void TMainForm::ClearWidgets() {
  shownN_ = 0;
  shownRows_ = 0;
  for (TextRowsModel* model : {playModel_, bonusModel_, modeChangeModel_}) model->SetRowCount(0);
  koyakuRows_.clear();
  modeStayRows_.clear();
  keizokuRows_.clear();
  estimateRows_.clear();
  for (TextRowsModel* model : {koyakuModel_, modeStayModel_, keizokuModel_, estimateModel_}) model->RefreshAll(0);
  for (int level = 0; level < estimateSet_->count(); ++level) estimateSet_->replace(level, 0);
  estimateSet_->deselectAllBars();
  ui_->EstimateLabel->clear();
  for (QPieSeries* pie : {koyakuPie_, modeStayPie_, keizokuPie_}) pie->clear();
  for (ChartLegend* legend : {koyakuLegend_, modeStayLegend_, keizokuLegend_}) legend->SetEntries({});
  slumpSeries_->clear();
  modeSeries_->clear();
  for (QScatterSeries* series : markerSeries_) series->clear();
  barSet_->remove(0, barSet_->count());
  barsShown_ = 0;
  maxBar_ = 0;
  LabelBars();
  // Without a bar the chart has no range of its own and lays out nothing.
  SetRangeWithRoundTicks(barPlayAxis_, 0, 1, 3);
  minMedal_ = maxMedal_ = 0;
  medalRowsSeen_ = 0;
  ui_->Levellabel->clear();
  ui_->ResultLabel->clear();
}

QStringList TMainForm::ResultListViewData(int item) const {
  if (item < 0 || item >= analysis_.rowsEnd()) return {};
  return ToQStringList(analysis_.PlayRowTexts(static_cast<std::size_t>(item)));
}

void TMainForm::setVisible(bool visible) {
  if (visible) EnsureBuilt();
  QWidget::setVisible(visible);
}

void TMainForm::showEvent(QShowEvent* event) {
  if (!centred_) {
    CentreOnScreen(this);
    centred_ = true;
  }
  // With a scheduler in its turns, after the window has been drawn once:
  // a window opened after a long run must not hold the events up.
  if (scheduler_) {
    scheduler_->MarkStale(this);
  } else {
    CatchUp(nullptr);
  }
  QWidget::showEvent(event);
}

bool TMainForm::CatchUp(const TimeSlice* slice) {
  if (!ui_) return true;
  const auto due = [slice] { return slice != nullptr && slice->Due(); };
  // Three steps, each left for the next turn when the slice is used up:
  // taking the rows in, the lists and bars, the tables, charts and labels.
  if (log_ != nullptr) {
    while (analysis_.rowsEnd() < analysis_.talliedEnd()) {
      if (due()) return false;
      const int from = analysis_.rowsEnd();
      const int to = std::min(analysis_.talliedEnd() - 1, from + kChunk - 1);
      analysis_.TakeRows(*log_, from, to);
    }
  }
  if (shownN_ == analysis_.N() && analysis_.N() > 0) return true;
  if (due()) return false;
  if (slice != nullptr && shownRows_ != analysis_.rowsEnd()) {
    // The lists and bars in a turn of their own: with their painting they
    // are a turn's worth after a long run.
    ShowRows();
    shownRows_ = analysis_.rowsEnd();
    return false;
  }
  ShowRows();
  shownRows_ = analysis_.rowsEnd();
  ShowTables();
  ShowCharts();
  shownN_ = analysis_.N();
  if (analysis_.N() > 0) {
    ui_->Levellabel->setText(ToQString(SettingText(level_)));
    ui_->ResultLabel->setText(ToQString(analysis_.SummaryText()));
  }
  return true;
}

void TMainForm::ShowRows() {
  playModel_->SetRowCount(analysis_.rowsEnd());

  // The bonus and mode-change lists scroll down as rows come in, so the
  // newest rows are in view. scrollToBottom lays the list out first: a
  // scroll value set before that meets the old, shorter range and stops
  // short.
  const auto grow = [](TextRowsModel* model, QTreeView* view, std::size_t rows) {
    const int added = static_cast<int>(rows) - model->rowCount();
    model->SetRowCount(static_cast<int>(rows));
    if (added > 0) view->scrollToBottom();
  };
  grow(bonusModel_, ui_->BBListView, analysis_.bonusRows().size());
  grow(modeChangeModel_, ui_->ModeChangeListView, analysis_.modeChanges().size());

  const std::size_t bars = analysis_.bonusRows().size();
  if (bars > barsShown_) {
    QList<qreal> values;
    for (std::size_t j = barsShown_; j < bars; ++j) {
      const ChartPoint bar = analysis_.BarPoint(j);
      values.append(bar.y);
      maxBar_ = std::max(maxBar_, bar.y);
    }
    // The values above the bars are switched before the bars come in: each
    // bar is then laid out once, with or without its value.
    ShowBarValues(static_cast<int>(bars));
    barSet_->append(values);
    // The bar chart's plot is some sixty pixels high: three labels fit.
    SetRangeWithRoundTicks(barPlayAxis_, 0, std::max(1, maxBar_) * 1.15, 3);
    barsShown_ = bars;
    LabelBars();
  }

  const auto& rows = analysis_.playRows();
  for (; medalRowsSeen_ < rows.size(); ++medalRowsSeen_) {
    const std::int32_t medal = rows[medalRowsSeen_].medal;
    if (medalRowsSeen_ == 0 || medal < minMedal_) minMedal_ = medal;
    if (medalRowsSeen_ == 0 || medal > maxMedal_) maxMedal_ = medal;
  }
}

void TMainForm::LabelBars() {
  // A label every 1 while they fit; past that every 2, 5, 10, … so the
  // numbers stay readable. The values above the bars likewise.
  // The view's width, fixed by the design: the plot area is not laid out
  // yet when a window is first shown.
  const double width = ui_->SlumpChart2->width() - 60.0;
  const auto count = static_cast<int>(barsShown_);
  // Before the first bonus the axis shows place 1 all the same: an axis
  // without a label is not laid out at all.
  const int places = std::max(count, 1);
  const double labelWidth =
      QFontMetricsF(bonusAxis_->labelsFont()).horizontalAdvance(QString::number(places)) + 10.0;
  int every = 1;
  for (const int step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000}) {
    every = step;
    if (places / step * labelWidth <= width) break;
  }
  // Every label change lays the axis out again: labels are only added, and
  // all made anew only when their spacing changes.
  if (every != barLabelEvery_ || places < barsLabelled_) {
    for (const QString& label : bonusAxis_->categoriesLabels()) bonusAxis_->remove(label);
    bonusAxis_->setStartValue(-0.5);
    barLabelEvery_ = every;
    barsLabelled_ = 0;
  }
  for (int j = (barsLabelled_ / every + 1) * every - 1; j < places; j += every) {
    bonusAxis_->append(QString::number(j + 1), j);
  }
  barsLabelled_ = places;
  bonusAxis_->setRange(-0.5, places - 0.5);
  ShowBarValues(count);
}

void TMainForm::ShowBarValues(int count) {
  // The values above the bars need their widest number's room per bar.
  const double width = ui_->SlumpChart2->width() - 60.0;
  const double valueWidth =
      QFontMetricsF(barSet_->labelFont()).horizontalAdvance(QString::number(maxBar_)) + 4.0;
  const bool values = count * valueWidth <= width;
  if (bars_->isLabelsVisible() != values) bars_->setLabelsVisible(values);
}

void TMainForm::ShowTables() {
  if (analysis_.N() == 0) return;
  koyakuRows_ = analysis_.KoyakuTable();
  modeStayRows_ = analysis_.ModeTable();
  keizokuRows_ = analysis_.KeizokuTable();
  koyakuModel_->RefreshAll(static_cast<int>(koyakuRows_.size()));
  modeStayModel_->RefreshAll(static_cast<int>(modeStayRows_.size()));
  keizokuModel_->RefreshAll(static_cast<int>(keizokuRows_.size()));
  FillPie(koyakuPie_, koyakuLegend_, koyakuRows_, kKoyakuSliceColors);
  FillPie(modeStayPie_, modeStayLegend_, modeStayRows_, kModeSliceColors);
  FillPie(keizokuPie_, keizokuLegend_, keizokuRows_, kKeizokuSliceColors);
  ShowEstimate();
}

void TMainForm::ShowEstimate() {
  const SettingEstimate estimate = EstimateSetting(settingTally_, figures_);
  estimateRows_ = EstimateRows(settingTally_, estimate, figures_, PrizeRows::Telling);
  estimateModel_->RefreshAll(static_cast<int>(estimateRows_.size()));
  for (std::size_t s = 0; s < estimate.posterior.size(); ++s) {
    estimateSet_->replace(static_cast<int>(s), 100 * estimate.posterior[s]);
  }
  estimateSet_->deselectAllBars();
  estimateSet_->selectBar(estimate.mostLikely - Level::kMin);
  if (level_ >= Level::kMin && level_ <= Level::kMax) {
    ui_->EstimateLabel->setText(
        ToQString(ObservedVersusExactText(estimate, figures_[static_cast<std::size_t>(level_ - Level::kMin)])));
  }
}

void TMainForm::ShowCharts() {
  if (analysis_.N() == 0) return;
  // Every refresh shows the whole run again, also after a zoom.
  const double n = analysis_.N();
  SetRangeWithRoundTicks(playAxis_, 1, n);
  SetRangeWithRoundTicks(medalAxis_, minMedal_, maxMedal_);
  DrawRange(1, n);
}

void TMainForm::DrawRange(double from, double to) {
  const auto& rows = analysis_.playRows();
  // A lowest and a highest point per two pixel columns of the view (its
  // width is fixed by the design; the plot area is not laid out yet when a
  // window is first shown).
  const auto buckets = static_cast<std::size_t>(ui_->SlumpChart->width() / 2);
  const auto playCount = [](const PlayRow& row) { return row.playCount; };
  slumpSeries_->replace(VisibleLine(rows, from, to, buckets, playCount, [](const PlayRow& row) { return row.medal; }));
  modeSeries_->replace(VisibleLine(rows, from, to, buckets, playCount, [](const PlayRow& row) { return row.mode; }));
  // A marker series holds points only while it is on show: a hidden one
  // would be handed every point of a long run for nothing.
  for (const auto& [marker, look] : kMarkerLooks) {
    QScatterSeries* series = markerSeries_[static_cast<std::size_t>(marker)];
    if (!series->isVisible()) continue;
    series->replace(VisibleLine(
        analysis_.markerPoints(marker), from, to, buckets, [](const ChartPoint& p) { return p.x; },
        [](const ChartPoint& p) { return p.y; }));
  }
}

void TMainForm::ShowMarker(Marker marker, bool shown) {
  QScatterSeries* series = markerSeries_[static_cast<std::size_t>(marker)];
  series->setVisible(shown);
  if (shown) {
    DrawRange(playAxis_->min(), playAxis_->max());
  } else {
    series->clear();
  }
  // The legend lists the markers on show, and disappears with the last.
  QList<ChartLegend::Entry> entries;
  for (const auto& [each, look] : kMarkerLooks) {
    if (markerSeries_[static_cast<std::size_t>(each)]->isVisible()) {
      entries.append({look.title, look.color, look.legendShape});
    }
  }
  markerLegend_->SetEntries(entries);
  markerLegend_->setVisible(!entries.isEmpty());
  PlaceMarkerLegend();
}

void TMainForm::PlaceMarkerLegend() {
  const QRect plot = slumpChart_->plotArea().toRect();
  const QSize size = markerLegend_->sizeHint();
  markerLegend_->setGeometry(plot.right() - size.width() - 4, plot.top() + 4, size.width(), size.height());
}

void TMainForm::Che2CheckBoxClick() { ShowMarker(Marker::Cherry2, ui_->Che2CheckBox->isChecked()); }
void TMainForm::Che4CheckBoxClick() { ShowMarker(Marker::Cherry4, ui_->Che4CheckBox->isChecked()); }
void TMainForm::SuikaACheckBoxClick() { ShowMarker(Marker::SuikaA, ui_->SuikaACheckBox->isChecked()); }
void TMainForm::SuikaBCheckBoxClick() { ShowMarker(Marker::SuikaB, ui_->SuikaBCheckBox->isChecked()); }
void TMainForm::ChanceCheckBoxClick() { ShowMarker(Marker::Chance, ui_->ChanceCheckBox->isChecked()); }

}  // namespace orvel
