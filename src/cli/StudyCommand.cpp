#include "cli/StudyCommand.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "cli/LogFiles.h"
#include "cli/StudyOptions.h"
#include "core/analysis/NumberText.h"
#include "core/model/Random.h"
#include "core/study/Study.h"
#include "core/study/StudyReport.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace orvel::cli {

namespace {

// The signal that asked the study to stop, 0 while none has: a handler may
// only set such a flag. The thread running the study polls it.
volatile std::sig_atomic_t studyStopSignal = 0;

void RequestStudyStop(int number) {
  studyStopSignal = number;
  std::signal(number, SIG_DFL);  // a second one ends the program at once
}

std::string Clock(double seconds) {
  const auto total = static_cast<std::int64_t>(seconds + 0.5);
  const std::int64_t minutes = total / 60, rest = total % 60;
  return IntText(minutes) + ":" + (rest < 10 ? "0" : "") + IntText(rest);
}

// The --days-csv file, written as "<file>.part" while the days come in and
// renamed when the study ends. A stopped study keeps the rows of the days
// its partial report covers.
class DaysCsv {
public:
  explicit DaysCsv(const std::filesystem::path& path) : path_(path), part_(path.string() + ".part") {
    out_.open(part_, std::ios::binary | std::ios::trunc);
    if (!out_) throw UsageError{"--days-csv: " + path.string() + " を作れません。"};
    out_ << StudyDaysCsvHeader();
  }
  ~DaysCsv() {
    if (!committed_) {
      out_.close();
      std::error_code ignored;
      std::filesystem::remove(part_, ignored);
    }
  }
  DaysCsv(const DaysCsv&) = delete;
  DaysCsv& operator=(const DaysCsv&) = delete;

  void Append(const DayResult& day) {
    line_.clear();
    AppendStudyDayCsvRow(line_, day);
    out_ << line_;
  }
  void Commit() {
    out_.close();
    if (!out_) throw WriteError{path_.string(), "書き込めません"};
    std::error_code error;
    std::filesystem::rename(part_, path_, error);
    if (error) throw WriteError{path_.string(), error.message()};
    committed_ = true;
  }

private:
  std::filesystem::path path_;
  std::filesystem::path part_;
  std::ofstream out_;
  std::string line_;
  bool committed_ = false;
};

class CliStudyObserver final : public StudyObserver {
public:
  CliStudyObserver(std::int64_t days, DaysCsv* csv)
      : days_(days), csv_(csv), shown_(isatty(fileno(stderr)) != 0), start_(std::chrono::steady_clock::now()) {}

  void DayDone(const DayResult& day) override {
    if (csv_ != nullptr) csv_->Append(day);
  }
  void Progress(std::int64_t done) override {
    if (!shown_ || done == last_) return;
    last_ = done;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double perSecond = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    const auto filled = static_cast<std::size_t>(done * 30 / std::max<std::int64_t>(days_, 1));
    std::string bar = "\r[" + std::string(filled, '#') + std::string(30 - filled, ' ') + "] " + IntText(done) + " / " +
                      IntText(days_) + "日　" + RealText(std::round(perSecond * 10) / 10) + "日/秒";
    if (perSecond > 0) bar += "　残り " + Clock(static_cast<double>(days_ - done) / perSecond);
    std::fprintf(stderr, "%s\x1b[K", bar.c_str());
    if (done == days_) std::fputc('\n', stderr);
  }
  bool StopRequested() override { return studyStopSignal != 0; }
  // Ends a bar left part way, so that a message starts on its own line.
  void Break() const {
    if (shown_ && last_ >= 0 && last_ < days_) std::fputc('\n', stderr);
  }

private:
  std::int64_t days_;
  DaysCsv* csv_;
  bool shown_;
  std::chrono::steady_clock::time_point start_;
  std::int64_t last_ = -1;
};

}  // namespace

int RunStudyCommand(int argc, char** argv) {
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  const StudyCommandLine line = ReadStudyCommandLine(argc, argv, cores);
  std::cout << line.out;
  if (!line.options) {
    if (!line.error.empty()) std::cerr << "orvelsim-cli: " << line.error << '\n';
    return line.status;
  }
  const StudyOptions& options = *line.options;

  StudyPlan plan;
  plan.levels = options.hall.levels;
  plan.rates = options.hall.rates;
  plan.games = options.hall.games;
  plan.seed = options.hall.seed.value_or(ClockSeed());
  plan.days = options.days;

  std::signal(SIGINT, RequestStudyStop);
  std::signal(SIGTERM, RequestStudyStop);
  std::unique_ptr<DaysCsv> csv;
  if (!options.daysCsv.empty()) csv = std::make_unique<DaysCsv>(options.daysCsv);

  CliStudyObserver observer(plan.days, csv.get());
  const StudyOutcome outcome = RunStudy(plan, options.threads, observer);
  if (csv) csv->Commit();
  const int signal = studyStopSignal;
  if (outcome.partial) {
    observer.Break();
    std::cerr << "orvelsim-cli: " << (signal == SIGTERM ? "SIGTERM" : "SIGINT") << " で中断しました（"
              << IntText(outcome.stats.Days()) << " / " << IntText(plan.days) << "日）。終わった日だけの報告です。\n";
  }
  WriteStudyReport(std::cout, outcome.stats.Summary(), StudyHeader{plan.seed, plan.days, outcome.partial},
                   options.hall.format);
  std::cout.flush();
  if (!std::cout) return 1;
  return outcome.partial ? 128 + (signal != 0 ? signal : SIGINT) : 0;
}

}  // namespace orvel::cli
