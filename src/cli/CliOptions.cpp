#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>

#include "core/hall/HallFile.h"
#include "core/hall/TextToNumber.h"
#include "core/model/Codes.h"

namespace orvel::cli {

namespace {

constexpr int kMaxSeats = 100000;

int ToInt(const std::string& option, const std::string& text, int low, int high, const std::string& rangeMessage) {
  const auto value = TryStrToInt(text);
  if (!value) throw UsageError{option + ": " + NotAnIntegerMessage(text)};
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
// single option's value for every seat, else the hall file's values (seats
// past the file's get the default), else the default for every seat. A
// given value is taken as it is, the empty text included, and checked by
// the caller; an empty list is one empty value, except in a hall without
// seats, where it is the empty list that hall needs.
std::vector<std::string> PerSeat(const CLI::Option& singleOption, const std::string& single,
                                 const CLI::Option& listOption, const std::string& list, int seats,
                                 const std::string& fallback, const std::vector<std::string>& fromFile) {
  if (listOption.count() > 0) {
    std::vector<std::string> items = SplitList(list);
    if (list.empty() && seats > 0) items = {""};
    if (static_cast<int>(items.size()) != seats) {
      throw UsageError{listOption.get_name() + ": 台数と同じ " + std::to_string(seats) + " 個の値が必要です（" +
                       std::to_string(items.size()) + " 個あります）。"};
    }
    return items;
  }
  if (singleOption.count() == 0 && !fromFile.empty()) {
    std::vector<std::string> items(fromFile.begin(),
                                   fromFile.begin() + std::min<std::ptrdiff_t>(std::ssize(fromFile), seats));
    items.resize(static_cast<std::size_t>(seats), fallback);
    return items;
  }
  return std::vector<std::string>(static_cast<std::size_t>(seats), singleOption.count() > 0 ? single : fallback);
}

// A rate text checked, with the option's refusal for one that is no number.
SeatRate CheckedRate(const std::string& option, const std::string& text) {
  if (!TryParseDecimal(text)) throw UsageError{option + ": " + NotADecimalMessage(text)};
  return SeatRate(text);
}

}  // namespace

CommandLine ReadCommandLine(int argc, const char* const* argv) {
  return ReadCommandLine(
      argc, argv,
      CommandShape{
          "orvelsim-cli", "Orvelsim Hall without windows: plays a whole hall and prints its seat table.", {}, true});
}

CommandLine ReadCommandLine(int argc, const char* const* argv, const CommandShape& command) {
  CLI::App app{command.description, command.name};
  std::string seatsText = "20", gamesText = "8000", level, levels, rate, rates, seedText, logDir;
  std::string format = "table", hallPath;
  auto* hallOption =
      app.add_option("--hall", hallPath, "a hall file (.orvelhall) to run; the options beside it override it");
  auto* seatsOption = app.add_option("--seats", seatsText, "number of seats, 0 … 100000 (default 20)");
  auto* gamesOption = app.add_option("--games", gamesText, "hall games to play, 1 or more (default 8000)");
  auto* levelOption = app.add_option("--level", level, "setting 1 … 6 of every seat (default 1)");
  auto* levelsOption = app.add_option("--levels", levels, "settings, comma-separated, one per seat");
  levelOption->excludes(levelsOption);
  auto* rateOption = app.add_option("--rate", rate, "operating rate of every seat (default 1)");
  auto* ratesOption = app.add_option("--rates", rates, "operating rates, comma-separated, one per seat");
  rateOption->excludes(ratesOption);
  auto* seedOption = app.add_option("--seed", seedText, "seed of the random source, 0 … 4294967295 (default: the clock)");
  CLI::Option* logDirOption = nullptr;
  if (command.logDir) {
    logDirOption = app.add_option("--log-dir", logDir, "write every play log and the hall balance as CSV files here");
  }
  std::vector<const CLI::Option*> extraOptions;
  for (const ExtraOption& extra : command.extras)
    extraOptions.push_back(app.add_option(extra.name, *extra.text, extra.help));
  app.add_option("--format", format, "table, csv or json (default table)")
      ->check(CLI::IsMember({"table", "csv", "json"}));

  CommandLine line;
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    std::ostringstream out, err;
    line.status = app.exit(help, out, err);
    line.out = out.str();
    return line;
  } catch (const CLI::ParseError& error) {
    line.status = 2;
    line.error = error.what();
    return line;
  }

  for (std::size_t i = 0; i < extraOptions.size(); ++i) *command.extras[i].given = extraOptions[i]->count() > 0;

  try {
    CliOptions options;
    // The hall file gives the defaults of everything it holds; the options
    // given beside it are read as they would be without it.
    std::vector<std::string> fileLevels, fileRates;
    if (hallOption->count() > 0) {
      HallFileData hall;
      try {
        hall = ReadHallFile(hallPath, kMaxSeats);
      } catch (const HallFileError& error) {
        throw UsageError{"--hall: " + error.message};
      }
      if (seatsOption->count() == 0) seatsText = std::to_string(hall.seats.size());
      if (gamesOption->count() == 0) gamesText = std::to_string(hall.playCount);
      if (seedOption->count() == 0) options.seed = hall.seed;
      fileLevels.reserve(hall.seats.size());
      fileRates.reserve(hall.seats.size());
      for (HallFileSeat& seat : hall.seats) {
        fileLevels.push_back(std::to_string(seat.level));
        fileRates.push_back(std::move(seat.rate));
      }
    }
    options.seats = ToInt("--seats", seatsText, 0, kMaxSeats, "台数は、0から100000にしてください。");
    options.games = ToInt("--games", gamesText, 1, INT32_MAX, "Play数は、1以上にしてください。");
    const std::string levelName = levelsOption->count() > 0 ? "--levels" : "--level";
    for (const std::string& text :
         PerSeat(*levelOption, level, *levelsOption, levels, options.seats, "1", fileLevels)) {
      options.levels.push_back(ToInt(levelName, text, Level::kMin, Level::kMax, "設定は、1から6にしてください。"));
    }
    if (ratesOption->count() > 0 || (rateOption->count() == 0 && !fileRates.empty())) {
      const std::string rateName = ratesOption->count() > 0 ? "--rates" : "--hall";
      for (const std::string& text : PerSeat(*rateOption, rate, *ratesOption, rates, options.seats, "1", fileRates)) {
        options.rates.push_back(CheckedRate(rateName, text));
      }
    } else {
      // Read once and shared: a long text for a big hall is not copied, nor
      // read again, for every seat.
      options.rates.assign(static_cast<std::size_t>(options.seats),
                           CheckedRate("--rate", rateOption->count() > 0 ? rate : "1"));
    }
    if (seedOption->count() > 0) {
      options.seed = TryStrToUInt32(seedText);
      if (!options.seed) throw UsageError{"--seed: シードは、0から4294967295の整数にしてください。"};
    }
    options.format = format == "csv"    ? ReportFormat::Csv
                     : format == "json" ? ReportFormat::Json
                                        : ReportFormat::Table;
    if (logDirOption != nullptr && logDirOption->count() > 0 && logDir.empty())
      throw UsageError{"--log-dir: フォルダ名が空です。"};
    options.logDir = logDir;
    line.options = std::move(options);
  } catch (const UsageError& refusal) {
    line.status = 2;
    line.error = refusal.message;
  }
  return line;
}

}  // namespace orvel::cli
