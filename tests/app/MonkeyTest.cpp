// A seeded monkey: thousands of random actions on the real windows, at the
// top level and from inside a run's hall games and refreshes, with the hall's
// invariants checked after every one.
//
//   ORVELSIM_MONKEY_SEED     the seed (printed; replay a failure with it)
//   ORVELSIM_MONKEY_ACTIONS  how many top-level actions (default 1500)
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <random>

#include "FindChild.h"
#include "ModalCatcher.h"
#include "gui/analysis/Unit1.h"
#include "app/OrvelApplication.h"
#include "gui/dialogs/Unit2.h"
#include "gui/dialogs/Unit4.h"
#include "gui/dialogs/Unit5.h"
#include "gui/hall/HallGridModel.h"
#include "gui/hall/Unit3.h"

using namespace Qt::StringLiterals;
using orvel::TFormHall;
namespace Column = orvel::HallGridColumn;

namespace {

unsigned EnvNumber(const char* name, unsigned fallback) {
  bool ok = false;
  const unsigned value = qEnvironmentVariable(name).toUInt(&ok);
  return ok ? value : fallback;
}

}  // namespace

class UrlSink : public QObject {
  Q_OBJECT
public slots:
  void open(const QUrl&) {}
};

class Monkey {
public:
  explicit Monkey(std::uint32_t seed) : seed_(seed), random_(seed) {
    hall_.SetDialogs(&setSlot_, &setNum_, &about_);
    hall_.show();
    // Nothing leaves the test: links, mail and the manual go nowhere.
    for (const QString& scheme : {u"https"_s, u"http"_s, u"mailto"_s, u"file"_s}) {
      QDesktopServices::setUrlHandler(scheme, &sink_, "open");
    }
    catcher_.onDialog = [this](QDialog* dialog) { AnswerDialog(dialog); };
    QObject::connect(&hall_, &TFormHall::hallGamePlayed, &hall_, [this](int) { Inside(false); });
    QObject::connect(&hall_, &TFormHall::refreshed, &hall_, [this](int) {
      CheckRefresh();
      Inside(true);
    });
  }

  ~Monkey() {
    for (const QString& scheme : {u"https"_s, u"http"_s, u"mailto"_s, u"file"_s}) {
      QDesktopServices::unsetUrlHandler(scheme);
    }
  }

  // Plays `actions` top-level actions; false with `failure` set on the
  // first broken invariant.
  bool Run(unsigned actions) {
    for (step_ = 0; step_ < actions && failure_.isEmpty(); ++step_) {
      Act();
      Check();
    }
    return failure_.isEmpty();
  }

  QString failure() const { return failure_; }
  unsigned nestedActions() const { return nested_; }
  unsigned runsCompleted() const { return completed_; }

private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

  QString AnyOf(const QStringList& texts) { return texts[Pick(0, static_cast<int>(texts.size()) - 1)]; }

  // Texts a user might type into a count field, good and bad.
  QString CountText() {
    if (Chance(0.7)) return QString::number(Pick(1, 300));
    return AnyOf({QString(), u"abc"_s, u"0"_s, u"-3"_s, u"1.5"_s, u" 12 "_s, u"+7"_s, u"１２"_s, u"99999999999"_s,
                  u"2147483647"_s, u"8001"_s});
  }

  void Act() {
    switch (Pick(0, 13)) {
      case 0:
      case 1:
      case 2: ClickStart(); break;
      case 3: Find<QSlider>(hall_, u"UpdateTrackBar"_s)->setValue(Pick(1, Find<QSlider>(hall_, u"UpdateTrackBar"_s)->maximum())); break;
      case 4: Type(u"PlayNumEdit"_s, CountText()); break;
      case 5: Type(u"UpSpeedEdit"_s, CountText()); break;
      case 6: OpenAnalysisWindow(); break;
      case 7: CloseSomeWindow(); break;
      case 8: SeatDialog(); break;
      case 9: CountDialog(); break;
      case 10: QTest::mouseClick(Find<QPushButton>(hall_, u"ResetButton"_s), Qt::LeftButton); break;
      case 11: Find<QAction>(hall_, u"N1"_s)->trigger(); break;
      case 12: RightClickSomewhere(); break;
      case 13: OtherMenus(); break;
    }
  }

  // Inside a run: after a hall game, or after a refresh.
  void Inside(bool refresh) {
    if (depth_ > 1 || !failure_.isEmpty()) return;
    ++depth_;
    Check();
    if (Chance(refresh ? 0.3 : 0.02)) {
      ++nested_;
      switch (Pick(0, 7)) {
        case 0:
        case 1: ClickStart(); break;  // a stop request
        case 2: Find<QSlider>(hall_, u"UpdateTrackBar"_s)->setValue(Pick(1, 50)); break;
        case 3: Type(u"UpSpeedEdit"_s, CountText()); break;
        case 4: OpenAnalysisWindow(); break;
        case 5: Find<QAction>(hall_, u"N1"_s)->trigger(); break;
        case 6: RightClickSomewhere(); break;
        case 7: OtherMenus(); break;
      }
      Check();
    }
    --depth_;
  }

  void ClickStart() {
    const bool wasRunning = hall_.running();
    QSignalSpy ended(&hall_, &TFormHall::runEnded);
    if (Chance(0.5)) {
      QTest::mouseClick(Find<QPushButton>(hall_, u"StartButton"_s), Qt::LeftButton);
    } else {
      Find<QAction>(hall_, u"FileStartMenu"_s)->trigger();
    }
    // At the top level a started run plays on in the event loop, with the
    // actions from inside its hall games, until it ends.
    if (depth_ == 0 && hall_.running() && ended.count() == 0 && !ended.wait(120000)) {
      return Fail(u"the run did not end"_s);
    }
    if (!wasRunning && Find<QLabel>(hall_, u"StatusPanel1"_s)->text() == u"シミュレーション完了"_s) ++completed_;
  }

  void Type(const QString& edit, const QString& text) {
    auto* field = Find<QLineEdit>(hall_, edit);
    if (!field->isEnabled()) return;
    field->setText(text);
  }

  void OpenAnalysisWindow() {
    const int seats = hall_.hall().SeatCount();
    if (seats == 0) return;
    hall_.HallStringGridMouseDown(Qt::RightButton, Pick(1, seats));
    Find<QAction>(hall_, u"DispPopupMenu"_s)->trigger();
  }

  void CloseSomeWindow() {
    const int seats = hall_.hall().SeatCount();
    if (seats > 0) hall_.analysisWindow(Pick(0, seats - 1))->close();
  }

  void RightClickSomewhere() {
    // A seat row, the caption row, or below the last row.
    const int seats = hall_.hall().SeatCount();
    hall_.HallStringGridMouseDown(Chance(0.5) ? Qt::RightButton : Qt::LeftButton, Pick(-1, seats + 1));
    const bool idle = hall_.stopped() && hall_.resumeGame() == 0;
    if (Find<QAction>(hall_, u"SetPopupMenu"_s)->isEnabled() && !idle) {
      Fail(u"台設定 enabled outside Idle"_s);
    }
  }

  void SeatDialog() {
    const int seats = hall_.hall().SeatCount();
    if (seats == 0) return;
    hall_.HallStringGridMouseDown(Qt::RightButton, Pick(1, seats));
    Find<QAction>(hall_, u"SetPopupMenu"_s)->trigger();
  }

  void CountDialog() { Find<QAction>(hall_, u"SetNumEdit"_s)->trigger(); }

  void OtherMenus() {
    switch (Pick(0, 3)) {
      case 0: Find<QAction>(hall_, u"HelpAboutMenu"_s)->trigger(); break;
      case 1: Find<QAction>(hall_, u"N3"_s)->trigger(); break;
      case 2: Find<QAction>(hall_, u"HelpManMenu"_s)->trigger(); break;
      case 3: {
        // Zoom into the hall's chart somewhere.
        QChart* chart = Find<QChartView>(hall_, u"SlumpChart"_s)->chart();
        const QRectF plot = chart->plotArea();
        chart->zoomIn(QRectF(plot.left() + plot.width() / 4, plot.top(), plot.width() / 3, plot.height()));
        break;
      }
    }
  }

  void AnswerDialog(QDialog* dialog) {
    if (dialog == &setSlot_) {
      Find<QComboBox>(*dialog, u"LevelComboBox"_s)
          ->setCurrentText(Chance(0.8) ? QString::number(Pick(1, 6)) : AnyOf({u"0"_s, u"7"_s, u"x"_s, QString()}));
      auto* work = Find<QComboBox>(*dialog, u"WorkComboBox"_s);
      if (Chance(0.8)) {
        work->setCurrentIndex(Pick(0, work->count() - 1));
      } else {
        work->setCurrentText(AnyOf({u"0.3333"_s, u"abc"_s, u"1e3"_s, u"-1"_s, u" 0.25 "_s}));
      }
    } else if (dialog == &setNum_) {
      Find<QLineEdit>(*dialog, u"NumEdit"_s)
          ->setText(Chance(0.8) ? QString::number(Pick(0, 12)) : AnyOf({u"1001"_s, u"-1"_s, u"abc"_s, u"2"_s}));
    }
    if (dialog == &about_) {
      dialog->accept();
      return;
    }
    const int how = Pick(0, 2);
    if (how == 0) {
      Find<QPushButton>(*dialog, u"OkButton"_s)->click();
      // A refused text leaves the dialog open.
      if (dialog->isVisible()) Find<QPushButton>(*dialog, u"CancelButton"_s)->click();
    } else if (how == 1) {
      Find<QPushButton>(*dialog, u"CancelButton"_s)->click();
    } else {
      dialog->close();
    }
  }

  void Check() {
    if (!failure_.isEmpty()) return;
    const orvel::Hall& hall = hall_.hall();
    const bool idle = hall_.stopped() && hall_.resumeGame() == 0 && !hall_.running();
    const bool paused = hall_.stopped() && hall_.resumeGame() > 0 && !hall_.running();
    const bool running = hall_.running();
    if (!idle && !paused && !running) return Fail(u"no state of the table"_s);
    const bool completed = Find<QLabel>(hall_, u"StatusPanel1"_s)->text() == u"シミュレーション完了"_s;
    for (int seat = 0; seat < hall.SeatCount(); ++seat) {
      const int logged = hall.PlayLog(seat).Length();
      const int played = hall.Machine(seat).playCount;
      if (logged != played && !(idle && completed && played == 0)) {
        return Fail(u"seat %1: log %2, playCount %3"_s.arg(seat + 1).arg(logged).arg(played));
      }
    }
    if (hall_.grid().rowCount() != hall.SeatCount()) return Fail(u"grid rows != seats"_s);

    const bool playOn = Find<QLineEdit>(hall_, u"PlayNumEdit"_s)->isEnabled();
    const QString start = Find<QPushButton>(hall_, u"StartButton"_s)->text();
    const bool resetOn = Find<QPushButton>(hall_, u"ResetButton"_s)->isEnabled();
    const bool countOn = Find<QAction>(hall_, u"SetNumEdit"_s)->isEnabled();
    const bool trackOn = Find<QSlider>(hall_, u"UpdateTrackBar"_s)->isEnabled() &&
                         Find<QLineEdit>(hall_, u"UpSpeedEdit"_s)->isEnabled();
    const bool expected = idle     ? (playOn && start == u"開始"_s && resetOn && countOn)
                          : paused ? (!playOn && start == u"開始"_s && resetOn && countOn)
                                   : (!playOn && start == u"停止"_s && !resetOn && !countOn);
    if (!expected || !trackOn) {
      return Fail(u"controls %1/%2/%3/%4 in state %5"_s.arg(playOn).arg(start).arg(resetOn).arg(countOn).arg(
          idle ? u"Idle"_s : paused ? u"Paused"_s : u"Running"_s));
    }
    auto* track = Find<QSlider>(hall_, u"UpdateTrackBar"_s);
    if (track->value() < 1 || track->value() > track->maximum()) return Fail(u"interval outside 1 … play count"_s);
  }

  // Right after a refresh the balance label, the grid and the chart agree
  // with the logs.
  void CheckRefresh() {
    const std::int64_t medals = hall_.SumMedals();
    const QString label = Find<QLabel>(hall_, u"ProceedLabel"_s)->text();
    if (label != QString::number(-medals * 20) + u"円"_s) {
      return Fail(u"balance label %1, medals %2"_s.arg(label).arg(medals));
    }
    if (!hall_.slump().empty() && hall_.slump().back() != -medals) {
      return Fail(u"slump chart's last point differs from the balance"_s);
    }
    for (int seat = 0; seat < hall_.hall().SeatCount(); ++seat) {
      if (hall_.grid().Cell(seat, Column::PlayCount) != QString::number(hall_.hall().Machine(seat).playCount)) {
        return Fail(u"grid play count of seat %1"_s.arg(seat + 1));
      }
      if (hall_.analysisWindow(seat)->nextGame() != hall_.hall().PlayLog(seat).Length()) {
        return Fail(u"analysis window %1 behind its log"_s.arg(seat + 1));
      }
    }
  }

  void Fail(const QString& what) {
    if (failure_.isEmpty()) {
      failure_ = u"seed %1, action %2: %3 (replay: ORVELSIM_MONKEY_SEED=%1)"_s.arg(seed_).arg(step_).arg(what);
    }
  }

  std::uint32_t seed_;
  std::mt19937 random_;
  TFormHall hall_;
  orvel::TAboutBox about_{&hall_};
  orvel::TSetSlotForm setSlot_{&hall_};
  orvel::TSetNumForm setNum_{&hall_};
  ModalCatcher catcher_;
  UrlSink sink_;
  unsigned step_ = 0;
  int depth_ = 0;
  unsigned nested_ = 0;
  unsigned completed_ = 0;
  QString failure_;
};

class MonkeyTest : public QObject {
  Q_OBJECT

private slots:
  void randomActionsKeepTheInvariants() {
    const auto seed = static_cast<std::uint32_t>(EnvNumber("ORVELSIM_MONKEY_SEED", 20261209));
    const unsigned actions = EnvNumber("ORVELSIM_MONKEY_ACTIONS", 1500);
    qInfo("monkey seed %u, %u actions", seed, actions);
    Monkey monkey(seed);
    const bool ok = monkey.Run(actions);
    qInfo("%u actions inside runs, %u runs completed", monkey.nestedActions(), monkey.runsCompleted());
    QVERIFY2(ok, qPrintable(monkey.failure()));
    QVERIFY(monkey.nestedActions() > 0);
    QVERIFY(monkey.runsCompleted() > 0);
  }
};

int main(int argc, char** argv) {
  // A long monkey (./dev monkey sets the action count) may take longer than
  // Qt Test's five minutes; the short one in the test run keeps them.
  if (qEnvironmentVariableIsSet("ORVELSIM_MONKEY_ACTIONS") && !qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT")) {
    qputenv("QTEST_FUNCTION_TIMEOUT", "86400000");
  }
  orvel::OrvelApplication app(argc, argv);
  MonkeyTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "MonkeyTest.moc"
