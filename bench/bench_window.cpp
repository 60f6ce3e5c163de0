// The whole program as a user runs it: the real hall window on the
// offscreen platform, set up through its widgets, Start pressed, measured
// until "シミュレーション完了".
//
// For each scenario: wall time, peak resident memory (each scenario runs in
// a process of its own, so the peak is its own), and the longest time a
// pending event waited (a 1 ms timer's latest firing).
//
//   bench_window            every scenario, one line each
//   bench_window N          scenario N only (1, 2, 2all, 3, 4, 5, 6, 7, core)
//   bench_window long SEATS SECONDS [PLAYCOUNT]
//                           a run far longer than it is let go on: the event
//                           waits of each second, printed for a few of them
//                           (not in the default list: it takes minutes)
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "FindChild.h"
#include "gui/analysis/Unit1.h"
#include "gui/dialogs/Unit4.h"
#include "core/hall/Hall.h"
#include "core/hall/RunEngine.h"
#include "gui/hall/Unit3.h"
#include "core/model/Random.h"

using namespace Qt::StringLiterals;

namespace {

long PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;  // kB on Linux
}

long ResidentMb() {
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * sysconf(_SC_PAGESIZE) / (1024 * 1024);
}

// The longest wait of a 1 ms timer while `work` runs.
struct Latency {
  QTimer timer;
  QElapsedTimer clock;
  qint64 last = 0, worst = 0;
  Latency() {
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, &timer, [this] {
      const qint64 now = clock.nsecsElapsed();
      worst = std::max(worst, now - last);
      last = now;
    });
  }
  void Start() {
    clock.start();
    last = 0;
    worst = 0;
    timer.start();
  }
  double StopMs() {
    worst = std::max(worst, clock.nsecsElapsed() - last);
    timer.stop();
    return static_cast<double>(worst) / 1e6 - 1.0;  // the timer's own millisecond is no wait
  }
};

void Report(const char* name, double seconds, double waitMs, const char* extra = "") {
  std::printf("%-34s wall %8.3f s   peak RSS %5ld MB   longest event wait %7.1f ms%s\n", name, seconds, PeakRssMb(),
              waitMs, extra);
  std::fflush(stdout);
}

// Presses Start and handles events until the run has ended and the last
// refresh is on the screen: the displays catch up in turns of their own
// after the run's slices.
void RunToTheEnd(orvel::TFormHall& hall) {
  bool ended = false;
  const auto connection = QObject::connect(&hall, &orvel::TFormHall::runEnded, &hall, [&ended] { ended = true; });
  Find<QPushButton>(hall, u"StartButton"_s)->click();
  while (!ended || hall.displaysPending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QApplication::processEvents();  // the last paint
  QObject::disconnect(connection);
}

// Sets the window up through its widgets, presses Start and measures.
void RunWindow(const char* name, int games, int interval, const std::function<void(orvel::TFormHall&)>& setUp,
               int machines = 20, const std::function<void(orvel::TFormHall&)>& during = {}) {
  orvel::TFormHall hall;
  orvel::TSetNumForm countDialog(&hall);
  hall.SetDialogs(nullptr, &countDialog, nullptr);
  hall.show();
  QApplication::processEvents();

  char extra[96] = "";
  if (machines != 20) {
    // Through the machine-count dialog; its OK is timed from the click to
    // the new seats standing in the grid.
    QElapsedTimer ok;
    QTimer::singleShot(0, &countDialog, [&] {
      Find<QLineEdit>(countDialog, u"NumEdit"_s)->setText(QString::number(machines));
      ok.start();
      Find<QPushButton>(countDialog, u"OkButton"_s)->click();
    });
    Find<QAction>(hall, u"SetNumEdit"_s)->trigger();
    const double okSeconds = static_cast<double>(ok.nsecsElapsed()) / 1e9;
    std::snprintf(extra, sizeof extra, "   (count dialog OK %.3f s)", okSeconds);
  }
  orvel::SeedRandom(20261209);
  hall.ResetMachines();
  hall.ResetData();
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(QString::number(games));
  Find<QLineEdit>(hall, u"UpSpeedEdit"_s)->setText(QString::number(interval));
  setUp(hall);
  QApplication::processEvents();

  Latency latency;
  QElapsedTimer wall;
  latency.Start();
  wall.start();
  if (during) during(hall);
  RunToTheEnd(hall);
  const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
  const double wait = latency.StopMs();
  if (Find<QLabel>(hall, u"StatusPanel1"_s)->text() != u"シミュレーション完了"_s) {
    std::printf("%s: the run did not complete\n", name);
  }
  Report(name, seconds, wait, extra);
}

void ShowWindows(orvel::TFormHall& hall, int count) {
  for (int seat = 0; seat < count; ++seat) {
    hall.HallStringGridMouseDown(Qt::RightButton, seat + 1);
    Find<QAction>(hall, u"DispPopupMenu"_s)->trigger();
  }
}

// A one-seat hall runs `games` hall games with its analysis window hidden;
// measured is the show: from the menu item until the window has caught up.
void ShowAfterRun(const char* name, int games) {
  orvel::TFormHall hall;
  orvel::TSetNumForm countDialog(&hall);
  hall.SetDialogs(nullptr, &countDialog, nullptr);
  hall.show();
  QTimer::singleShot(0, &countDialog, [&] {
    Find<QLineEdit>(countDialog, u"NumEdit"_s)->setText(u"1"_s);
    Find<QPushButton>(countDialog, u"OkButton"_s)->click();
  });
  Find<QAction>(hall, u"SetNumEdit"_s)->trigger();
  orvel::SeedRandom(20261209);
  hall.ResetMachines();
  hall.ResetData();
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(QString::number(games));
  Find<QLineEdit>(hall, u"UpSpeedEdit"_s)->setText(u"1000"_s);
  RunToTheEnd(hall);
  QApplication::processEvents();

  Latency latency;
  QElapsedTimer wall;
  latency.Start();
  wall.start();
  ShowWindows(hall, 1);
  while (hall.displaysPending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
  const double wait = latency.StopMs();
  if (hall.analysisWindow(0)->analysis().rowsEnd() != games) std::printf("%s: the window did not catch up\n", name);
  Report(name, seconds, wait);
}

void RunCore() {
  orvel::Hall hall;
  hall.CreateSeats(20);
  orvel::SeedRandom(20261209);
  hall.ResetMachines();
  QElapsedTimer wall;
  wall.start();
  orvel::RunEngine run(hall);
  run.Start(8000);
  while (!run.AtEnd()) run.PlayNext(50);
  Report("core only: Hall, 20 x 8000", static_cast<double>(wall.nsecsElapsed()) / 1e9, 0);
}

// A long run, stopped after `seconds`: how long events wait at its start
// and after minutes, which shows whether a refresh costs more as the run
// grows (it should not).
void RunLong(int seats, int seconds, int games) {
  orvel::TFormHall hall;
  orvel::TSetNumForm countDialog(&hall);
  hall.SetDialogs(nullptr, &countDialog, nullptr);
  hall.show();
  QTimer::singleShot(0, &countDialog, [&] {
    Find<QLineEdit>(countDialog, u"NumEdit"_s)->setText(QString::number(seats));
    Find<QPushButton>(countDialog, u"OkButton"_s)->click();
  });
  Find<QAction>(hall, u"SetNumEdit"_s)->trigger();
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(QString::number(games));
  QApplication::processEvents();

  struct Second {
    qint64 firings = 0, sum = 0, worst = 0;
  };
  std::vector<Second> perSecond(static_cast<std::size_t>(seconds) + 1);
  QElapsedTimer clock;
  qint64 last = 0;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  tick.setInterval(1);
  QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
    const qint64 now = clock.nsecsElapsed();
    Second& second = perSecond[std::min(perSecond.size() - 1, static_cast<std::size_t>(now / 1000000000))];
    ++second.firings;
    second.sum += now - last;
    second.worst = std::max(second.worst, now - last);
    last = now;
  });
  // A box the run puts up (out of memory) is printed and closed, with the
  // time it came at: the first message's delay is part of the measure.
  QTimer boxes;
  QObject::connect(&boxes, &QTimer::timeout, &boxes, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::printf("  at %.3f s, hall game %d: %s\n", static_cast<double>(clock.nsecsElapsed()) / 1e9, hall.resumeGame(),
                  box->text().toUtf8().constData());
      box->done(QMessageBox::Ok);
    }
  });
  boxes.start(5);
  clock.start();
  tick.start();
  Find<QPushButton>(hall, u"StartButton"_s)->click();
  while (clock.nsecsElapsed() < qint64{seconds} * 1000000000 && hall.running()) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  const bool completed = Find<QLabel>(hall, u"StatusPanel1"_s)->text() == u"シミュレーション完了"_s;
  const int played = completed ? games : hall.resumeGame();
  if (hall.running()) Find<QPushButton>(hall, u"StartButton"_s)->click();
  tick.stop();
  std::printf("long run, %d seats: %d hall games%s in %.1f s, peak RSS %ld MB\n", seats, played,
              completed ? " (completed)" : "", static_cast<double>(clock.nsecsElapsed()) / 1e9, PeakRssMb());
  for (const int at : {1, 6, 30, 60, 120, 300, 600}) {
    if (at > seconds) break;
    const Second& second = perSecond[static_cast<std::size_t>(at - 1)];
    if (second.firings == 0) continue;
    std::printf("  second %3d: average event wait %6.1f ms, longest %6.1f ms\n", at,
                static_cast<double>(second.sum) / static_cast<double>(second.firings) / 1e6 - 1.0,
                static_cast<double>(second.worst) / 1e6 - 1.0);
  }
  // What stays resident once the run is let go.
  QApplication::processEvents();
  Find<QPushButton>(hall, u"ResetButton"_s)->click();
  std::printf("  resident after リセット: %ld MB\n", ResidentMb());
  qint64 worst = 0;
  for (const Second& second : perSecond) worst = std::max(worst, second.worst);
  std::printf("  whole run: longest event wait %.1f ms\n", static_cast<double>(worst) / 1e6 - 1.0);
  std::fflush(stdout);
}

int RunScenario(const QString& which) {
  const auto none = [](orvel::TFormHall&) {};
  if (which == u"1"_s) RunWindow("1 default 20 x 8000, interval 50", 8000, 50, none);
  else if (which == u"2"_s) RunWindow("2 as 1, windows 1-3 shown", 8000, 50, [](auto& h) { ShowWindows(h, 3); });
  else if (which == u"2all"_s) RunWindow("2 as 1, all 20 windows shown", 8000, 50, [](auto& h) { ShowWindows(h, 20); });
  else if (which == u"3"_s) RunWindow("3 as 1, interval 1", 8000, 1, none);
  else if (which == u"4"_s) RunWindow("4 long 20 x 100000, interval 50", 100000, 50, none);
  else if (which == u"5"_s) RunWindow("5 big hall 1000 x 8000", 8000, 50, none, 1000);
  else if (which == u"6"_s) ShowAfterRun("6 show a hidden window after 1000000", 1000000);
  else if (which == u"7"_s) {
    // As 4, so that the run is still under way when the last window opens.
    RunWindow("7 as 4, all 20 shown during the run", 100000, 50, none, 20, [](orvel::TFormHall& h) {
      auto shown = std::make_shared<QMetaObject::Connection>();
      *shown = QObject::connect(&h, &orvel::TFormHall::hallGamePlayed, &h, [&h, shown](int g) {
        if (g != 1000) return;
        QObject::disconnect(*shown);
        // One window per event, as a user opens them one after another.
        auto next = std::make_shared<std::function<void(int)>>();
        *next = [&h, next](int seat) {
          h.HallStringGridMouseDown(Qt::RightButton, seat + 1);
          Find<QAction>(h, u"DispPopupMenu"_s)->trigger();
          if (seat + 1 < 20) QTimer::singleShot(1, &h, [next, seat] { (*next)(seat + 1); });
        };
        QTimer::singleShot(1, &h, [next] { (*next)(0); });
      });
    });
  } else if (which == u"core"_s) RunCore();
  else return 2;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  if (argc > 3 && QString::fromLocal8Bit(argv[1]) == u"long"_s) {
    RunLong(std::atoi(argv[2]), std::atoi(argv[3]), argc > 4 ? std::atoi(argv[4]) : 1000000000);
    return 0;
  }
  if (argc > 1) return RunScenario(QString::fromLocal8Bit(argv[1]));
  // Each scenario in a process of its own, so that each peak is its own.
  for (const char* scenario : {"core", "1", "2", "2all", "3", "4", "5", "6", "7"}) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(scenario)});
    child.waitForFinished(-1);
  }
  return 0;
}
