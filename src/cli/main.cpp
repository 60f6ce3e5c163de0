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
#include <string_view>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/EstimateCommand.h"
#include "cli/FiguresCommand.h"
#include "cli/LogFiles.h"
#include "cli/StudyCommand.h"
#include "core/analysis/NumberText.h"
#include "core/hall/Hall.h"
#include "core/hall/HallReport.h"
#include "core/hall/MemoryBudget.h"
#include "core/hall/RunEngine.h"
#include "core/model/Random.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <fcntl.h>
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

// Output that could not be written: the file, the system's reason.
using orvel::cli::WriteError;

// A standard stream the caller closed (`>&-`) would be taken by the first
// file the run opens, and the report would land in hall.csv. Standard
// input and error get the null device instead; without standard output
// there is nowhere to report to, which is an error of its own.
void CheckStandardStreams() {
#ifndef _WIN32
  for (const int stream : {STDIN_FILENO, STDERR_FILENO, STDOUT_FILENO}) {
    if (fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
    if (stream == STDOUT_FILENO) throw WriteError{"標準出力", "閉じています"};
    const int null = open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (null != stream && null >= 0) close(null);
  }
#endif
}

// Standard output flushed, and any failure to write it (a full disk, a
// closed pipe) turned into a WriteError with the system's reason.
// Call with errno cleared before the output was written, so that the first
// failed write's reason is the one reported.
void FlushStandardOutput() {
  std::cout.flush();
  const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
  if (failed) throw WriteError{"標準出力", std::strerror(errno != 0 ? errno : EIO)};
}

int Run(int argc, char** argv) {
  CheckStandardStreams();
  // A subcommand is named by the first argument and gets the rest; without
  // one the program plays a hall.
  const std::string_view command = argc > 1 ? argv[1] : "";
  if (command == "figures" || command == "estimate" || command == "study") {
    errno = 0;
    const int status = command == "figures"    ? orvel::cli::RunFiguresCommand(argc - 1, argv + 1, std::cout)
                       : command == "estimate" ? orvel::cli::RunEstimateCommand(argc - 1, argv + 1, std::cout)
                                               : orvel::cli::RunStudyCommand(argc - 1, argv + 1);
    FlushStandardOutput();
    return status;
  }

  const orvel::cli::CommandLine line = orvel::cli::ReadCommandLine(argc, argv);
  errno = 0;
  std::cout << line.out;
  if (!line.options) {
    if (!line.error.empty()) std::cerr << "orvelsim-cli: " << line.error << '\n';
    FlushStandardOutput();
    return line.status;
  }
  const orvel::cli::CliOptions& options = *line.options;
  const int seats = options.seats;
  const int games = options.games;
  const std::vector<int>& seatLevels = options.levels;
  const std::vector<orvel::SeatRate>& seatRates = options.rates;
  const std::optional<std::uint32_t> seed = options.seed;

  // Before any file is made: a signal from here on removes the partial files.
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);

  // The logs go to their files as they are played (bounded memory); none is
  // kept in memory, with or without --log-dir.
  // A hall too big for the memory there is is refused before anything is
  // made. Without logs in memory the run needs no more than its seats (and
  // the log files' buffers), however many games it plays.
  const std::uint64_t need = static_cast<std::uint64_t>(seats) * orvel::Hall::MemoryPerSeat() +
                             (options.logDir.empty() ? 0 : orvel::cli::LogFiles::MemoryFor(seats));
  if (const auto available = orvel::AvailableMemory(); available && need > *available) {
    throw OutOfMemory{orvel::IntText(seats) + " 台には約 " + orvel::MemoryText(need) + " 必要ですが、使えるメモリは約 " +
                      orvel::MemoryText(*available) + " です。--seats を減らしてください。"};
  }
  orvel::Hall hall;
  hall.SetKeepLogs(false);
  std::unique_ptr<orvel::cli::LogFiles> logFiles;
  try {
    if (!options.logDir.empty()) logFiles = std::make_unique<orvel::cli::LogFiles>(options.logDir, seats);
    hall.CreateSeats(seats);
  } catch (const std::bad_alloc&) {
    throw OutOfMemory{orvel::IntText(seats) + " 台の台と記録を用意できません（約 " + orvel::MemoryText(need) + "）。"};
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
  // The finished run's table is printed even when its log files fail: the
  // run itself is sound, and the message says which file is missing.
  std::optional<WriteError> logFailure;
  try {
    if (logFiles) logFiles->Commit();
  } catch (const WriteError& error) {
    logFailure = error;
  }
  errno = 0;
  orvel::WriteHallReport(std::cout, hall, options.format);
  FlushStandardOutput();
  if (logFailure) throw *logFailure;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const UsageError& error) {
    std::cerr << "orvelsim-cli: " << error.message << '\n';
    return 2;
  } catch (const WriteError& error) {
    std::cerr << "orvelsim-cli: " << error.file << " の書き込みに失敗しました（" << error.reason << "）。\n";
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
