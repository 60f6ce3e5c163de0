// orvelsim-screenshot DIR: plays real runs and writes what the windows show
// to DIR: hall-idle.png (as started) and hall.png, the hall window after a
// default run (20 seats, 8000 hall games); analysis-empty.png (before any
// data), analysis-early.png (40 games, no bonus yet) and analysis-1.png …
// analysis-6.png, seat 1's analysis window after 8000 games at setting 6,
// one tab page per picture; figures.png, the 解析値 window with setting 6's
// mode pie; and the dialogs: about.png, seat-dialog.png, count-dialog.png,
// seed-dialog.png; and the study window (設定 → 多日シミュレーション) of the
// default hall before a study (study-empty.png) and after 200 days of seed
// 12345 (study.png).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QSpinBox>
#include <QTabWidget>

#include <cstdio>

#include "core/analysis/Result_data.h"
#include "gui/analysis/TFiguresForm.h"
#include "gui/analysis/Unit1.h"
#include "gui/dialogs/Unit2.h"
#include "gui/dialogs/Unit4.h"
#include "gui/dialogs/Unit5.h"
#include "gui/dialogs/SeedForm.h"
#include "gui/hall/Unit3.h"
#include "gui/study/TStudyForm.h"
#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"

using namespace Qt::StringLiterals;

namespace {

bool Save(QWidget& window, const QDir& out, const QString& name) {
  QApplication::processEvents();
  const QString file = out.filePath(name + u".png"_s);
  if (!window.grab().save(file)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
  }
  std::printf("%s\n", qPrintable(file));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"."_s);
  QDir().mkpath(out.path());

  {
    orvel::TSimResultData early;
    orvel::Orvel machine;
    orvel::SeedRandom(3);
    orvel::TMainForm window(nullptr);
    window.setWindowTitle(u"Orvel　2番台"_s);
    window.show();
    if (!Save(window, out, u"analysis-empty"_s)) return 1;
    for (int g = 0; g < 40; ++g) {
      machine.Play();
      early.Append(machine);
    }
    window.UpdateResult(0, 39, 1, early);
    if (!Save(window, out, u"analysis-early"_s)) return 1;
  }

  orvel::TSimResultData log;
  orvel::Orvel machine;
  orvel::SeedRandom(20261209);
  machine.SetLevel(6);
  for (int g = 0; g < 8000; ++g) {
    machine.Play();
    log.Append(machine);
  }
  orvel::TMainForm window(nullptr);
  window.setWindowTitle(u"Orvel　1番台"_s);
  window.show();
  for (int first = 0; first < 8000; first += 50) window.UpdateResult(first, first + 49, 6, log);
  // Two marker series ticked, to show them and their legend.
  for (const QString& box : {u"SuikaACheckBox"_s, u"ChanceCheckBox"_s}) {
    window.findChild<QCheckBox*>(box)->click();
  }
  auto* pages = window.findChild<QTabWidget*>(u"PageControl1"_s);
  for (int page = 0; page < pages->count(); ++page) {
    pages->setCurrentIndex(page);
    QApplication::processEvents();
    const QString file = out.filePath(u"analysis-%1.png"_s.arg(page + 1));
    if (!window.grab().save(file)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
    std::printf("%s\n", qPrintable(file));
  }

  orvel::TFormHall hall;
  hall.show();
  if (!Save(hall, out, u"hall-idle"_s)) return 1;
  // A fixed seed, which the top panel shows after the run.
  hall.SetFixedSeed(20261209u);
  // The run plays in timer slices after Start has returned; the picture is
  // taken once it has ended and the displays have caught up.
  bool ended = false;
  QObject::connect(&hall, &orvel::TFormHall::runEnded, &hall, [&ended] { ended = true; });
  hall.StartButtonClick();
  while (!ended || hall.displaysPending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QApplication::processEvents();
  const QString file = out.filePath(u"hall.png"_s);
  if (!hall.grab().save(file)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return 1;
  }
  std::printf("%s\n", qPrintable(file));

  hall.FiguresMenuClick();
  auto* figures = hall.findChild<orvel::TFiguresForm*>();
  figures->findChild<QComboBox*>(u"LevelComboBox"_s)->setCurrentIndex(5);
  if (!Save(*figures, out, u"figures"_s)) return 1;
  figures->hide();

  // The study window of the default hall, opened from its menu item.
  hall.ResetButtonClick();
  hall.StudyMenuClick();
  orvel::TStudyForm* study = hall.studyWindow();
  if (!Save(*study, out, u"study-empty"_s)) return 1;
  study->SetFixedSeed(12345);
  study->findChild<QSpinBox*>(u"DaysEdit"_s)->setValue(200);
  bool studied = false;
  QObject::connect(study, &orvel::TStudyForm::studyEnded, study, [&studied] { studied = true; });
  study->StartButtonClick();
  while (!studied) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  if (!Save(*study, out, u"study"_s)) return 1;
  study->hide();

  // The dialogs as they open.
  orvel::TAboutBox about(&hall);
  orvel::TSetSlotForm setSlot(&hall);
  orvel::TSetNumForm setNum(&hall);
  setSlot.setWindowTitle(u"3番台設定"_s);
  setSlot.setTexts(u"6"_s, u"0.55"_s);
  for (const auto& [dialog, name] : {std::pair<QWidget*, QString>{&about, u"about"_s},
                                     {&setSlot, u"seat-dialog"_s},
                                     {&setNum, u"count-dialog"_s},
                                     {hall.seedForm(), u"seed-dialog"_s}}) {
    dialog->show();
    QApplication::processEvents();
    const QString picture = out.filePath(name + u".png"_s);
    if (!dialog->grab().save(picture)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(picture));
      return 1;
    }
    std::printf("%s\n", qPrintable(picture));
    dialog->hide();
  }
  return 0;
}
