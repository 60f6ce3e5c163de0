// Every window in every state it has, looked at as a user looks at it: no
// text cut off or elided, no control clipped or drawn over another, no list
// hiding a cell, no chart text elided, overlapping or repeated (TextFit.h).
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "FindChild.h"
#include "RunToEnd.h"
#include "Program.h"
#include "TextFit.h"
#include "core/analysis/Result_data.h"
#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"
#include "gui/analysis/TFiguresForm.h"
#include "gui/analysis/Unit1.h"
#include "gui/study/TStudyForm.h"
#include "gui/dialogs/SeedForm.h"

using namespace Qt::StringLiterals;

namespace {

void Play(orvel::TSimResultData& log, int games, int level, std::uint32_t seed) {
  orvel::Orvel machine;
  orvel::SeedRandom(seed);
  if (level != 1) machine.SetLevel(level);
  for (int g = 0; g < games; ++g) {
    machine.Play();
    log.Append(machine);
  }
}

// The faults of `window` on every tab page, each prefixed with the state.
QStringList AllPages(QWidget& window, const QString& state) {
  QStringList faults;
  auto* pages = window.findChild<QTabWidget*>();
  const int count = pages ? pages->count() : 1;
  for (int page = 0; page < count; ++page) {
    if (pages) pages->setCurrentIndex(page);
    QApplication::processEvents();
    for (const QString& fault : textfit::Faults(window)) {
      faults << state + (pages ? u" [%1] "_s.arg(pages->tabText(page)) : u" "_s) + fault;
    }
  }
  if (pages) pages->setCurrentIndex(0);
  return faults;
}

// One warning per fault, so a failure lists them all.
bool NoFaults(const QStringList& faults) {
  for (const QString& fault : faults) qWarning().noquote() << fault;
  return faults.isEmpty();
}

}  // namespace

class WindowTextsTest : public QObject {
  Q_OBJECT

private slots:
  void analysisWindow_data();
  void analysisWindow();
  void hallWindow();
  void dialogs();
  void studyWindow();
};

void WindowTextsTest::analysisWindow_data() {
  QTest::addColumn<int>("games");
  QTest::addColumn<int>("level");
  QTest::addColumn<bool>("markers");
  QTest::newRow("before data") << 0 << 1 << false;
  QTest::newRow("one game") << 1 << 1 << false;
  QTest::newRow("three games") << 3 << 1 << false;
  QTest::newRow("no bonus yet") << 40 << 1 << true;
  QTest::newRow("default run, markers on") << 8000 << 6 << true;
  QTest::newRow("two hundred bonuses") << 40000 << 6 << false;
}

void WindowTextsTest::analysisWindow() {
  QFETCH(int, games);
  QFETCH(int, level);
  QFETCH(bool, markers);
  orvel::TSimResultData log;
  Play(log, games, level, 20261210);
  orvel::TMainForm window(nullptr);
  window.setWindowTitle(u"Orvel　1番台"_s);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  // In hall-sized steps, as the hall refreshes it.
  for (int first = 0; first < games; first += 50) window.UpdateResult(first, std::min(first + 49, games - 1), level, log);
  if (markers) {
    for (const char* box : {"Che2CheckBox", "Che4CheckBox", "SuikaACheckBox", "SuikaBCheckBox", "ChanceCheckBox"}) {
      Find<QCheckBox>(window, QString::fromLatin1(box))->click();
    }
  }
  QStringList faults = AllPages(window, QString::fromLatin1(QTest::currentDataTag()));
  // The four tables are made to hold all their rows.
  auto* pages = Find<QTabWidget>(window, u"PageControl1"_s);
  for (const char* name : {"KoyakuListView", "ModeStayListView", "KeizokuSelectListView", "EstimateListView"}) {
    auto* list = Find<QAbstractItemView>(window, QString::fromLatin1(name));
    pages->setCurrentWidget(list->parentWidget());
    QApplication::processEvents();
    if (const int hidden = textfit::HiddenRows(list)) faults << u"%1: %2 rows hidden"_s.arg(list->objectName()).arg(hidden);
  }
  QVERIFY2(NoFaults(faults), "faults listed above");
}

void WindowTextsTest::hallWindow() {
  Program program;
  orvel::TFormHall& hall = program.hall;
  hall.show();
  QVERIFY(QTest::qWaitForWindowExposed(&hall));
  QStringList faults = AllPages(hall, u"idle"_s);

  orvel::SeedRandom(7);
  hall.ResetMachines();
  hall.ResetData();
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(u"2000"_s);
  // Looked at while running, then stopped half-way (paused), then resumed to
  // the end (complete).
  bool looked = false;
  QObject::connect(&hall, &orvel::TFormHall::refreshed, &hall, [&](int game) {
    if (looked || game < 500) return;
    looked = true;
    // Looked at as the user sees it, with the chart caught up in its turn
    // and laid out (the run itself waits meanwhile: this is its slice).
    while (hall.displaysPending()) QTest::qWait(1);
    faults << AllPages(hall, u"running"_s);
    hall.StartButtonClick();  // stop
  });
  QVERIFY(StartAndWait(hall));
  QVERIFY(looked);
  QVERIFY(hall.stopped());
  QTRY_VERIFY(!hall.displaysPending());
  faults << AllPages(hall, u"paused"_s);
  QVERIFY(StartAndWait(hall));
  QTRY_VERIFY(!hall.displaysPending());
  faults << AllPages(hall, u"complete"_s);

  // A run of one hall game: every chart has a single point. From the
  // longest seed, which the top panel shows.
  hall.SetFixedSeed(4294967295u);
  hall.ResetData();
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(u"1"_s);
  QVERIFY(StartAndWait(hall));
  QTRY_VERIFY(!hall.displaysPending());
  faults << AllPages(hall, u"one hall game"_s);
  QVERIFY2(NoFaults(faults), "faults listed above");
}

void WindowTextsTest::dialogs() {
  Program program;
  program.setSlot.setWindowTitle(u"20番台設定"_s);
  program.setSlot.setTexts(u"6"_s, u"0.55"_s);
  QStringList faults;
  program.hall.FiguresMenuClick();
  auto* figures = program.hall.findChild<orvel::TFiguresForm*>();
  figures->hide();
  program.hall.seedForm()->seed = 4294967295u;
  for (QWidget* dialog : std::initializer_list<QWidget*>{&program.about, &program.setSlot, &program.setNum, figures,
                                                         program.hall.seedForm()}) {
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    faults << AllPages(*dialog, dialog->objectName());
    if (dialog == figures) {
      // The table of figures is made to hold all its rows.
      if (const int hidden = textfit::HiddenRows(Find<QAbstractItemView>(*figures, u"FiguresListView"_s))) {
        faults << u"FiguresListView: %1 rows hidden"_s.arg(hidden);
      }
    }
    dialog->hide();
  }
  QVERIFY2(NoFaults(faults), "faults listed above");
}

// Before a study, after a finished one, after one cancelled at once (no
// day finished), and for a hall of every setting with a seat that never
// plays (a setting without rates).
void WindowTextsTest::studyWindow() {
  Program program;
  orvel::TFormHall& hall = program.hall;
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(u"2000"_s);
  hall.StudyMenuClick();
  orvel::TStudyForm& study = *hall.studyWindow();
  QVERIFY(QTest::qWaitForWindowExposed(&study));
  QStringList faults = AllPages(study, u"before a study"_s);
  study.SetFixedSeed(11);
  auto runStudy = [&study](int days, bool cancel) {
    Find<QSpinBox>(study, u"DaysEdit"_s)->setValue(days);
    QSignalSpy ended(&study, &orvel::TStudyForm::studyEnded);
    study.StartButtonClick();
    if (cancel) study.CancelButtonClick();
    return ended.wait(120000);
  };
  QVERIFY(runStudy(300, false));
  faults << AllPages(study, u"300 days"_s);
  QVERIFY(runStudy(10'000'000, true));
  faults << AllPages(study, u"cancelled"_s);

  study.hide();
  hall.DeleteSeats();
  hall.CreateSeats(7);
  for (int seat = 0; seat < 7; ++seat)
    hall.hall().SetSeat(seat, seat % 6 + 1, seat == 6 ? "1" : seat == 5 ? "0" : "0.95");
  hall.ResetMachines();
  hall.ResetData();
  hall.StudyMenuClick();
  QVERIFY(QTest::qWaitForWindowExposed(&study));
  QVERIFY(runStudy(50, false));
  faults << AllPages(study, u"every setting"_s);
  QVERIFY2(NoFaults(faults), "faults listed above");
}

QTEST_MAIN(WindowTextsTest)
#include "WindowTextsTest.moc"
