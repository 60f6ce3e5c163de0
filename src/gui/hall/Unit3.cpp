#include "gui/hall/Unit3.h"

#include <QApplication>
#include <QChart>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "core/analysis/NumberText.h"
#include "gui/analysis/TFiguresForm.h"
#include "gui/analysis/Unit1.h"
#include "gui/common/DisplayScheduler.h"
#include "gui/common/TimeSlice.h"
#include "gui/common/WindowLook.h"
#include "gui/common/ZoomChartView.h"
#include "gui/common/ErrorBox.h"
#include "gui/common/Links.h"
#include "gui/dialogs/Unit2.h"
#include "gui/dialogs/Unit4.h"
#include "gui/dialogs/Unit5.h"
#include "gui/hall/HallGridModel.h"
#include "gui/study/TStudyForm.h"
#include "core/hall/HallGrid.h"
#include "core/hall/MemoryBudget.h"
#include "core/hall/TextToNumber.h"
#include "ui_Unit3.h"

using namespace Qt::StringLiterals;

namespace orvel {

namespace {

constexpr int kDefaultSeats = 20;
constexpr std::array<int, HallGridColumn::Count> kColumnWidths{64, 36, 41, 64, 64, 64, 64, 64, 64, 64};

const QString kRunning = u"シミュレーション実行中・・・"_s;
const QString kStopped = u"シミュレーション停止"_s;
const QString kCompleted = u"シミュレーション完了"_s;

// How often a run held by a modal box looks whether the box has closed.
constexpr int kModalWaitMs = 20;

QString SeatCaption(int seat) { return u"Orvel　%1番台"_s.arg(seat + 1); }

}  // namespace

TFormHall::TFormHall(QWidget* owner) : QMainWindow(owner), ui_(std::make_unique<Ui::TFormHall>()) {
  ui_->setupUi(this);
  setFont(FormFont());
  resize(640, 684);

  // The grid: one row per seat under the caption row, whole-row selection,
  // nothing editable. The window's height goes to the grid.
  gridModel_ = new HallGridModel(this);
  QTableView* grid = ui_->HallStringGrid;
  grid->setModel(gridModel_);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setMinimumSectionSize(14);
  grid->verticalHeader()->setDefaultSectionSize(16);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->horizontalHeader()->setStretchLastSection(false);
  grid->horizontalHeader()->setMinimumSectionSize(20);
  for (int column = 0; column < HallGridColumn::Count; ++column) {
    grid->horizontalHeader()->resizeSection(column, kColumnWidths[static_cast<std::size_t>(column)]);
  }
  grid->viewport()->installEventFilter(this);
  grid->horizontalHeader()->viewport()->installEventFilter(this);

  popupMenu_ = new QMenu(this);
  popupMenu_->setObjectName(u"PopupMenu"_s);
  popupMenu_->addAction(ui_->DispPopupMenu);
  popupMenu_->addSeparator();
  popupMenu_->addAction(ui_->SetPopupMenu);

  // Two panels: the run status, and an unused one with centred text.
  statusPanel_ = AddStatusPanel(ui_->StatusBar1, u"StatusPanel1"_s, 450);
  AddStatusPanel(ui_->StatusBar1, u"StatusPanel2"_s, 150, Qt::AlignCenter);

  displays_ = new DisplayScheduler(this);
  BuildChart();

  connect(ui_->StartButton, &QPushButton::clicked, this, &TFormHall::StartButtonClick);
  connect(ui_->FileStartMenu, &QAction::triggered, this, &TFormHall::FileStartMenuClick);
  connect(ui_->ResetButton, &QPushButton::clicked, this, &TFormHall::ResetButtonClick);
  connect(ui_->UpdateTrackBar, &QSlider::valueChanged, this, &TFormHall::UpdateTrackBarChange);
  connect(ui_->UpSpeedEdit, &QLineEdit::textChanged, this, &TFormHall::UpSpeedEditChange);
  connect(ui_->PlayNumEdit, &QLineEdit::textChanged, this, &TFormHall::PlayNumEditChange);
  connect(ui_->DispPopupMenu, &QAction::triggered, this, &TFormHall::DispPopupMenuClick);
  connect(ui_->SetPopupMenu, &QAction::triggered, this, &TFormHall::SetPopupMenuClick);
  connect(ui_->SetNumEdit, &QAction::triggered, this, &TFormHall::SetNumEditClick);
  connect(ui_->StudyMenu, &QAction::triggered, this, &TFormHall::StudyMenuClick);
  connect(ui_->FileExitMenu, &QAction::triggered, this, &TFormHall::FileExitMenuClick);
  connect(ui_->N1, &QAction::triggered, this, &TFormHall::N1Click);
  connect(ui_->HelpAboutMenu, &QAction::triggered, this, &TFormHall::HelpAboutMenuClick);
  connect(ui_->HelpManMenu, &QAction::triggered, this, &TFormHall::HelpManMenuClick);
  connect(ui_->JWord1, &QAction::triggered, this, &TFormHall::JWord1Click);
  connect(ui_->N3, &QAction::triggered, this, &TFormHall::N3Click);
  connect(ui_->N4, &QAction::triggered, this, &TFormHall::N4Click);
  ui_->HelpMenu->insertSeparator(ui_->N3)->setObjectName(u"N2"_s);
  QAction* figures = ui_->SettingMenu->addAction(u"解析値(&A)"_s);
  figures->setObjectName(u"FiguresMenu"_s);
  connect(figures, &QAction::triggered, this, &TFormHall::FiguresMenuClick);

  CreateSeats(kDefaultSeats);
  ResetMachines();
  ResetData();
  connect(&runTimer_, &QTimer::timeout, this, &TFormHall::PlaySlice);
  BuildFileMenu();
}

TFormHall::~TFormHall() {
  runTimer_.stop();
  // The windows go before the hall whose logs they point into.
  DeleteAnalysisWindows();
}

void TFormHall::BuildChart() {
  chart_ = new QChart();
  StyleChart(chart_, u"ホール収支"_s);
  chart_->legend()->hide();
  chart_->setAnimationOptions(QChart::NoAnimation);
  gameAxis_ = AddIntegerAxis(chart_, u"play"_s, Qt::AlignBottom);
  balanceAxis_ = AddIntegerAxis(chart_, u"Medal"_s, Qt::AlignLeft);
  slumpSeries_ = new QLineSeries(chart_);
  slumpSeries_->setObjectName(u"SlumpSeries"_s);
  slumpSeries_->setPen(SlumpPen());
  chart_->addSeries(slumpSeries_);
  slumpSeries_->attachAxis(gameAxis_);
  slumpSeries_->attachAxis(balanceAxis_);
  ShowEmptySlump();
  InstallChart(ui_->SlumpChart, chart_);
  // The chart takes its turns in the same circle as the analysis windows.
  displays_->Add(chart_, [this](const TimeSlice&) {
    CatchUpChart();
    return true;
  });
  ui_->SlumpChart->AddHint(u"Label4"_s, 4);

  // A zoomed chart stays zoomed through refreshes until the user zooms back
  // out (a right-click without dragging).
  connect(ui_->SlumpChart, &ZoomChartView::userChangedRange, this, [this] {
    zoomed_ = true;
    DrawChartRange(gameAxis_->min(), gameAxis_->max());
  });
  connect(ui_->SlumpChart, &ZoomChartView::userResetRange, this, [this] {
    zoomed_ = false;
    CatchUpChart();
  });
}

// ---- the hall model with the windows beside it ----

void TFormHall::CreateSeats(int count) {
  DeleteAnalysisWindows();
  hall_.CreateSeats(count);
  for (int i = 0; i < hall_.SeatCount(); ++i) {
    auto* window = new TMainForm(this, displays_);
    window->setWindowTitle(SeatCaption(i));
    analysisWindows_.push_back(window);
  }
}

void TFormHall::DeleteSeats() {
  // Windows first: they read their seat's log when shown.
  DeleteAnalysisWindows();
  hall_.DeleteSeats();
}

void TFormHall::DeleteAnalysisWindows() {
  // Deleting a child takes it out of its parent's children at once.
  qDeleteAll(analysisWindows_);
  analysisWindows_.clear();
}

void TFormHall::ResetMachines() { hall_.ResetMachines(); }

void TFormHall::ResetData() {
  // The storage goes back to the system: a finished run of millions of
  // games should not stay resident until the next one.
  slump_.Release();
  hall_.ReleaseLogs();
  for (TMainForm* window : analysisWindows_) window->ClearResult();
  // A zoom into the cleared run means nothing for the next one.
  zoomed_ = false;
  ShowEmptySlump();
  RefreshGrid();
}

void TFormHall::RefreshGrid() {
  std::vector<HallGridModel::Row> rows;
  rows.reserve(static_cast<std::size_t>(hall_.SeatCount()));
  for (int seat = 0; seat < hall_.SeatCount(); ++seat) {
    const auto texts = HallGridRow(hall_, seat);
    HallGridModel::Row row;
    for (std::size_t c = 0; c < texts.size(); ++c) row[c] = ToQString(texts[c]);
    rows.push_back(std::move(row));
  }
  gridModel_->SetRows(std::move(rows));
}

std::int64_t TFormHall::SumMedals() const { return hall_.SumMedals(); }

bool TFormHall::displaysPending() const { return displays_->pending(); }

void TFormHall::RefreshAnalysisWindows() {
  for (int i = 0; i < hall_.SeatCount(); ++i) {
    // Every game the seat has logged. Within a run that is the play count
    // the grid has just been given from the machine: both start from zero
    // and every game played is logged.
    const int last = hall_.PlayLog(i).Length() - 1;
    TMainForm& window = *analysisWindows_[static_cast<std::size_t>(i)];
    const int first = window.nextGame();
    if (first <= last) {
      window.UpdateResult(first, last, hall_.Machine(i).GetLevel(), hall_.PlayLog(i), TMainForm::Display::Later);
    }
  }
}

// ---- the run ----

void TFormHall::StartButtonClick() {
  if (running()) {
    // A stop request. Made from inside a hall game, that hall game still
    // ends with its refresh; a later press resumes the same run.
    StopRun();
    return;
  }
  // The play count is read before anything changes: a text that is no
  // integer leaves the window as it was.
  const auto total = IntegerOrErrorBox(ui_->PlayNumEdit->text(), this);
  if (!total) return;
  try {
    const bool fresh = engine_.fresh();
    if (fresh) ResetData();
    // A fresh run needs all its hall games; a resumed one the rest, less
    // what its first Start has already reserved.
    const std::int64_t games = fresh ? *total : std::int64_t{engine_.total()} - engine_.nextGame();
    if (!RunFitsInMemory(games, fresh ? 0 : hall_.SpareLogBytes() + slump_.SpareBytes())) return;
    engine_.Start(*total);
    if (fresh) {
      // A fixed seed makes the run orvelsim-cli's run with the same seats.
      if (fixedSeed_) hall_.PrepareRun(fixedSeed_);
      runSeedKnown_ = true;
      runSeed_ = fixedSeed_;
      ShowRunSeed();
    }
  } catch (...) {
    ShowErrorBox(CurrentErrorMessage(), this);
    return;
  }
  ui_->PlayNumEdit->setEnabled(false);
  SetRunControls(true);
  SetStatus(kRunning);
  seatsReserved_ = 0;
  reservation_ = std::int64_t{engine_.total()} - engine_.nextGame();
  runTimer_.start(0);
}

void TFormHall::PlaySlice() {
  // A modal box holds the run until it is closed: Qt's timers fire inside
  // its event loop too. Looked at again a little later rather than at once,
  // which would keep a core busy for nothing.
  if (QApplication::activeModalWidget() != nullptr) {
    runTimer_.start(kModalWaitMs);
    return;
  }
  if (!running()) {
    runTimer_.stop();
    return;
  }
  if (runTimer_.interval() != 0) runTimer_.start(0);
  // No exception may leave this slot: Qt leaves one that crosses a
  // signal's frame undefined. A failure is shown once the window is Paused.
  std::optional<QString> failure;
  try {
    if (engine_.AtEnd()) {
      // The turn after the last hall game, and no stop came in between.
      engine_.Complete();  // the displays keep showing the finished run
      EndRun(kCompleted);
      return;
    }
    const TimeSlice slice;
    if (seatsReserved_ == 0) {
      const std::int32_t first = slump_.empty() ? engine_.nextGame() : slump_.firstGame();
      slump_.Reserve(static_cast<std::size_t>(engine_.total() - first));
    }
    while (seatsReserved_ < hall_.SeatCount() && !slice.Due()) {
      if (reservationFault) reservationFault(seatsReserved_);
      hall_.ReserveLog(seatsReserved_, reservation_);
      ++seatsReserved_;
    }
    if (seatsReserved_ < hall_.SeatCount()) return;
    do {
      PlayNextHallGame();
    } while (running() && !engine_.AtEnd() && !slice.Due());
    if (running() && engine_.AtEnd()) {
      // Completion waits for what is already queued, in order: a press made
      // during the last hall game is a stop, not the start of a new run.
      runTimer_.stop();
      QMetaObject::invokeMethod(this, &TFormHall::PlaySlice, Qt::QueuedConnection);
    }
  } catch (const std::bad_alloc&) {
    failure = u"メモリが足りません。シミュレーションを停止しました。\n"
              u"%1 台 × %2 ゲームの記録には約 %3 必要です（1台1ゲームにつき 32 バイト）。\n"
              u"リセットしてメモリを空けるか、Play数か台数を減らしてください。"_s
                  .arg(ToQString(IntText(hall_.SeatCount())), ToQString(IntText(engine_.total())),
                       ToQString(MemoryText(RunMemory(hall_.SeatCount(), engine_.total()))));
  } catch (...) {
    failure = ErrorBoxText(CurrentErrorMessage());
  }
  if (!failure) return;
  if (!running()) {
    ShowErrorBoxText(*failure, this);
    return;
  }
  // Paused at the failed hall game, which the next Start plays again. One
  // that fails at hall game 0 leaves nothing to resume: that is Idle.
  if (engine_.nextGame() == 0) {
    engine_.Reset();
  } else {
    engine_.Stop();
  }
  EndRun(kStopped, failure);
}

void TFormHall::PlayNextHallGame() {
  const int g = engine_.nextGame();
  if (hallGameFault) hallGameFault(g);
  // The interval is read afresh every hall game; refreshes fall on
  // multiples of it counted from hall game 0 of the run.
  // Room for the hall game's point before it is played (its logs make
  // theirs in PlayHallGame): running out of memory then stops the run
  // before the hall game, never half-way through it.
  slump_.MakeRoom();
  const bool refresh = engine_.PlayNext(ui_->UpdateTrackBar->value());
  const std::int64_t balance = -hall_.SumMedals();
  slump_.Append(g, balance);
  emit hallGamePlayed(g);
  if (refresh) {
    RefreshGrid();
    ui_->ProceedLabel->setText(ToQString(IntText(balance * 20)) + u"円"_s);
    // The chart is drawn when its turn comes: its points are handed over
    // once, however many refreshes came in between.
    displays_->MarkStale(chart_);
    RefreshAnalysisWindows();
    emit refreshed(g);
  }
}

void TFormHall::StopRun() {
  engine_.Stop();
  EndRun(kStopped);
}

void TFormHall::EndRun(const QString& status, const std::optional<QString>& failure) {
  runTimer_.stop();
  SetStatus(status);
  // Free again only when the run has completed or was reset: a paused
  // run's play count cannot change.
  ui_->PlayNumEdit->setEnabled(engine_.fresh());
  SetRunControls(false);
  if (failure) ShowErrorBoxText(*failure, this);
  emit runEnded();
}

// The menu's "開始(&G)" is the Start button.
void TFormHall::FileStartMenuClick() { StartButtonClick(); }

void TFormHall::SetRunControls(bool running) {
  ui_->StartButton->setText(running ? u"停止"_s : u"開始"_s);
  ui_->ResetButton->setEnabled(!running);
  ui_->SetNumEdit->setEnabled(!running);
  // A study plays the hall as set up, which a run under way or paused is not.
  ui_->StudyMenu->setEnabled(!running && engine_.fresh());
  UpdateFileActions();
}

void TFormHall::SetStatus(const QString& text) { statusPanel_->setText(text); }

bool TFormHall::RunFitsInMemory(std::int64_t games, std::uint64_t reserved) {
  const std::uint64_t whole = RunMemory(hall_.SeatCount(), games);
  const std::uint64_t need = whole > reserved ? whole - reserved : 0;
  const std::optional<std::uint64_t> available = AvailableMemory();
  // Room left for the rest of the program: windows, grid, charts.
  constexpr std::uint64_t kHeadroom = std::uint64_t{64} << 20;
  if (!available || need + kHeadroom <= *available) return true;
  ShowErrorBoxText(u"メモリが足りません。\n"
                   u"%1 台 × %2 ゲームの記録には約 %3 必要ですが、使えるメモリは約 %4 です"
                   u"（1台1ゲームにつき 32 バイト）。\n"
                   u"Play数か台数を減らしてください。"_s.arg(ToQString(IntText(hall_.SeatCount())),
                                                             ToQString(IntText(games)), ToQString(MemoryText(need)),
                                                             ToQString(MemoryText(*available))),
                   this);
  return false;
}

void TFormHall::ShowEmptySlump() {
  slumpSeries_->clear();
  SetRangeWithRoundTicks(gameAxis_, 0, 1);
  SetRangeWithRoundTicks(balanceAxis_, 0, 1);
}

void TFormHall::CatchUpChart() {
  if (slump_.empty()) {
    ShowEmptySlump();
    return;
  }
  if (zoomed_) {
    DrawChartRange(gameAxis_->min(), gameAxis_->max());
    return;
  }
  // Both axes scaled to the points.
  const double first = slump_.firstGame(), last = slump_.lastGame();
  SetRangeWithRoundTicks(gameAxis_, first, last);
  SetRangeWithRoundTicks(balanceAxis_, static_cast<double>(slump_.lowest()), static_cast<double>(slump_.highest()));
  DrawChartRange(first, last);
}

void TFormHall::DrawChartRange(double from, double to) {
  // One lowest and one highest point per two pixel columns: the line is
  // two pixels wide.
  const auto buckets = static_cast<std::size_t>(std::max(100, ui_->SlumpChart->width() / 2));
  QList<QPointF> line;
  for (const std::size_t i : slump_.Visible(from, to, buckets)) {
    line.append(QPointF(slump_.firstGame() + static_cast<double>(i), static_cast<double>(slump_[i])));
  }
  slumpSeries_->replace(line);
}

// ---- update interval and play count ----

void TFormHall::UpdateTrackBarChange(int position) {
  const QString text = QString::number(position);
  if (ui_->UpSpeedEdit->text() != text) ui_->UpSpeedEdit->setText(text);
}

void TFormHall::UpSpeedEditChange() {
  // No integer: the rest of the handler does not run, the track bar stays.
  const auto typed = IntegerInRangeOrErrorBox(ui_->UpSpeedEdit->text(), 1, ui_->UpdateTrackBar->maximum(),
                                              u"更新間隔が不正です。"_s, this);
  if (!typed) return;
  if (!typed->inRange && ui_->UpSpeedEdit->text() != u"1"_s) ui_->UpSpeedEdit->setText(u"1"_s);
  ui_->UpdateTrackBar->setValue(typed->inRange ? typed->value : 1);
}

void TFormHall::PlayNumEditChange() {
  const auto typed = IntegerInRangeOrErrorBox(ui_->PlayNumEdit->text(), 1, std::numeric_limits<std::int32_t>::max(),
                                              u"Play数は、1以上にしてください。"_s, this);
  if (!typed) return;
  if (!typed->inRange && ui_->PlayNumEdit->text() != u"1"_s) ui_->PlayNumEdit->setText(u"1"_s);
  // A maximum below the position pulls the position, and the edit with it.
  ui_->UpdateTrackBar->setMaximum(typed->inRange ? typed->value : 1);
}

// ---- reset, popup menu, closing ----

void TFormHall::ResetButtonClick() {
  if (running()) return;  // its button is disabled then
  engine_.Reset();
  ResetMachines();
  ResetData();
  ui_->PlayNumEdit->setEnabled(true);
  ui_->StudyMenu->setEnabled(true);
  UpdateFileActions();
}

int TFormHall::currentGridRow() const {
  const QModelIndex current = ui_->HallStringGrid->currentIndex();
  return current.isValid() ? current.row() + 1 : 0;
}

void TFormHall::HallStringGridMouseDown(Qt::MouseButton button, int gridRow) {
  ui_->SetPopupMenu->setEnabled(engine_.fresh());
  if (button != Qt::RightButton) return;
  if (gridRow >= 1 && gridRow <= hall_.SeatCount()) {
    ui_->HallStringGrid->setCurrentIndex(gridModel_->index(gridRow - 1, 0));
    ui_->DispPopupMenu->setEnabled(true);
  } else {
    // The caption row, or below the last row: nothing to act on.
    ui_->DispPopupMenu->setEnabled(false);
    ui_->SetPopupMenu->setEnabled(false);
  }
}

void TFormHall::DispPopupMenuClick() {
  const int row = currentGridRow();
  if (row < 1 || row > hall_.SeatCount()) return;
  TMainForm* window = analysisWindows_[static_cast<std::size_t>(row - 1)];
  window->show();
  window->raise();
  window->activateWindow();
}

void TFormHall::SetDialogs(TSetSlotForm* setSlot, TSetNumForm* setNum, TAboutBox* about) {
  setSlotForm_ = setSlot;
  setNumForm_ = setNum;
  aboutBox_ = about;
}

void TFormHall::SetPopupMenuClick() {
  // Only with no run under way and none paused: the popup item is disabled
  // otherwise, and the handler will not act on a stale enabling either.
  const int row = currentGridRow();
  if (!setSlotForm_ || !engine_.fresh() || row < 1 || row > hall_.SeatCount()) return;
  setSlotForm_->setWindowTitle(u"%1番台設定"_s.arg(row));
  setSlotForm_->setTexts(gridModel_->Cell(row - 1, HallGridColumn::Level),
                         gridModel_->Cell(row - 1, HallGridColumn::Rate));
  setSlotForm_->exec();
  if (!setSlotForm_->accepted) return;
  // The dialog has checked both texts already; should one still be refused,
  // the seat stays as it was and the error goes to the error box.
  hall_.SetSeat(row - 1, StrToInt(setSlotForm_->levelText().toStdString()),
                setSlotForm_->workText().toStdString());
  ResetData();
}

void TFormHall::SetNumEditClick() {
  if (!setNumForm_ || running()) return;
  setNumForm_->machineCount = hall_.SeatCount();
  setNumForm_->exec();
  if (!setNumForm_->accepted) return;
  // A paused run goes on with the new seats at its next hall game.
  DeleteSeats();
  CreateSeats(setNumForm_->machineCount);
  ResetMachines();
  ResetData();
}

// The study window with the hall as it is set up now: its seats' settings
// and rates, and Play数 hall games a day.
void TFormHall::StudyMenuClick() {
  if (!engine_.fresh()) return;  // its item is disabled then
  const auto games = IntegerOrErrorBox(ui_->PlayNumEdit->text(), this);
  if (!games) return;
  if (*games < 1) {
    ShowErrorDialog(u"Play数は、1以上にしてください。"_s, this);
    return;
  }
  StudyPlan plan;
  plan.games = *games;
  for (int seat = 0; seat < hall_.SeatCount(); ++seat) {
    plan.levels.push_back(hall_.Machine(seat).GetLevel());
    plan.rates.push_back(hall_.Rate(seat));
  }
  if (!studyForm_) studyForm_ = new TStudyForm(this);
  if (!studyForm_->busy()) {
    studyForm_->SetPlan(plan);
    // The seed dialog's seed, so that day 0 of the study is the window's
    // own seeded run; without one, the clock's.
    studyForm_->SetFixedSeed(fixedSeed_);
  }
  studyForm_->show();
  studyForm_->raise();
  studyForm_->activateWindow();
}

void TFormHall::FileExitMenuClick() { close(); }

void TFormHall::N1Click() { CloseAnalysisWindows(); }

void TFormHall::CloseAnalysisWindows() {
  for (TMainForm* window : analysisWindows_) window->close();
}

void TFormHall::HelpAboutMenuClick() {
  if (aboutBox_) aboutBox_->exec();
}

void TFormHall::HelpManMenuClick() {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(QCoreApplication::applicationDirPath()).filePath(links::ManualFile())));
}

void TFormHall::JWord1Click() {
  // Handed on as the desktop shell would: the file beside the executable
  // with its parameters; nothing is shown when it is missing.
  QProcess::startDetached(QDir(QCoreApplication::applicationDirPath()).filePath(links::ToolbarInstaller()),
                          {u"PZ481902"_s, u"1"_s});
}

void TFormHall::N3Click() { QDesktopServices::openUrl(QUrl(links::HomePage())); }

void TFormHall::N4Click() { QDesktopServices::openUrl(QUrl(links::AdPage())); }

void TFormHall::FiguresMenuClick() {
  // Made at the first opening: its figures take a moment to compute.
  if (!figuresForm_) {
    figuresForm_ = new TFiguresForm(this);
    CentreOnScreen(figuresForm_);
  }
  figuresForm_->show();
  figuresForm_->raise();
  figuresForm_->activateWindow();
}

bool TFormHall::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(event);  // a press is always a QMouseEvent
    const bool onHeader = watched == ui_->HallStringGrid->horizontalHeader()->viewport();
    int gridRow = 0;
    if (!onHeader) {
      const QModelIndex index = ui_->HallStringGrid->indexAt(mouse->position().toPoint());
      gridRow = index.isValid() ? index.row() + 1 : -1;
    }
    HallStringGridMouseDown(mouse->button(), gridRow);
    if (mouse->button() == Qt::RightButton) {
      popupMenu_->popup(mouse->globalPosition().toPoint());
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFormHall::closeEvent(QCloseEvent* event) {
  // A run stops after its current hall game (this may come from inside
  // one); the application ends when control is back in the event loop.
  if (running()) StopRun();
  QMainWindow::closeEvent(event);
}

void TFormHall::showEvent(QShowEvent* event) {
  if (!centred_) {
    CentreOnScreen(this);
    centred_ = true;
  }
  QMainWindow::showEvent(event);
}

}  // namespace orvel
