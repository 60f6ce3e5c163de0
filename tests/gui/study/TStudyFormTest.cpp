// The study window: opened from the hall window with the hall as set up,
// its numbers those of `orvelsim-cli study` for the same hall and seed, a
// cancel that keeps the finished days, and the hall's own runs unchanged
// while a study plays beside them.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <sstream>

#include "FindChild.h"
#include "RunToEnd.h"
#include "core/model/Random.h"
#include "core/study/StudyReport.h"
#include "gui/hall/Unit3.h"
#include "gui/study/TStudyForm.h"

using namespace Qt::StringLiterals;
using orvel::TFormHall;
using orvel::TStudyForm;

namespace {

// The hall of the CLI's checked-in study: 4 seats, settings 1, 2, 5, 6,
// rates 1, 0.5, 0.55, 0, 500 hall games.
void SetUpHall(TFormHall& hall) {
  hall.DeleteSeats();
  hall.CreateSeats(4);
  const int levels[] = {1, 2, 5, 6};
  const char* rates[] = {"1", "0.5", "0.55", "0"};
  for (int seat = 0; seat < 4; ++seat) hall.hall().SetSeat(seat, levels[seat], rates[seat]);
  hall.ResetMachines();
  hall.ResetData();
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(u"500"_s);
}

TStudyForm* OpenStudy(TFormHall& hall) {
  Find<QAction>(hall, u"StudyMenu"_s)->trigger();
  TStudyForm* study = hall.studyWindow();
  if (study == nullptr) qFatal("the study window did not open");
  return study;
}

bool StartStudyAndWait(TStudyForm& study, int days) {
  Find<QSpinBox>(study, u"DaysEdit"_s)->setValue(days);
  QSignalSpy ended(&study, &TStudyForm::studyEnded);
  QTest::mouseClick(Find<QPushButton>(study, u"StartButton"_s), Qt::LeftButton);
  return ended.count() > 0 || ended.wait(120000);
}

}  // namespace

class TStudyFormTest : public QObject {
  Q_OBJECT

private slots:
  void menuItemOnlyWithNoRunUnderWayOrPaused();
  void numbersAreTheCommandLineStudys();
  void cancelKeepsTheFinishedDaysAsPartial();
  void hallRunsBesideAStudyAsAlone();
};

void TStudyFormTest::menuItemOnlyWithNoRunUnderWayOrPaused() {
  TFormHall hall;
  auto* item = Find<QAction>(hall, u"StudyMenu"_s);
  QCOMPARE(item->text(), u"多日シミュレーション(&M)…"_s);
  QVERIFY(item->isEnabled());
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(u"100000"_s);
  hall.StartButtonClick();
  QVERIFY(hall.running());
  QVERIFY(!item->isEnabled());
  QTRY_VERIFY(hall.resumeGame() > 0);
  hall.StartButtonClick();  // paused
  QVERIFY(hall.stopped());
  QVERIFY(!item->isEnabled());
  item->trigger();  // a stale enabling does not open it either
  QVERIFY(hall.studyWindow() == nullptr);
  hall.ResetButtonClick();
  QVERIFY(item->isEnabled());
}

void TStudyFormTest::numbersAreTheCommandLineStudys() {
  TFormHall hall;
  SetUpHall(hall);
  // The hall's fixed seed (乱数シード) is the study's.
  hall.SetFixedSeed(12345u);
  TStudyForm* study = OpenStudy(hall);
  QCOMPARE(Find<QLabel>(*study, u"HallLabel"_s)->text(),
           u"ホール：4台　1日 500ゲーム　設定1×1台　設定2×1台　設定5×1台　設定6×1台"_s);
  QVERIFY(StartStudyAndWait(*study, 30));
  QVERIFY(study->outcome() != nullptr);
  QCOMPARE(Find<QLabel>(*study, u"SeedLabel"_s)->text(), u"シード 12345"_s);

  QProcess cli;
  cli.start(QString::fromUtf8(ORVELSIM_CLI),
            {u"study"_s, u"--seats"_s, u"4"_s, u"--games"_s, u"500"_s, u"--levels"_s, u"1,2,5,6"_s, u"--rates"_s,
             u"1,0.5,0.55,0"_s, u"--seed"_s, u"12345"_s, u"--days"_s, u"30"_s});
  QVERIFY(cli.waitForFinished(60000));
  QCOMPARE(cli.exitCode(), 0);
  const QString printed = QString::fromUtf8(cli.readAllStandardOutput());

  std::ostringstream report;
  const orvel::StudySummary summary = study->outcome()->stats.Summary();
  orvel::WriteStudyReport(report, summary, study->header(), orvel::ReportFormat::Table);
  QCOMPARE(QString::fromStdString(report.str()), printed);
  // And what the window shows is that report's texts.
  QVERIFY(printed.contains(Find<QLabel>(*study, u"LossLabel"_s)->text()));
  auto* balance = Find<QTableWidget>(*study, u"BalanceTable"_s);
  QCOMPARE(balance->rowCount(), 9);
  for (int row = 0; row < balance->rowCount(); ++row) {
    const QString caption = balance->item(row, 0)->text(), value = balance->item(row, 1)->text();
    QVERIFY2(printed.contains(QRegularExpression(u"\n  "_s + QRegularExpression::escape(caption) + u" +"_s +
                                                 QRegularExpression::escape(value) + u"\n"_s)),
             qPrintable(caption + u" "_s + value));
  }
  auto* settings = Find<QTableWidget>(*study, u"SettingTable"_s);
  QCOMPARE(settings->rowCount(), 4);
  QCOMPARE(settings->item(3, 3)->text(), u"-"_s);  // setting 6 at rate 0: no games, no payout rate
}

void TStudyFormTest::cancelKeepsTheFinishedDaysAsPartial() {
  TFormHall hall;
  TStudyForm* study = OpenStudy(hall);
  study->SetFixedSeed(5);
  Find<QSpinBox>(*study, u"DaysEdit"_s)->setValue(10'000'000);
  QSignalSpy ended(study, &TStudyForm::studyEnded);
  study->StartButtonClick();
  QVERIFY(study->busy());
  QVERIFY(!Find<QPushButton>(*study, u"StartButton"_s)->isEnabled());
  // Some days done, as the window shows them (its progress comes queued).
  QTRY_VERIFY_WITH_TIMEOUT(Find<QProgressBar>(*study, u"StudyProgressBar"_s)->value() > 0, 30000);
  QTest::mouseClick(Find<QPushButton>(*study, u"CancelButton"_s), Qt::LeftButton);
  QVERIFY(ended.wait(30000));
  QVERIFY(!study->busy());
  QVERIFY(study->outcome()->partial);
  QVERIFY(study->header().partial);
  QVERIFY(study->outcome()->stats.Days() < 10'000'000);
  QVERIFY(Find<QLabel>(*study, u"ProgressLabel"_s)->text().endsWith(u"（中止、途中まで）"_s));
  QVERIFY(Find<QPushButton>(*study, u"StartButton"_s)->isEnabled());
}

// Every thread has its own random source: a seeded hall run in the window
// gives the same balance with a study running beside it as without.
void TStudyFormTest::hallRunsBesideAStudyAsAlone() {
  TFormHall hall;
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(u"3000"_s);
  auto seededRun = [&hall] {
    orvel::SeedRandom(7);
    hall.ResetMachines();
    hall.ResetData();
    if (!StartAndWait(hall)) qFatal("the hall's run did not end");
    return hall.slump().back();
  };
  const std::int64_t alone = seededRun();

  TStudyForm* study = OpenStudy(hall);
  Find<QSpinBox>(*study, u"DaysEdit"_s)->setValue(10'000'000);
  QSignalSpy ended(study, &TStudyForm::studyEnded);
  study->StartButtonClick();
  const std::int64_t beside = seededRun();
  QVERIFY(study->busy());
  study->CancelButtonClick();
  QVERIFY(ended.wait(30000));
  QCOMPARE(beside, alone);
}

QTEST_MAIN(TStudyFormTest)
#include "TStudyFormTest.moc"
