#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QPieSeries>
#include <QPieSlice>
#include <QTableView>
#include <QTest>

#include "FindChild.h"
#include "Program.h"
#include "core/analysis/ExactFigures.h"
#include "core/analysis/FigureTexts.h"
#include "core/model/Random.h"
#include "gui/analysis/TFiguresForm.h"

using namespace Qt::StringLiterals;

class TFiguresFormTest : public QObject {
  Q_OBJECT

private slots:
  void settingMenuOpensTheExactFigures();
};

void TFiguresFormTest::settingMenuOpensTheExactFigures() {
  Program program;
  QAction* item = Find<QAction>(program.hall, u"FiguresMenu"_s);
  QCOMPARE(item->text(), u"解析値(&A)"_s);
  // A hall in the middle of its sequence plays on as if the window had not
  // been opened (the figures build a machine, which reseeds).
  orvel::SeedRandom(99);
  orvel::RandomSource expected;
  expected.Seed(99);
  item->trigger();
  QCOMPARE(orvel::NextRandom(), expected.Next());
  auto* window = program.hall.findChild<orvel::TFiguresForm*>();
  QVERIFY(window);
  QVERIFY(window->isVisible());
  QCOMPARE(window->windowTitle(), u"解析値"_s);
  item->trigger();
  QCOMPARE(program.hall.findChildren<orvel::TFiguresForm*>().size(), 1);

  const auto figures = orvel::MachineFigures();
  const std::vector<orvel::FigureRow> rows = orvel::FigureRows(figures);
  QAbstractItemModel* table = Find<QTableView>(*window, u"FiguresListView"_s)->model();
  QCOMPARE(table->rowCount(), static_cast<int>(rows.size()));
  QCOMPARE(table->columnCount(), 7);
  QCOMPARE(table->headerData(6, Qt::Horizontal).toString(), u"設定6"_s);
  for (int r = 0; r < table->rowCount(); ++r) {
    const orvel::FigureRow& row = rows[static_cast<std::size_t>(r)];
    QCOMPARE(table->index(r, 0).data().toString(), QString::fromStdString(row.caption));
    for (int c = 1; c < 7; ++c) {
      QCOMPARE(table->index(r, c).data().toString(),
               QString::fromStdString(row.texts[static_cast<std::size_t>(c - 1)]));
    }
  }
  QCOMPARE(table->index(0, 1).data().toString(), u"1/377.0"_s);
  QCOMPARE(table->index(4, 1).data().toString(), u"94.79 %"_s);

  // The pie follows the chosen setting.
  auto* pie = qobject_cast<QPieSeries*>(Find<QChartView>(*window, u"FiguresChart"_s)->chart()->series().first());
  QCOMPARE(pie->objectName(), u"ModeShareSeries"_s);
  auto* level = Find<QComboBox>(*window, u"LevelComboBox"_s);
  for (const int index : {0, 5, 2}) {
    level->setCurrentIndex(index);
    const QList<QPieSlice*> slices = pie->slices();
    QCOMPARE(slices.size(), 6);
    for (int m = 0; m < 6; ++m) {
      QCOMPARE(slices[m]->value(), figures[static_cast<std::size_t>(index)].modeShares[static_cast<std::size_t>(m)]);
    }
  }
}

QTEST_MAIN(TFiguresFormTest)
#include "TFiguresFormTest.moc"
