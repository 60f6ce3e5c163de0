#include <QObject>
#include <QSignalSpy>
#include <QTest>

#include "gui/common/DisplayScheduler.h"

using namespace Qt::StringLiterals;
using orvel::DisplayScheduler;
using orvel::TimeSlice;

class DisplaySchedulerTest : public QObject {
  Q_OBJECT

private slots:
  void aSlowDisplayDoesNotStarveTheOthers();
  void staleAgainDuringItsTurnKeepsTheMark();
  void aRemovedDisplayGetsNoMoreTurns();
};

// A display that needs many turns (a window catching up with a long run)
// takes one turn at a time in the circle; the others get theirs in between.
void DisplaySchedulerTest::aSlowDisplayDoesNotStarveTheOthers() {
  DisplayScheduler scheduler;
  QObject slow, a, b;
  QStringList turns;
  int slowTurnsLeft = 6;
  scheduler.Add(&slow, [&](const TimeSlice&) {
    turns << u"slow"_s;
    return --slowTurnsLeft == 0;
  });
  scheduler.Add(&a, [&](const TimeSlice&) {
    turns << u"a"_s;
    return true;
  });
  scheduler.Add(&b, [&](const TimeSlice&) {
    turns << u"b"_s;
    return true;
  });
  scheduler.MarkStale(&slow);
  scheduler.MarkStale(&a);
  scheduler.MarkStale(&b);
  QVERIFY(scheduler.pending());
  // Nothing happens before the event loop turns.
  QVERIFY(turns.isEmpty());
  QTRY_VERIFY(!scheduler.pending());
  QCOMPARE(turns, (QStringList{u"slow"_s, u"a"_s, u"b"_s, u"slow"_s, u"slow"_s, u"slow"_s, u"slow"_s, u"slow"_s}));

  // Stale again: the circle goes on where it was, not from the start.
  turns.clear();
  scheduler.MarkStale(&slow);
  scheduler.MarkStale(&a);
  slowTurnsLeft = 1;
  QTRY_VERIFY(!scheduler.pending());
  QCOMPARE(turns, (QStringList{u"a"_s, u"slow"_s}));
}

void DisplaySchedulerTest::staleAgainDuringItsTurnKeepsTheMark() {
  DisplayScheduler scheduler;
  QObject display;
  int turns = 0;
  scheduler.Add(&display, [&](const TimeSlice&) {
    // New data arrives while it catches up, once.
    if (++turns == 1) scheduler.MarkStale(&display);
    return true;
  });
  scheduler.MarkStale(&display);
  QTRY_VERIFY(!scheduler.pending());
  QCOMPARE(turns, 2);
}

void DisplaySchedulerTest::aRemovedDisplayGetsNoMoreTurns() {
  DisplayScheduler scheduler;
  QObject gone, stays;
  int goneTurns = 0, staysTurns = 0;
  scheduler.Add(&gone, [&](const TimeSlice&) {
    ++goneTurns;
    return false;
  });
  scheduler.Add(&stays, [&](const TimeSlice&) {
    ++staysTurns;
    return true;
  });
  scheduler.MarkStale(&gone);
  scheduler.MarkStale(&stays);
  scheduler.Remove(&gone);
  QTRY_VERIFY(!scheduler.pending());
  QCOMPARE(goneTurns, 0);
  QCOMPARE(staysTurns, 1);
}

QTEST_MAIN(DisplaySchedulerTest)
#include "DisplaySchedulerTest.moc"
