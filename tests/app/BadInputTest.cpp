// Every text a user can type into the windows, good and bad: the message it
// gets, and that nothing else changes.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "FindChild.h"
#include "ModalCatcher.h"
#include "Program.h"
#include "RunToEnd.h"
#include "TypedTexts.h"
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

// Everything a text could disturb: seats, settings, rates, logs, grid,
// chart, labels, run state and which controls are enabled.
QStringList Snapshot(TFormHall& hall) {
  QStringList s;
  s << u"seats %1 resume %2 stopped %3"_s.arg(hall.hall().SeatCount()).arg(hall.resumeGame()).arg(hall.stopped());
  for (int seat = 0; seat < hall.hall().SeatCount(); ++seat) {
    const auto& log = hall.hall().PlayLog(seat);
    s << u"seat %1 level %2 rate '%3' log %4 medal %5 playCount %6"_s.arg(seat)
             .arg(hall.hall().Machine(seat).GetLevel())
             .arg(QString::fromStdString(hall.hall().RateText(seat)))
             .arg(log.Length())
             .arg(log.Length() ? log.LastMedal() : 0)
             .arg(hall.hall().Machine(seat).playCount);
  }
  for (int row = 0; row < hall.grid().rowCount(); ++row) {
    QStringList cells;
    for (int c = 0; c < hall.grid().columnCount(); ++c) cells << hall.grid().Cell(row, c);
    s << cells.join(u'|');
  }
  s << u"slump %1"_s.arg(hall.slump().size());
  for (const QString& label : {u"ProceedLabel"_s, u"StatusPanel1"_s}) s << Find<QLabel>(hall, label)->text();
  for (const QString& control : {u"PlayNumEdit"_s, u"UpSpeedEdit"_s, u"StartButton"_s, u"ResetButton"_s}) {
    QWidget* widget = Find<QWidget>(hall, control);
    s << control + (widget->isEnabled() ? u" on"_s : u" off"_s);
  }
  s << Find<QPushButton>(hall, u"StartButton"_s)->text();
  s << (Find<QAction>(hall, u"SetNumEdit"_s)->isEnabled() ? u"count on"_s : u"count off"_s);
  return s;
}

// What a field says to a typed text: nothing (taken), that it is no number,
// or that the number is out of the field's range.
enum class Says { Nothing, NoNumber, OutOfRange };

using orvel::test::Expectations;
using orvel::test::ForEveryNastyText;
using orvel::test::TypedText;

QString ToQ(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

class BadInputTest : public QObject {
  Q_OBJECT

private slots:
  void playCount_data();
  void playCount();
  void updateInterval_data();
  void updateInterval();
  void seatSetting_data();
  void seatSetting();
  void seatRate_data();
  void seatRate();
  void machineCount_data();
  void machineCount();
};

// "box:<text>" = the error box with that text; "dialog:<text>" = the
// エラー dialog; "ok" = no message. For PlayNumEdit also the track bar's
// maximum and position and the field's text afterwards.
void BadInputTest::playCount_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("maximum");
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("fieldAfter");
  struct Row {
    Says says;
    int maximum = 8000;
    int position = 50;
  };
  const Row no{Says::NoNumber}, low{Says::OutOfRange, 1, 1};
  const Expectations<Row> rows{
      {"empty", no},
      {"blanks", no},
      {"letters", no},
      {"decimal_point", no},
      {"minus_one", low},
      {"zero", low},
      {"int_max", {Says::Nothing, 2147483647, 50}},
      {"past_int_max", no},
      {"twenty_nines", no},
      {"full_width_digits", no},
      {"exponent", no},
      {"hexadecimal", no},
      {"plus", {Says::Nothing, 5, 5}},
      {"blanks_around", {Says::Nothing, 4, 4}},
      {"very_long", no},
      {"no_break_spaces_around", no},
      {"arabic_indic_digits", no},
      {"digit_separator", no},
  };
  ForEveryNastyText(rows, [](const TypedText& typed, const Row& row) {
    const QString text = ToQ(typed.text);
    const QString message = row.says == Says::NoNumber     ? u"box:'%1' は整数ではありません."_s.arg(text)
                            : row.says == Says::OutOfRange ? u"dialog:Play数は、1以上にしてください。"_s
                                                           : QString();
    // Too low a count is put right to 1 in the field.
    QTest::newRow(typed.name) << text << message << row.maximum << row.position
                              << (row.says == Says::OutOfRange ? u"1"_s : text);
  });
}

void BadInputTest::playCount() {
  QFETCH(QString, text);
  QFETCH(QString, message);
  QFETCH(int, maximum);
  QFETCH(int, position);
  QFETCH(QString, fieldAfter);
  Program p;
  Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"40"_s);
  QVERIFY(StartAndWait(p.hall));  // a finished run, so there is something to lose
  Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"8000"_s);
  Find<QLineEdit>(p.hall, u"UpSpeedEdit"_s)->setText(u"50"_s);
  QStringList before = Snapshot(p.hall);

  ModalCatcher catcher;
  Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(text);
  QStringList expectedMessages;
  if (!message.isEmpty()) expectedMessages << message.section(u':', 1);
  QCOMPARE(catcher.texts(), expectedMessages);
  if (!message.isEmpty()) {
    QCOMPARE(catcher.boxes[0].title, message.startsWith(u"box:"_s) ? u"Orvelsimホール"_s : u"エラー"_s);
  }
  auto* track = Find<QSlider>(p.hall, u"UpdateTrackBar"_s);
  QCOMPARE(track->maximum(), maximum);
  QCOMPARE(track->value(), position);
  QCOMPARE(Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->text(), fieldAfter);
  QCOMPARE(Find<QLineEdit>(p.hall, u"UpSpeedEdit"_s)->text(), QString::number(position));
  // Only the fields themselves may differ.
  QStringList after = Snapshot(p.hall);
  QCOMPARE(after, before);
}

void BadInputTest::updateInterval_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("position");
  struct Row {
    Says says;
    int position;
  };
  const Row no{Says::NoNumber, 50}, bad{Says::OutOfRange, 1};
  const Expectations<Row> rows{
      {"empty", no},
      {"blanks", no},
      {"letters", no},
      {"decimal_point", no},
      {"minus_one", bad},
      {"zero", bad},
      {"int_max", bad},
      {"past_int_max", no},
      {"twenty_nines", no},
      {"full_width_digits", no},
      {"exponent", no},
      {"hexadecimal", no},
      {"plus", {Says::Nothing, 5}},
      {"blanks_around", {Says::Nothing, 4}},
      {"very_long", no},
      {"no_break_spaces_around", no},
      {"arabic_indic_digits", no},
      {"digit_separator", no},
  };
  const auto message = [](Says says, const QString& text) {
    return says == Says::NoNumber     ? u"box:'%1' は整数ではありません."_s.arg(text)
           : says == Says::OutOfRange ? u"dialog:更新間隔が不正です。"_s
                                      : QString();
  };
  ForEveryNastyText(rows, [&](const TypedText& typed, const Row& row) {
    QTest::newRow(typed.name) << ToQ(typed.text) << message(row.says, ToQ(typed.text)) << row.position;
  });
  QTest::newRow("above_the_play_count") << u"8001"_s << message(Says::OutOfRange, {}) << 1;
}

void BadInputTest::updateInterval() {
  QFETCH(QString, text);
  QFETCH(QString, message);
  QFETCH(int, position);
  // Typed while a run is paused: the run stays paused, its controls too.
  Program p;
  Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"8000"_s);
  auto stop = connect(&p.hall, &TFormHall::hallGamePlayed, &p.hall, [&p](int g) {
    if (g == 30) p.hall.StartButtonClick();
  });
  QVERIFY(StartAndWait(p.hall));
  disconnect(stop);
  const QStringList before = Snapshot(p.hall);

  ModalCatcher catcher;
  Find<QLineEdit>(p.hall, u"UpSpeedEdit"_s)->setText(text);
  QCOMPARE(catcher.texts(), message.isEmpty() ? QStringList() : QStringList{message.section(u':', 1)});
  QCOMPARE(Find<QSlider>(p.hall, u"UpdateTrackBar"_s)->value(), position);
  QCOMPARE(Find<QSlider>(p.hall, u"UpdateTrackBar"_s)->maximum(), 8000);
  QStringList after = Snapshot(p.hall);
  QCOMPARE(after, before);
  QCOMPARE(p.hall.resumeGame(), 31);
}

// The seat dialog's setting with a good rate, and its rate with a good
// setting: "" = accepted with that setting / rate.
void BadInputTest::seatSetting_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("level");
  struct Row {
    Says says;
    int level = 1;
  };
  const Row no{Says::NoNumber}, range{Says::OutOfRange};
  const Expectations<Row> rows{
      {"empty", no},
      {"blanks", no},
      {"letters", no},
      {"decimal_point", no},
      {"minus_one", range},
      {"zero", range},
      {"int_max", range},
      {"past_int_max", no},
      {"twenty_nines", no},
      {"full_width_digits", no},
      {"exponent", no},
      {"hexadecimal", no},
      {"plus", {Says::Nothing, 5}},
      {"blanks_around", {Says::Nothing, 4}},
      {"very_long", no},
      {"no_break_spaces_around", no},
      {"arabic_indic_digits", no},
      {"digit_separator", no},
  };
  ForEveryNastyText(rows, [](const TypedText& typed, const Row& row) {
    const QString text = ToQ(typed.text);
    const QString message = row.says == Says::NoNumber     ? u"'%1' は整数ではありません."_s.arg(text)
                            : row.says == Says::OutOfRange ? u"設定は、1から6にしてください。"_s
                                                           : QString();
    QTest::newRow(typed.name) << text << message << row.level;
  });
}

namespace {

// Opens row 2's dialog, types, presses OK, then Cancel if still open.
QStringList TypeIntoSeatDialog(Program& p, const QString& level, const QString& rate, bool& stayedOpen) {
  ModalCatcher catcher;
  catcher.onDialog = [&](QDialog* dialog) {
    Find<QComboBox>(*dialog, u"LevelComboBox"_s)->setCurrentText(level);
    Find<QComboBox>(*dialog, u"WorkComboBox"_s)->setCurrentText(rate);
    Find<QPushButton>(*dialog, u"OkButton"_s)->click();
    stayedOpen = dialog->isVisible();
    if (stayedOpen) Find<QPushButton>(*dialog, u"CancelButton"_s)->click();
  };
  p.hall.HallStringGridMouseDown(Qt::RightButton, 2);
  p.hall.SetPopupMenuClick();
  return catcher.texts();
}

}  // namespace

void BadInputTest::seatSetting() {
  QFETCH(QString, text);
  QFETCH(QString, message);
  QFETCH(int, level);
  Program p;
  Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"25"_s);
  QVERIFY(StartAndWait(p.hall));
  const QStringList before = Snapshot(p.hall);
  bool stayedOpen = false;
  const QStringList messages = TypeIntoSeatDialog(p, text, u"0.5"_s, stayedOpen);
  if (message.isEmpty()) {
    QCOMPARE(messages, QStringList());
    QVERIFY(!stayedOpen);
    QCOMPARE(p.hall.hall().Machine(1).GetLevel(), level);
    QCOMPARE(p.hall.hall().RateText(1), "0.5");
    QCOMPARE(p.hall.hall().PlayLog(0).Length(), 0);
  } else {
    QCOMPARE(messages, QStringList{message});
    QVERIFY(stayedOpen);
    QStringList after = Snapshot(p.hall);
    QCOMPARE(after, before);
  }
}

void BadInputTest::seatRate_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("gamesOf10");  // games seat 2 then plays of 10 hall games
  const auto notDecimal = [](const QString& t) { return u"'%1' は浮動小数点数ではありません."_s.arg(t); };
  constexpr int no = -1;  // refused
  const Expectations<int> gamesOf10{
      {"empty", no},
      {"blanks", no},
      {"letters", no},
      {"decimal_point", 10},
      {"minus_one", 0},
      {"zero", 0},
      {"int_max", 10},
      {"past_int_max", 10},
      {"twenty_nines", 10},
      {"full_width_digits", no},
      {"exponent", 10},
      {"hexadecimal", no},
      {"plus", 10},
      {"blanks_around", 10},
      {"very_long", 10},
      {"no_break_spaces_around", no},
      {"arabic_indic_digits", no},
      {"digit_separator", no},
  };
  ForEveryNastyText(gamesOf10, [&](const TypedText& typed, const int& games) {
    const QString text = ToQ(typed.text);
    QTest::newRow(typed.name) << text << (games == no ? notDecimal(text) : QString()) << (games == no ? 0 : games);
  });
  QTest::newRow("blanks_around_a_decimal") << u" 0.5 "_s << QString() << 5;
  QTest::newRow("comma") << u"0,5"_s << notDecimal(u"0,5"_s) << 0;
  QTest::newRow("very_long_decimal") << u"0."_s + QString(32765, u'3') << QString() << 4;
}

void BadInputTest::seatRate() {
  QFETCH(QString, text);
  QFETCH(QString, message);
  QFETCH(int, gamesOf10);
  Program p;
  Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"25"_s);
  QVERIFY(StartAndWait(p.hall));
  const QStringList before = Snapshot(p.hall);
  bool stayedOpen = false;
  const QStringList messages = TypeIntoSeatDialog(p, u"3"_s, text, stayedOpen);
  if (message.isEmpty()) {
    QCOMPARE(messages, QStringList());
    QVERIFY(!stayedOpen);
    QCOMPARE(QString::fromStdString(p.hall.hall().RateText(1)), text);  // as typed
    QCOMPARE(p.hall.grid().Cell(1, Column::Rate), text);
    Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"10"_s);
    QVERIFY(StartAndWait(p.hall));
    QCOMPARE(p.hall.hall().PlayLog(1).Length(), gamesOf10);
  } else {
    QCOMPARE(messages, QStringList{message});
    QVERIFY(stayedOpen);
    QStringList after = Snapshot(p.hall);
    QCOMPARE(after, before);
  }
}

void BadInputTest::machineCount_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("seats");
  struct Row {
    Says says;
    int seats = 20;
  };
  const Row no{Says::NoNumber}, range{Says::OutOfRange};
  const Expectations<Row> rows{
      {"empty", no},
      {"blanks", no},
      {"letters", no},
      {"decimal_point", no},
      {"minus_one", range},
      {"zero", {Says::Nothing, 0}},
      {"int_max", range},
      {"past_int_max", no},
      {"twenty_nines", no},
      {"full_width_digits", no},
      {"exponent", no},
      {"hexadecimal", no},
      {"plus", {Says::Nothing, 5}},
      {"blanks_around", {Says::Nothing, 4}},
      {"very_long", no},
      {"no_break_spaces_around", no},
      {"arabic_indic_digits", no},
      {"digit_separator", no},
  };
  ForEveryNastyText(rows, [](const TypedText& typed, const Row& row) {
    const QString text = ToQ(typed.text);
    const QString message = row.says == Says::NoNumber     ? u"'%1' は整数ではありません."_s.arg(text)
                            : row.says == Says::OutOfRange ? u"台数は、0から1000にしてください。"_s
                                                           : QString();
    QTest::newRow(typed.name) << text << message << row.seats;
  });
}

void BadInputTest::machineCount() {
  QFETCH(QString, text);
  QFETCH(QString, message);
  QFETCH(int, seats);
  Program p;
  Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"25"_s);
  QVERIFY(StartAndWait(p.hall));
  const QStringList before = Snapshot(p.hall);
  ModalCatcher catcher;
  bool stayedOpen = false;
  catcher.onDialog = [&](QDialog* dialog) {
    Find<QLineEdit>(*dialog, u"NumEdit"_s)->setText(text);
    Find<QPushButton>(*dialog, u"OkButton"_s)->click();
    stayedOpen = dialog->isVisible();
    if (stayedOpen) Find<QPushButton>(*dialog, u"CancelButton"_s)->click();
  };
  Find<QAction>(p.hall, u"SetNumEdit"_s)->trigger();
  QCOMPARE(p.hall.hall().SeatCount(), seats);
  if (message.isEmpty()) {
    QCOMPARE(catcher.texts(), QStringList());
    QVERIFY(!stayedOpen);
    QCOMPARE(p.hall.grid().rowCount(), seats);
  } else {
    QCOMPARE(catcher.texts(), QStringList{message});
    QVERIFY(stayedOpen);
    QCOMPARE(p.setNum.machineCount, 20);
    QStringList after = Snapshot(p.hall);
    QCOMPARE(after, before);
  }
}

int main(int argc, char** argv) {
  orvel::OrvelApplication app(argc, argv);
  BadInputTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "BadInputTest.moc"
