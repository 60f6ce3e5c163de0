// orvelsim-cli: plays a whole hall without windows and prints its seat
// table. With --seed the output is a function of the options alone.
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/LogFiles.h"
#include "cli/StudyCommand.h"
#include "core/analysis/NumberText.h"
#include "core/hall/Hall.h"
#include "core/hall/HallReport.h"
#include "core/hall/RunEngine.h"
#include "core/model/Random.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

using orvel::cli::UsageError;

class Progress {
public:
  explicit Progress(int total) : total_(total), shown_(isatty(fileno(stderr)) != 0) {}
  void Update(int done) {
    if (!shown_) return;
    const int percent = static_cast<int>(std::int64_t{done} * 100 / std::max(total_, 1));
    if (percent == last_) return;
    last_ = percent;
    const int filled = percent * 40 / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(40 - filled), ' ').c_str(), percent);
    if (done == total_) std::fputc('\n', stderr);
  }
  // Ends a bar left part way, so that a message starts on its own line.
  void Break() const {
    if (shown_ && last_ >= 0 && last_ < 100) std::fputc('\n', stderr);
  }

private:
  int total_;
  bool shown_;
  int last_ = -1;
};

// The signal that asked the run to stop, 0 while none has. A signal handler
// gets no context and may do no more than set such a flag, so this is the
// program's one global; the run loop reads it between hall games.
volatile std::sig_atomic_t stopSignal = 0;

void RequestStop(int number) {
  stopSignal = number;
  // A second one ends the program at once, should a hall game take long.
  std::signal(number, SIG_DFL);
}

const char* SignalName(int signal) { return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "signal"; }

// Running out of memory where the size asked for is known: the one line
// after "メモリが足りません：", status 1.
struct OutOfMemory {
  std::string what;
};

int Run(int argc, char** argv) {
  // Subcommands, by their first argument; anything else is the plain run.
  if (argc > 1 && std::string(argv[1]) == "study") return orvel::cli::RunStudyCommand(argc - 1, argv + 1);

  const orvel::cli::CommandLine line = orvel::cli::ReadCommandLine(argc, argv);
  std::cout << line.out;
  if (!line.options) {
    if (!line.error.empty()) std::cerr << "orvelsim-cli: " << line.error << '\n';
    return line.status;
  }
  const orvel::cli::CliOptions& options = *line.options;
  const int seats = options.seats;
  const int games = options.games;
  const std::vector<int>& seatLevels = options.levels;
  const std::vector<std::string>& seatRates = options.rates;
  const std::optional<std::uint32_t> seed = options.seed;

  // Before any file is made: a signal from here on removes the partial files.
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);

  // The logs go to their files as they are played (bounded memory); none is
  // kept in memory, with or without --log-dir.
  orvel::Hall hall;
  hall.SetKeepLogs(false);
  std::unique_ptr<orvel::cli::LogFiles> logFiles;
  try {
    if (!options.logDir.empty()) logFiles = std::make_unique<orvel::cli::LogFiles>(options.logDir, seats);
    hall.CreateSeats(seats);
  } catch (const std::bad_alloc&) {
    throw OutOfMemory{orvel::IntText(seats) + " 台の台と記録を用意できません。"};
  }
  hall.SetLogSink(logFiles.get());
  for (int i = 0; i < seats; ++i) {
    const auto seat = static_cast<std::size_t>(i);
    hall.SetSeat(i, seatLevels[seat], seatRates[seat]);
  }
  hall.PrepareRun(seed);

  // The run is never completed (RunEngine::Complete): that resets the
  // machines, and the report reads their counters after the run. Without
  // logs SumMedals reads the machines too, so hall.csv and the report's
  // balance follow them.
  orvel::RunEngine run(hall);
  Progress progress(games);
  // A refresh every 0.1 % of the run is enough for a bar of whole percents.
  const int interval = std::max(1, games / 1000);
  run.Start(games);
  while (!run.AtEnd() && stopSignal == 0) {
    const std::int32_t game = run.nextGame();
    const bool refresh = run.PlayNext(interval);
    if (logFiles) logFiles->HallBalance(game, -hall.SumMedals());
    if (refresh) progress.Update(game + 1);
  }
  if (stopSignal != 0) {
    run.Stop();
    progress.Break();
    std::cerr << "orvelsim-cli: " << SignalName(stopSignal) << " で中断しました（" << orvel::IntText(run.nextGame())
              << " / " << orvel::IntText(games) << " ホールゲーム）。"
              << (logFiles ? "ログのファイルは残していません。" : "") << '\n';
    return 128 + stopSignal;
  }
  if (logFiles) logFiles->Commit();

  orvel::WriteHallReport(std::cout, hall, options.format);
  std::cout.flush();
  return std::cout ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const UsageError& error) {
    std::cerr << "orvelsim-cli: " << error.message << '\n';
    return 2;
  } catch (const orvel::cli::WriteError& error) {
    std::cerr << "orvelsim-cli: " << error.file << " の書き込みに失敗しました。\n";
    return 1;
  } catch (const OutOfMemory& error) {
    std::cerr << "orvelsim-cli: メモリが足りません：" << error.what << '\n';
    return 1;
  } catch (const std::bad_alloc&) {
    std::cerr << "orvelsim-cli: メモリが足りません：実行を続けられません。\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "orvelsim-cli: " << error.what() << '\n';
    return 1;
  }
}
