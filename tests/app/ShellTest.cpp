#include <QAbstractItemView>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <stdexcept>

#include "FindChild.h"
#include "Program.h"
#include "RunToEnd.h"
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

// Plays a run to its end, or stopped after hall game `stopAfter`.
bool RunGames(TFormHall& hall, int games, int stopAfter = -1) {
  Find<QLineEdit>(hall, u"PlayNumEdit"_s)->setText(QString::number(games));
  auto stop = QObject::connect(&hall, &TFormHall::hallGamePlayed, &hall, [&hall, stopAfter](int g) {
    if (g == stopAfter) hall.StartButtonClick();
  });
  const bool ended = StartAndWait(hall);
  QObject::disconnect(stop);
  return ended;
}

void OpenSeatDialog(TFormHall& hall, int row) {
  hall.HallStringGridMouseDown(Qt::RightButton, row);
  hall.SetPopupMenuClick();
}

QStringList Items(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

}  // namespace

// An event handler that fails: its third event's message already ends in ".".
class Thrower : public QObject {
public:
  static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 7);
  int events = 0;
  bool event(QEvent* e) override {
    if (e->type() != kType) return QObject::event(e);
    ++events;
    throw std::runtime_error(events < 3 ? "壊れました" : "ended.");
  }
};

// Records the URLs the program hands to the desktop.
class UrlRecorder : public QObject {
  Q_OBJECT
public:
  QList<QUrl> urls;
public slots:
  void open(const QUrl& url) { urls << url; }
};

class ShellTest : public QObject {
  Q_OBJECT

private slots:
  void seatDialogShowsTheRowAndCancelChangesNothing();
  void seatDialogOkStoresRateAndSetting();
  void seatDialogRefusesBadTexts_data();
  void seatDialogRefusesBadTexts();
  void countDialogReplacesEverySeat();
  void countDialogRefusesBadCounts_data();
  void countDialogRefusesBadCounts();
  void countChangedWhilePausedContinuesThere();
  void errorBoxCatchesAnExceptionFromAHandler();
  void startUpErrorsAreShownAndEndWithZero();
  void mainMenuItemsAndWiring();
  void closeAllWindowsDuringARun();
  void versionBoxAndLinks();
  void manualAndInstallerBesideTheExecutable();
};

void ShellTest::seatDialogShowsTheRowAndCancelChangesNothing() {
  Program p;
  QVERIFY(RunGames(p.hall, 30));
  ModalCatcher catcher;
  bool seen = false;
  catcher.onDialog = [&](QDialog* dialog) {
    seen = true;
    QCOMPARE(dialog->windowTitle(), u"7番台設定"_s);
    QCOMPARE(dialog->size(), QSize(280, 132));
    auto* level = Find<QComboBox>(*dialog, u"LevelComboBox"_s);
    auto* work = Find<QComboBox>(*dialog, u"WorkComboBox"_s);
    QVERIFY(level->isEditable());
    QVERIFY(work->isEditable());
    QCOMPARE(level->currentText(), u"1"_s);
    QCOMPARE(work->currentText(), u"1"_s);
    QCOMPARE(Items(level), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}));
    const QStringList rates = Items(work);
    QCOMPARE(rates.size(), 21);
    QCOMPARE(rates.first(), u"0"_s);
    QCOMPARE(rates.at(19), u"1"_s);
    QCOMPARE(rates.last(), QString());
    QVERIFY(!rates.contains(u"0.95"_s));
    QCOMPARE(Find<QLabel>(*dialog, u"Label1"_s)->text(), u"台の設定をしてください。"_s);
    QTest::keyClick(dialog, Qt::Key_Escape);  // Escape is no Cancel here
    QVERIFY(dialog->isVisible());
    work->setCurrentText(u"0.2"_s);
    Find<QPushButton>(*dialog, u"CancelButton"_s)->click();
  };
  OpenSeatDialog(p.hall, 7);
  QVERIFY(seen);
  QVERIFY(!p.setSlot.accepted);
  QCOMPARE(p.hall.grid().Cell(6, Column::Rate), u"1"_s);
  QCOMPARE(p.hall.hall().PlayLog(0).Length(), 30);
  QCOMPARE(p.hall.grid().Cell(0, Column::PlayCount), u"30"_s);

  // The title bar's close button is a Cancel as well.
  catcher.onDialog = [](QDialog* dialog) {
    Find<QComboBox>(*dialog, u"LevelComboBox"_s)->setCurrentText(u"4"_s);
    dialog->close();
  };
  OpenSeatDialog(p.hall, 7);
  QVERIFY(!p.setSlot.accepted);
  QCOMPARE(p.hall.hall().Machine(6).GetLevel(), 1);
  QCOMPARE(p.hall.hall().PlayLog(0).Length(), 30);
}

void ShellTest::seatDialogOkStoresRateAndSetting() {
  Program p;
  QVERIFY(RunGames(p.hall, 20));
  ModalCatcher catcher;
  catcher.onDialog = [](QDialog* dialog) {
    Find<QComboBox>(*dialog, u"LevelComboBox"_s)->setCurrentText(u"6"_s);
    Find<QComboBox>(*dialog, u"WorkComboBox"_s)->setCurrentIndex(10);  // "0.5"
    Find<QPushButton>(*dialog, u"OkButton"_s)->click();
  };
  OpenSeatDialog(p.hall, 3);
  QVERIFY(p.setSlot.accepted);
  QCOMPARE(p.hall.grid().Cell(2, Column::Level), u"6"_s);
  QCOMPARE(p.hall.grid().Cell(2, Column::Rate), u"0.5"_s);
  QCOMPARE(p.hall.hall().Machine(2).GetLevel(), 6);
  QCOMPARE(p.hall.hall().RateText(2), "0.5");
  for (int seat : {0, 1, 3, 19}) {
    QCOMPARE(p.hall.grid().Cell(seat, Column::Level), u"1"_s);
    QCOMPARE(p.hall.grid().Cell(seat, Column::Rate), u"1"_s);
    QCOMPARE(p.hall.hall().PlayLog(seat).Length(), 0);  // every log cleared
  }
  QCOMPARE(p.hall.slump().size(), 0u);

  // A typed rate is kept as typed; OK without a change still resets.
  catcher.onDialog = [](QDialog* dialog) {
    Find<QComboBox>(*dialog, u"WorkComboBox"_s)->setCurrentText(u"0.3333"_s);
    Find<QPushButton>(*dialog, u"OkButton"_s)->click();
  };
  OpenSeatDialog(p.hall, 3);
  QCOMPARE(p.hall.grid().Cell(2, Column::Rate), u"0.3333"_s);
  QCOMPARE(p.hall.grid().Cell(2, Column::Level), u"6"_s);
  QVERIFY(RunGames(p.hall, 30));
  QCOMPARE(p.hall.hall().PlayLog(2).Length(), 10);
}

void ShellTest::seatDialogRefusesBadTexts_data() {
  QTest::addColumn<QString>("level");
  QTest::addColumn<QString>("rate");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("message");
  QTest::newRow("setting no integer") << u"x"_s << u"0.5"_s << u"Orvelsimホール"_s << u"'x' は整数ではありません."_s;
  QTest::newRow("setting 0") << u"0"_s << u"0.5"_s << u"エラー"_s << u"設定は、1から6にしてください。"_s;
  QTest::newRow("setting 7") << u"7"_s << u"0.5"_s << u"エラー"_s << u"設定は、1から6にしてください。"_s;
  QTest::newRow("empty rate item") << u"2"_s << QString() << u"Orvelsimホール"_s
                                   << u"'' は浮動小数点数ではありません."_s;
  QTest::newRow("rate with a comma") << u"2"_s << u"0,5"_s << u"Orvelsimホール"_s
                                     << u"'0,5' は浮動小数点数ではありません."_s;
}

void ShellTest::seatDialogRefusesBadTexts() {
  QFETCH(QString, level);
  QFETCH(QString, rate);
  QFETCH(QString, title);
  QFETCH(QString, message);
  Program p;
  QVERIFY(RunGames(p.hall, 10));
  ModalCatcher catcher;
  bool stayedOpen = false;
  catcher.onDialog = [&](QDialog* dialog) {
    Find<QComboBox>(*dialog, u"LevelComboBox"_s)->setCurrentText(level);
    Find<QComboBox>(*dialog, u"WorkComboBox"_s)->setCurrentText(rate);
    Find<QPushButton>(*dialog, u"OkButton"_s)->click();
    stayedOpen = dialog->isVisible() && !p.setSlot.accepted;
    Find<QPushButton>(*dialog, u"CancelButton"_s)->click();
  };
  OpenSeatDialog(p.hall, 2);
  QVERIFY(stayedOpen);
  QCOMPARE(catcher.boxes.size(), 1);
  QCOMPARE(catcher.boxes[0].title, title);
  QCOMPARE(catcher.boxes[0].text, message);
  QCOMPARE(catcher.boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(p.hall.hall().RateText(1), "1");
  QCOMPARE(p.hall.hall().Machine(1).GetLevel(), 1);
  QCOMPARE(p.hall.hall().PlayLog(1).Length(), 10);
}

void ShellTest::countDialogReplacesEverySeat() {
  Program p;
  QPointer<orvel::TMainForm> former = p.hall.analysisWindow(0);
  former->show();
  ModalCatcher catcher;
  catcher.onDialog = [](QDialog* dialog) {
    QCOMPARE(dialog->windowTitle(), u"台数設定"_s);
    QCOMPARE(dialog->pos(), QPoint(387, 523));
    QCOMPARE(Find<QLabel>(*dialog, u"Label1"_s)->text(), u"シミュレーションする台数を設定してください。"_s);
    auto* edit = Find<QLineEdit>(*dialog, u"NumEdit"_s);
    QCOMPARE(edit->text(), u"20"_s);
    edit->setText(u"5"_s);
    Find<QPushButton>(*dialog, u"OkButton"_s)->click();
  };
  Find<QAction>(p.hall, u"SetNumEdit"_s)->trigger();
  QCOMPARE(p.setNum.machineCount, 5);
  QCOMPARE(p.hall.hall().SeatCount(), 5);
  QCOMPARE(p.hall.grid().rowCount(), 5);
  QVERIFY(former.isNull());
  for (int seat = 0; seat < 5; ++seat) {
    QCOMPARE(p.hall.analysisWindow(seat)->windowTitle(), u"Orvel　%1番台"_s.arg(seat + 1));
    QCOMPARE(p.hall.grid().Cell(seat, Column::Level), u"1"_s);
    QCOMPARE(p.hall.grid().Cell(seat, Column::Rate), u"1"_s);
  }

  // It opens with the current count; 0 leaves an empty hall that still runs.
  catcher.onDialog = [](QDialog* dialog) {
    auto* edit = Find<QLineEdit>(*dialog, u"NumEdit"_s);
    QCOMPARE(edit->text(), u"5"_s);
    edit->setText(u"0"_s);
    Find<QPushButton>(*dialog, u"OkButton"_s)->click();
  };
  Find<QAction>(p.hall, u"SetNumEdit"_s)->trigger();
  QCOMPARE(p.hall.hall().SeatCount(), 0);
  QCOMPARE(p.hall.grid().rowCount(), 0);
  QVERIFY(RunGames(p.hall, 10));
  QCOMPARE(p.hall.slump().size(), 10u);
  QCOMPARE(p.hall.slump().back(), 0);
}

void ShellTest::countDialogRefusesBadCounts_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message");
  QTest::newRow("letters") << u"abc"_s << u"'abc' は整数ではありません."_s;
  QTest::newRow("decimal") << u"2.5"_s << u"'2.5' は整数ではありません."_s;
  QTest::newRow("negative") << u"-1"_s << u"台数は、0から1000にしてください。"_s;
  QTest::newRow("too many") << u"1001"_s << u"台数は、0から1000にしてください。"_s;
}

void ShellTest::countDialogRefusesBadCounts() {
  QFETCH(QString, text);
  QFETCH(QString, message);
  Program p;
  ModalCatcher catcher;
  bool stayedOpen = false;
  catcher.onDialog = [&](QDialog* dialog) {
    Find<QLineEdit>(*dialog, u"NumEdit"_s)->setText(text);
    Find<QPushButton>(*dialog, u"OkButton"_s)->click();
    stayedOpen = dialog->isVisible() && !p.setNum.accepted;
    QTest::keyClick(dialog, Qt::Key_Return);  // Enter is no OK here
    Find<QPushButton>(*dialog, u"CancelButton"_s)->click();
  };
  Find<QAction>(p.hall, u"SetNumEdit"_s)->trigger();
  QVERIFY(stayedOpen);
  QCOMPARE(catcher.texts(), QStringList{message});
  QCOMPARE(p.setNum.machineCount, 20);
  QCOMPARE(p.hall.hall().SeatCount(), 20);
}

void ShellTest::countChangedWhilePausedContinuesThere() {
  Program p;
  QVERIFY(RunGames(p.hall, 300, 99));
  QCOMPARE(p.hall.resumeGame(), 100);
  ModalCatcher catcher;
  catcher.onDialog = [](QDialog* dialog) {
    Find<QLineEdit>(*dialog, u"NumEdit"_s)->setText(u"5"_s);
    Find<QPushButton>(*dialog, u"OkButton"_s)->click();
  };
  Find<QAction>(p.hall, u"SetNumEdit"_s)->trigger();
  QCOMPARE(p.hall.resumeGame(), 100);
  QVERIFY(p.hall.stopped());
  QCOMPARE(p.hall.slump().size(), 0u);

  int first = -1;
  auto firstGame = QObject::connect(&p.hall, &TFormHall::hallGamePlayed, &p.hall, [&first](int g) {
    if (first < 0) first = g;
  });
  QVERIFY(StartAndWait(p.hall));
  QObject::disconnect(firstGame);
  QCOMPARE(first, 100);
  QCOMPARE(p.hall.slump().firstGame(), 100);
  QCOMPARE(p.hall.slump().size(), 200u);
  QCOMPARE(p.hall.hall().PlayLog(4).Length(), 200);
}

void ShellTest::errorBoxCatchesAnExceptionFromAHandler() {
  ModalCatcher catcher;
  Thrower thrower;
  // Delivered directly and through the event loop: both reach notify.
  QEvent direct(Thrower::kType);
  QCoreApplication::sendEvent(&thrower, &direct);
  QCoreApplication::postEvent(&thrower, new QEvent(Thrower::kType));
  QTRY_COMPARE(thrower.events, 2);
  QCoreApplication::sendEvent(&thrower, &direct);  // the program went on
  QCOMPARE(thrower.events, 3);
  QCOMPARE(catcher.boxes.size(), 3);
  QCOMPARE(catcher.boxes[0].title, u"Orvelsimホール"_s);
  QCOMPARE(catcher.boxes[0].text, u"壊れました."_s);
  QCOMPARE(catcher.boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(catcher.boxes[0].buttons, 1);
  QCOMPARE(catcher.boxes[2].text, u"ended."_s);
}

void ShellTest::startUpErrorsAreShownAndEndWithZero() {
  ModalCatcher catcher;
  QCOMPARE(orvel::RunGuarded([]() -> int { throw std::runtime_error("no window"); }), 0);
  QCOMPARE(orvel::RunGuarded([]() -> int { throw 42; }), 0);
  QCOMPARE(orvel::RunGuarded([] { return 3; }), 3);
  QCOMPARE(catcher.texts(), (QStringList{u"no window."_s, QString()}));
}

void ShellTest::mainMenuItemsAndWiring() {
  Program p;
  p.hall.show();
  QStringList menus;
  for (QAction* menu : p.hall.menuBar()->actions()) {
    QStringList items;
    for (QAction* item : menu->menu()->actions()) items << (item->isSeparator() ? u"-"_s : item->text());
    menus << menu->text() + u": "_s + items.join(u", "_s);
  }
  QCOMPARE(
      menus,
      (QStringList{u"ファイル(&F): ホールを開く(&O)…, ホールを保存(&S)…, 名前を付けて保存(&A)…, "
                   u"最近使ったファイル, -, 乱数シード(&R)…, エクスポート, -, 開始(&G), -, 終了(&X)"_s,
                   u"設定(&E): 台数設定(&N), 多日シミュレーション(&M)…, ウインドウを全て閉じる(&C), 解析値(&A)"_s,
                   u"ヘルプ(&H): バージョン情報(&A), 取扱説明書(&C), JWordのインストール, -, ホームページ, 広告"_s}));
  QCOMPARE(Find<QAction>(p.hall, u"N2"_s)->isSeparator(), true);

  Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"15"_s);
  QVERIFY(PressAndWaitForRunEnd(p.hall, [&p] { Find<QAction>(p.hall, u"FileStartMenu"_s)->trigger(); }));
  QCOMPARE(p.hall.hall().PlayLog(0).Length(), 15);

  // 終了 during a run: it stops after the current hall game, the window closes.
  Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"100"_s);
  auto exit = QObject::connect(&p.hall, &TFormHall::hallGamePlayed, &p.hall, [&p](int g) {
    if (g == 7) Find<QAction>(p.hall, u"FileExitMenu"_s)->trigger();
  });
  QVERIFY(StartAndWait(p.hall));
  QObject::disconnect(exit);
  QVERIFY(!p.hall.isVisible());
  QCOMPARE(p.hall.resumeGame(), 8);
}

void ShellTest::closeAllWindowsDuringARun() {
  Program p;
  for (int seat : {0, 1, 2}) p.hall.analysisWindow(seat)->show();
  auto closeAll = QObject::connect(&p.hall, &TFormHall::hallGamePlayed, &p.hall, [&p](int g) {
    if (g == 20) Find<QAction>(p.hall, u"N1"_s)->trigger();
  });
  QVERIFY(RunGames(p.hall, 120));
  QObject::disconnect(closeAll);
  for (int seat = 0; seat < 20; ++seat) QVERIFY(!p.hall.analysisWindow(seat)->isVisible());
  QCOMPARE(p.hall.hall().PlayLog(0).Length(), 120);
  orvel::TMainForm* window = p.hall.analysisWindow(1);
  window->show();
  QCOMPARE(window->nextGame(), 120);
  // It catches up in the hall's display turns.
  QTRY_COMPARE(Find<QAbstractItemView>(*window, u"ResultListView"_s)->model()->rowCount(), 120);
  window->close();
}

void ShellTest::versionBoxAndLinks() {
  Program p;
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler(u"https"_s, &recorder, "open");
  QDesktopServices::setUrlHandler(u"mailto"_s, &recorder, "open");
  ModalCatcher catcher;
  bool seen = false;
  catcher.onDialog = [&](QDialog* dialog) {
    seen = true;
    QCOMPARE(dialog->windowTitle(), u"バージョン情報"_s);
    QCOMPARE(dialog->size(), QSize(298, 213));
    QCOMPARE(Find<QLabel>(*dialog, u"ProductName"_s)->text(), u"Orvelsimホール"_s);
    QCOMPARE(Find<QLabel>(*dialog, u"Version"_s)->text(), u"Version1.0.1.0"_s);
    QVERIFY(Find<QLabel>(*dialog, u"Copyright"_s)->text().contains(u"2026"_s));
    QVERIFY(!Find<QLabel>(*dialog, u"ProgramIcon"_s)->pixmap().isNull());
    auto* home = Find<QLabel>(*dialog, u"Label1"_s);
    QCOMPARE(home->text(), u"Orvelsimのページ"_s);
    QVERIFY(home->font().underline());
    QCOMPARE(home->palette().color(QPalette::WindowText), QColor(0x0000FF));
    QCOMPARE(home->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(home, Qt::LeftButton);
    QTest::mouseClick(Find<QLabel>(*dialog, u"Label2"_s), Qt::LeftButton);
    auto* ok = Find<QPushButton>(*dialog, u"OKButton"_s);
    QVERIFY(ok->isDefault());
    ok->click();
  };
  Find<QAction>(p.hall, u"HelpAboutMenu"_s)->trigger();
  QVERIFY(seen);
  Find<QAction>(p.hall, u"N3"_s)->trigger();
  Find<QAction>(p.hall, u"N4"_s)->trigger();
  QCOMPARE(recorder.urls, (QList<QUrl>{QUrl(u"https://orvelsim.example.com/"_s), QUrl(u"mailto:orvelsim@example.com"_s),
                                       QUrl(u"https://orvelsim.example.com/"_s),
                                       QUrl(u"https://orvelsim.example.com/ad.html"_s)}));
  QDesktopServices::unsetUrlHandler(u"https"_s);
  QDesktopServices::unsetUrlHandler(u"mailto"_s);
}

void ShellTest::manualAndInstallerBesideTheExecutable() {
  Program p;
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler(u"file"_s, &recorder, "open");
  // Whatever the working directory, the files are looked for beside the
  // executable.
  QTemporaryDir elsewhere;
  const QString before = QDir::currentPath();
  QDir::setCurrent(elsewhere.path());
  Find<QAction>(p.hall, u"HelpManMenu"_s)->trigger();
  QDesktopServices::unsetUrlHandler(u"file"_s);
  QCOMPARE(recorder.urls.size(), 1);
  QCOMPARE(recorder.urls[0].toLocalFile(), QDir(QCoreApplication::applicationDirPath()).filePath(u"orvel_hall.html"_s));

  // A stand-in installer beside the executable records its parameters.
  const QString installer = QDir(QCoreApplication::applicationDirPath()).filePath(u"jwv_for_PZ481902.exe"_s);
  const QString record = elsewhere.filePath(u"parameters"_s);
  QFile script(installer);
  QVERIFY(script.open(QIODevice::WriteOnly));
  script.write(u"#!/bin/sh\necho \"$@\" > '%1'\n"_s.arg(record).toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  Find<QAction>(p.hall, u"JWord1"_s)->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(record).size() > 0, 10000);
  QFile parameters(record);
  QVERIFY(parameters.open(QIODevice::ReadOnly));
  QCOMPARE(QString::fromUtf8(parameters.readAll()).trimmed(), u"PZ481902 1"_s);
  QFile::remove(installer);
  QDir::setCurrent(before);
}

int main(int argc, char** argv) {
  orvel::OrvelApplication app(argc, argv);
  ShellTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ShellTest.moc"
