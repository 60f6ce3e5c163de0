#pragma once

#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "core/study/Study.h"
#include "core/study/StudyReport.h"

class QBarSet;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QValueAxis;

namespace orvel {

// The study window (多日シミュレーション): many days of the hall as it was
// set up when the window was opened, played on worker threads while the
// hall window stays usable. A progress bar with the days done and the time
// left, a cancel button, and when the study ends (or is cancelled: partial)
// the histogram of the daily hall balance with its mean and 5 % / 95 %
// quantiles marked, the report's tables and the share of losing days in a
// sentence. The figures are the core's, as `orvelsim-cli study` prints
// them for the same hall and seed.
//
// The study runs on a thread of its own, which deals the days to the
// workers and hands progress and the end to this window by queued signals;
// nothing of the window is touched off its thread.
class TStudyForm final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TStudyForm)

public:
  explicit TStudyForm(QWidget* owner = nullptr);
  ~TStudyForm() override;

  // The hall to study: its seats' settings and rates and the hall games of
  // a day. The plan's seed is not used: see SetFixedSeed.
  void SetPlan(const StudyPlan& plan);
  // The seed of the next study; none: the clock's at its start.
  void SetFixedSeed(std::optional<std::uint32_t> seed) { fixedSeed_ = seed; }

  void StartButtonClick();
  void CancelButtonClick();

  bool busy() const { return thread_.joinable(); }
  // The last study's outcome and header, once one has ended.
  const StudyOutcome* outcome() const { return outcome_ ? &*outcome_ : nullptr; }
  const StudyHeader& header() const { return header_; }

signals:
  // From the study's thread, queued to this window.
  void studyProgressed(qint64 daysDone);
  void studyFinished();
  // After the window shows the end of a study.
  void studyEnded();

protected:
  void closeEvent(QCloseEvent* event) override;  // FormClose

private:
  void BuildChart();
  void ShowProgress(qint64 daysDone);
  void FinishStudy();
  void ShowOutcome();
  void ShowEmpty();
  void StopThread();

  StudyPlan plan_;
  std::optional<std::uint32_t> fixedSeed_;
  std::atomic<bool> cancel_{false};
  std::chrono::steady_clock::time_point started_;
  // Written by the study's thread before it signals the end, read here
  // after joining it.
  std::optional<StudyOutcome> finished_;
  std::string failure_;
  std::optional<StudyOutcome> outcome_;
  StudyHeader header_;
  std::jthread thread_;

  QLabel* hallLabel_ = nullptr;
  QSpinBox* daysEdit_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QLabel* progressLabel_ = nullptr;
  QLabel* seedLabel_ = nullptr;
  QLabel* lossLabel_ = nullptr;
  QChartView* histogramView_ = nullptr;
  QChart* chart_ = nullptr;
  QBarSet* dayBars_ = nullptr;
  QLineSeries* meanLine_ = nullptr;
  QLineSeries* p05Line_ = nullptr;
  QLineSeries* p95Line_ = nullptr;
  QValueAxis* binAxis_ = nullptr;
  QValueAxis* medalAxis_ = nullptr;
  QValueAxis* countAxis_ = nullptr;
  QTableWidget* balanceTable_ = nullptr;
  QTableWidget* settingTable_ = nullptr;
};

}  // namespace orvel
