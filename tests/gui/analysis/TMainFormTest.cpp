#include <QAbstractItemModelTester>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QValueAxis>

#include "FindChild.h"
#include "TextFit.h"
#include "LogBuilder.h"
#include "core/analysis/FigureTexts.h"
#include "core/analysis/Result_data.h"
#include "gui/common/TextRowsModel.h"
#include "gui/analysis/Unit1.h"
#include "gui/common/ChartLegend.h"
#include "gui/common/DisplayScheduler.h"
#include "gui/common/ZoomChartView.h"
#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"

using namespace Qt::StringLiterals;
using orvel::TMainForm;
using orvel::TSimResultData;
using orvel::test::Add;
using orvel::test::Entry;
using orvel::test::PlaySeeded;

namespace {

QAbstractItemModel* ListModel(QWidget& window, const QString& name) {
  return Find<QAbstractItemView>(window, name)->model();
}

QStringList Row(QAbstractItemModel* model, int row) {
  QStringList texts;
  for (int c = 0; c < model->columnCount(); ++c) texts << model->index(row, c).data().toString();
  return texts;
}

QStringList AllRows(QAbstractItemModel* model) {
  QStringList rows;
  for (int r = 0; r < model->rowCount(); ++r) rows << Row(model, r).join(u'|');
  return rows;
}

template <class Series>
Series* SeriesNamed(QWidget& window, const QString& chartView, const QString& name) {
  for (QAbstractSeries* s : Find<QChartView>(window, chartView)->chart()->series()) {
    if (s->objectName() == name) return qobject_cast<Series*>(s);
  }
  qFatal("no series %s", qPrintable(name));
}

QValueAxis* PlayAxis(QWidget& window) {
  const auto axes = Find<QChartView>(window, u"SlumpChart"_s)->chart()->axes(Qt::Horizontal);
  return qobject_cast<QValueAxis*>(axes.first());
}

// Everything the window shows, for comparing two windows.
QStringList Everything(TMainForm& w) {
  QStringList all;
  for (const QString& list : {u"ResultListView"_s, u"BBListView"_s, u"ModeChangeListView"_s, u"KoyakuListView"_s,
                              u"ModeStayListView"_s, u"KeizokuSelectListView"_s, u"EstimateListView"_s}) {
    all << list << AllRows(ListModel(w, list));
  }
  for (const QString& name : {u"SlumpSeries"_s, u"ModeSeries"_s, u"Cherry2"_s, u"Suika_B"_s}) {
    for (const QPointF& p : SeriesNamed<QXYSeries>(w, u"SlumpChart"_s, name)->points()) {
      all << QString::number(p.x()) + u","_s + QString::number(p.y());
    }
  }
  const QBarSet* bars = SeriesNamed<QBarSeries>(w, u"SlumpChart2"_s, u"SlumpBSeries"_s)->barSets().first();
  for (int i = 0; i < bars->count(); ++i) all << QString::number(bars->at(i));
  const QBarSet* posterior = SeriesNamed<QBarSeries>(w, u"EstimateChart"_s, u"EstimateSeries"_s)->barSets().first();
  for (int i = 0; i < posterior->count(); ++i) all << QString::number(posterior->at(i));
  all << Find<QLabel>(w, u"Levellabel"_s)->text() << Find<QLabel>(w, u"ResultLabel"_s)->text()
      << Find<QLabel>(w, u"EstimateLabel"_s)->text();
  return all;
}

}  // namespace

class TMainFormTest : public QObject {
  Q_OBJECT

private slots:
  void layoutAndCaptions();
  void clearResultEmptiesEverythingButKeepsTheBoxes();
  void oneOrdinaryGame();
  void twoTakeInsShowWhatOneShows();
  void bonusGameRowBarAndSummary();
  void markerSeriesFilledWhileUntickedShownWhenTicked();
  void tickedMarkersAreDecimatedOverTheShownRange();
  void refreshResetsTheBottomAxisAfterAZoom();
  void listsScrollToTheNewestRows();
  void markerLegendAtTheTopRightKeepsThePlot();
  void hiddenWindowShowsTheWholeRunWhenOpened();
  void closingOnlyHides();
  void longTakeInLetsEventsRun();
  void playListModelPassesTheTester();
  void settingEstimatePageShowsTheCoresEstimate();
};

void TMainFormTest::layoutAndCaptions() {
  TMainForm w(nullptr);
  w.show();
  QCOMPARE(w.size(), QSize(606, 716));
  QCOMPARE(w.minimumSize(), w.maximumSize());
  QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
  QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
  QCOMPARE(w.windowTitle(), u"Orvelsim"_s);

  auto* pages = Find<QTabWidget>(w, u"PageControl1"_s);
  QCOMPARE(pages->currentIndex(), 0);
  const QStringList titles{u"PLAY情報"_s,       u"BB情報"_s,           u"モード移行契機"_s, u"小役出現率"_s,
                           u"モード別滞在率"_s, u"継続モード抽選率"_s, u"設定判別"_s};
  QCOMPARE(pages->count(), 7);
  for (int i = 0; i < 7; ++i) {
    QCOMPARE(pages->tabText(i), titles[i]);
    QCOMPARE(pages->widget(i)->objectName(), u"TabSheet%1"_s.arg(i + 1));
  }

  struct ListLayout {
    QString name;
    QStringList captions;
    QList<int> widths;
  };
  const QList<ListLayout> lists{
      {u"ResultListView"_s, {u"PLAY数"_s, u"PLAY数2"_s, u"絵柄"_s, u"モード"_s, u"メダル数"_s}, {70, 70, 70, 70, 70}},
      {u"BBListView"_s,
       {u"PLAY数"_s, u"PLAY数2"_s, u"絵柄"_s, u"モード"_s, u"終了移行"_s, u"獲得メダル"_s},
       {70, 70, 80, 70, 60, 70}},
      {u"ModeChangeListView"_s, {u"PLAY数"_s, u"PLAY数2"_s, u"絵柄"_s, u"モード"_s}, {70, 70, 80, 70}},
      {u"KoyakuListView"_s, {u"絵柄"_s, u"出現回数"_s, u"出現率"_s, u"出現率(1/X)"_s}, {70, 70, 70, 80}},
      {u"ModeStayListView"_s, {u"モード"_s, u"滞在プレイ数"_s, u"滞在率"_s, u"滞在率(1/X)"_s}, {70, 70, 70, 80}},
      {u"KeizokuSelectListView"_s, {u"継続モード"_s, u"抽選回数"_s, u"抽選率"_s, u"抽選率(1/X)"_s}, {70, 70, 70, 80}},
  };
  for (const ListLayout& list : lists) {
    auto* view = Find<QAbstractItemView>(w, list.name);
    const QHeaderView* header = textfit::ColumnHeader(view);
    QVERIFY(header);
    QCOMPARE(view->model()->columnCount(), list.captions.size());
    for (int c = 0; c < list.captions.size(); ++c) {
      QCOMPARE(view->model()->headerData(c, Qt::Horizontal).toString(), list.captions[c]);
      // The design's width, or more where a header or the widest text
      // would not fit (the window texts test checks that they do).
      QVERIFY(header->sectionSize(c) >= list.widths[c]);
    }
  }

  const QList<std::pair<QString, QString>> boxes{{u"Che2CheckBox"_s, u"2枚チェリー"_s},
                                                 {u"Che4CheckBox"_s, u"4枚チェリー"_s},
                                                 {u"SuikaACheckBox"_s, u"スイカA"_s},
                                                 {u"SuikaBCheckBox"_s, u"スイカB"_s},
                                                 {u"ChanceCheckBox"_s, u"チャンス目"_s}};
  const int lefts[] = {108, 196, 284, 360, 432};
  for (int i = 0; i < 5; ++i) {
    auto* box = Find<QCheckBox>(w, boxes[i].first);
    QCOMPARE(box->text(), boxes[i].second);
    QCOMPARE(box->x(), lefts[i]);
    QCOMPARE(box->size(), QSize(89, 17));
    QVERIFY(!box->isChecked());
  }
  QCOMPARE(Find<QGroupBox>(w, u"GroupBox1"_s)->title(), u"小役出現表示"_s);
  QCOMPARE(Find<QGroupBox>(w, u"GroupBox2"_s)->title(), u"シミュレーション結果"_s);

  QChart* slump = Find<QChartView>(w, u"SlumpChart"_s)->chart();
  QCOMPARE(slump->axes(Qt::Horizontal).first()->titleText(), u"play"_s);
  auto* right = qobject_cast<QValueAxis*>(slump->axes(Qt::Vertical).last());
  QCOMPARE(right->titleText(), u"滞在モード"_s);
  QCOMPARE(right->min(), 0.0);
  QCOMPARE(right->max(), 5.0);
  QCOMPARE(right->tickCount(), 6);
  QCOMPARE(PlayAxis(w)->min(), 0.0);
  QCOMPARE(PlayAxis(w)->max(), 24.0);
  QCOMPARE(SeriesNamed<QLineSeries>(w, u"SlumpChart"_s, u"SlumpSeries"_s)->pen().color(), QColor(0xFF0000));
  QCOMPARE(SeriesNamed<QLineSeries>(w, u"SlumpChart"_s, u"SlumpSeries"_s)->pen().width(), 2);
  QCOMPARE(SeriesNamed<QLineSeries>(w, u"SlumpChart"_s, u"ModeSeries"_s)->color(), QColor(0x0080FF));
  QCOMPARE(SeriesNamed<QScatterSeries>(w, u"SlumpChart"_s, u"Suika_B"_s)->markerShape(),
           QScatterSeries::MarkerShapeTriangle);
  QCOMPARE(Find<QLabel>(w, u"Label4"_s)->text(),
           u"・マウスで範囲指定して拡大できます。右クリックでドラッグしてスクロールできます。"_s);
  QCOMPARE(Find<QLabel>(w, u"Label5"_s)->text(), Find<QLabel>(w, u"Label4"_s)->text());
  QCOMPARE(Find<QLabel>(w, u"Label4"_s)->parentWidget(), Find<QChartView>(w, u"SlumpChart"_s));
  QCOMPARE(Find<QLabel>(w, u"Label5"_s)->parentWidget(), Find<QChartView>(w, u"SlumpChart2"_s));
  QCOMPARE(Find<QLabel>(w, u"Label4"_s)->pos(), QPoint(124, 12));
  QCOMPARE(Find<QLabel>(w, u"Label5"_s)->pos(), QPoint(124, 8));
  QVERIFY(Find<QLabel>(w, u"Label5"_s)->testAttribute(Qt::WA_TransparentForMouseEvents));
  QCOMPARE(Find<QLabel>(w, u"StatusPanel1"_s)->width(), 400);
  QCOMPARE(Find<QLabel>(w, u"StatusPanel2"_s)->width(), 50);
  QCOMPARE(Find<QLabel>(w, u"StatusPanel1"_s)->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
  QCOMPARE(Find<QLabel>(w, u"StatusPanel2"_s)->alignment(), Qt::AlignCenter);
  QCOMPARE(Find<QLabel>(w, u"StatusPanel2"_s)->frameShape(), QFrame::Panel);
  QCOMPARE(Find<QLabel>(w, u"StatusPanel2"_s)->frameShadow(), QFrame::Sunken);
}

void TMainFormTest::clearResultEmptiesEverythingButKeepsTheBoxes() {
  TSimResultData log;
  PlaySeeded(log, {.games = 3000, .seed = 4});
  TMainForm w(nullptr);
  w.show();
  w.UpdateResult(0, 2999, 6, log);
  auto* box = Find<QCheckBox>(w, u"SuikaBCheckBox"_s);
  QTest::mouseClick(box, Qt::LeftButton);
  Find<QTabWidget>(w, u"PageControl1"_s)->setCurrentIndex(2);
  QVERIFY(ListModel(w, u"BBListView"_s)->rowCount() > 0);

  w.ClearResult();
  QCOMPARE(w.nextGame(), 0);
  for (const QString& list : {u"ResultListView"_s, u"BBListView"_s, u"ModeChangeListView"_s, u"KoyakuListView"_s,
                              u"ModeStayListView"_s, u"KeizokuSelectListView"_s, u"EstimateListView"_s}) {
    QCOMPARE(ListModel(w, list)->rowCount(), 0);
  }
  for (const QString& name : {u"SlumpSeries"_s, u"ModeSeries"_s, u"Suika_B"_s, u"Cherry2"_s}) {
    QCOMPARE(SeriesNamed<QXYSeries>(w, u"SlumpChart"_s, name)->count(), 0);
  }
  QCOMPARE(SeriesNamed<QBarSeries>(w, u"SlumpChart2"_s, u"SlumpBSeries"_s)->barSets().first()->count(), 0);
  QCOMPARE(SeriesNamed<QPieSeries>(w, u"KoyakuChart"_s, u"KoyakuSeries"_s)->count(), 0);
  QCOMPARE(Find<QLabel>(w, u"Levellabel"_s)->text(), QString());
  QCOMPARE(Find<QLabel>(w, u"ResultLabel"_s)->text(), QString());
  QVERIFY(box->isChecked());
  QVERIFY(SeriesNamed<QScatterSeries>(w, u"SlumpChart"_s, u"Suika_B"_s)->isVisible());
  QCOMPARE(Find<QTabWidget>(w, u"PageControl1"_s)->currentIndex(), 2);
  QVERIFY(w.ResultListViewData(0).isEmpty());
}

void TMainFormTest::oneOrdinaryGame() {
  TSimResultData log;
  Add(log, {.sinceBB = 1, .medal = -3, .mode = 1, .lastKoyaku = 5});
  TMainForm w(nullptr);
  w.show();
  w.UpdateResult(0, 0, 3, log);
  QCOMPARE(ListModel(w, u"ResultListView"_s)->rowCount(), 1);
  QCOMPARE(Row(ListModel(w, u"ResultListView"_s), 0),
           (QStringList{u"1"_s, u"1"_s, u"ReplayB"_s, u"低確"_s, u"-3"_s}));
  QCOMPARE(ListModel(w, u"BBListView"_s)->rowCount(), 0);
  QCOMPARE(ListModel(w, u"ModeChangeListView"_s)->rowCount(), 0);
  QCOMPARE(SeriesNamed<QLineSeries>(w, u"SlumpChart"_s, u"SlumpSeries"_s)->points(), QList<QPointF>{QPointF(1, -3)});
  QCOMPARE(SeriesNamed<QLineSeries>(w, u"SlumpChart"_s, u"ModeSeries"_s)->points(), QList<QPointF>{QPointF(1, 1)});
  // One point: the axes are widened around it, or the chart would ignore
  // an empty range and keep showing 0 … 24.
  QVERIFY(PlayAxis(w)->min() < 1.0 && PlayAxis(w)->max() > 1.0);
  auto* medal = qobject_cast<QValueAxis*>(Find<QChartView>(w, u"SlumpChart"_s)->chart()->axes(Qt::Vertical).first());
  QVERIFY(medal->min() < -3.0 && medal->max() > -3.0);
  QCOMPARE(Find<QLabel>(w, u"Levellabel"_s)->text(), u"設定：3"_s);
  QCOMPARE(w.nextGame(), 1);
  QCOMPARE(Row(ListModel(w, u"ModeStayListView"_s), 1), (QStringList{u"低確"_s, u"1"_s, u"1"_s, u"1/1"_s}));
  QCOMPARE(Row(ListModel(w, u"KoyakuListView"_s), 5), (QStringList{u"リプレイB"_s, u"1"_s, u"1"_s, u"1/1"_s}));
  auto* pie = SeriesNamed<QPieSeries>(w, u"KoyakuChart"_s, u"KoyakuSeries"_s);
  QCOMPARE(pie->count(), 8);
  QCOMPARE(pie->slices().at(5)->label(), u"リプレイB"_s);
  QCOMPARE(pie->slices().at(5)->value(), 1.0);
  QCOMPARE(pie->slices().at(1)->label(), u"4枚チェリー"_s);
  QCOMPARE(pie->slices().at(1)->color(), QColor(0xFF00FF));
  QCOMPARE(SeriesNamed<QPieSeries>(w, u"ModeStayChart"_s, u"ModeStaySeries"_s)->slices().at(0)->color(),
           QColor(0x000080));
  QCOMPARE(SeriesNamed<QPieSeries>(w, u"KModeChart"_s, u"KModeSeries"_s)->slices().at(3)->label(), u"継続D"_s);
}

void TMainFormTest::twoTakeInsShowWhatOneShows() {
  TSimResultData log;
  PlaySeeded(log, {.games = 100, .seed = 21});
  // A mode change exactly at the seam, so the second take-in must compare
  // with entry 49.
  TSimResultData seam;
  for (int g = 0; g < 100; ++g) Add(seam, {.mode = g < 50 ? 0 : 1, .lastKoyaku = g % 10});
  for (TSimResultData* l : {&log, &seam}) {
    TMainForm once(nullptr), twice(nullptr);
    once.show();
    twice.show();
    once.UpdateResult(0, 99, 2, *l);
    twice.UpdateResult(0, 49, 2, *l);
    twice.UpdateResult(50, 99, 2, *l);
    QCOMPARE(Everything(twice), Everything(once));
    QCOMPARE(twice.nextGame(), 100);
  }
  TMainForm w(nullptr);
  w.show();
  w.UpdateResult(0, 49, 1, seam);
  w.UpdateResult(50, 99, 1, seam);
  QCOMPARE(ListModel(w, u"ModeChangeListView"_s)->rowCount(), 1);
  QCOMPARE(Row(ListModel(w, u"ModeChangeListView"_s), 0).first(), u"51"_s);
}

void TMainFormTest::bonusGameRowBarAndSummary() {
  TSimResultData log;
  Add(log, {.sinceBB = 1, .medal = -3, .mode = 2, .lastKoyaku = 7});
  Add(log, {.sinceBB = 2, .medal = -6, .mode = 4, .lastKoyaku = 2});
  Add(log, {.sinceBB = 3, .medal = 500, .chainCount = 4, .bbKind = 1, .keizokuMode = 2, .mode = 1,
            .lastKoyaku = 99});
  TMainForm w(nullptr);
  w.show();
  w.UpdateResult(0, 2, 5, log);
  QCOMPARE(ListModel(w, u"BBListView"_s)->rowCount(), 1);
  QCOMPARE(Row(ListModel(w, u"BBListView"_s), 0),
           (QStringList{u"3"_s, u"3"_s, u"777×4"_s, u"継続C"_s, u"低確"_s, u"506"_s}));
  QBarSet* bars = SeriesNamed<QBarSeries>(w, u"SlumpChart2"_s, u"SlumpBSeries"_s)->barSets().first();
  QCOMPARE(bars->count(), 1);
  QCOMPARE(bars->at(0), 3.0);
  QCOMPARE(bars->color(), QColor(0xFF8E8E));
  QCOMPARE(Row(ListModel(w, u"ModeChangeListView"_s), 0),
           (QStringList{u"2"_s, u"2"_s, u"スイカA"_s, u"7揃い"_s}));
  QCOMPARE(ListModel(w, u"ModeChangeListView"_s)->rowCount(), 1);
  QCOMPARE(Find<QLabel>(w, u"ResultLabel"_s)->text(),
           u"総プレイ数：3　BB終了からのプレイ数：3\nBB初当り数：1　BB数：4\nBB確率：1/0  継続数平均：4\n収支：10000円"_s);
  QCOMPARE(Row(ListModel(w, u"KeizokuSelectListView"_s), 2), (QStringList{u"継続C"_s, u"1"_s, u"1"_s, u"1/1"_s}));
}

void TMainFormTest::markerSeriesFilledWhileUntickedShownWhenTicked() {
  TSimResultData log;
  PlaySeeded(log, {.games = 5000, .seed = 8});
  int suikaB = 0;
  for (int g = 0; g < 5000; ++g) {
    suikaB += log.At(orvel::ResultColumn::BBKind, g) == 0 && log.At(orvel::ResultColumn::LastKoyaku, g) == 3;
  }
  QVERIFY(suikaB > 0);
  TMainForm w(nullptr);
  w.show();
  w.UpdateResult(0, 4999, 6, log);
  auto* series = SeriesNamed<QScatterSeries>(w, u"SlumpChart"_s, u"Suika_B"_s);
  QVERIFY(!series->isVisible());
  // Points only while on show: a hidden series is handed nothing.
  QCOMPARE(series->count(), 0);
  QCOMPARE(series->color(), QColor(0x008000));
  auto* box = Find<QCheckBox>(w, u"SuikaBCheckBox"_s);
  QTest::mouseClick(box, Qt::LeftButton);
  QVERIFY(series->isVisible());
  // Every スイカB game taken in while the box was unticked, at (PLAY数, medals).
  QCOMPARE(series->count(), suikaB);
  QList<QPointF> expected;
  for (int g = 0; g < 5000; ++g) {
    if (log.At(orvel::ResultColumn::BBKind, g) == 0 && log.At(orvel::ResultColumn::LastKoyaku, g) == 3) {
      expected << QPointF(log.At(orvel::ResultColumn::PlayCount, g), log.At(orvel::ResultColumn::Medal, g));
    }
  }
  QCOMPARE(series->points(), expected);
  QTest::mouseClick(box, Qt::LeftButton);
  QVERIFY(!series->isVisible());
  QCOMPARE(series->count(), 0);
  QVERIFY(!SeriesNamed<QScatterSeries>(w, u"SlumpChart"_s, u"Cherry2"_s)->isVisible());
}

// A ticked marker series of a long run holds no more points than the chart
// can show, all of them real marker points, and follows a zoom.
void TMainFormTest::tickedMarkersAreDecimatedOverTheShownRange() {
  TSimResultData log;
  PlaySeeded(log, {.games = 200000, .seed = 3});
  TMainForm w(nullptr);
  w.show();
  w.UpdateResult(0, 199999, 6, log);
  const auto& all = w.analysis().markerPoints(orvel::Marker::Chance);
  QSet<QPair<qreal, qreal>> real;
  for (const orvel::ChartPoint& p : all) real.insert({p.x, p.y});
  auto* series = SeriesNamed<QScatterSeries>(w, u"SlumpChart"_s, u"Chance"_s);
  const int buckets = Find<QChartView>(w, u"SlumpChart"_s)->width() / 2;
  QVERIFY2(static_cast<int>(all.size()) > 2 * buckets + 2,
           qPrintable(u"enough markers to need decimating: %1 for %2 buckets"_s.arg(all.size()).arg(buckets)));
  Find<QCheckBox>(w, u"ChanceCheckBox"_s)->click();
  QVERIFY(series->count() > buckets / 2);
  QVERIFY(series->count() <= 2 * buckets + 2);
  for (const QPointF& p : series->points()) QVERIFY(real.contains({p.x(), p.y()}));

  // Zoomed into a tenth of the run: the markers of that range, and one on
  // each side.
  const QRectF plot = Find<QChartView>(w, u"SlumpChart"_s)->chart()->plotArea();
  Find<QChartView>(w, u"SlumpChart"_s)
      ->chart()
      ->zoomIn(QRectF(plot.left(), plot.top(), plot.width() / 10, plot.height()));
  emit Find<orvel::ZoomChartView>(w, u"SlumpChart"_s)->userChangedRange();
  const double from = PlayAxis(w)->min(), to = PlayAxis(w)->max();
  int inside = 0;
  for (const QPointF& p : series->points()) {
    QVERIFY(real.contains({p.x(), p.y()}));
    inside += p.x() >= from && p.x() <= to;
  }
  QVERIFY(series->count() - inside <= 2);
  QVERIFY(inside > 0);
}

void TMainFormTest::refreshResetsTheBottomAxisAfterAZoom() {
  TSimResultData log;
  PlaySeeded(log, {.games = 400, .seed = 2});
  TMainForm w(nullptr);
  w.show();
  w.UpdateResult(0, 199, 6, log);
  QCOMPARE(PlayAxis(w)->max(), 200.0);
  QSignalSpy ranges(PlayAxis(w), &QValueAxis::rangeChanged);
  QChart* chart = Find<QChartView>(w, u"SlumpChart"_s)->chart();
  const QRectF plot = chart->plotArea();
  chart->zoomIn(QRectF(plot.left() + plot.width() / 4, plot.top(), plot.width() / 4, plot.height()));
  QVERIFY(ranges.count() >= 1);
  QVERIFY(PlayAxis(w)->max() < 150);
  w.UpdateResult(200, 399, 6, log);
  QCOMPARE(PlayAxis(w)->min(), 1.0);
  QCOMPARE(PlayAxis(w)->max(), 400.0);

  // A zoom into a corner, as the user drags it: the mode axis stays 0 … 5.
  auto* view = Find<orvel::ZoomChartView>(w, u"SlumpChart"_s);
  auto* modes = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).last());
  chart->zoomIn(QRectF(plot.left(), plot.top(), plot.width() / 3, plot.height() / 3));
  emit view->userChangedRange();
  QCOMPARE(modes->min(), 0.0);
  QCOMPARE(modes->max(), 5.0);
  // A plain right-click shows the whole run, not the ranges from before the
  // first zoom (1 … 200 then).
  chart->zoomReset();
  emit view->userResetRange();
  QCOMPARE(PlayAxis(w)->min(), 1.0);
  QCOMPARE(PlayAxis(w)->max(), 400.0);
  QCOMPARE(modes->min(), 0.0);
  QCOMPARE(modes->max(), 5.0);
}

// The legend lists the markers on show in drawing order, at the plot's top
// right, and ticking a box never narrows the plot.
void TMainFormTest::markerLegendAtTheTopRightKeepsThePlot() {
  TSimResultData log;
  PlaySeeded(log, {.games = 2000, .seed = 6});
  TMainForm w(nullptr);
  w.show();
  w.UpdateResult(0, 1999, 6, log);
  QCoreApplication::processEvents();
  auto* view = Find<QChartView>(w, u"SlumpChart"_s);
  auto* legend = Find<orvel::ChartLegend>(w, u"MarkerLegend"_s);
  const QRectF plot = view->chart()->plotArea();
  QVERIFY(!legend->isVisible());
  Find<QCheckBox>(w, u"ChanceCheckBox"_s)->click();
  Find<QCheckBox>(w, u"SuikaACheckBox"_s)->click();
  QCoreApplication::processEvents();
  QCOMPARE(view->chart()->plotArea(), plot);
  QVERIFY(legend->isVisible());
  QStringList labels;
  for (const auto& entry : legend->entries()) labels << entry.label;
  QCOMPARE(labels, (QStringList{u"スイカA"_s, u"チャンス目"_s}));
  QVERIFY(plot.contains(QRectF(legend->geometry())));
  QVERIFY(legend->geometry().right() > plot.center().x() && legend->geometry().bottom() < plot.center().y());
  Find<QCheckBox>(w, u"ChanceCheckBox"_s)->click();
  Find<QCheckBox>(w, u"SuikaACheckBox"_s)->click();
  QVERIFY(!legend->isVisible());
}

// After every take-in the bonus and mode-change lists show their newest
// row, however many came in at once.
void TMainFormTest::listsScrollToTheNewestRows() {
  TSimResultData log;
  PlaySeeded(log, {.games = 16000, .seed = 4});
  TMainForm w(nullptr);
  w.show();
  for (const int last : {7999, 15999}) {
    w.UpdateResult(w.nextGame(), last, 6, log);
    QCoreApplication::processEvents();
    for (const QString& name : {u"BBListView"_s, u"ModeChangeListView"_s}) {
      auto* list = Find<QTreeView>(w, name);
      const int rows = list->model()->rowCount();
      QVERIFY2(rows > 10, qPrintable(name));
      const QRect newest = list->visualRect(list->model()->index(rows - 1, 0));
      QVERIFY2(list->viewport()->rect().contains(newest), qPrintable(name));
    }
  }
}

void TMainFormTest::hiddenWindowShowsTheWholeRunWhenOpened() {
  TSimResultData log;
  PlaySeeded(log, {.games = 8000, .level = 5, .seed = 33});
  TMainForm hidden(nullptr), shown(nullptr);
  shown.show();
  for (int first = 0; first < 8000; first += 50) {
    hidden.UpdateResult(first, first + 49, 5, log);
    shown.UpdateResult(first, first + 49, 5, log);
  }
  QVERIFY(!hidden.isBuilt());
  QCOMPARE(hidden.nextGame(), 8000);
  QCOMPARE(hidden.analysis().stats(), shown.analysis().stats());
  hidden.show();
  QCOMPARE(Everything(hidden), Everything(shown));
  QCOMPARE(ListModel(hidden, u"ResultListView"_s)->rowCount(), 8000);
}

void TMainFormTest::closingOnlyHides() {
  QWidget owner;
  TSimResultData log;
  PlaySeeded(log, {.games = 300, .seed = 9});
  QPointer<TMainForm> w = new TMainForm(&owner);
  w->show();
  w->UpdateResult(0, 299, 6, log);
  const QStringList before = Everything(*w);
  QVERIFY(w->close());
  QCoreApplication::processEvents();
  QVERIFY(w);
  QVERIFY(!w->isVisible());
  w->show();
  QCOMPARE(Everything(*w), before);
}

// A window opened after a long run, as the hall's windows are: it took the
// games in hidden (the hall's display mode) and catches up when shown, in
// the scheduler's turns, with events handled in between.
void TMainFormTest::longTakeInLetsEventsRun() {
  TSimResultData log;
  PlaySeeded(log, {.games = 600000, .seed = 5});
  orvel::DisplayScheduler scheduler;
  TMainForm w(nullptr, &scheduler);
  w.UpdateResult(0, 599999, 6, log, TMainForm::Display::Later);
  QVERIFY(!w.isBuilt());
  bool ranDuring = false;
  QTimer probe;
  probe.setInterval(0);
  connect(&probe, &QTimer::timeout, &w, [&] {
    // Between two turns of the catch-up: some rows taken in, not all shown.
    if (w.analysis().rowsEnd() > 0 && !w.caughtUp()) ranDuring = true;
  });
  probe.start();
  w.show();
  QTRY_VERIFY_WITH_TIMEOUT(w.caughtUp(), 120000);
  probe.stop();
  QVERIFY2(ranDuring, "a pending timer must fire while the window catches up with many games");
  QVERIFY(!scheduler.pending());
  QCOMPARE(ListModel(w, u"ResultListView"_s)->rowCount(), 600000);
  QCOMPARE(SeriesNamed<QLineSeries>(w, u"SlumpChart"_s, u"SlumpSeries"_s)->points().last().x(), 600000.0);
  QVERIFY(!Find<QLabel>(w, u"ResultLabel"_s)->text().isEmpty());
}

void TMainFormTest::playListModelPassesTheTester() {
  TSimResultData log;
  PlaySeeded(log, {.games = 500, .seed = 13});
  TMainForm w(nullptr);
  w.show();
  QAbstractItemModelTester tester(ListModel(w, u"ResultListView"_s),
                                  QAbstractItemModelTester::FailureReportingMode::QtTest);
  QAbstractItemModelTester bonusTester(ListModel(w, u"BBListView"_s),
                                       QAbstractItemModelTester::FailureReportingMode::QtTest);
  w.UpdateResult(0, 249, 6, log);
  w.UpdateResult(250, 499, 6, log);
  w.ClearResult();
  w.UpdateResult(0, 0, 6, log);
  QCOMPARE(ListModel(w, u"ResultListView"_s)->rowCount(), 1);
}

void TMainFormTest::settingEstimatePageShowsTheCoresEstimate() {
  TSimResultData log;
  PlaySeeded(log, {.games = 3000, .level = 5, .seed = 8});
  TMainForm w(nullptr);
  w.show();
  for (int first = 0; first < 3000; first += 500) w.UpdateResult(first, first + 499, 5, log);

  orvel::SettingTally tally;
  tally.TakeIn(log, 0, 2999);
  QCOMPARE(w.settingTally().counts, tally.counts);
  QCOMPARE(w.settingTally().rows, tally.rows);
  const auto figures = orvel::MachineFigures();
  const orvel::SettingEstimate estimate = orvel::EstimateSetting(tally, figures);

  // 事後確率 and the eight prizes that differ between settings; the bell
  // and the missed bell are left out.
  QAbstractItemModel* list = ListModel(w, u"EstimateListView"_s);
  QCOMPARE(list->headerData(1, Qt::Horizontal).toString(), u"実測"_s);
  QCOMPARE(list->headerData(7, Qt::Horizontal).toString(), u"設定6"_s);
  QCOMPARE(list->rowCount(), 9);
  QCOMPARE(Row(list, 0).at(0), u"事後確率"_s);
  QStringList prizes;
  for (int r = 1; r < list->rowCount(); ++r) prizes << Row(list, r).at(0);
  QCOMPARE(prizes, (QStringList{u"2枚チェリー"_s, u"4枚チェリー"_s, u"スイカA"_s, u"スイカB"_s, u"ReplayA"_s,
                                u"ReplayB"_s, u"チャンス目"_s, u"ハズレ"_s}));
  QCOMPARE(Row(list, 1).at(1), QString::number(tally.counts[0]));

  const QBarSet* bars = SeriesNamed<QBarSeries>(w, u"EstimateChart"_s, u"EstimateSeries"_s)->barSets().first();
  QCOMPARE(bars->count(), 6);
  for (int s = 0; s < 6; ++s) {
    QCOMPARE(bars->at(s), 100 * estimate.posterior[static_cast<std::size_t>(s)]);
    QCOMPARE(Row(list, 0).at(s + 2),
             QString::fromStdString(orvel::PercentText(estimate.posterior[static_cast<std::size_t>(s)])));
  }
  QCOMPARE(bars->selectedBars(), QList<int>{estimate.mostLikely - 1});
  QCOMPARE(Find<QLabel>(w, u"EstimateLabel"_s)->text(),
           QString::fromStdString(orvel::ObservedVersusExactText(estimate, figures[4])));

  w.ClearResult();
  QCOMPARE(list->rowCount(), 0);
  QCOMPARE(w.settingTally().rows, 0);
  QVERIFY(bars->selectedBars().isEmpty());
  QVERIFY(Find<QLabel>(w, u"EstimateLabel"_s)->text().isEmpty());
}

QTEST_MAIN(TMainFormTest)
#include "TMainFormTest.moc"
