// The hall window's files: hall files (open, save, recent), the seed of its
// runs and the exports. The formats themselves are the core's, shared with
// orvelsim-cli.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSlider>

#include <filesystem>

#include "core/hall/HallExport.h"
#include "core/hall/HallFile.h"
#include "core/hall/TextToNumber.h"
#include "gui/common/ApplicationTitle.h"
#include "gui/common/ChartPicture.h"
#include "gui/common/ErrorBox.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/ListCsv.h"
#include "gui/dialogs/SeedForm.h"
#include "gui/dialogs/Unit4.h"
#include "gui/hall/HallGridModel.h"
#include "gui/hall/Unit3.h"
#include "ui_Unit3.h"

using namespace Qt::StringLiterals;

namespace orvel {

namespace {

constexpr int kRecentFiles = 6;
const QString kRecentKey = u"recentHallFiles"_s;
const QString kHallFilter = u"Orvelsimホール (*.orvelhall)"_s;

std::filesystem::path ToPath(const QString& file) {
#ifdef _WIN32
  return std::filesystem::path(file.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(file).toStdString());
#endif
}

QAction* AddAction(QMenu* menu, QAction* before, const QString& name, const QString& text) {
  auto* action = new QAction(text, menu);
  action->setObjectName(name);
  menu->insertAction(before, action);
  return action;
}

}  // namespace

void TFormHall::BuildFileMenu() {
  QMenu* file = ui_->FileMenu;
  QAction* start = ui_->FileStartMenu;
  openAction_ = AddAction(file, start, u"FileOpenMenu"_s, u"ホールを開く(&O)…"_s);
  openAction_->setShortcut(QKeySequence::Open);
  saveAction_ = AddAction(file, start, u"FileSaveMenu"_s, u"ホールを保存(&S)…"_s);
  saveAction_->setShortcut(QKeySequence::Save);
  saveAsAction_ = AddAction(file, start, u"FileSaveAsMenu"_s, u"名前を付けて保存(&A)…"_s);
  recentMenu_ = new QMenu(u"最近使ったファイル"_s, file);
  recentMenu_->setObjectName(u"FileRecentMenu"_s);
  file->insertMenu(start, recentMenu_);
  file->insertSeparator(start);
  QAction* seed = AddAction(file, start, u"FileSeedMenu"_s, u"乱数シード(&R)…"_s);
  auto* exports = new QMenu(u"エクスポート"_s, file);
  exports->setObjectName(u"FileExportMenu"_s);
  file->insertMenu(start, exports);
  QAction* grid = AddAction(exports, nullptr, u"ExportGridMenu"_s, u"台の一覧（CSV）…"_s);
  QAction* logs = AddAction(exports, nullptr, u"ExportLogsMenu"_s, u"全台のプレイ記録（CSV、フォルダへ）…"_s);
  QAction* chart = AddAction(exports, nullptr, u"ExportChartMenu"_s, u"ホール収支のグラフ（PNG/SVG）…"_s);
  file->insertSeparator(start);
  file->insertSeparator(ui_->FileExitMenu);

  connect(openAction_, &QAction::triggered, this, &TFormHall::FileOpenMenuClick);
  connect(saveAction_, &QAction::triggered, this, &TFormHall::FileSaveMenuClick);
  connect(saveAsAction_, &QAction::triggered, this, &TFormHall::FileSaveAsMenuClick);
  connect(seed, &QAction::triggered, this, &TFormHall::FileSeedMenuClick);
  connect(grid, &QAction::triggered, this, &TFormHall::ExportGridMenuClick);
  connect(logs, &QAction::triggered, this, &TFormHall::ExportLogsMenuClick);
  connect(chart, &QAction::triggered, this, &TFormHall::ExportChartMenuClick);

  seedForm_ = new TSeedForm(this);
  // Below the play count, where the top panel has room.
  seedLabel_ = new QLabel(ui_->TopPanel);
  seedLabel_->setObjectName(u"SeedLabel"_s);
  seedLabel_->setGeometry(8, 34, 176, 16);
  seedLabel_->setToolTip(u"最後の実行の乱数シード（ファイル → 乱数シードで固定できます）"_s);
  AddChartMenu(ui_->SlumpChart);
  UpdateRecentMenu();
  UpdateTitle();
  UpdateFileActions();
}

void TFormHall::UpdateFileActions() {
  if (openAction_ == nullptr) return;  // during construction
  const bool free = engine_.fresh();
  openAction_->setEnabled(free);
  saveAction_->setEnabled(free);
  saveAsAction_->setEnabled(free);
  recentMenu_->setEnabled(free);
}

void TFormHall::UpdateTitle() {
  const QString title = ApplicationTitle();
  setWindowTitle(hallFile_.isEmpty() ? title : QFileInfo(hallFile_).fileName() + u" - "_s + title);
}

void TFormHall::ShowRunSeed() {
  if (!runSeedKnown_) {
    seedLabel_->clear();
  } else {
    seedLabel_->setText(u"シード："_s + (runSeed_ ? QString::number(*runSeed_) : u"時計"_s));
  }
}

// ---- recent files ----

void TFormHall::AddRecentFile(const QString& file) {
  QSettings settings;
  QStringList files = settings.value(kRecentKey).toStringList();
  const QString absolute = QFileInfo(file).absoluteFilePath();
  files.removeAll(absolute);
  files.prepend(absolute);
  while (files.size() > kRecentFiles) files.removeLast();
  settings.setValue(kRecentKey, files);
  UpdateRecentMenu();
}

void TFormHall::UpdateRecentMenu() {
  recentMenu_->clear();
  const QStringList files = QSettings().value(kRecentKey).toStringList();
  for (int i = 0; i < files.size(); ++i) {
    const QString& file = files[i];
    QAction* action = recentMenu_->addAction(u"&%1 %2"_s.arg(i + 1).arg(QFileInfo(file).fileName()));
    action->setObjectName(u"FileRecentMenu%1"_s.arg(i + 1));
    action->setToolTip(file);
    connect(action, &QAction::triggered, this, [this, file] {
      if (engine_.fresh()) OpenHallFile(file);
    });
  }
  if (files.isEmpty()) recentMenu_->addAction(u"（なし）"_s)->setEnabled(false);
}

// ---- hall files ----

void TFormHall::FileOpenMenuClick() {
  if (!engine_.fresh()) return;  // disabled then
  const QString file = AskOpenFile(this, u"ホールを開く"_s, kHallFilter);
  if (!file.isEmpty()) OpenHallFile(file);
}

bool TFormHall::OpenHallFile(const QString& file) {
  if (!engine_.fresh()) return false;
  HallFileData data;
  try {
    data = ReadHallFile(ToPath(file), TSetNumForm::kMaxMachines);
  } catch (const HallFileError& error) {
    ShowErrorDialog(u"%1 を開けません。\n%2"_s.arg(QFileInfo(file).fileName(), QString::fromStdString(error.message)),
                    this);
    return false;
  }
  // Everything is valid: the hall is replaced as the seat dialogs would.
  DeleteSeats();
  CreateSeats(static_cast<int>(data.seats.size()));
  ResetMachines();
  for (int seat = 0; seat < hall_.SeatCount(); ++seat) {
    const HallFileSeat& s = data.seats[static_cast<std::size_t>(seat)];
    hall_.SetSeat(seat, s.level, s.rate);
  }
  ResetData();
  ui_->PlayNumEdit->setText(QString::number(data.playCount));
  ui_->UpdateTrackBar->setValue(data.updateInterval);
  fixedSeed_ = data.seed;
  hallFile_ = file;
  UpdateTitle();
  AddRecentFile(file);
  return true;
}

void TFormHall::FileSaveMenuClick() {
  if (!engine_.fresh()) return;
  if (hallFile_.isEmpty()) {
    FileSaveAsMenuClick();
  } else {
    SaveHallFile(hallFile_);
  }
}

void TFormHall::FileSaveAsMenuClick() {
  if (!engine_.fresh()) return;
  const QString suggested = hallFile_.isEmpty() ? u"hall.orvelhall"_s : hallFile_;
  const QString file = AskSaveFile(this, u"名前を付けて保存"_s, kHallFilter, suggested, u"orvelhall"_s);
  if (!file.isEmpty()) SaveHallFile(file);
}

bool TFormHall::SaveHallFile(const QString& file) {
  HallFileData data;
  const auto playCount = TryStrToInt(ui_->PlayNumEdit->text().toStdString());
  if (!playCount || *playCount < 1) {
    ShowErrorDialog(u"Play数が正しくないため保存できません。"_s, this);
    return false;
  }
  data.playCount = *playCount;
  data.updateInterval = std::min(ui_->UpdateTrackBar->value(), *playCount);
  data.seed = fixedSeed_;
  data.seats.reserve(static_cast<std::size_t>(hall_.SeatCount()));
  for (int seat = 0; seat < hall_.SeatCount(); ++seat) {
    data.seats.push_back({hall_.Machine(seat).GetLevel(), hall_.RateText(seat)});
  }
  try {
    WriteHallFile(ToPath(file), data);
  } catch (const HallFileError& error) {
    ShowErrorDialog(QString::fromStdString(error.message), this);
    return false;
  }
  hallFile_ = file;
  UpdateTitle();
  AddRecentFile(file);
  return true;
}

// ---- the seed ----

void TFormHall::FileSeedMenuClick() {
  seedForm_->seed = fixedSeed_;
  seedForm_->exec();
  if (seedForm_->accepted) fixedSeed_ = seedForm_->seed;
}

// ---- exports ----

void TFormHall::ExportGridMenuClick() {
  const QString file =
      AskSaveFile(this, u"台の一覧をCSVで保存"_s, u"CSVファイル (*.csv)"_s, u"hall-grid.csv"_s, u"csv"_s);
  if (file.isEmpty()) return;
  const QString error = SaveBytes(file, ModelCsv(*gridModel_));
  if (!error.isEmpty()) ShowErrorDialog(error, this);
}

void TFormHall::ExportLogsMenuClick() {
  const QString dir = AskFolder(this, u"プレイ記録を保存するフォルダ"_s);
  if (dir.isEmpty()) return;
  try {
    WritePlayLogFolder(ToPath(dir), hall_, slump_);
  } catch (const HallFileError& error) {
    ShowErrorDialog(QString::fromStdString(error.message), this);
  }
}

void TFormHall::ExportChartMenuClick() {
  const QString file = AskSaveFile(this, u"ホール収支のグラフを保存"_s, u"PNG画像 (*.png);;SVG画像 (*.svg)"_s,
                                   u"hall-balance.png"_s, u"png"_s);
  if (file.isEmpty()) return;
  const QString error = SaveChartPicture(ui_->SlumpChart, file);
  if (!error.isEmpty()) ShowErrorDialog(error, this);
}

}  // namespace orvel
