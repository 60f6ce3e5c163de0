#include "gui/analysis/Unit1.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPointer>
#include <QScatterSeries>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeView>
#include <QValueAxis>

#include <algorithm>

#include "core/analysis/ResultTexts.h"
#include "core/analysis/Result_data.h"
#include "core/model/Codes.h"
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
};

// In drawing order: Cherry4, Suika_A, Suika_B, Chance, Cherry2.
const std::array<std::pair<Marker, MarkerLook>, 5> kMarkerLooks{{
    {Marker::Cherry4, {"Cherry4", u"4枚チェリー"_s, QScatterSeries::MarkerShapeCircle, QColor(0xFF00FF)}},
    {Marker::SuikaA, {"Suika_A", u"スイカA"_s, QScatterSeries::MarkerShapeTriangle, QColor(0x00FF00)}},
    {Marker::SuikaB, {"Suika_B", u"スイカB"_s, QScatterSeries::MarkerShapeTriangle, QColor(0x008000)}},
    {Marker::Chance, {"Chance", u"チャンス目"_s, QScatterSeries::MarkerShapeRotatedRectangle, QColor(0xFFFFFF)}},
    {Marker::Cherry2, {"Cherry2", u"2枚チェリー"_s, QScatterSeries::MarkerShapeCircle, QColor(0xFF0000)}},
}};

const std::array<QColor, Koyaku::kWeightedCount> kKoyakuSliceColors{
    QColor(0xFF0000), QColor(0xFF00FF), QColor(0x00FF00), QColor(0x008000),
    QColor(0x0000FF), QColor(0x00FFFF), QColor(0xFFFF00), QColor(0xFFFFFF)};
const std::array<QColor, Mode::kCount> kModeSliceColors{QColor(0x000080), QColor(0xFF00FF), QColor(0x00FF00),
                                                        QColor(0xFFFF00), QColor(0xFF0000), QColor(0xFFFFFF)};
const std::array<QColor, KeizokuMode::kCount> kKeizokuSliceColors{QColor(0x0000FF), QColor(0xFF00FF),
                                                                  QColor(0x00FF00), QColor(0xFFFF00)};

void SetColumns(QTreeView* view, TextRowsModel* model, std::initializer_list<int> widths) {
  view->setModel(model);
  view->header()->setStretchLastSection(false);
  view->header()->setSectionsMovable(false);
  int column = 0;
  for (const int width : widths) view->header()->resizeSection(column++, width);
}

template <std::size_t N>
void FillPie(QPieSeries* pie, const std::vector<TableRow>& rows, const std::array<QColor, N>& colors) {
  if (static_cast<std::size_t>(pie->count()) == std::min(rows.size(), N)) {
    // The same slices with new values: no slice is made again.
    const QList<QPieSlice*> slices = pie->slices();
    for (qsizetype i = 0; i < slices.size(); ++i) slices[i]->setValue(rows[static_cast<std::size_t>(i)].pieValue);
    return;
  }
  pie->clear();
  for (std::size_t i = 0; i < rows.size() && i < N; ++i) {
    QPieSlice* slice = pie->append(ToQString(rows[i].pieLabel), rows[i].pieValue);
    slice->setColor(colors[i]);
    slice->setBorderColor(Qt::black);
    slice->setLabelVisible(false);
  }
}

QStringList TableTexts(const std::vector<TableRow>& rows, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return {};
  return ToQStringList(rows[static_cast<std::size_t>(row)].texts);
}

}  // namespace

TMainForm::TMainForm(QWidget* owner) : QWidget(owner, Qt::Window) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowTitle(u"Orvelsim"_s);
  setFixedSize(606, 716);
  setFont(FormFont());
  ClearResult();
}

TMainForm::~TMainForm() {
  // The views ask their models for rows while they are torn down, and the
  // models read analysis_: the children go first, while it still exists.
  hide();
  qDeleteAll(findChildren<QObject*>(Qt::FindDirectChildrenOnly));
}

void TMainForm::EnsureBuilt() {
  if (ui_) return;
  ui_ = std::make_unique<Ui::TMainForm>();
  ui_->setupUi(this);
  setFixedSize(606, 716);

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

  SetColumns(ui_->ResultListView, playModel_, {70, 70, 70, 70, 70});
  SetColumns(ui_->BBListView, bonusModel_, {70, 70, 80, 70, 60, 70});
  SetColumns(ui_->ModeChangeListView, modeChangeModel_, {70, 70, 80, 70});
  SetColumns(ui_->KoyakuListView, koyakuModel_, {70, 70, 70, 80});
  SetColumns(ui_->ModeStayListView, modeStayModel_, {70, 70, 70, 80});
  SetColumns(ui_->KeizokuSelectListView, keizokuModel_, {70, 70, 70, 80});
  for (QTreeView* list : {ui_->BBListView, ui_->ModeChangeListView}) {
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  }

  BuildSlumpChart();
  BuildBarChart();
  koyakuPie_ = BuildPie(ui_->KoyakuChart, "KoyakuSeries");
  modeStayPie_ = BuildPie(ui_->ModeStayChart, "ModeStaySeries");
  keizokuPie_ = BuildPie(ui_->KModeChart, "KModeSeries");

  // Two panels, 400 and 50 pixels; the second centred. Nothing is written.
  AddStatusPanel(ui_->StatusBar1, u"StatusPanel1"_s, 400);
  AddStatusPanel(ui_->StatusBar1, u"StatusPanel2"_s, 50, Qt::AlignCenter);

  connect(ui_->Che2CheckBox, &QCheckBox::clicked, this, &TMainForm::Che2CheckBoxClick);
  connect(ui_->Che4CheckBox, &QCheckBox::clicked, this, &TMainForm::Che4CheckBoxClick);
  connect(ui_->SuikaACheckBox, &QCheckBox::clicked, this, &TMainForm::SuikaACheckBoxClick);
  connect(ui_->SuikaBCheckBox, &QCheckBox::clicked, this, &TMainForm::SuikaBCheckBoxClick);
  connect(ui_->ChanceCheckBox, &QCheckBox::clicked, this, &TMainForm::ChanceCheckBoxClick);

  ClearWidgets();
  Sync(false);
}

void TMainForm::BuildSlumpChart() {
  slumpChart_ = new QChart();
  slumpChart_->setObjectName(u"SlumpChartChart"_s);
  StyleChart(slumpChart_, u"スランプグラフ"_s);
  slumpChart_->setAnimationOptions(QChart::NoAnimation);

  playAxis_ = AddIntegerAxis(slumpChart_, u"play"_s, Qt::AlignBottom);
  playAxis_->setRange(0, 24);
  medalAxis_ = AddIntegerAxis(slumpChart_, u"Medal"_s, Qt::AlignLeft);
  modeAxis_ = AddIntegerAxis(slumpChart_, u"滞在モード"_s, Qt::AlignRight);
  modeAxis_->setRange(Mode::Hamari, Mode::BonusOrvel);
  modeAxis_->setTickCount(Mode::kCount);

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

  // Legend of the markers at the top right; the two lines stay out of it.
  QLegend* legend = slumpChart_->legend();
  legend->setAlignment(Qt::AlignRight);
  legend->setFont(FormFont());
  for (QLegendMarker* legendMarker : legend->markers(slumpSeries_)) legendMarker->setVisible(false);
  for (QLegendMarker* legendMarker : legend->markers(modeSeries_)) legendMarker->setVisible(false);
  legend->setVisible(false);  // no marker is on show yet

  InstallChart(ui_->SlumpChart, slumpChart_);
  ui_->SlumpChart->AddHint(u"Label4"_s, 12);
  for (const auto signal : {&ZoomChartView::userChangedRange, &ZoomChartView::userResetRange}) {
    connect(ui_->SlumpChart, signal, this, [this] { RedrawLines(playAxis_->min(), playAxis_->max()); });
  }
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

QPieSeries* TMainForm::BuildPie(QChartView* view, const char* name) {
  auto* chart = new QChart();
  chart->setBackgroundRoundness(0);
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->legend()->setAlignment(Qt::AlignRight);
  QFont legendFont = FormFont();
  legendFont.setPixelSize(10);
  chart->legend()->setFont(legendFont);
  auto* pie = new QPieSeries(chart);
  pie->setObjectName(QString::fromLatin1(name));
  pie->setPieSize(0.95);
  chart->addSeries(pie);
  InstallChart(view, chart);
  view->setRenderHint(QPainter::Antialiasing);
  return pie;
}

void TMainForm::UpdateResult(int first, int last, int level, const TSimResultData& log, Display display) {
  analysis_.TakeTallies(log, first, last);
  log_ = &log;
  level_ = level;
  nextGame_ = last + 1;
  if (ui_ && isVisible() && display == Display::Now) Sync(true);
}

bool TMainForm::SyncDisplay() {
  if (!ui_ || !isVisible() || shownN_ == analysis_.N()) return false;
  Sync(false);
  return true;
}

void TMainForm::ClearResult() {
  analysis_.Clear();
  log_ = nullptr;
  level_ = 0;
  nextGame_ = 0;
  ++generation_;
  if (ui_) ClearWidgets();
}

void TMainForm::ClearWidgets() {
  shownN_ = 0;
  for (TextRowsModel* model : {playModel_, bonusModel_, modeChangeModel_}) model->SetRowCount(0);
  koyakuRows_.clear();
  modeStayRows_.clear();
  keizokuRows_.clear();
  for (TextRowsModel* model : {koyakuModel_, modeStayModel_, keizokuModel_}) model->RefreshAll(0);
  for (QPieSeries* pie : {koyakuPie_, modeStayPie_, keizokuPie_}) pie->clear();
  slumpSeries_->clear();
  modeSeries_->clear();
  for (QScatterSeries* series : markerSeries_) series->clear();
  markersShown_.fill(0);
  barSet_->remove(0, barSet_->count());
  barsShown_ = 0;
  LabelBars();
  maxBar_ = 0;
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
  Sync(false);
  QWidget::showEvent(event);
}

void TMainForm::Sync(bool mayYield) {
  if (!ui_ || syncing_) return;
  syncing_ = true;
  if (log_ != nullptr) {
    QPointer<TMainForm> alive(this);
    const std::uint64_t generation = generation_;
    TimeSlice slice;
    // Re-read the target every round: an UpdateResult during a yield only
    // tallies, and this loop takes its games in as well.
    while (analysis_.rowsEnd() < analysis_.talliedEnd()) {
      const int from = analysis_.rowsEnd();
      const int to = std::min(analysis_.talliedEnd() - 1, from + kChunk - 1);
      analysis_.TakeRows(*log_, from, to);
      if (mayYield && analysis_.rowsEnd() < analysis_.talliedEnd() && slice.Due()) {
        ShowRows();
        slice.Yield();
        if (!alive) return;  // destroyed in the yield: touch nothing
        if (generation != generation_) break;  // cleared in the yield
      }
    }
  }
  ShowRows();
  ShowTables();
  ShowCharts();
  shownN_ = analysis_.N();
  if (analysis_.N() > 0) {
    ui_->Levellabel->setText(ToQString(SettingText(level_)));
    ui_->ResultLabel->setText(ToQString(analysis_.SummaryText()));
  }
  syncing_ = false;
}

void TMainForm::ShowRows() {
  playModel_->SetRowCount(analysis_.rowsEnd());

  // The bonus and mode-change lists scroll 10 pixels per new row, so the
  // newest rows come into view.
  const auto grow = [](TextRowsModel* model, QTreeView* view, std::size_t rows) {
    const int added = static_cast<int>(rows) - model->rowCount();
    model->SetRowCount(static_cast<int>(rows));
    if (added > 0) view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() + 10 * added);
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
    barSet_->append(values);
    barPlayAxis_->setRange(0, std::max(1, maxBar_) * 1.15);
    barsShown_ = bars;
    LabelBars();
  }

  for (const auto& [marker, look] : kMarkerLooks) {
    const auto& points = analysis_.markerPoints(marker);
    std::size_t& shown = markersShown_[static_cast<std::size_t>(marker)];
    if (points.size() == shown) continue;
    // replace() in one go: QXYSeries::append(QList) adds point by point, and
    // the chart lays itself out again for every one.
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const ChartPoint& p : points) list.append(QPointF(p.x, p.y));
    markerSeries_[static_cast<std::size_t>(marker)]->replace(list);
    shown = points.size();
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
  int every = 1;
  for (const int step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000}) {
    every = step;
    if (count / step * 24.0 <= width) break;
  }
  // Every label change lays the axis out again: labels are only added, and
  // all made anew only when their spacing changes.
  if (every != barLabelEvery_ || count < barsLabelled_) {
    for (const QString& label : bonusAxis_->categoriesLabels()) bonusAxis_->remove(label);
    bonusAxis_->setStartValue(-0.5);
    barLabelEvery_ = every;
    barsLabelled_ = 0;
  }
  for (int j = (barsLabelled_ / every + 1) * every - 1; j < count; j += every) {
    bonusAxis_->append(QString::number(j + 1), j);
  }
  barsLabelled_ = count;
  bonusAxis_->setRange(-0.5, std::max(count, 1) - 0.5);
  const bool values = count * 16.0 <= width;
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
  FillPie(koyakuPie_, koyakuRows_, kKoyakuSliceColors);
  FillPie(modeStayPie_, modeStayRows_, kModeSliceColors);
  FillPie(keizokuPie_, keizokuRows_, kKeizokuSliceColors);
}

void TMainForm::ShowCharts() {
  if (analysis_.N() == 0) return;
  // Every refresh shows the whole run again, also after a zoom.
  const double n = analysis_.N();
  SetRangeWithRoundTicks(playAxis_, 1, n);
  SetRangeWithRoundTicks(medalAxis_, minMedal_, maxMedal_);
  RedrawLines(1, n);
}

void TMainForm::RedrawLines(double from, double to) {
  const auto& rows = analysis_.playRows();
  // A lowest and a highest point per two pixel columns of the view (its
  // width is fixed by the design; the plot area is not laid out yet when a
  // window is first shown).
  const auto buckets = static_cast<std::size_t>(ui_->SlumpChart->width() / 2);
  const auto playCount = [](const PlayRow& row) { return row.playCount; };
  slumpSeries_->replace(VisibleLine(rows, from, to, buckets, playCount, [](const PlayRow& row) { return row.medal; }));
  modeSeries_->replace(VisibleLine(rows, from, to, buckets, playCount, [](const PlayRow& row) { return row.mode; }));
}

void TMainForm::ShowMarker(Marker marker, bool shown) {
  markerSeries_[static_cast<std::size_t>(marker)]->setVisible(shown);
  // The legend lists the markers on show, and disappears with the last.
  bool any = false;
  for (QScatterSeries* series : markerSeries_) {
    for (QLegendMarker* entry : slumpChart_->legend()->markers(series)) entry->setVisible(series->isVisible());
    any = any || series->isVisible();
  }
  slumpChart_->legend()->setVisible(any);
}

void TMainForm::Che2CheckBoxClick() { ShowMarker(Marker::Cherry2, ui_->Che2CheckBox->isChecked()); }
void TMainForm::Che4CheckBoxClick() { ShowMarker(Marker::Cherry4, ui_->Che4CheckBox->isChecked()); }
void TMainForm::SuikaACheckBoxClick() { ShowMarker(Marker::SuikaA, ui_->SuikaACheckBox->isChecked()); }
void TMainForm::SuikaBCheckBoxClick() { ShowMarker(Marker::SuikaB, ui_->SuikaBCheckBox->isChecked()); }
void TMainForm::ChanceCheckBoxClick() { ShowMarker(Marker::Chance, ui_->ChanceCheckBox->isChecked()); }

}  // namespace orvel
