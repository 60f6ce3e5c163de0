#pragma once

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/hall/Hall.h"

class QChart;
class QLabel;
class QLineSeries;
class QMenu;
class QValueAxis;

namespace Ui {
class TFormHall;
}

namespace orvel {

class HallGridModel;
class TAboutBox;
class TMainForm;
class TSetNumForm;
class TSetSlotForm;

// The application's main window: the seat grid, the hall's slump chart and
// balance, the play count and update interval, and Start/Stop/Resume and
// Reset. It owns the Hall and, at the same seat indices, the seats'
// analysis windows.
//
// A run (StartButtonClick) plays the hall game by game inside the button's
// handler, yielding to the window system after every hall game, so the same
// button stops it and a later press resumes it at the next hall game. Every
// update-interval hall games, and after the last, it refreshes the grid,
// the balance, the chart and every analysis window.
//
// Run states: Idle (stopped, resumeGame 0), Running (!stopped), Paused
// (stopped, resumeGame > 0). While a run is under way the controls that
// would change the seats are disabled, so no seat changes inside a yield.
class TFormHall final : public QMainWindow {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TFormHall)

public:
  struct SlumpPoint {
    std::int32_t game;
    std::int64_t balance;  // the hall's gain in medals after that hall game
  };

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
  void FileExitMenuClick();
  void N1Click();
  void HelpAboutMenuClick();
  void HelpManMenuClick();
  void JWord1Click();
  void N3Click();
  void N4Click();

  // For tests only: called before each hall game of a run with its number,
  // so a test can make that hall game fail by throwing. Empty in the program.
  std::function<void(int game)> hallGameFault;

  // The dialogs, created once at start-up and reused for every opening.
  void SetDialogs(TSetSlotForm* setSlot, TSetNumForm* setNum, TAboutBox* about);

  Hall& hall() { return hall_; }
  const Hall& hall() const { return hall_; }
  TMainForm* analysisWindow(int seat) const { return analysisWindows_.at(static_cast<std::size_t>(seat)); }
  bool stopped() const { return stopped_; }
  bool running() const { return running_; }
  int resumeGame() const { return resumeGame_; }
  const HallGridModel& grid() const { return *gridModel_; }
  const std::vector<SlumpPoint>& slumpPoints() const { return slump_; }
  // The grid's current row, 1 for seat 1; 0 when none.
  int currentGridRow() const;
  QMenu* popupMenu() const { return popupMenu_; }
  // The chart or shown analysis windows still to be brought up to date.
  bool displaysPending() const { return displaysQueued_; }

signals:
  // After PlayHallGame of hall game `game` (before the refresh and yield).
  void hallGamePlayed(int game);
  // After the refresh that follows hall game `game`.
  void refreshed(int game);

protected:
  void closeEvent(QCloseEvent* event) override;  // FormClose
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildChart();
  void DeleteAnalysisWindows();
  void RepaintSlump();
  void ShowSlump();
  // The chart as it stands before a run: no line, both axes 0 … 1.
  void ShowEmptySlump();
  // Brings the hall chart and the shown analysis windows' displays up to
  // date, one at a time.
  void ScheduleDisplays();
  void SyncDisplays();
  void RedrawSlump(double from, double to);
  void SetRunControls(bool running);
  void SetStatus(const QString& text);

  std::unique_ptr<Ui::TFormHall> ui_;
  Hall hall_;
  // Owned by this window as their Qt parent, which makes it their owner in
  // the window system too; DeleteAnalysisWindows deletes them early.
  std::vector<TMainForm*> analysisWindows_;
  bool stopped_ = true;
  int resumeGame_ = 0;
  bool running_ = false;  // the run loop is on the stack, stopped or not

  HallGridModel* gridModel_ = nullptr;
  QMenu* popupMenu_ = nullptr;
  QLabel* statusPanel_ = nullptr;

  std::vector<SlumpPoint> slump_;
  std::int64_t minBalance_ = 0, maxBalance_ = 0;
  QChart* chart_ = nullptr;
  QLineSeries* slumpSeries_ = nullptr;
  QValueAxis* gameAxis_ = nullptr;
  QValueAxis* balanceAxis_ = nullptr;
  bool zoomed_ = false;
  bool slumpDirty_ = false;
  bool displaysQueued_ = false;
  std::size_t nextDisplay_ = 0;  // the seat whose window SyncDisplays looks at next
  bool centred_ = false;

  TSetSlotForm* setSlotForm_ = nullptr;
  TSetNumForm* setNumForm_ = nullptr;
  TAboutBox* aboutBox_ = nullptr;
};

}  // namespace orvel
