// The hall window's files: hall files opened and saved through the menus
// and the toolkit's file dialogs, the seeded run against orvelsim-cli, and
// the exports read back.
#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QSlider>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <functional>
#include <sstream>

#include "FindChild.h"
#include "ModalCatcher.h"
#include "Program.h"
#include "RunToEnd.h"
#include "core/hall/HallFile.h"
#include "core/hall/HallReport.h"
#include "gui/analysis/Unit1.h"
#include "gui/common/ChartPicture.h"
#include "gui/common/ZoomChartView.h"
#include "gui/dialogs/SeedForm.h"
#include "gui/hall/HallGridModel.h"

using namespace Qt::StringLiterals;
using orvel::TFormHall;

namespace {

// A file dialog answered with `path`, as a user types it and presses OK.
std::function<void(QDialog*)> Answer(const QString& path) {
  return [path](QDialog* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    if (!files) {
      dialog->reject();
      return;
    }
    // Typed into the name field, as selectFile leaves a focused field alone.
    files->setDirectory(QFileInfo(path).absolutePath());
    Find<QLineEdit>(*files, u"fileNameEdit"_s)->setText(QFileInfo(path).fileName());
    dialog->accept();  // QFileDialog::accept, as its OK button calls it
  };
}

QString WriteText(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
  const QString path = dir.filePath(name);
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(text);
  return path;
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A CSV file of ours back into rows of texts: the byte-order mark and
// "\r\n" checked, fields split at commas (none of the tested texts holds
// one, a quote or a line break).
QList<QStringList> ReadCsv(const QString& path) {
  QByteArray bytes = ReadBytes(path);
  if (!bytes.startsWith("\xEF\xBB\xBF")) return {};
  bytes.remove(0, 3);
  QList<QStringList> rows;
  const QString text = QString::fromUtf8(bytes);
  if (!text.endsWith(u"\r\n"_s)) return {};
  for (const QString& line : text.split(u"\r\n"_s, Qt::SkipEmptyParts)) rows.append(line.split(u','));
  return rows;
}

QList<QStringList> ModelRows(const QAbstractItemModel& model) {
  QList<QStringList> rows;
  QStringList captions;
  for (int c = 0; c < model.columnCount(); ++c) captions << model.headerData(c, Qt::Horizontal).toString();
  rows << captions;
  for (int r = 0; r < model.rowCount(); ++r) {
    QStringList row;
    for (int c = 0; c < model.columnCount(); ++c) row << model.index(r, c).data().toString();
    rows << row;
  }
  return rows;
}

QString SeatCount(const TFormHall& hall) { return QString::number(hall.hall().SeatCount()); }

// The four-seat hall of orvelsim-cli's checked-in run.
const QByteArray kHall =
    R"({"format":"orvelhall","version":1,"playCount":500,"updateInterval":100,"seed":12345,"seats":[
    {"level":1,"rate":"1"},{"level":2,"rate":"0.5"},{"level":5,"rate":"0.55"},{"level":6,"rate":"0"}]})";

}  // namespace

class HallFilesTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    // The recent files go to the test's own settings, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(u"OrvelsimTest"_s);
    QSettings().clear();
  }

  // The window's seeded run is orvelsim-cli's run of the same hall file:
  // every seat's counters and the hall balance, on every fresh Start.
  void seededRunEqualsTheCli() {
    QTemporaryDir dir;
    const QString file = WriteText(dir, u"four.orvelhall"_s, kHall);
    Program p;
    ModalCatcher catcher;
    catcher.onDialog = Answer(file);
    Find<QAction>(p.hall, u"FileOpenMenu"_s)->trigger();
    QVERIFY2(catcher.boxes.isEmpty(), qPrintable(catcher.texts().join(u'\n')));
    QCOMPARE(p.hall.fixedSeed(), std::optional<std::uint32_t>(12345u));
    QCOMPARE(p.hall.windowTitle(), u"four.orvelhall - Orvelsimホール"_s);
    QCOMPARE(Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->text(), u"500"_s);
    QCOMPARE(Find<QSlider>(p.hall, u"UpdateTrackBar"_s)->value(), 100);

    QProcess cli;
    cli.start(QStringLiteral(ORVELSIM_CLI), {u"--hall"_s, file, u"--format"_s, u"csv"_s});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 4 + 2);
    const QString cliBalance = lines.last().section(u',', 0, 0);

    for (int run = 0; run < 2; ++run) {
      QVERIFY(StartAndWait(p.hall));
      QCOMPARE(Find<QLabel>(p.hall, u"SeedLabel"_s)->text(), u"シード：12345"_s);
      const auto& grid = p.hall.grid();
      for (int seat = 0; seat < 4; ++seat) {
        QStringList row;
        for (int c = 0; c < orvel::HallGridColumn::Count; ++c) row << grid.Cell(seat, c);
        QCOMPARE(row.join(u','), lines[1 + seat]);
      }
      QCOMPARE(QString::number(p.hall.slump().back()), cliBalance);
    }

    // Without a fixed seed nothing is prepared, and the label says so.
    p.hall.SetFixedSeed(std::nullopt);
    QVERIFY(StartAndWait(p.hall));
    QCOMPARE(Find<QLabel>(p.hall, u"SeedLabel"_s)->text(), u"シード：時計"_s);
  }

  // Each bad file is refused with one message, and the hall stays as it was.
  void badFilesChangeNothing() {
    QTemporaryDir dir;
    Program p;
    ModalCatcher catcher;
    QByteArray thousandAndOne =
        R"({"format":"orvelhall","version":1,"playCount":5,"updateInterval":1,"seed":null,"seats":[)";
    for (int i = 0; i < 1001; ++i)
      thousandAndOne += i == 0 ? R"({"level":1,"rate":"1"})" : R"(,{"level":1,"rate":"1"})";
    thousandAndOne += "]}";
    const QList<std::pair<QByteArray, QString>> cases = {
        {"{", u"途中で終わっています"_s},
        {R"({"format":"orvelhall","version":3})", u"版 3"_s},
        {QByteArray(kHall).replace(R"("level":6)", R"("level":7)"), u"4番台"_s},
        {QByteArray(kHall).replace(R"("0.55")", R"("abc")"), u"'abc' は浮動小数点数ではありません"_s},
        {thousandAndOne, u"1000 台まで"_s},
    };
    for (const auto& [text, message] : cases) {
      catcher.boxes.clear();
      const QString file = WriteText(dir, u"bad.orvelhall"_s, text);
      QVERIFY(!p.hall.OpenHallFile(file));
      QCOMPARE(catcher.boxes.size(), 1);
      QVERIFY2(catcher.boxes[0].text.contains(message), qPrintable(catcher.boxes[0].text));
      QVERIFY(catcher.boxes[0].text.contains(u"bad.orvelhall"_s));
      QCOMPARE(SeatCount(p.hall), u"20"_s);
      QCOMPARE(p.hall.windowTitle(), u"Orvelsimホール"_s);
      QCOMPARE(Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->text(), u"8000"_s);
      QVERIFY(!p.hall.fixedSeed());
    }
  }

  // Saved through 名前を付けて保存 and opened again: the same hall, rate
  // texts character for character; Open and Save wait while a run is paused.
  void saveAndOpenRoundTrip() {
    QTemporaryDir dir;
    Program p;
    ModalCatcher catcher;
    p.hall.CreateSeats(3);
    p.hall.hall().SetSeat(0, 4, " 0.5");
    p.hall.hall().SetSeat(2, 6, "1e-1");
    p.hall.SetFixedSeed(99u);
    p.hall.RefreshGrid();
    Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"700"_s);
    Find<QSlider>(p.hall, u"UpdateTrackBar"_s)->setValue(70);
    const QString file = dir.filePath(u"mine"_s);  // the suffix is added
    catcher.onDialog = Answer(file);
    Find<QAction>(p.hall, u"FileSaveAsMenu"_s)->trigger();
    QVERIFY2(catcher.boxes.isEmpty(), qPrintable(catcher.texts().join(u'\n')));
    QCOMPARE(p.hall.hallFile(), file + u".orvelhall"_s);
    QCOMPARE(p.hall.windowTitle(), u"mine.orvelhall - Orvelsimホール"_s);
    QVERIFY(!QFileInfo::exists(file + u".orvelhall.saving"_s));

    const auto saved = orvel::ReadHallFile(QFile::encodeName(p.hall.hallFile()).toStdString(), 1000);
    QCOMPARE(saved.playCount, 700);
    QCOMPARE(saved.updateInterval, 70);
    QCOMPARE(saved.seed, std::optional<std::uint32_t>(99u));
    QCOMPARE(saved.seats.size(), std::size_t{3});
    QCOMPARE(saved.seats[0].rate, std::string(" 0.5"));
    QCOMPARE(saved.seats[0].level, 4);
    QCOMPARE(saved.seats[2].rate, std::string("1e-1"));

    Program other;
    QVERIFY(other.hall.OpenHallFile(p.hall.hallFile()));
    QCOMPARE(SeatCount(other.hall), u"3"_s);
    for (int seat = 0; seat < 3; ++seat) {
      QCOMPARE(other.hall.grid().Cell(seat, orvel::HallGridColumn::Level),
               p.hall.grid().Cell(seat, orvel::HallGridColumn::Level));
      QCOMPARE(other.hall.hall().RateText(seat), p.hall.hall().RateText(seat));
    }
    // The recent files list it first.
    QMenu* recent = Find<QMenu>(other.hall, u"FileRecentMenu"_s);
    QVERIFY(!recent->actions().isEmpty());
    QCOMPARE(recent->actions().first()->toolTip(), QFileInfo(p.hall.hallFile()).absoluteFilePath());

    // Paused: no opening, no saving.
    other.hall.hallGameFault = [&other](int game) {
      if (game == 5) other.hall.StartButtonClick();
    };
    QVERIFY(StartAndWait(other.hall));
    QVERIFY(other.hall.resumeGame() > 0);
    for (const char* name : {"FileOpenMenu", "FileSaveMenu", "FileSaveAsMenu"}) {
      QVERIFY2(!Find<QAction>(other.hall, QString::fromLatin1(name))->isEnabled(), name);
    }
    QVERIFY(!other.hall.OpenHallFile(p.hall.hallFile()));
    Find<QPushButton>(other.hall, u"ResetButton"_s)->click();
    QVERIFY(Find<QAction>(other.hall, u"FileOpenMenu"_s)->isEnabled());
  }

  // The seed dialog fixes a seed or returns to the clock; a bad seed is
  // refused and the dialog stays open.
  void seedDialog() {
    Program p;
    ModalCatcher catcher;
    int step = 0;
    catcher.onDialog = [&step](QDialog* dialog) {
      Find<QRadioButton>(*dialog, u"FixedRadio"_s)->setChecked(true);
      Find<QLineEdit>(*dialog, u"SeedEdit"_s)->setText(step == 0 ? u"4294967296"_s : u"4294967295"_s);
      Find<QPushButton>(*dialog, u"OkButton"_s)->click();
      if (++step == 1) {
        QTimer::singleShot(50, dialog, [dialog] {
          Find<QLineEdit>(*dialog, u"SeedEdit"_s)->setText(u"4294967295"_s);
          Find<QPushButton>(*dialog, u"OkButton"_s)->click();
        });
      }
    };
    Find<QAction>(p.hall, u"FileSeedMenu"_s)->trigger();
    QCOMPARE(catcher.boxes.size(), 1);
    QVERIFY(catcher.boxes[0].text.contains(u"4294967295"_s));
    QCOMPARE(p.hall.fixedSeed(), std::optional<std::uint32_t>(4294967295u));

    catcher.onDialog = [](QDialog* dialog) {
      QCOMPARE(Find<QLineEdit>(*dialog, u"SeedEdit"_s)->text(), u"4294967295"_s);
      Find<QRadioButton>(*dialog, u"ClockRadio"_s)->setChecked(true);
      Find<QPushButton>(*dialog, u"OkButton"_s)->click();
    };
    Find<QAction>(p.hall, u"FileSeedMenu"_s)->trigger();
    QVERIFY(!p.hall.fixedSeed());
  }

  // A right-click on a chart the user has not zoomed opens its menu; on a
  // zoomed one it zooms back out, as before.
  void chartMenuOpensUnlessZoomed() {
    Program p;
    p.hall.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.hall));
    auto* view = Find<orvel::ZoomChartView>(p.hall, u"SlumpChart"_s);
    QWidget* area = view->viewport();
    QStringList seen;
    const auto readMenu = [&seen] {
      QTimer::singleShot(50, [&seen] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
          for (QAction* action : menu->actions()) seen << action->text();
          menu->close();
        }
      });
    };
    QSignalSpy reset(view, &orvel::ZoomChartView::userResetRange);
    readMenu();
    QTest::mouseClick(area, Qt::RightButton, {}, area->rect().center());
    QCOMPARE(seen, (QStringList{u"画像として保存…"_s, u"コピー"_s}));
    QCOMPARE(reset.count(), 0);

    QTest::mousePress(area, Qt::LeftButton, {}, area->rect().center() - QPoint(100, 40));
    QTest::mouseMove(area, area->rect().center() + QPoint(50, 20));
    QTest::mouseRelease(area, Qt::LeftButton, {}, area->rect().center() + QPoint(50, 20));
    seen.clear();
    readMenu();
    QTest::mouseClick(area, Qt::RightButton, {}, area->rect().center());
    QTest::qWait(100);
    QCOMPARE(reset.count(), 1);
    QVERIFY(seen.isEmpty());
  }

  // Every export read back: CSV to the texts shown, the log folder to the
  // play logs, pictures at the chart's size.
  void exportsReadBack() {
    QTemporaryDir dir;
    Program p;
    ModalCatcher catcher;
    p.hall.CreateSeats(3);
    Find<QLineEdit>(p.hall, u"PlayNumEdit"_s)->setText(u"300"_s);
    QVERIFY(StartAndWait(p.hall));

    catcher.onDialog = Answer(dir.filePath(u"grid.csv"_s));
    Find<QAction>(p.hall, u"ExportGridMenu"_s)->trigger();
    QCOMPARE(ReadCsv(dir.filePath(u"grid.csv"_s)), ModelRows(p.hall.grid()));

    catcher.onDialog = Answer(dir.filePath(u"logs"_s));
    QDir(dir.path()).mkdir(u"logs"_s);
    Find<QAction>(p.hall, u"ExportLogsMenu"_s)->trigger();
    for (int seat = 0; seat < 3; ++seat) {
      std::ostringstream expected;
      orvel::WritePlayLogCsv(expected, p.hall.hall().PlayLog(seat));
      QCOMPARE(ReadBytes(dir.filePath(u"logs/seat_00%1.csv"_s.arg(seat + 1))).toStdString(), expected.str());
    }
    const QStringList hallRows =
        QString::fromLatin1(ReadBytes(dir.filePath(u"logs/hall.csv"_s))).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(hallRows.size(), 301);
    QCOMPARE(hallRows.last(), u"299,%1"_s.arg(p.hall.slump().back()));

    auto* chart = Find<QChartView>(p.hall, u"SlumpChart"_s);
    for (const QString& name : {u"hall.png"_s, u"hall.svg"_s}) {
      catcher.onDialog = Answer(dir.filePath(name));
      Find<QAction>(p.hall, u"ExportChartMenu"_s)->trigger();
    }
    QCOMPARE(QImage(dir.filePath(u"hall.png"_s)).size(), chart->size());
    const QByteArray svg = ReadBytes(dir.filePath(u"hall.svg"_s));
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains(u"viewBox=\"0 0 %1 %2\""_s.arg(chart->width()).arg(chart->height()).toLatin1()));
    QVERIFY(svg.contains("<path") || svg.contains("<polyline"));

    // An analysis window's list and chart, through their context menus' actions.
    orvel::TMainForm* window = p.hall.analysisWindow(0);
    window->show();
    while (p.hall.displaysPending()) QApplication::processEvents();
    auto* list = Find<QTreeView>(*window, u"KoyakuListView"_s);
    catcher.onDialog = Answer(dir.filePath(u"koyaku.csv"_s));
    Find<QAction>(*window, u"KoyakuListViewCsvMenu"_s)->trigger();
    QCOMPARE(ReadCsv(dir.filePath(u"koyaku.csv"_s)), ModelRows(*list->model()));
    auto* pie = Find<QChartView>(*window, u"KoyakuChart"_s);
    catcher.onDialog = Answer(dir.filePath(u"pie.png"_s));
    Find<QAction>(*window, u"KoyakuChartSaveMenu"_s)->trigger();
    QCOMPARE(QImage(dir.filePath(u"pie.png"_s)).size(), pie->size());
    Find<QAction>(*window, u"KoyakuChartCopyMenu"_s)->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), pie->size());
    QVERIFY2(catcher.boxes.isEmpty(), qPrintable(catcher.texts().join(u'\n')));

    // A file that cannot be written is named in the message, and nothing is left.
    const QString nowhere = dir.filePath(u"missing/grid.csv"_s);
    QVERIFY(orvel::SaveBytes(nowhere, "x").contains(nowhere));
    QVERIFY(!QFileInfo::exists(dir.filePath(u"missing"_s)));
  }
};

QTEST_MAIN(HallFilesTest)
#include "HallFilesTest.moc"
