#include <QAbstractItemView>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <QChartView>
#include <QTimer>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QHeaderView>
#include <QTreeView>

#include <stdexcept>

#include "FindChild.h"
#include "ModalCatcher.h"
#include "gui/analysis/Unit1.h"
#include "gui/dialogs/Unit2.h"
#include "gui/hall/HallGridModel.h"
#include "gui/hall/Unit3.h"
#include "core/hall/MemoryBudget.h"
#include "core/model/Random.h"

using namespace Qt::StringLiterals;
using orvel::TFormHall;
namespace Column = orvel::HallGridColumn;

namespace {

QAction* ActionNamed(QWidget& window, const QString& name) { return Find<QAction>(window, name); }

// A hall whose runs depend on `seed` only: the machines are reset from it.
void Seed(TFormHall& hall, std::uint32_t seed) {
  orvel::SeedRandom(seed);
  hall.ResetMachines();
  hall.ResetData();
}

void SetText(QWidget& window, const QString& edit, const QString& text) {
  Find<QLineEdit>(window, edit)->setText(text);
}

// A hall seeded with `seed` and set to play `total` hall games.
void SetUpRun(TFormHall& hall, std::uint32_t seed, int total) {
  Seed(hall, seed);
  SetText(hall, u"PlayNumEdit"_s, QString::number(total));
}

void ClickStart(TFormHall& hall) { QTest::mouseClick(Find<QPushButton>(hall, u"StartButton"_s), Qt::LeftButton); }

// Presses Start and handles events until the run has left Running
// (completed, stopped or failed). The run plays in timer slices after the
// press has returned.
bool StartAndWait(TFormHall& hall) {
  QSignalSpy ended(&hall, &TFormHall::runEnded);
  ClickStart(hall);
  return ended.count() > 0 || ended.wait(120000);
}

QString Status(TFormHall& hall) { return Find<QLabel>(hall, u"StatusPanel1"_s)->text(); }

// The controls of the state table, as one text: PlayNumEdit, StartButton,
// ResetButton, 台数設定, the track bar and UpSpeedEdit.
QString Controls(TFormHall& hall) {
  return QStringList{Find<QLineEdit>(hall, u"PlayNumEdit"_s)->isEnabled() ? u"play"_s : u"-"_s,
                     Find<QPushButton>(hall, u"StartButton"_s)->text(),
                     Find<QPushButton>(hall, u"ResetButton"_s)->isEnabled() ? u"reset"_s : u"-"_s,
                     ActionNamed(hall, u"SetNumEdit"_s)->isEnabled() ? u"count"_s : u"-"_s,
                     Find<QSlider>(hall, u"UpdateTrackBar"_s)->isEnabled() ? u"track"_s : u"-"_s,
                     Find<QLineEdit>(hall, u"UpSpeedEdit"_s)->isEnabled() ? u"speed"_s : u"-"_s}
      .join(u' ');
}

const QString kIdle = u"play 開始 reset count track speed"_s;
const QString kRunning = u"- 停止 - - track speed"_s;
const QString kPaused = u"- 開始 reset count track speed"_s;

std::vector<int> Medals(const TFormHall& hall, int seat) {
  const auto column = hall.hall().PlayLog(seat).Column(orvel::ResultColumn::Medal);
  return {column.begin(), column.end()};
}

}  // namespace

class TFormHallTest : public QObject {
  Q_OBJECT

private slots:
  void builtWithTheDefaultHall();
  void defaultRunCompletesConsistently();
  void refreshCadence_data();
  void refreshCadence();
  void stopAndResumeGiveTheUninterruptedRun();
  void stopAfterTheLastHallGame();
  void aPressQueuedDuringTheLastHallGameStops();
  void openWindowsKeepUpDuringAFastRun();
  void resetEmptiesTheChartAndItsRanges();
  void pressesInOneHallGameToggleTheSameRun();
  void eventsRunDuringARun();
  void aModalBoxHoldsTheRun();
  void aFailedHallGameShowsTheErrorBoxAndPauses_data();
  void aFailedHallGameShowsTheErrorBoxAndPauses();
  void runningOutOfMemoryLeavesTheWindowUsable_data();
  void runningOutOfMemoryLeavesTheWindowUsable();
  void aRunThatCannotFitIsRefusedAtOnce();
  void intervalAndPlayCountChaseEachOther();
  void startWithAPlayCountThatIsNoInteger();
  void popupEnablingInEachState();
  void resetInIdleAndPaused();
  void closingDuringARunStopsAfterTheCurrentHallGame();
  void analysisWindowsFollowTheRun();
  void gridModelKeepsTheModelRules();
  void analysisWindowsLiveAndDieWithTheirSeats();
};

void TFormHallTest::builtWithTheDefaultHall() {
  TFormHall hall;
  hall.show();
  QCOMPARE(hall.windowTitle(), u"Orvelsimホール"_s);
  QCOMPARE(hall.size(), QSize(640, 684));
  QCOMPARE(hall.hall().SeatCount(), 20);
  QCOMPARE(hall.grid().rowCount(), 20);
  QCOMPARE(hall.grid().headerData(Column::Seat, Qt::Horizontal).toString(), u"番台"_s);
  QCOMPARE(hall.grid().headerData(Column::Yen, Qt::Horizontal).toString(), u"収支(円)"_s);
  QCOMPARE(hall.grid().Cell(19, Column::Seat), u"20"_s);
  QCOMPARE(hall.grid().Cell(0, Column::Rate), u"1"_s);
  QCOMPARE(hall.analysisWindow(6)->windowTitle(), u"Orvel　7番台"_s);
  QVERIFY(!hall.analysisWindow(0)->isVisible());
  QVERIFY(hall.stopped());
  QCOMPARE(hall.resumeGame(), 0);
  QCOMPARE(Find<QLineEdit>(hall, u"PlayNumEdit"_s)->text(), u"8000"_s);
  auto* track = Find<QSlider>(hall, u"UpdateTrackBar"_s);
  QCOMPARE(track->minimum(), 1);
  QCOMPARE(track->maximum(), 8000);
  QCOMPARE(track->value(), 50);
  QCOMPARE(Find<QLineEdit>(hall, u"UpSpeedEdit"_s)->text(), u"50"_s);
  QCOMPARE(Find<QLabel>(hall, u"Label6"_s)->text(), u"精"_s);
  QCOMPARE(Find<QLabel>(hall, u"Label5"_s)->text(), u"粗"_s);
  QCOMPARE(Find<QLabel>(hall, u"ProceedLabel"_s)->text(), QString());
  QCOMPARE(Status(hall), QString());
  QCOMPARE(Controls(hall), kIdle);
  auto* grid = Find<QTableView>(hall, u"HallStringGrid"_s);
  QCOMPARE(grid->horizontalHeader()->sectionSize(Column::Level), 36);
  QCOMPARE(grid->horizontalHeader()->sectionSize(Column::Rate), 41);
  QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
  QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  QCOMPARE(Find<QLabel>(hall, u"StatusPanel1"_s)->width(), 450);
  QCOMPARE(Find<QLabel>(hall, u"StatusPanel2"_s)->width(), 150);
  QCOMPARE(Find<QLabel>(hall, u"StatusPanel1"_s)->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
  QCOMPARE(Find<QLabel>(hall, u"StatusPanel2"_s)->alignment(), Qt::AlignCenter);
  QCOMPARE(Find<QLabel>(hall, u"StatusPanel1"_s)->frameShape(), QFrame::Panel);
  QCOMPARE(Find<QLabel>(hall, u"StatusPanel1"_s)->frameShadow(), QFrame::Sunken);
  auto* hint = Find<QLabel>(hall, u"Label4"_s);
  QCOMPARE(hint->text(), u"・マウスで範囲指定して拡大できます。右クリックでドラッグしてスクロールできます。"_s);
  QCOMPARE(hint->parentWidget()->objectName(), u"SlumpChart"_s);
  QCOMPARE(hint->pos(), QPoint(124, 4));
  QVERIFY(hint->testAttribute(Qt::WA_TransparentForMouseEvents));
  const QStringList popup{hall.popupMenu()->actions().at(0)->text(), hall.popupMenu()->actions().at(2)->text()};
  QCOMPARE(popup, (QStringList{u"解析表示"_s, u"台設定"_s}));

  // The grid grows with the window's height.
  const int before = grid->height();
  hall.resize(640, 900);
  QCoreApplication::processEvents();
  QVERIFY(grid->height() > before + 150);
}

void TFormHallTest::defaultRunCompletesConsistently() {
  TFormHall hall;
  hall.show();
  Seed(hall, 1);
  SetText(hall, u"PlayNumEdit"_s, u"260"_s);
  QVERIFY(StartAndWait(hall));

  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
  QCOMPARE(Controls(hall), kIdle);
  QCOMPARE(hall.resumeGame(), 0);
  const std::int64_t medals = hall.SumMedals();
  QCOMPARE(Find<QLabel>(hall, u"ProceedLabel"_s)->text(), QString::number(-medals * 20) + u"円"_s);
  QCOMPARE(hall.slump().size(), 260u);
  QCOMPARE(hall.slump().back(), -medals);
  QCOMPARE(hall.slump().firstGame(), 0);
  std::int64_t fromGrid = 0;
  for (int seat = 0; seat < 20; ++seat) {
    // The grid keeps the finished run although the machines were reset.
    QCOMPARE(hall.grid().Cell(seat, Column::PlayCount), u"260"_s);
    QCOMPARE(hall.grid().Cell(seat, Column::Medal).toLongLong(), Medals(hall, seat).back());
    QCOMPARE(hall.grid().Cell(seat, Column::Yen).toLongLong(), Medals(hall, seat).back() * 20LL);
    fromGrid += hall.grid().Cell(seat, Column::Medal).toLongLong();
    QCOMPARE(hall.hall().Machine(seat).playCount, 0);
    QCOMPARE(hall.hall().PlayLog(seat).Length(), 260);
  }
  QCOMPARE(fromGrid, medals);
}

void TFormHallTest::refreshCadence_data() {
  QTest::addColumn<int>("total");
  QTest::addColumn<int>("interval");
  QTest::addColumn<QList<int>>("refreshedAfter");
  QTest::newRow("every hall game") << 5 << 1 << QList<int>{0, 1, 2, 3, 4};
  QTest::newRow("interval equal to the play count") << 30 << 30 << QList<int>{29};
  QTest::newRow("multiples and the last") << 30 << 7 << QList<int>{6, 13, 20, 27, 29};
  QTest::newRow("a play count of one") << 1 << 1 << QList<int>{0};
}

void TFormHallTest::refreshCadence() {
  QFETCH(int, total);
  QFETCH(int, interval);
  QFETCH(QList<int>, refreshedAfter);
  TFormHall hall;
  SetText(hall, u"PlayNumEdit"_s, QString::number(total));
  SetText(hall, u"UpSpeedEdit"_s, QString::number(interval));
  QList<int> refreshes;
  connect(&hall, &TFormHall::refreshed, this, [&](int g) { refreshes << g; });
  QVERIFY(StartAndWait(hall));
  QCOMPARE(refreshes, refreshedAfter);
  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
}

void TFormHallTest::stopAndResumeGiveTheUninterruptedRun() {
  TFormHall straight;
  Seed(straight, 77);
  SetText(straight, u"PlayNumEdit"_s, u"100"_s);
  SetText(straight, u"UpSpeedEdit"_s, u"10"_s);
  QVERIFY(StartAndWait(straight));

  TFormHall hall;
  Seed(hall, 77);
  SetText(hall, u"PlayNumEdit"_s, u"100"_s);
  SetText(hall, u"UpSpeedEdit"_s, u"10"_s);
  QList<int> refreshes;
  connect(&hall, &TFormHall::refreshed, this, [&](int g) { refreshes << g; });
  auto stopAt34 = connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) {
    if (g == 34) ClickStart(hall);  // the press is seen right after this hall game
  });
  QVERIFY(StartAndWait(hall));
  disconnect(stopAt34);
  QCOMPARE(Status(hall), u"シミュレーション停止"_s);
  QCOMPARE(hall.resumeGame(), 35);
  QVERIFY(hall.stopped());
  QCOMPARE(Controls(hall), kPaused);
  QCOMPARE(hall.slump().size(), 35u);
  QCOMPARE(hall.hall().Machine(3).playCount, 35);

  QVERIFY(StartAndWait(hall));
  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
  QCOMPARE(refreshes, (QList<int>{9, 19, 29, 39, 49, 59, 69, 79, 89, 99}));
  QCOMPARE(hall.slump().size(), 100u);
  QCOMPARE(hall.slump().firstGame(), 0);
  QCOMPARE(hall.slump().lastGame(), 99);
  for (int seat = 0; seat < 20; ++seat) QCOMPARE(Medals(hall, seat), Medals(straight, seat));
  QCOMPARE(hall.slump().back(), straight.slump().back());
}

void TFormHallTest::stopAfterTheLastHallGame() {
  TFormHall hall;
  SetText(hall, u"PlayNumEdit"_s, u"12"_s);
  auto stop = connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) {
    if (g == 11) ClickStart(hall);
  });
  QVERIFY(StartAndWait(hall));
  disconnect(stop);
  QCOMPARE(Status(hall), u"シミュレーション停止"_s);
  QCOMPARE(hall.resumeGame(), 12);
  QCOMPARE(hall.hall().Machine(0).playCount, 12);

  QSignalSpy played(&hall, &TFormHall::hallGamePlayed);
  QVERIFY(StartAndWait(hall));
  QCOMPARE(played.count(), 0);
  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
  QCOMPARE(hall.resumeGame(), 0);
  QCOMPARE(hall.hall().Machine(0).playCount, 0);  // ResetMachines after completing
  QCOMPARE(hall.hall().PlayLog(0).Length(), 12);
  QCOMPARE(Controls(hall), kIdle);
}

// A press that arrives while the last hall game is played waits in the
// event queue: it is a stop, handled before the run completes, and never
// the start of a new run after the run has ended.
void TFormHallTest::aPressQueuedDuringTheLastHallGameStops() {
  TFormHall hall;
  SetText(hall, u"PlayNumEdit"_s, u"12"_s);
  auto press = connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) {
    if (g == 11) QTimer::singleShot(0, &hall, [&] { ClickStart(hall); });
  });
  QVERIFY(StartAndWait(hall));
  disconnect(press);
  QCOMPARE(Status(hall), u"シミュレーション停止"_s);
  QCOMPARE(hall.resumeGame(), 12);
  QCOMPARE(hall.hall().PlayLog(0).Length(), 12);
  QVERIFY(StartAndWait(hall));
  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
  QCOMPARE(hall.hall().PlayLog(0).Length(), 12);
}

// At interval 1 every hall game marks the hall chart out of date; the open
// analysis windows must get their turns all the same, and keep the caption
// the hall gave them when they are first shown.
void TFormHallTest::openWindowsKeepUpDuringAFastRun() {
  TFormHall hall;
  hall.show();
  Seed(hall, 11);
  orvel::TMainForm* window = hall.analysisWindow(0);
  window->show();
  QCOMPARE(window->windowTitle(), u"Orvel　1番台"_s);
  SetText(hall, u"PlayNumEdit"_s, u"3000"_s);
  SetText(hall, u"UpSpeedEdit"_s, u"1"_s);
  auto* rows = Find<QAbstractItemView>(*window, u"ResultListView"_s);
  int shownBeforeTheEnd = 0;
  auto look = connect(&hall, &TFormHall::refreshed, this, [&](int g) {
    if (g == 2998) shownBeforeTheEnd = rows->model()->rowCount();
  });
  QVERIFY(StartAndWait(hall));
  disconnect(look);
  QVERIFY2(shownBeforeTheEnd > 0, "the open window showed nothing during the run");
  QCoreApplication::processEvents();
  QTRY_COMPARE(rows->model()->rowCount(), 3000);
}

void TFormHallTest::resetEmptiesTheChartAndItsRanges() {
  TFormHall hall;
  hall.show();
  Seed(hall, 2);
  auto* chart = Find<QChartView>(hall, u"SlumpChart"_s)->chart();
  const auto ranges = [&] {
    QList<double> list;
    for (QAbstractAxis* axis : chart->axes()) {
      list << qobject_cast<QValueAxis*>(axis)->min() << qobject_cast<QValueAxis*>(axis)->max();
    }
    return list;
  };
  const QList<double> empty = ranges();
  SetText(hall, u"PlayNumEdit"_s, u"300"_s);
  QVERIFY(StartAndWait(hall));
  QTRY_VERIFY(!hall.displaysPending());
  QVERIFY(ranges() != empty);
  hall.ResetButtonClick();
  QCOMPARE(ranges(), empty);
  QVERIFY(qobject_cast<QLineSeries*>(chart->series().first())->points().isEmpty());
}

// Presses made inside one hall game take turns: stop, resume, stop. None
// starts a second run beside the first or plays a hall game twice.
void TFormHallTest::pressesInOneHallGameToggleTheSameRun() {
  TFormHall hall;
  SetText(hall, u"PlayNumEdit"_s, u"50"_s);
  QList<int> played;
  connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) { played << g; });
  auto thrice = connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) {
    if (g == 3) {
      hall.StartButtonClick();  // the stop request
      QVERIFY(hall.stopped());
      hall.StartButtonClick();  // resumes at hall game 4
      QVERIFY(hall.running());
      ActionNamed(hall, u"FileStartMenu"_s)->trigger();  // stops again
    }
  });
  QVERIFY(StartAndWait(hall));
  disconnect(thrice);
  QCOMPARE(played, (QList<int>{0, 1, 2, 3}));
  QCOMPARE(hall.resumeGame(), 4);
  QVERIFY(!hall.running());
  QCOMPARE(Controls(hall), kPaused);
  QCOMPARE(Status(hall), u"シミュレーション停止"_s);
  // Nothing plays on in the background.
  QTest::qWait(20);
  QCOMPARE(played.size(), 4);

  // Stop and resume in one hall game: the run goes on to its end, every
  // hall game once.
  played.clear();
  auto twice = connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) {
    if (g == 10) {
      hall.StartButtonClick();
      hall.StartButtonClick();
    }
  });
  QVERIFY(StartAndWait(hall));  // ended by the stop at hall game 10
  QVERIFY(hall.running());
  QSignalSpy ended(&hall, &TFormHall::runEnded);
  QVERIFY(ended.wait(120000));
  disconnect(twice);
  QList<int> rest;
  for (int g = 4; g < 50; ++g) rest << g;
  QCOMPARE(played, rest);
  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
  QCOMPARE(hall.hall().PlayLog(0).Length(), 50);
}

// The run plays in slices between events: a timer set before the press
// fires while the run is under way, and input is handled then too.
void TFormHallTest::eventsRunDuringARun() {
  TFormHall hall;
  hall.show();
  SetText(hall, u"PlayNumEdit"_s, u"8000"_s);
  int gamesWhenFired = -1;
  QTimer::singleShot(0, &hall, [&] { gamesWhenFired = hall.running() ? hall.resumeGame() : -1; });
  QSignalSpy ended(&hall, &TFormHall::runEnded);
  ClickStart(hall);
  QVERIFY2(hall.running(), "Start returns with the run under way");
  QCOMPARE(hall.hall().PlayLog(0).Length(), 0);
  QVERIFY(ended.wait(120000));
  QVERIFY2(gamesWhenFired >= 0, "the timer fired only after the run");
  QVERIFY(gamesWhenFired < 8000);
  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
}

// A modal box opened during a run (the version box) holds the run until it
// is closed, although Qt's timers fire inside its event loop.
void TFormHallTest::aModalBoxHoldsTheRun() {
  TFormHall hall;
  orvel::TAboutBox about(&hall);
  hall.SetDialogs(nullptr, nullptr, &about);
  SetText(hall, u"PlayNumEdit"_s, u"20000"_s);
  bool openedWhileRunning = false;
  int playedWhileOpen = 0;
  bool open = false;
  int turnsWhileOpen = 0;
  connect(&hall, &TFormHall::hallGamePlayed, this, [&](int) { playedWhileOpen += open; });
  ModalCatcher catcher;
  catcher.onDialog = [&](QDialog* dialog) {
    open = true;
    openedWhileRunning = hall.running();
    // Let the event loop turn a good many times with the box open.
    auto* ticks = new QTimer(dialog);
    connect(ticks, &QTimer::timeout, dialog, [&, dialog, ticks] {
      if (++turnsWhileOpen < 30) return;
      ticks->stop();
      open = false;
      dialog->accept();
    });
    ticks->start(1);
  };
  auto box = connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) {
    // Opened from an event of its own between two slices, as a user opens it.
    if (g == 100) QTimer::singleShot(0, &hall, [&] { ActionNamed(hall, u"HelpAboutMenu"_s)->trigger(); });
  });
  QVERIFY(StartAndWait(hall));
  disconnect(box);
  QVERIFY(openedWhileRunning);
  QCOMPARE(turnsWhileOpen, 30);
  QCOMPARE(playedWhileOpen, 0);
  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
  QCOMPARE(hall.hall().PlayLog(0).Length(), 20000);
}

void TFormHallTest::aFailedHallGameShowsTheErrorBoxAndPauses_data() {
  QTest::addColumn<int>("failAt");
  QTest::addColumn<bool>("standardException");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("boxText");
  QTest::addColumn<QString>("controls");
  QTest::newRow("a std::exception part-way: Paused there")
      << 17 << true << u"'x' は浮動小数点数ではありません"_s << u"'x' は浮動小数点数ではありません."_s << kPaused;
  QTest::newRow("anything else: an empty message") << 23 << false << QString() << QString() << kPaused;
  QTest::newRow("at the first hall game: nothing to resume, Idle")
      << 0 << true << u"log full."_s << u"log full."_s << kIdle;
}

void TFormHallTest::aFailedHallGameShowsTheErrorBoxAndPauses() {
  QFETCH(int, failAt);
  QFETCH(bool, standardException);
  QFETCH(QString, message);
  QFETCH(QString, boxText);
  QFETCH(QString, controls);
  constexpr int kTotal = 40;
  TFormHall straight;
  SetUpRun(straight, 9, kTotal);
  QVERIFY(StartAndWait(straight));

  TFormHall hall;
  SetUpRun(hall, 9, kTotal);
  ModalCatcher catcher;
  bool thrown = false;
  hall.hallGameFault = [&](int g) {
    if (g != failAt || thrown) return;
    thrown = true;
    if (standardException) throw std::runtime_error(message.toStdString());
    throw 42;
  };
  // An exception that left the handler would fail this test in Qt Test.
  QVERIFY(StartAndWait(hall));
  QVERIFY(thrown);
  QCOMPARE(catcher.boxes.size(), 1);
  QCOMPARE(catcher.boxes[0].objectName, u"ErrorBox"_s);
  QCOMPARE(catcher.boxes[0].title, u"Orvelsimホール"_s);
  QCOMPARE(catcher.boxes[0].text, boxText);
  QCOMPARE(catcher.boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(catcher.boxes[0].buttons, 1);
  QVERIFY(hall.stopped());
  QVERIFY(!hall.running());
  QCOMPARE(hall.resumeGame(), failAt);
  QCOMPARE(Controls(hall), controls);
  QCOMPARE(Status(hall), u"シミュレーション停止"_s);
  QCOMPARE(hall.slump().size(), static_cast<std::size_t>(failAt));
  QCOMPARE(hall.hall().Machine(0).playCount, failAt);

  // Start goes on at the failed hall game and completes the run as if
  // nothing had happened.
  QList<int> played;
  connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) { played << g; });
  QVERIFY(StartAndWait(hall));
  QCOMPARE(played.size(), kTotal - failAt);
  QCOMPARE(played.front(), failAt);
  QCOMPARE(played.back(), kTotal - 1);
  QCOMPARE(catcher.boxes.size(), 1);
  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
  QCOMPARE(Controls(hall), kIdle);
  QCOMPARE(hall.slump().size(), static_cast<std::size_t>(kTotal));
  QCOMPARE(hall.slump().firstGame(), 0);
  QCOMPARE(hall.slump().lastGame(), kTotal - 1);
  for (int seat = 0; seat < 20; ++seat) QCOMPARE(Medals(hall, seat), Medals(straight, seat));
}

void TFormHallTest::runningOutOfMemoryLeavesTheWindowUsable_data() {
  QTest::addColumn<int>("pauseAt");
  QTest::addColumn<QString>("controls");
  // At the first Start nothing has been played, so the window is Idle; on
  // resume it stays Paused where it was.
  QTest::newRow("at the start") << 0 << kIdle;
  QTest::newRow("on resume") << 10 << kPaused;
}

void TFormHallTest::runningOutOfMemoryLeavesTheWindowUsable() {
  QFETCH(int, pauseAt);
  QFETCH(QString, controls);
  constexpr int kTotal = 30;
  TFormHall straight;
  SetUpRun(straight, 4, kTotal);
  QVERIFY(StartAndWait(straight));

  TFormHall hall;
  SetUpRun(hall, 4, kTotal);
  ModalCatcher catcher;
  if (pauseAt > 0) {
    auto stop = connect(&hall, &TFormHall::hallGamePlayed, &hall, [&](int g) {
      if (g == pauseAt - 1) ClickStart(hall);
    });
    QVERIFY(StartAndWait(hall));
    disconnect(stop);
    QCOMPARE(hall.resumeGame(), pauseAt);
  }
  bool thrown = false;
  hall.reservationFault = [&](int seat) {
    if (seat != 3 || thrown) return;
    thrown = true;
    throw std::bad_alloc();
  };
  QVERIFY(StartAndWait(hall));
  QVERIFY(thrown);
  QCOMPARE(catcher.boxes.size(), 1);
  QCOMPARE(catcher.boxes[0].objectName, u"ErrorBox"_s);
  QVERIFY2(catcher.boxes[0].text.startsWith(u"メモリが足りません。シミュレーションを停止しました。\n"_s),
           qPrintable(catcher.boxes[0].text));
  QVERIFY(!catcher.boxes[0].text.contains(u"bad_alloc"_s));
  QCOMPARE(Controls(hall), controls);
  QCOMPARE(Status(hall), u"シミュレーション停止"_s);
  QCOMPARE(hall.resumeGame(), pauseAt);
  QCOMPARE(hall.hall().PlayLog(0).Length(), pauseAt);

  // The next Start plays the run to its end, as if nothing had happened.
  QVERIFY(StartAndWait(hall));
  QCOMPARE(catcher.boxes.size(), 1);
  QCOMPARE(Status(hall), u"シミュレーション完了"_s);
  QCOMPARE(Controls(hall), kIdle);
  QCOMPARE(hall.slump().size(), static_cast<std::size_t>(kTotal));
  for (int seat = 0; seat < 20; ++seat) QCOMPARE(Medals(hall, seat), Medals(straight, seat));

  // Reset gives the run's memory back rather than keeping it for the next.
  QTest::mouseClick(Find<QPushButton>(hall, u"ResetButton"_s), Qt::LeftButton);
  for (int seat = 0; seat < 20; ++seat) QCOMPARE(hall.hall().PlayLog(seat).Capacity(), 0u);
  QVERIFY(hall.slump().empty());
}

void TFormHallTest::aRunThatCannotFitIsRefusedAtOnce() {
  // Twenty seats for the longest play count want over a terabyte of logs.
  TFormHall hall;
  SetText(hall, u"PlayNumEdit"_s, u"2147483647"_s);
  ModalCatcher catcher;
  QSignalSpy played(&hall, &TFormHall::hallGamePlayed);
  ClickStart(hall);
  QCOMPARE(catcher.boxes.size(), 1);
  const QString text = catcher.boxes[0].text;
  QVERIFY2(text.startsWith(u"メモリが足りません。\n20 台 × 2147483647 ゲームの記録には約 "_s), qPrintable(text));
  QVERIFY2(text.contains(QString::fromStdString(orvel::MemoryText(orvel::RunMemory(20, 2147483647)))),
           qPrintable(text));
  QVERIFY(text.endsWith(u"Play数か台数を減らしてください。"_s));
  QCOMPARE(Controls(hall), kIdle);
  QVERIFY(!hall.running());
  QTest::qWait(50);
  QCOMPARE(played.count(), 0);
}

void TFormHallTest::intervalAndPlayCountChaseEachOther() {
  TFormHall hall;
  ModalCatcher catcher;
  auto* track = Find<QSlider>(hall, u"UpdateTrackBar"_s);
  auto* speed = Find<QLineEdit>(hall, u"UpSpeedEdit"_s);
  auto* play = Find<QLineEdit>(hall, u"PlayNumEdit"_s);

  // Typing 80 over the old text digit by digit passes through 8, which
  // pulls the interval down.
  play->selectAll();
  QTest::keyClicks(play, u"80"_s);
  QCOMPARE(catcher.boxes.size(), 0);
  QCOMPARE(track->maximum(), 80);
  QCOMPARE(track->value(), 8);
  QCOMPARE(speed->text(), u"8"_s);

  // The track bar moves the edit.
  track->setValue(33);
  QCOMPARE(speed->text(), u"33"_s);

  // An interval above the play count is refused and becomes 1.
  speed->setText(u"81"_s);
  QCOMPARE(catcher.boxes.size(), 1);
  QCOMPARE(catcher.boxes[0].title, u"エラー"_s);
  QCOMPARE(catcher.boxes[0].text, u"更新間隔が不正です。"_s);
  QCOMPARE(catcher.boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(catcher.boxes[0].buttons, 1);
  QCOMPARE(speed->text(), u"1"_s);
  QCOMPARE(track->value(), 1);

  // A play count below 1 is refused and becomes 1, and so does the maximum.
  play->setText(u"0"_s);
  QCOMPARE(catcher.boxes.size(), 2);
  QCOMPARE(catcher.boxes[1].text, u"Play数は、1以上にしてください。"_s);
  QCOMPARE(play->text(), u"1"_s);
  QCOMPARE(track->maximum(), 1);

  // No integer: the error box, and nothing else changes.
  play->setText(u"30"_s);
  track->setValue(20);
  play->setText(u"3x"_s);
  QCOMPARE(catcher.boxes.size(), 3);
  QCOMPARE(catcher.boxes[2].text, u"'3x' は整数ではありません."_s);
  QCOMPARE(catcher.boxes[2].icon, QMessageBox::Critical);
  QCOMPARE(play->text(), u"3x"_s);
  QCOMPARE(track->maximum(), 30);
  QCOMPARE(track->value(), 20);
  speed->setText(QString());
  QCOMPARE(catcher.boxes.size(), 4);
  QCOMPARE(catcher.boxes[3].text, u"'' は整数ではありません."_s);
  QCOMPARE(track->value(), 20);
}

void TFormHallTest::startWithAPlayCountThatIsNoInteger() {
  TFormHall hall;
  ModalCatcher catcher;
  SetText(hall, u"PlayNumEdit"_s, u"12.5"_s);
  catcher.boxes.clear();
  QSignalSpy played(&hall, &TFormHall::hallGamePlayed);
  ClickStart(hall);
  QCoreApplication::processEvents();
  QCOMPARE(played.count(), 0);
  QCOMPARE(catcher.texts(), QStringList{u"'12.5' は整数ではありません."_s});
  QVERIFY(hall.stopped());
  QVERIFY(!hall.running());
  QCOMPARE(Controls(hall), kIdle);
  QCOMPARE(Status(hall), QString());
  QCOMPARE(hall.hall().PlayLog(0).Length(), 0);
}

void TFormHallTest::popupEnablingInEachState() {
  TFormHall hall;
  hall.show();
  QAction* disp = ActionNamed(hall, u"DispPopupMenu"_s);
  QAction* set = ActionNamed(hall, u"SetPopupMenu"_s);
  auto* grid = Find<QTableView>(hall, u"HallStringGrid"_s);

  // Idle, a right-click on seat 3's row.
  const QRect row3 = grid->visualRect(hall.grid().index(2, 4));
  QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, row3.center());
  QVERIFY(hall.popupMenu()->isVisible());
  hall.popupMenu()->close();
  QCOMPARE(hall.currentGridRow(), 3);
  QVERIFY(disp->isEnabled());
  QVERIFY(set->isEnabled());

  // The caption row disables both.
  QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::RightButton, {}, QPoint(20, 5));
  hall.popupMenu()->close();
  QVERIFY(!disp->isEnabled());
  QVERIFY(!set->isEnabled());

  // Below the last row: the same, and the current row stays.
  hall.resize(640, 1200);
  QCoreApplication::processEvents();
  QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, QPoint(30, grid->viewport()->height() - 4));
  hall.popupMenu()->close();
  QVERIFY(!disp->isEnabled());
  QVERIFY(!set->isEnabled());
  QCOMPARE(hall.currentGridRow(), 3);

  // Running: 台設定 disabled, 解析表示 works.
  SetText(hall, u"PlayNumEdit"_s, u"40"_s);
  bool checked = false;
  auto during = connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) {
    if (g != 5) return;
    hall.HallStringGridMouseDown(Qt::RightButton, 2);
    checked = disp->isEnabled() && !set->isEnabled() && hall.currentGridRow() == 2;
    disp->trigger();
    hall.StartButtonClick();
  });
  QVERIFY(StartAndWait(hall));
  disconnect(during);
  QVERIFY(checked);
  QVERIFY(hall.analysisWindow(1)->isVisible());

  // Paused: still disabled.
  hall.HallStringGridMouseDown(Qt::RightButton, 4);
  QVERIFY(disp->isEnabled());
  QVERIFY(!set->isEnabled());
  hall.HallStringGridMouseDown(Qt::LeftButton, 4);
  QVERIFY(!set->isEnabled());
  hall.ResetButtonClick();
  hall.HallStringGridMouseDown(Qt::LeftButton, 4);
  QVERIFY(set->isEnabled());
  hall.analysisWindow(1)->close();
}

void TFormHallTest::resetInIdleAndPaused() {
  TFormHall hall;
  SetText(hall, u"PlayNumEdit"_s, u"60"_s);
  auto stop = connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) {
    if (g == 49) hall.StartButtonClick();
  });
  QVERIFY(StartAndWait(hall));
  disconnect(stop);
  QCOMPARE(hall.resumeGame(), 50);
  const QString balance = Find<QLabel>(hall, u"ProceedLabel"_s)->text();
  QVERIFY(!balance.isEmpty());

  QTest::mouseClick(Find<QPushButton>(hall, u"ResetButton"_s), Qt::LeftButton);
  QCOMPARE(hall.resumeGame(), 0);
  QCOMPARE(Controls(hall), kIdle);
  QCOMPARE(Find<QLabel>(hall, u"ProceedLabel"_s)->text(), balance);
  QCOMPARE(hall.slump().size(), 0u);
  for (int seat = 0; seat < 20; ++seat) {
    QCOMPARE(hall.hall().PlayLog(seat).Length(), 0);
    QCOMPARE(hall.hall().Machine(seat).playCount, 0);
    QCOMPARE(hall.grid().Cell(seat, Column::PlayCount), u"0"_s);
    QCOMPARE(hall.analysisWindow(seat)->nextGame(), 0);
  }

  // In Idle after a completed run: the same.
  SetText(hall, u"PlayNumEdit"_s, u"5"_s);
  QVERIFY(StartAndWait(hall));
  QCOMPARE(hall.grid().Cell(0, Column::PlayCount), u"5"_s);
  hall.ResetButtonClick();
  QCOMPARE(hall.grid().Cell(0, Column::PlayCount), u"0"_s);
  QCOMPARE(hall.hall().PlayLog(0).Length(), 0);
}

void TFormHallTest::closingDuringARunStopsAfterTheCurrentHallGame() {
  TFormHall hall;
  hall.show();
  SetText(hall, u"PlayNumEdit"_s, u"100"_s);
  auto close = connect(&hall, &TFormHall::hallGamePlayed, this, [&](int g) {
    if (g == 10) hall.close();
  });
  QVERIFY(StartAndWait(hall));
  disconnect(close);
  QVERIFY(!hall.isVisible());
  QVERIFY(!hall.running());
  QCOMPARE(hall.resumeGame(), 11);
  QCOMPARE(hall.hall().Machine(0).playCount, 11);
}

void TFormHallTest::analysisWindowsFollowTheRun() {
  TFormHall hall;
  hall.show();
  Seed(hall, 5);
  hall.hall().SetRateText(1, "0.5");
  hall.RefreshGrid();
  SetText(hall, u"PlayNumEdit"_s, u"333"_s);
  hall.analysisWindow(0)->show();
  QVERIFY(StartAndWait(hall));
  for (int seat = 0; seat < 20; ++seat) {
    QCOMPARE(hall.analysisWindow(seat)->nextGame(), hall.hall().PlayLog(seat).Length());
  }
  QCOMPARE(hall.analysisWindow(1)->nextGame(), 167);
  QVERIFY(hall.analysisWindow(0)->isBuilt());
  QVERIFY2(!hall.analysisWindow(5)->isBuilt(), "a window nobody opened builds no widgets");
  hall.analysisWindow(5)->show();
  auto* rows = hall.analysisWindow(5)->findChild<QAbstractItemView*>(u"ResultListView"_s);
  // It catches up in the hall's display turns.
  QTRY_VERIFY(hall.analysisWindow(5)->caughtUp());
  QCOMPARE(rows->model()->rowCount(), 333);
  hall.analysisWindow(0)->close();
  hall.analysisWindow(5)->close();
}

// The grid's model under QAbstractItemModelTester through everything that
// rewrites it: a run's refreshes, a reset, and seat counts going down, up
// and to none.
void TFormHallTest::gridModelKeepsTheModelRules() {
  TFormHall hall;
  hall.show();
  Seed(hall, 3);
  QAbstractItemModel* model = Find<QTableView>(hall, u"HallStringGrid"_s)->model();
  QCOMPARE(static_cast<const QAbstractItemModel*>(model), &hall.grid());
  QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
  QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
  QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
  const auto playCount = [&](int seat) { return model->index(seat, Column::PlayCount).data().toString(); };

  // The run clears the grid once, then refreshes after hall games 9, 19, 29.
  SetText(hall, u"PlayNumEdit"_s, u"30"_s);
  SetText(hall, u"UpSpeedEdit"_s, u"10"_s);
  QVERIFY(StartAndWait(hall));
  QCOMPARE(changed.count(), 4);
  QCOMPARE(model->rowCount(), 20);
  QCOMPARE(playCount(19), u"30"_s);

  hall.ResetButtonClick();
  QCOMPARE(changed.count(), 5);
  QCOMPARE(playCount(19), u"0"_s);
  QCOMPARE(inserted.count() + removed.count(), 0);

  // Seat counts as the machine-count dialog sets them.
  const auto seats = [&](int count) {
    hall.DeleteSeats();
    hall.CreateSeats(count);
    hall.ResetMachines();
    hall.ResetData();
  };
  seats(3);
  QCOMPARE(model->rowCount(), 3);
  QCOMPARE(removed.count(), 1);
  QCOMPARE(removed.last().at(1).toInt(), 3);
  QCOMPARE(removed.last().at(2).toInt(), 19);
  seats(25);
  QCOMPARE(model->rowCount(), 25);
  QCOMPARE(inserted.count(), 1);
  QCOMPARE(inserted.last().at(1).toInt(), 3);
  QCOMPARE(inserted.last().at(2).toInt(), 24);
  QCOMPARE(model->index(24, Column::Seat).data().toString(), u"25"_s);
  seats(0);
  QCOMPARE(model->rowCount(), 0);
  QCOMPARE(removed.count(), 2);

  // And a run on the new seats refreshes them.
  seats(2);
  QVERIFY(StartAndWait(hall));
  QCOMPARE(playCount(1), u"30"_s);
}

void TFormHallTest::analysisWindowsLiveAndDieWithTheirSeats() {
  QPointer<orvel::TMainForm> former;
  QPointer<orvel::TMainForm> last;
  {
    TFormHall hall;
    former = hall.analysisWindow(0);
    former->show();
    QCOMPARE(former->parentWidget(), &hall);
    QVERIFY(former->isWindow());

    hall.DeleteSeats();
    hall.CreateSeats(3);
    QVERIFY2(former.isNull(), "a replaced seat's window, open or not, is gone");
    QCOMPARE(hall.findChildren<orvel::TMainForm*>().size(), 3);
    for (int seat = 0; seat < 3; ++seat) QCOMPARE(hall.analysisWindow(seat)->parentWidget(), &hall);
    QCOMPARE(hall.analysisWindow(2)->windowTitle(), u"Orvel　3番台"_s);

    hall.CreateSeats(2);  // replaces the seats without DeleteSeats first
    QCOMPARE(hall.findChildren<orvel::TMainForm*>().size(), 2);
    last = hall.analysisWindow(1);
    last->show();
  }
  QVERIFY2(last.isNull(), "the windows go with the hall window");
}

QTEST_MAIN(TFormHallTest)
#include "TFormHallTest.moc"
