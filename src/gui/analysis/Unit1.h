#pragma once

#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

#include "core/analysis/ExactFigures.h"
#include "core/analysis/ResultAnalysis.h"
#include "core/analysis/SettingEstimate.h"

class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QPieSeries;
class QScatterSeries;
class QValueAxis;

namespace Ui {
class TMainForm;
}

namespace orvel {

class TSimResultData;
class ChartLegend;
class DisplayScheduler;
class TimeSlice;
class TextRowsModel;

// A seat's analysis window: the setting, a summary, six tab pages of lists
// (three with a pie), a seventh with the setting estimate (設定判別: the
// posterior of each setting beside the minor prizes seen), a bar chart of the games to each bonus and a slump
// chart of the medal difference with the mode line and minor-prize markers.
//
// The hall keeps every window current, shown or not, through UpdateResult.
// A hidden window only tallies (ResultAnalysis::TakeTallies); its widgets,
// rows and charts catch up when it is shown. Either way a user who opens
// the window sees everything up to the hall's last refresh. Closing the
// window only hides it.
//
// Catching up (CatchUp) takes the rows in and puts them into the lists,
// tables, charts and labels. A window given a DisplayScheduler (the hall's)
// catches up in its turns, a time slice each, so a window opened after a
// long run fills over several turns while events go on; one without
// catches up at once. Drawing a range (DrawRange) puts the points of one
// range of games into the slump chart: the lines and the ticked markers,
// decimated to what the chart can show.
class TMainForm final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TMainForm)

public:
  explicit TMainForm(QWidget* owner, DisplayScheduler* scheduler = nullptr);
  ~TMainForm() override;

  // Now: a shown window's lists, charts and labels are up to date when
  // UpdateResult returns. Later: a shown window is marked stale and catches
  // up in its scheduler's turns, once for any number of UpdateResult calls
  // before (the hall's run: nothing is painted in between anyway). Without
  // a scheduler Later is Now.
  enum class Display { Now, Later };

  // Takes in log entries first … last (0 <= first <= last < log length;
  // first is nextGame()). The log must outlive the window's use of it: the
  // window reads entries below nextGame() again when it is shown, which the
  // hall guarantees by clearing a log only together with ClearResult.
  void UpdateResult(int first, int last, int level, const TSimResultData& log, Display display = Display::Now);
  // Empties every list, chart, count and label; keeps the check boxes, the
  // marker series' state, the chart's range, the tab page and the place.
  void ClearResult();
  int nextGame() const { return nextGame_; }
  // The widgets show everything taken in (or the window is not shown).
  bool caughtUp() const;

  // The texts of play-list row `item`; blank before the rows are there.
  QStringList ResultListViewData(int item) const;

  const ResultAnalysis& analysis() const { return analysis_; }
  // What the setting estimate has taken in, kept like the tallies.
  const SettingTally& settingTally() const { return settingTally_; }
  bool isBuilt() const { return ui_ != nullptr; }
  // Builds the widgets now rather than at the first show.
  void EnsureBuilt();

  // Builds the widgets before the window first becomes visible.
  void setVisible(bool visible) override;

protected:
  void showEvent(QShowEvent* event) override;

private slots:
  void Che2CheckBoxClick();
  void Che4CheckBoxClick();
  void SuikaACheckBoxClick();
  void SuikaBCheckBoxClick();
  void ChanceCheckBoxClick();

private:
  void BuildSlumpChart();
  void BuildBarChart();
  QPieSeries* BuildPie(QChartView* view, const char* name, ChartLegend*& legend);
  void BuildEstimateChart();
  // Brings rows, tables, charts and labels up to the tallies; with a slice,
  // only until it is due (the rows taken in so far are shown). True when
  // caught up.
  bool CatchUp(const TimeSlice* slice);
  void ShowRows();
  void ShowTables();
  void ShowCharts();
  // The 設定判別 page from the tallies alone: its cost does not grow with
  // the log.
  void ShowEstimate();
  // The slump chart's lines and ticked markers between games from and to.
  void DrawRange(double from, double to);
  void LabelBars();
  // The values above the bars when `count` bars leave room for them.
  void ShowBarValues(int count);
  void ShowMarker(Marker marker, bool shown);
  // The slump chart's axes before the first refresh: 0 … 24 games, 0 … 1
  // medals, modes 0 … 5.
  void ShowEmptyRange();
  // The slump chart's axes over the whole run (the empty ranges before
  // one), on a plain right-click.
  void ShowWholeRange();
  // The marker legend at the plot's top right corner.
  void PlaceMarkerLegend();
  void ClearWidgets();

  std::unique_ptr<Ui::TMainForm> ui_;
  ResultAnalysis analysis_;
  SettingTally settingTally_;
  // The exact figures the estimate compares with, computed when the
  // widgets are built (they are the same for every window).
  std::array<ExactFigures, Level::kCount> figures_{};
  const TSimResultData* log_ = nullptr;
  int level_ = 0;
  int nextGame_ = 0;
  int shownN_ = 0;                         // the N the widgets show
  int shownRows_ = 0;                      // the rows the lists and bars show
  DisplayScheduler* scheduler_ = nullptr;  // not owned; outlives the window
  bool centred_ = false;

  TextRowsModel* playModel_ = nullptr;
  TextRowsModel* bonusModel_ = nullptr;
  TextRowsModel* modeChangeModel_ = nullptr;
  TextRowsModel* koyakuModel_ = nullptr;
  TextRowsModel* modeStayModel_ = nullptr;
  TextRowsModel* keizokuModel_ = nullptr;
  std::vector<TableRow> koyakuRows_, modeStayRows_, keizokuRows_;
  TextRowsModel* estimateModel_ = nullptr;
  std::vector<std::vector<std::string>> estimateRows_;

  QChart* slumpChart_ = nullptr;
  QLineSeries* slumpSeries_ = nullptr;
  QLineSeries* modeSeries_ = nullptr;
  std::array<QScatterSeries*, static_cast<std::size_t>(Marker::Count)> markerSeries_{};
  QValueAxis* playAxis_ = nullptr;
  QValueAxis* medalAxis_ = nullptr;
  QValueAxis* modeAxis_ = nullptr;
  std::int32_t minMedal_ = 0, maxMedal_ = 0;
  std::size_t medalRowsSeen_ = 0;

  QBarSeries* bars_ = nullptr;
  QBarSet* barSet_ = nullptr;
  QCategoryAxis* bonusAxis_ = nullptr;
  QValueAxis* barPlayAxis_ = nullptr;
  std::size_t barsShown_ = 0;
  int barLabelEvery_ = 0;  // the bar axis' label spacing
  int barsLabelled_ = 0;   // bars the axis has labels up to
  std::int32_t maxBar_ = 0;

  QBarSet* estimateSet_ = nullptr;
  QValueAxis* estimateAxis_ = nullptr;

  QPieSeries* koyakuPie_ = nullptr;
  QPieSeries* modeStayPie_ = nullptr;
  QPieSeries* keizokuPie_ = nullptr;
  ChartLegend* koyakuLegend_ = nullptr;
  ChartLegend* modeStayLegend_ = nullptr;
  ChartLegend* keizokuLegend_ = nullptr;
  ChartLegend* markerLegend_ = nullptr;
};

}  // namespace orvel
