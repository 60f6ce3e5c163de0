// orvelsim-cli: plays a whole hall without windows and prints its seat
// table. With --seed the output is a function of the options alone.
#include <CLI/CLI.hpp>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/analysis/NumberText.h"
#include "core/hall/Hall.h"
#include "core/hall/HallReport.h"
#include "core/hall/OperatingRate.h"
#include "core/hall/TextToNumber.h"
#include "core/model/Random.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

constexpr int kMaxSeats = 100000;

// A bad option value: its text is the one line the user gets.
struct UsageError {
  std::string message;
};

int ToInt(const std::string& option, const std::string& text, int low, int high, const std::string& rangeMessage) {
  const auto value = orvel::TryStrToInt(text);
  if (!value) throw UsageError{option + ": " + orvel::NotAnIntegerMessage(text)};
  if (*value < low || *value > high) throw UsageError{option + ": " + rangeMessage};
  return *value;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::string item;
  std::istringstream in(text);
  while (std::getline(in, item, ',')) items.push_back(item);
  if (!text.empty() && text.back() == ',') items.emplace_back();
  return items;
}

// One value per seat: from the list option when it was given, else the
// single option's value (or the default) for every seat. A given value is
// taken as it is, the empty text included, and checked by the caller.
std::vector<std::string> PerSeat(const CLI::Option& singleOption, const std::string& single,
                                 const CLI::Option& listOption, const std::string& list, int seats,
                                 const std::string& fallback) {
  if (listOption.count() > 0) {
    std::vector<std::string> items = SplitList(list);
    if (list.empty()) items = {""};
    if (static_cast<int>(items.size()) != seats) {
      throw UsageError{listOption.get_name() + ": 台数と同じ " + std::to_string(seats) + " 個の値が必要です（" +
                       std::to_string(items.size()) + " 個あります）。"};
    }
    return items;
  }
  return std::vector<std::string>(static_cast<std::size_t>(seats), singleOption.count() > 0 ? single : fallback);
}

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
  CLI::App app{"Orvelsim Hall without windows: plays a whole hall and prints its seat table.",
               "orvelsim-cli"};
  std::string seatsText = "20", gamesText = "8000", level, levels, rate, rates, seedText, logDir;
  std::string format = "table";
  app.add_option("--seats", seatsText, "number of seats, 0 … 100000 (default 20)");
  app.add_option("--games", gamesText, "hall games to play, 1 or more (default 8000)");
  auto* levelOption = app.add_option("--level", level, "setting 1 … 6 of every seat (default 1)");
  auto* levelsOption = app.add_option("--levels", levels, "settings, comma-separated, one per seat");
  levelOption->excludes(levelsOption);
  auto* rateOption = app.add_option("--rate", rate, "operating rate of every seat (default 1)");
  auto* ratesOption = app.add_option("--rates", rates, "operating rates, comma-separated, one per seat");
  rateOption->excludes(ratesOption);
  auto* seedOption = app.add_option("--seed", seedText, "seed of the random source, 0 … 4294967295 (default: the clock)");
  auto* logDirOption = app.add_option("--log-dir", logDir, "write every play log and the hall balance as CSV files here");
  app.add_option("--format", format, "table, csv or json (default table)")
      ->check(CLI::IsMember({"table", "csv", "json"}));

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::ParseError& error) {
    std::cerr << "orvelsim-cli: " << error.what() << '\n';
    return 2;
  }

  // Everything is checked before any work is done.
  const int seats = ToInt("--seats", seatsText, 0, kMaxSeats, "台数は、0から100000にしてください。");
  const int games = ToInt("--games", gamesText, 1, INT32_MAX, "Play数は、1以上にしてください。");
  const std::string levelName = levelsOption->count() > 0 ? "--levels" : "--level";
  std::vector<int> seatLevels;
  for (const std::string& text : PerSeat(*levelOption, level, *levelsOption, levels, seats, "1")) {
    seatLevels.push_back(ToInt(levelName, text, 1, 6, "設定は、1から6にしてください。"));
  }
  const std::string rateName = ratesOption->count() > 0 ? "--rates" : "--rate";
  const std::vector<std::string> seatRates = PerSeat(*rateOption, rate, *ratesOption, rates, seats, "1");
  for (const std::string& text : seatRates) {
    if (!orvel::TryParseDecimal(text)) throw UsageError{rateName + ": " + orvel::NotADecimalMessage(text)};
  }
  std::optional<std::uint32_t> seed;
  if (seedOption->count() > 0) {
    seed = orvel::TryStrToUInt32(seedText);
    if (!seed) throw UsageError{"--seed: シードは、0から4294967295の整数にしてください。"};
  }
  using orvel::ReportFormat;
  const ReportFormat reportFormat = format == "csv"    ? ReportFormat::Csv
                                    : format == "json" ? ReportFormat::Json
                                                       : ReportFormat::Table;

  std::optional<std::ofstream> hallCsv;
  const std::filesystem::path dir(logDir);
  if (logDirOption->count() > 0 && logDir.empty()) throw UsageError{"--log-dir: フォルダ名が空です。"};
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
    hall.SetRateText(i, seatRates[static_cast<std::size_t>(i)]);
    if (seatLevels[static_cast<std::size_t>(i)] != 1) hall.Machine(i).SetLevel(seatLevels[static_cast<std::size_t>(i)]);
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

  orvel::WriteHallReport(std::cout, hall, reportFormat);
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
