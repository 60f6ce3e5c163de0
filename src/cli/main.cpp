// orvelsim-cli: plays a whole hall without windows and prints its seat
// table. With --seed the output is a function of the options alone.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "core/analysis/NumberText.h"
#include "core/hall/Hall.h"
#include "core/hall/HallReport.h"
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

private:
  int total_;
  bool shown_;
  int last_ = -1;
};

std::string SeatFileName(int seat) {
  std::string number = std::to_string(seat);
  if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
  return "seat_" + number + ".csv";
}

std::ofstream OpenForWriting(const std::filesystem::path& path) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw UsageError{"--log-dir: '" + path.string() + "' に書き込めません。"};
  return file;
}

int Run(int argc, char** argv) {
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
  const std::string& logDir = options.logDir;

  std::optional<std::ofstream> hallCsv;
  const std::filesystem::path dir(logDir);
  if (!logDir.empty()) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) throw UsageError{"--log-dir: '" + logDir + "' を作れません: " + error.message()};
    hallCsv = OpenForWriting(dir / "hall.csv");
    *hallCsv << "game,balance\n";
  }

  orvel::Hall hall;
  hall.CreateSeats(seats);
  if (seed) orvel::SeedRandom(*seed);
  hall.ResetMachines();
  for (int i = 0; i < seats; ++i) {
    const auto seat = static_cast<std::size_t>(i);
    // A seat left at setting 1 gets no SetLevel: it resets the machine, which
    // takes a draw from the shared source, and the seeded output depends on
    // the exact draws. Such a seat only gets its rate.
    if (seatLevels[seat] != 1) {
      hall.SetSeat(i, seatLevels[seat], seatRates[seat]);
    } else {
      hall.SetRateText(i, seatRates[seat]);
    }
  }

  hall.ReserveLogs(games);
  Progress progress(games);
  for (int g = 0; g < games; ++g) {
    hall.PlayHallGame(g);
    if (hallCsv) *hallCsv << orvel::IntText(g) << ',' << orvel::IntText(-hall.SumMedals()) << '\n';
    progress.Update(g + 1);
  }

  if (hallCsv) {
    for (int i = 0; i < seats; ++i) {
      std::ofstream seatCsv = OpenForWriting(dir / SeatFileName(i + 1));
      orvel::WritePlayLogCsv(seatCsv, hall.PlayLog(i));
      if (!seatCsv.flush()) {
        std::cerr << "orvelsim-cli: " << SeatFileName(i + 1) << " の書き込みに失敗しました。\n";
        return 1;
      }
    }
    if (!hallCsv->flush()) {
      std::cerr << "orvelsim-cli: hall.csv の書き込みに失敗しました。\n";
      return 1;
    }
  }

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
  } catch (const std::exception& error) {
    std::cerr << "orvelsim-cli: " << error.what() << '\n';
    return 1;
  }
}
