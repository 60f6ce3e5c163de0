#include "gui/study/TStudyForm.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "core/analysis/NumberText.h"
#include "core/model/Random.h"
#include "gui/common/ErrorBox.h"
#include "gui/common/WindowLook.h"

using namespace Qt::StringLiterals;

namespace orvel {

namespace {

constexpr int kDefaultDays = 1000;
constexpr int kMaxBins = 40;

// Hands the study's progress to the window from the study's thread.
class FormObserver final : public StudyObserver {
public:
  FormObserver(TStudyForm& form, const std::atomic<bool>& cancel) : form_(form), cancel_(cancel) {}
  void Progress(std::int64_t daysDone) override { emit form_.studyProgressed(daysDone); }
  bool StopRequested() override { return cancel_.load(); }

private:
  TStudyForm& form_;
  const std::atomic<bool>& cancel_;
};

QString ClockText(double seconds) {
  const auto total = static_cast<std::int64_t>(seconds + 0.5);
  return u"%1:%2"_s.arg(total / 60).arg(total % 60, 2, 10, QLatin1Char('0'));
}

QTableWidget* NewTable(const QString& name, int columns, QWidget* parent) {
  auto* table = new QTableWidget(0, columns, parent);
  table->setObjectName(name);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->setFocusPolicy(Qt::NoFocus);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(18);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return table;
}

// Every row and column in view: the table is sized to its contents.
void FitTable(QTableWidget* table, int rows) {
  table->resizeColumnsToContents();
  int width = 2 * table->frameWidth();
  for (int c = 0; c < table->columnCount(); ++c) width += table->columnWidth(c);
  const int height = 2 * table->frameWidth() + table->horizontalHeader()->sizeHint().height() +
                     rows * table->verticalHeader()->defaultSectionSize();
  table->setFixedSize(width, height);
}

void SetRow(QTableWidget* table, int row, const QStringList& texts, Qt::Alignment firstAlignment) {
  for (int c = 0; c < texts.size(); ++c) {
    auto* item = new QTableWidgetItem(texts[c]);
    item->setTextAlignment((c == 0 ? firstAlignment : Qt::AlignRight) | Qt::AlignVCenter);
    table->setItem(row, c, item);
  }
}

QLineSeries* MarkerLine(const QString& name, const QPen& pen, QChart* chart) {
  auto* line = new QLineSeries(chart);
  line->setName(name);
  line->setPen(pen);
  chart->addSeries(line);
  return line;
}

}  // namespace

TStudyForm::TStudyForm(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(u"StudyForm"_s);
  setWindowTitle(u"多日シミュレーション"_s);
  setFont(FormFont());
  resize(820, 660);

  hallLabel_ = new QLabel(this);
  hallLabel_->setObjectName(u"HallLabel"_s);

  auto* daysLabel = new QLabel(u"日数"_s, this);
  daysLabel->setObjectName(u"DaysLabel"_s);
  daysEdit_ = new QSpinBox(this);
  daysEdit_->setObjectName(u"DaysEdit"_s);
  daysEdit_->setRange(1, 10'000'000);
  daysEdit_->setValue(kDefaultDays);
  daysEdit_->setGroupSeparatorShown(false);
  daysEdit_->setMinimumWidth(100);
  daysLabel->setBuddy(daysEdit_);
  startButton_ = new QPushButton(u"開始"_s, this);
  startButton_->setObjectName(u"StartButton"_s);
  cancelButton_ = new QPushButton(u"中止"_s, this);
  cancelButton_->setObjectName(u"CancelButton"_s);
  cancelButton_->setEnabled(false);
  seedLabel_ = new QLabel(this);
  seedLabel_->setObjectName(u"SeedLabel"_s);

  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName(u"StudyProgressBar"_s);
  progressBar_->setRange(0, 1);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);
  progressLabel_ = new QLabel(this);
  progressLabel_->setObjectName(u"ProgressLabel"_s);
  progressLabel_->setMinimumWidth(260);

  lossLabel_ = new QLabel(this);
  lossLabel_->setObjectName(u"LossLabel"_s);
  QFont bold = font();
  bold.setBold(true);
  bold.setPixelSize(14);
  lossLabel_->setFont(bold);

  histogramView_ = new QChartView(this);
  histogramView_->setObjectName(u"HistogramView"_s);
  histogramView_->setRenderHint(QPainter::Antialiasing);
  BuildChart();

  balanceTable_ = NewTable(u"BalanceTable"_s, 2, this);
  balanceTable_->setHorizontalHeaderLabels({u"1日のホール収支"_s, u""_s});
  settingTable_ = NewTable(u"SettingTable"_s, 6, this);

  auto* controls = new QHBoxLayout;
  controls->addWidget(daysLabel);
  controls->addWidget(daysEdit_);
  controls->addWidget(startButton_);
  controls->addWidget(cancelButton_);
  controls->addStretch(1);
  controls->addWidget(seedLabel_);
  auto* progress = new QHBoxLayout;
  progress->addWidget(progressBar_, 1);
  progress->addWidget(progressLabel_);
  auto* middle = new QHBoxLayout;
  middle->addWidget(histogramView_, 1);
  auto* tables = new QVBoxLayout;
  tables->addWidget(balanceTable_);
  tables->addStretch(1);
  middle->addLayout(tables);
  auto* root = new QVBoxLayout(this);
  root->addWidget(hallLabel_);
  root->addLayout(controls);
  root->addLayout(progress);
  root->addWidget(lossLabel_);
  root->addLayout(middle, 1);
  root->addWidget(settingTable_);

  connect(startButton_, &QPushButton::clicked, this, &TStudyForm::StartButtonClick);
  connect(cancelButton_, &QPushButton::clicked, this, &TStudyForm::CancelButtonClick);
  connect(this, &TStudyForm::studyProgressed, this, &TStudyForm::ShowProgress, Qt::QueuedConnection);
  connect(this, &TStudyForm::studyFinished, this, &TStudyForm::FinishStudy, Qt::QueuedConnection);
  ShowEmpty();
}

TStudyForm::~TStudyForm() { StopThread(); }

void TStudyForm::BuildChart() {
  chart_ = new QChart();
  StyleChart(chart_, u"1日のホール収支の分布"_s);
  chart_->setAnimationOptions(QChart::NoAnimation);
  chart_->legend()->setAlignment(Qt::AlignBottom);
  chart_->legend()->setFont(FormFont());

  // The bars stand at their bin's index on a hidden axis; the medal axis
  // below spans the same width, so the marker lines, drawn in medals, fall
  // on the bars they belong to.
  auto* bars = new QBarSeries(chart_);
  dayBars_ = new QBarSet(u"日数"_s, bars);
  dayBars_->setColor(QColor(0x50, 0x80, 0xC0));
  dayBars_->setBorderColor(QColor(0x30, 0x50, 0x90));
  bars->append(dayBars_);
  bars->setBarWidth(1.0);
  chart_->addSeries(bars);
  meanLine_ = MarkerLine(u"平均"_s, QPen(QColor(0xD0, 0x20, 0x20), 2), chart_);
  p05Line_ = MarkerLine(u"5%"_s, QPen(QColor(0x20, 0x90, 0x20), 2, Qt::DashLine), chart_);
  p95Line_ = MarkerLine(u"95%"_s, QPen(QColor(0xE0, 0x80, 0x00), 2, Qt::DashLine), chart_);

  binAxis_ = new QValueAxis(chart_);
  chart_->addAxis(binAxis_, Qt::AlignTop);
  binAxis_->setVisible(false);
  bars->attachAxis(binAxis_);
  medalAxis_ = AddIntegerAxis(chart_, u"ホール収支(枚)"_s, Qt::AlignBottom);
  countAxis_ = AddIntegerAxis(chart_, u"日数"_s, Qt::AlignLeft);
  bars->attachAxis(countAxis_);
  for (QLineSeries* line : {meanLine_, p05Line_, p95Line_}) {
    line->attachAxis(medalAxis_);
    line->attachAxis(countAxis_);
  }
  InstallChart(histogramView_, chart_);
}

void TStudyForm::SetPlan(const StudyPlan& plan) {
  plan_ = plan;
  int counts[Level::kCount] = {};
  for (const std::int32_t level : plan.levels) {
    if (level >= Level::kMin && level <= Level::kMax) ++counts[level - Level::kMin];
  }
  QString settings;
  for (int i = 0; i < Level::kCount; ++i) {
    if (counts[i] > 0) settings += u"　設定%1×%2台"_s.arg(i + Level::kMin).arg(counts[i]);
  }
  hallLabel_->setText(u"ホール：%1台　1日 %2ゲーム"_s.arg(plan.levels.size()).arg(plan.games) + settings);
}

void TStudyForm::StartButtonClick() {
  if (busy()) return;
  StudyPlan plan = plan_;
  plan.days = daysEdit_->value();
  plan.seed = fixedSeed_.value_or(ClockSeed());
  header_ = StudyHeader{plan.seed, plan.days, false};
  cancel_ = false;
  finished_.reset();
  failure_.clear();

  startButton_->setEnabled(false);
  daysEdit_->setEnabled(false);
  cancelButton_->setEnabled(true);
  seedLabel_->setText(u"シード %1"_s.arg(plan.seed));
  progressBar_->setRange(0, static_cast<int>(plan.days));
  progressBar_->setValue(0);
  progressLabel_->setText(u"0 / %1日"_s.arg(plan.days));
  lossLabel_->setText(u"実行中です…"_s);
  started_ = std::chrono::steady_clock::now();

  const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  thread_ = std::jthread([this, plan = std::move(plan), threads] {
    FormObserver observer(*this, cancel_);
    try {
      finished_ = RunStudy(plan, threads, observer);
    } catch (const std::exception& error) {
      failure_ = error.what();
    } catch (...) {
      failure_ = "?";
    }
    emit studyFinished();
  });
}

void TStudyForm::CancelButtonClick() {
  cancel_ = true;
  cancelButton_->setEnabled(false);
}

void TStudyForm::ShowProgress(qint64 daysDone) {
  if (!busy()) return;  // a late one, after the end was shown
  progressBar_->setValue(static_cast<int>(daysDone));
  QString text = u"%1 / %2日"_s.arg(daysDone).arg(header_.daysPlanned);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  if (daysDone > 0 && seconds > 0) {
    text += u"　残り "_s +
            ClockText(seconds * static_cast<double>(header_.daysPlanned - daysDone) / static_cast<double>(daysDone));
  }
  progressLabel_->setText(text);
}

void TStudyForm::FinishStudy() {
  if (thread_.joinable()) thread_.join();
  startButton_->setEnabled(true);
  daysEdit_->setEnabled(true);
  cancelButton_->setEnabled(false);
  if (!finished_) {
    lossLabel_->setText(QString());
    progressLabel_->setText(QString());
    ShowErrorBox(ToQString(failure_), this);
    emit studyEnded();
    return;
  }
  outcome_ = std::move(finished_);
  finished_.reset();
  header_.partial = outcome_->partial;
  ShowOutcome();
  emit studyEnded();
}

void TStudyForm::ShowOutcome() {
  const StudySummary summary = outcome_->stats.Summary();
  progressBar_->setValue(static_cast<int>(summary.days));
  progressLabel_->setText(u"%1 / %2日"_s.arg(summary.days).arg(header_.daysPlanned) +
                          (header_.partial ? u"（中止、途中まで）"_s : u"　完了"_s));
  lossLabel_->setText(ToQString(StudyLossText(summary)));

  const auto balance = StudyBalanceRows(summary);
  balanceTable_->setRowCount(static_cast<int>(balance.size()));
  for (std::size_t r = 0; r < balance.size(); ++r) {
    SetRow(balanceTable_, static_cast<int>(r), {ToQString(balance[r].first), ToQString(balance[r].second)},
           Qt::AlignLeft);
  }
  FitTable(balanceTable_, balanceTable_->rowCount());

  const auto settings = StudySettingRows(summary);
  settingTable_->setRowCount(static_cast<int>(settings.size()) - 1);
  settingTable_->setHorizontalHeaderLabels(ToQStringList(settings.front()));
  for (std::size_t r = 1; r < settings.size(); ++r) {
    SetRow(settingTable_, static_cast<int>(r) - 1, ToQStringList(settings[r]), Qt::AlignRight);
  }
  FitTable(settingTable_, std::max(1, settingTable_->rowCount()));

  const BalanceHistogram histogram = outcome_->stats.Histogram(kMaxBins);
  QList<qreal> counts;
  std::int64_t most = 0;
  for (const std::int64_t count : histogram.counts) {
    counts.append(static_cast<qreal>(count));
    most = std::max(most, count);
  }
  dayBars_->remove(0, dayBars_->count());
  dayBars_->append(counts);
  if (histogram.counts.empty()) {
    for (QLineSeries* line : {meanLine_, p05Line_, p95Line_}) line->clear();
    return;
  }
  const auto bins = static_cast<double>(histogram.counts.size());
  const auto low = static_cast<double>(histogram.low);
  const double high = low + bins * static_cast<double>(histogram.width);
  binAxis_->setRange(-0.5, bins - 0.5);
  SetRangeWithRoundTicks(medalAxis_, low, high, 5);  // exactly the bins' span, ticks on round numbers
  // Room above the highest bar, so that it does not touch the frame.
  SetRangeWithRoundTicks(countAxis_, 0, static_cast<double>(most) * 1.1, 5);
  // A day of balance v fills [v, v + 1) on the medal axis: its middle is
  // v + 0.5, and so is the marker of a quantile that is v.
  const double top = countAxis_->max();
  auto mark = [top](QLineSeries* line, double value) { line->replace({{value + 0.5, 0}, {value + 0.5, top}}); };
  mark(meanLine_, summary.hallMedals.mean);
  mark(p05Line_, static_cast<double>(summary.hallMedals.p05));
  mark(p95Line_, static_cast<double>(summary.hallMedals.p95));
}

void TStudyForm::ShowEmpty() {
  seedLabel_->setText(fixedSeed_ ? u"シード %1"_s.arg(*fixedSeed_) : u"シード：開始時の時刻"_s);
  progressLabel_->setText(u"0日"_s);
  lossLabel_->setText(u"日数を決めて「開始」を押してください。"_s);
  const StudySummary none;
  const auto balance = StudyBalanceRows(none);
  balanceTable_->setRowCount(static_cast<int>(balance.size()));
  for (std::size_t r = 0; r < balance.size(); ++r) {
    SetRow(balanceTable_, static_cast<int>(r), {ToQString(balance[r].first), ToQString(balance[r].second)},
           Qt::AlignLeft);
  }
  FitTable(balanceTable_, balanceTable_->rowCount());
  settingTable_->setHorizontalHeaderLabels(ToQStringList(StudySettingRows(none).front()));
  settingTable_->setRowCount(0);
  FitTable(settingTable_, 1);
  SetRangeWithRoundTicks(medalAxis_, 0, 1);
  SetRangeWithRoundTicks(countAxis_, 0, 1);
  binAxis_->setRange(-0.5, 0.5);
}

void TStudyForm::StopThread() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

void TStudyForm::closeEvent(QCloseEvent* event) {
  // A study left running in a window nobody sees would hold every core for
  // nothing: closing cancels it, keeping what it finished.
  cancel_ = true;
  QWidget::closeEvent(event);
}

}  // namespace orvel
