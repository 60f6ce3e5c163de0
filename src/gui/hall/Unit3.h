#pragma once

#include <QMainWindow>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/hall/Hall.h"
#include "core/hall/HallSlump.h"
#include "core/hall/RunEngine.h"

class QChart;
class QLabel;
class QLineSeries;
class QMenu;
class QValueAxis;

namespace Ui {
class TFormHall;
}

namespace orvel {

class DisplayScheduler;
class HallGridModel;
class TAboutBox;
class TFiguresForm;
class TMainForm;
class TSetNumForm;
class TSetSlotForm;
class TStudyForm;
class TSeedForm;

// The application's main window: the seat grid, the hall's slump chart and
// balance, the play count and update interval, and Start/Stop/Resume and
// Reset. It owns the Hall and, at the same seat indices, the seats'
// analysis windows.
//
// A run is a RunEngine over the hall. StartButtonClick only starts, stops
// or resumes it and returns; a 0 ms timer then plays the hall games in
// slices of one TimeSlice each (PlaySlice), so events are handled between
// slices and the same button stops the run after the current hall game.
// Every update-interval hall games, and after the last, the grid, the
// balance, the chart and every analysis window are refreshed. A run
// completes on the turn after its last hall game, so a press made during
// that hall game still stops it. While a modal box is open the run waits.
//
// Run states are the engine's: Idle (resumeGame 0), Running, Paused
// (resumeGame > 0, or the failed hall game). While a run is under way the
// controls that would change the seats are disabled.
class TFormHall final : public QMainWindow {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TFormHall)

public:
  explicit TFormHall(QWidget* owner = nullptr);
  ~TFormHall() override;

  // The hall's operations with the windows beside the seats.
  void CreateSeats(int count);
  void DeleteSeats();
  void ResetMachines();
  // Clears every play log and analysis window, the slump chart and the
  // grid's counters.
  void ResetData();
  void RefreshGrid();
  std::int64_t SumMedals() const;
  void RefreshAnalysisWindows();
  // Hides every analysis window; each keeps its contents.
  void CloseAnalysisWindows();

  // Handlers, public so the menus, the dialogs and the tests can call them.
  void StartButtonClick();
  void FileStartMenuClick();
  void ResetButtonClick();
  void UpdateTrackBarChange(int position);
  void UpSpeedEditChange();
  void PlayNumEditChange();
  void HallStringGridMouseDown(Qt::MouseButton button, int gridRow);
  void DispPopupMenuClick();
  void SetPopupMenuClick();
  void SetNumEditClick();
  void StudyMenuClick();
  void FileExitMenuClick();
  void N1Click();
  void HelpAboutMenuClick();
  void HelpManMenuClick();
  void JWord1Click();
  void N3Click();
  void N4Click();
  void FiguresMenuClick();

  // Hall files, the seed and exports (HallFiles.cpp). Open and Save act
  // only with no run under way or paused, like 台数設定.
  void FileOpenMenuClick();
  void FileSaveMenuClick();
  void FileSaveAsMenuClick();
  void FileSeedMenuClick();
  void ExportGridMenuClick();
  void ExportLogsMenuClick();
  void ExportChartMenuClick();
  // Reads `file` and, only when all of it is valid, replaces the seats, the
  // play count, the update interval and the seed with its own; otherwise
  // shows the error box and changes nothing. False then.
  bool OpenHallFile(const QString& file);
  // False, with the error box, when the file could not be written whole.
  bool SaveHallFile(const QString& file);
  // The seed every fresh run starts from (Hall::PrepareRun); none: the clock.
  std::optional<std::uint32_t> fixedSeed() const { return fixedSeed_; }
  void SetFixedSeed(std::optional<std::uint32_t> seed) { fixedSeed_ = seed; }
  const QString& hallFile() const { return hallFile_; }
  TSeedForm* seedForm() const { return seedForm_; }

  // For tests only: called before each hall game of a run with its number,
  // so a test can make that hall game fail by throwing. Empty in the program.
  std::function<void(int game)> hallGameFault;
  // For tests only: called before a seat's log is given room for the run,
  // so a test can make the reservation fail by throwing.
  std::function<void(int seat)> reservationFault;

  // The dialogs, created once at start-up and reused for every opening.
  void SetDialogs(TSetSlotForm* setSlot, TSetNumForm* setNum, TAboutBox* about);

  Hall& hall() { return hall_; }
  const Hall& hall() const { return hall_; }
  TMainForm* analysisWindow(int seat) const { return analysisWindows_.at(static_cast<std::size_t>(seat)); }
  bool stopped() const { return engine_.state() != RunEngine::State::Running; }
  bool running() const { return engine_.state() == RunEngine::State::Running; }
  // The hall game the run plays next; 0 when Idle.
  int resumeGame() const { return engine_.nextGame(); }
  const HallGridModel& grid() const { return *gridModel_; }
  // The hall's gain in medals after every hall game of the run so far.
  const HallSlump& slump() const { return slump_; }
  // The grid's current row, 1 for seat 1; 0 when none.
  int currentGridRow() const;
  QMenu* popupMenu() const { return popupMenu_; }
  // The study window, made on its first opening; null before.
  TStudyForm* studyWindow() const { return studyForm_; }
  // The chart or a shown analysis window has yet to catch up.
  bool displaysPending() const;

signals:
  // After PlayHallGame of hall game `game` (before its refresh, if due).
  void hallGamePlayed(int game);
  // After the refresh that follows hall game `game`.
  void refreshed(int game);
  // The run has left Running: completed, stopped or failed (after the
  // error box has been closed).
  void runEnded();

protected:
  void closeEvent(QCloseEvent* event) override;  // FormClose
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildChart();
  void DeleteAnalysisWindows();
  // The chart shows every hall game played so far (or the zoomed range).
  void CatchUpChart();
  // The chart as it stands before a run: no line, both axes 0 … 1.
  void ShowEmptySlump();
  // The slump line between hall games from and to, decimated.
  void DrawChartRange(double from, double to);
  // The run timer's turn: plays hall games for one time slice.
  void PlaySlice();
  // Plays hall game nextGame() of the run with its refresh, if due.
  void PlayNextHallGame();
  // Leaves Running as stopped: Paused at the next hall game.
  void StopRun();
  // Shows the run's end (status, controls) and tells the tests.
  // With a failure: shows it in the error box first.
  void EndRun(const QString& status, const std::optional<QString>& failure = std::nullopt);
  void SetRunControls(bool running);
  void SetStatus(const QString& text);
  // Whether the memory `games` more hall games need is there; when it
  // clearly is not, says so in the error box and returns false.
  // `reserved`: bytes the run already holds for them.
  bool RunFitsInMemory(std::int64_t games, std::uint64_t reserved);
  void BuildFileMenu();
  // Open and Save follow the run state.
  void UpdateFileActions();
  void UpdateTitle();
  void AddRecentFile(const QString& file);
  void UpdateRecentMenu();
  // The seed the last run started from, in the top panel.
  void ShowRunSeed();

  std::unique_ptr<Ui::TFormHall> ui_;
  Hall hall_;
  // Owned by this window as their Qt parent, which makes it their owner in
  // the window system too; DeleteAnalysisWindows deletes them early.
  std::vector<TMainForm*> analysisWindows_;
  RunEngine engine_{hall_};
  QTimer runTimer_;
  // Seats whose logs have room for the rest of the run; reserved in the
  // run's first slices, since a thousand seats take a while to allocate.
  int seatsReserved_ = 0;
  std::int64_t reservation_ = 0;

  HallGridModel* gridModel_ = nullptr;
  TFiguresForm* figuresForm_ = nullptr;  // the 解析値 window, made at its first opening
  QMenu* popupMenu_ = nullptr;
  QLabel* statusPanel_ = nullptr;

  HallSlump slump_;
  QChart* chart_ = nullptr;
  QLineSeries* slumpSeries_ = nullptr;
  QValueAxis* gameAxis_ = nullptr;
  QValueAxis* balanceAxis_ = nullptr;
  bool zoomed_ = false;
  // Brings the chart and the shown analysis windows up to date between
  // events. Owned as a Qt child: it outlives the windows, which are
  // deleted first.
  DisplayScheduler* displays_ = nullptr;
  bool centred_ = false;

  TSetSlotForm* setSlotForm_ = nullptr;
  TSetNumForm* setNumForm_ = nullptr;
  TAboutBox* aboutBox_ = nullptr;
  TStudyForm* studyForm_ = nullptr;  // a Qt child

  TSeedForm* seedForm_ = nullptr;
  QString hallFile_;  // the file opened or saved last; empty: none
  std::optional<std::uint32_t> fixedSeed_;
  // How the last run began: started at all, and from which seed (none: the clock).
  bool runSeedKnown_ = false;
  std::optional<std::uint32_t> runSeed_;
  QLabel* seedLabel_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QAction* openAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* saveAsAction_ = nullptr;
};

}  // namespace orvel
