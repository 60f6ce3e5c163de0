// orvelsim-cli-mpi study …: `orvelsim-cli study` across MPI ranks. Prints
// exactly what orvelsim-cli study prints for the same options, for any
// number of ranks.
//
// Rank r of K plays the days [D·r/K, D·(r+1)/K) on its own threads (day d
// is still the plain run with seed S + d); rank 0 picks S when --seed is
// not given, gathers every rank's statistics in rank order and merges them
// exactly (integer sums and the balances as value → days), writes
// --days-csv in day order from the ranks' rows, and prints the report.
// Bad input is found by rank 0 alone and broadcast, so every rank ends with
// the same status and none waits for a message that never comes.
#include <mpi.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/StudyOptions.h"
#include "core/analysis/NumberText.h"
#include "core/model/Random.h"
#include "core/study/Study.h"
#include "core/study/StudyReport.h"

namespace {

using orvel::cli::StudyOptions;

constexpr int kRoot = 0;
constexpr int kStatsTag = 1;
constexpr int kRowsTag = 2;

// The signal that asked this rank to stop, 0 while none has (mpirun hands
// Ctrl+C on to every rank). A handler may only set such a flag.
volatile std::sig_atomic_t stopSignal = 0;

void RequestStop(int number) {
  stopSignal = number;
  std::signal(number, SIG_DFL);
}

class RankObserver final : public orvel::StudyObserver {
public:
  RankObserver(std::int64_t firstDay, bool keepRows) : firstDay_(firstDay), keepRows_(keepRows) {}
  void DayDone(const orvel::DayResult& day) override {
    if (!keepRows_) return;
    orvel::DayResult numbered = day;
    numbered.day += firstDay_;
    orvel::AppendStudyDayCsvRow(rows, numbered);
  }
  bool StopRequested() override { return stopSignal != 0; }
  std::string rows;

private:
  std::int64_t firstDay_;
  bool keepRows_;
};

void SendWords(const std::vector<std::int64_t>& words, int tag) {
  const auto count = static_cast<long long>(words.size());
  MPI_Send(&count, 1, MPI_LONG_LONG, kRoot, tag, MPI_COMM_WORLD);
  MPI_Send(words.data(), static_cast<int>(count), MPI_INT64_T, kRoot, tag, MPI_COMM_WORLD);
}

std::vector<std::int64_t> ReceiveWords(int from, int tag) {
  long long count = 0;
  MPI_Recv(&count, 1, MPI_LONG_LONG, from, tag, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  std::vector<std::int64_t> words(static_cast<std::size_t>(count));
  MPI_Recv(words.data(), static_cast<int>(count), MPI_INT64_T, from, tag, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  return words;
}

void SendText(const std::string& text, int tag) {
  const auto count = static_cast<long long>(text.size());
  MPI_Send(&count, 1, MPI_LONG_LONG, kRoot, tag, MPI_COMM_WORLD);
  MPI_Send(text.data(), static_cast<int>(count), MPI_CHAR, kRoot, tag, MPI_COMM_WORLD);
}

std::string ReceiveText(int from, int tag) {
  long long count = 0;
  MPI_Recv(&count, 1, MPI_LONG_LONG, from, tag, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  std::string text(static_cast<std::size_t>(count), '\0');
  MPI_Recv(text.data(), static_cast<int>(count), MPI_CHAR, from, tag, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  return text;
}

int Run(int argc, char** argv, int rank, int ranks) {
  const bool root = rank == kRoot;
  if (argc < 2 || std::string(argv[1]) != "study") {
    if (root)
      std::cerr << "orvelsim-cli-mpi: 使い方：orvelsim-cli-mpi study --days N [orvelsim-cli study のオプション]\n";
    return 2;
  }
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  const orvel::cli::StudyCommandLine line = orvel::cli::ReadStudyCommandLine(argc - 1, argv + 1, cores);
  // The command line is the same on every rank, and so is its reading: every
  // rank ends here alike, rank 0 saying why.
  if (!line.options) {
    if (root) {
      std::cout << line.out;
      if (!line.error.empty()) std::cerr << "orvelsim-cli-mpi: " << line.error << '\n';
    }
    return line.status;
  }
  const StudyOptions& options = *line.options;

  // What only rank 0 can tell (its clock, its file system), sent to all.
  std::uint32_t seed = options.hall.seed.value_or(orvel::ClockSeed());
  int status = 0;
  std::ofstream csv;
  const std::filesystem::path csvPath = options.daysCsv;
  const std::filesystem::path csvPart = options.daysCsv + ".part";
  if (root && !options.daysCsv.empty()) {
    csv.open(csvPart, std::ios::binary | std::ios::trunc);
    if (!csv) {
      std::cerr << "orvelsim-cli-mpi: --days-csv: " << options.daysCsv << " を作れません。\n";
      status = 2;
    }
  }
  MPI_Bcast(&status, 1, MPI_INT, kRoot, MPI_COMM_WORLD);
  if (status != 0) return status;
  MPI_Bcast(&seed, 1, MPI_UINT32_T, kRoot, MPI_COMM_WORLD);

  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  orvel::StudyPlan plan;
  plan.levels = options.hall.levels;
  plan.rates = options.hall.rates;
  plan.games = options.hall.games;
  const std::int64_t first = options.days * rank / ranks;
  const std::int64_t last = options.days * (rank + 1) / ranks;
  plan.seed = orvel::DaySeed(seed, first);
  plan.days = last - first;
  RankObserver observer(first, !options.daysCsv.empty());
  orvel::StudyOutcome outcome;
  if (plan.days > 0) outcome = orvel::RunStudy(plan, options.threads, observer);

  if (!root) {
    SendWords(outcome.stats.ToWords(), kStatsTag);
    if (!options.daysCsv.empty()) SendText(observer.rows, kRowsTag);
    return 0;
  }
  orvel::StudyStats all = outcome.stats;
  for (int from = 1; from < ranks; ++from) all.Merge(orvel::StudyStats::FromWords(ReceiveWords(from, kStatsTag)));
  if (!options.daysCsv.empty()) {
    csv << orvel::StudyDaysCsvHeader() << observer.rows;
    for (int from = 1; from < ranks; ++from) csv << ReceiveText(from, kRowsTag);
    csv.close();
    std::error_code error;
    if (csv) std::filesystem::rename(csvPart, csvPath, error);
    if (!csv || error) {
      std::cerr << "orvelsim-cli-mpi: " << csvPath.filename().string() << " の書き込みに失敗しました。\n";
      return 1;
    }
  }
  const bool partial = all.Days() < options.days;
  if (partial) {
    std::cerr << "orvelsim-cli-mpi: " << (stopSignal == SIGTERM ? "SIGTERM" : "SIGINT") << " で中断しました（"
              << orvel::IntText(all.Days()) << " / " << orvel::IntText(options.days)
              << "日）。終わった日だけの報告です。\n";
  }
  orvel::WriteStudyReport(std::cout, all.Summary(), orvel::StudyHeader{seed, options.days, partial},
                          options.hall.format);
  std::cout.flush();
  if (!std::cout) return 1;
  return partial ? 128 + (stopSignal != 0 ? static_cast<int>(stopSignal) : SIGINT) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  MPI_Init(&argc, &argv);
  int rank = 0, ranks = 1;
  MPI_Comm_rank(MPI_COMM_WORLD, &rank);
  MPI_Comm_size(MPI_COMM_WORLD, &ranks);
  int status = 1;
  try {
    status = Run(argc, argv, rank, ranks);
  } catch (const std::exception& error) {
    // A rank that cannot go on takes the others down rather than leave
    // rank 0 waiting for it: mpirun then ends with a non-zero status.
    std::cerr << "orvelsim-cli-mpi: " << error.what() << '\n';
    MPI_Abort(MPI_COMM_WORLD, 1);
  }
  MPI_Finalize();
  return status;
}
