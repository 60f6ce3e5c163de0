// orvelsim-cli's command line read in-process: every option against every
// typed text, each accepted with its value or refused with its one line.
// What only the running program shows is in CliTest.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ScopedTempDir.h"
#include "TypedTexts.h"
#include "cli/CliOptions.h"
#include "core/hall/HallFile.h"

namespace orvel::cli {
namespace {

using test::PrintTypedText;

CommandLine Read(const std::vector<std::string>& args) {
  std::vector<const char*> argv{"orvelsim-cli"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  return ReadCommandLine(static_cast<int>(argv.size()), argv.data());
}

std::vector<std::string> RateTexts(const CliOptions& options) {
  std::vector<std::string> texts;
  for (const SeatRate& rate : options.rates) texts.push_back(rate.text());
  return texts;
}

TEST(CliOptions, WithoutOptionsTheHallsDefaults) {
  const CommandLine line = Read({});
  ASSERT_TRUE(line.options) << line.error;
  EXPECT_EQ(line.status, 0);
  EXPECT_EQ(line.out, "");
  const CliOptions& o = *line.options;
  EXPECT_EQ(o.seats, 20);
  EXPECT_EQ(o.games, 8000);
  EXPECT_EQ(o.levels, std::vector<int>(20, 1));
  EXPECT_EQ(RateTexts(o), std::vector<std::string>(20, "1"));
  EXPECT_FALSE(o.seed);
  EXPECT_EQ(o.logDir, "");
  EXPECT_EQ(o.format, ReportFormat::Table);
}

TEST(CliOptions, ListsGiveOneValuePerSeatAndSinglesRepeat) {
  const CommandLine lists = Read({"--seats", "4", "--games", "500", "--seed", "12345", "--levels", "1,2,5,6",
                                  "--rates", "1,0.5,0.55,0", "--format", "json", "--log-dir", "logs"});
  ASSERT_TRUE(lists.options) << lists.error;
  EXPECT_EQ(lists.options->seats, 4);
  EXPECT_EQ(lists.options->games, 500);
  EXPECT_EQ(lists.options->seed, 12345u);
  EXPECT_EQ(lists.options->levels, (std::vector<int>{1, 2, 5, 6}));
  EXPECT_EQ(RateTexts(*lists.options), (std::vector<std::string>{"1", "0.5", "0.55", "0"}));
  EXPECT_EQ(lists.options->format, ReportFormat::Json);
  EXPECT_EQ(lists.options->logDir, "logs");

  const CommandLine singles = Read({"--seats", "3", "--level", "6", "--rate", " 0.75", "--format", "csv"});
  ASSERT_TRUE(singles.options) << singles.error;
  EXPECT_EQ(singles.options->levels, (std::vector<int>{6, 6, 6}));
  EXPECT_EQ(RateTexts(*singles.options), (std::vector<std::string>{" 0.75", " 0.75", " 0.75"})) << "kept as typed";
  EXPECT_EQ(singles.options->format, ReportFormat::Csv);
}

TEST(CliOptions, ZeroSeatsHaveNoSettingsAndAnEmptyListIsOneValueElsewhere) {
  for (const auto& args : {std::vector<std::string>{"--seats", "0"},
                           std::vector<std::string>{"--seats", "0", "--levels", "", "--rates", ""}}) {
    const CommandLine none = Read(args);
    ASSERT_TRUE(none.options) << none.error;
    EXPECT_TRUE(none.options->levels.empty());
    EXPECT_TRUE(none.options->rates.empty());
  }
  const CommandLine one = Read({"--seats", "1", "--levels", ""});
  EXPECT_FALSE(one.options);
  EXPECT_EQ(one.error, "--levels: '' は整数ではありません") << "one seat: an empty list is one empty value";
  const CommandLine two = Read({"--seats", "2", "--rates", ""});
  EXPECT_EQ(two.error, "--rates: 台数と同じ 2 個の値が必要です（1 個あります）。");
}

// A hall of many seats given one long rate text holds it once.
TEST(CliOptions, OneRateTextIsSharedByEverySeat) {
  const std::string rate = "0." + std::string(100000, '5');
  const CommandLine line = Read({"--seats", "100000", "--rate", rate});
  ASSERT_TRUE(line.options) << line.error;
  ASSERT_EQ(line.options->rates.size(), 100000u);
  EXPECT_EQ(line.options->rates.back().text(), rate);
  EXPECT_EQ(&line.options->rates.front().text(), &line.options->rates.back().text());
}

// A hall file gives every default it holds; each option given beside it
// overrides its part, and --seats cuts the file's seats or adds default ones.
TEST(CliOptions, AHallFileGivesTheDefaultsAndOptionsOverrideIt) {
  const ScopedTempDir dir("orvelsim-cli-hall");
  const std::string file = (dir.path() / "h.orvelhall").string();
  HallFileData hall;
  hall.seats = {{6, "0.5"}, {2, " 1"}, {4, "0"}};
  hall.playCount = 300;
  hall.updateInterval = 10;
  hall.seed = 77;
  WriteHallFile(file, hall);

  struct Case {
    std::vector<std::string> args;
    int seats, games;
    std::vector<int> levels;
    std::vector<std::string> rates;
    std::optional<std::uint32_t> seed;
  };
  const std::vector<Case> cases = {
      {{}, 3, 300, {6, 2, 4}, {"0.5", " 1", "0"}, 77u},
      {{"--games", "5", "--seed", "1"}, 3, 5, {6, 2, 4}, {"0.5", " 1", "0"}, 1u},
      {{"--level", "1", "--rates", "1,1,1"}, 3, 300, {1, 1, 1}, {"1", "1", "1"}, 77u},
      {{"--seats", "2"}, 2, 300, {6, 2}, {"0.5", " 1"}, 77u},
      {{"--seats", "4"}, 4, 300, {6, 2, 4, 1}, {"0.5", " 1", "0", "1"}, 77u},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"--hall", file};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CommandLine line = Read(args);
    ASSERT_TRUE(line.options) << line.error;
    EXPECT_EQ(line.options->seats, c.seats);
    EXPECT_EQ(line.options->games, c.games);
    EXPECT_EQ(line.options->levels, c.levels);
    EXPECT_EQ(RateTexts(*line.options), c.rates);
    EXPECT_EQ(line.options->seed, c.seed);
  }

  std::ofstream(file, std::ios::binary | std::ios::trunc) << R"({"format":"orvelhall","version":9})";
  const CommandLine refused = Read({"--hall", file, "--seats", "2"});
  EXPECT_FALSE(refused.options);
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.error.rfind("--hall: ", 0), 0u) << refused.error;
}

TEST(CliOptions, HelpIsPrintedWithStatusZeroAndNoRun) {
  const CommandLine line = Read({"--help"});
  EXPECT_FALSE(line.options);
  EXPECT_EQ(line.status, 0);
  EXPECT_EQ(line.error, "");
  EXPECT_EQ(line.out.rfind("Orvelsim Hall without windows", 0), 0u) << line.out;
  for (const char* option : {"--seats", "--games", "--level", "--levels", "--rate", "--rates", "--seed",
                             "--log-dir", "--format"}) {
    EXPECT_NE(line.out.find(option), std::string::npos) << option;
  }
}

// A refusal: the line the user gets, whole when the program wrote it; when
// the argument parser (CLI11) wrote it, only what it must name.
struct RefusalCase {
  const char* name;
  std::vector<std::string> args;
  std::string message;
  bool fromParser = false;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { test::PrintArguments(c.args, *os); }

class CliOptionsRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(CliOptionsRefusal, GivesStatusTwoAndTheMessage) {
  const RefusalCase& c = GetParam();
  const CommandLine line = Read(c.args);
  EXPECT_FALSE(line.options);
  EXPECT_EQ(line.status, 2);
  EXPECT_EQ(line.out, "");
  if (c.fromParser) {
    EXPECT_NE(line.error.find(c.message), std::string::npos) << line.error;
  } else {
    EXPECT_EQ(line.error, c.message);
  }
  EXPECT_EQ(line.error.find('\n'), std::string::npos) << "one line";
}

const std::string kSeatRange = "台数は、0から100000にしてください。";
const std::string kLevelRange = "設定は、1から6にしてください。";
const std::string kSeedRange = "シードは、0から4294967295の整数にしてください。";

INSTANTIATE_TEST_SUITE_P(
    Cli, CliOptionsRefusal,
    ::testing::Values(
        RefusalCase{"unknown_option", {"--speed", "3"}, "--speed", true},
        RefusalCase{"seats_not_a_number", {"--seats", "many"}, "--seats: 'many' は整数ではありません"},
        RefusalCase{"negative_seats", {"--seats", "-1"}, "--seats: " + kSeatRange},
        RefusalCase{"too_many_seats", {"--seats", "100001"}, "--seats: " + kSeatRange},
        RefusalCase{"most_seats_then_games_refused", {"--seats", "100000", "--games", "x"},
                    "--games: 'x' は整数ではありません"},
        RefusalCase{"zero_games", {"--games", "0"}, "--games: Play数は、1以上にしてください。"},
        RefusalCase{"decimal_games", {"--games", "1.5"}, "--games: '1.5' は整数ではありません"},
        RefusalCase{"level_zero", {"--level", "0"}, "--level: " + kLevelRange},
        RefusalCase{"level_seven", {"--level", "7"}, "--level: " + kLevelRange},
        RefusalCase{"level_and_levels", {"--level", "2", "--levels", "2"}, "--level excludes --levels", true},
        RefusalCase{"rate_and_rates", {"--rate", "1", "--rates", "1"}, "--rate excludes --rates", true},
        RefusalCase{"levels_too_short", {"--seats", "3", "--levels", "1,2"},
                    "--levels: 台数と同じ 3 個の値が必要です（2 個あります）。"},
        RefusalCase{"levels_bad_item", {"--seats", "2", "--levels", "1,x"}, "--levels: 'x' は整数ではありません"},
        RefusalCase{"levels_item_out_of_range", {"--seats", "2", "--levels", "6,7"}, "--levels: " + kLevelRange},
        RefusalCase{"rate_not_a_number", {"--rate", "half"}, "--rate: 'half' は浮動小数点数ではありません"},
        RefusalCase{"rates_too_long", {"--seats", "1", "--rates", "1,1"},
                    "--rates: 台数と同じ 1 個の値が必要です（2 個あります）。"},
        RefusalCase{"rates_empty_item", {"--seats", "2", "--rates", "1,"}, "--rates: '' は浮動小数点数ではありません"},
        RefusalCase{"seed_negative", {"--seed", "-1"}, "--seed: " + kSeedRange},
        RefusalCase{"seed_negative_zero", {"--seed", "-0"}, "--seed: " + kSeedRange},
        RefusalCase{"seed_too_big", {"--seed", "4294967296"}, "--seed: " + kSeedRange},
        RefusalCase{"unknown_format", {"--format", "xml"}, "--format", true},
        // The first refusal wins: the seats before the settings.
        RefusalCase{"seats_before_level", {"--level", "9", "--seats", "x"}, "--seats: 'x' は整数ではありません"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliOptions, TheLargestSeedAndTheFolderAreTakenAsTyped) {
  const CommandLine line = Read({"--seats", "1", "--seed", "4294967295", "--log-dir", "/dev/null/logs"});
  ASSERT_TRUE(line.options) << line.error;
  EXPECT_EQ(line.options->seed, 4294967295u);
  EXPECT_EQ(line.options->logDir, "/dev/null/logs") << "whether it can be written is the run's to find out";
}

// Every option against every typed text.
enum class Take {
  Ok,          // accepted, read as the row's number (rates, folders: kept as typed)
  NoNumber,    // refused: the text is no number of the option's kind
  OutOfRange,  // refused: an integer outside the option's range
};

struct OptionText {
  std::string option;
  const char* textName;
  std::string text;
  Take take;
  std::int64_t number;
};

void PrintTo(const OptionText& c, std::ostream* os) {
  *os << c.option << ' ';
  PrintTypedText(c.text, *os);
}

std::vector<OptionText> EveryOptionAndText() {
  // How each kind of option takes each text, and the number of the
  // accepted integers.
  struct Row {
    Take seats, games, level, rate, seed, logDir;
    std::int64_t number;
  };
  constexpr Take ok = Take::Ok, no = Take::NoNumber, range = Take::OutOfRange;
  const test::Expectations<Row> rows{
      //                         seats  games  level  rate seed log-dir number
      {"empty",                  {no,    no,    no,    no,  no,  no,  0}},
      {"blanks",                 {no,    no,    no,    no,  no,  ok,  0}},
      {"letters",                {no,    no,    no,    no,  no,  ok,  0}},
      {"decimal_point",          {no,    no,    no,    ok,  no,  ok,  0}},
      {"minus_one",              {range, range, range, ok,  no,  ok,  0}},
      {"zero",                   {ok,    range, range, ok,  ok,  ok,  0}},
      {"int_max",                {range, ok,    range, ok,  ok,  ok,  2147483647}},
      {"past_int_max",           {no,    no,    no,    ok,  ok,  ok,  2147483648}},
      {"twenty_nines",           {no,    no,    no,    ok,  no,  ok,  0}},
      {"full_width_digits",      {no,    no,    no,    no,  no,  ok,  0}},
      {"exponent",               {no,    no,    no,    ok,  no,  ok,  0}},
      {"hexadecimal",            {no,    no,    no,    no,  no,  ok,  0}},
      {"plus",                   {ok,    ok,    ok,    ok,  ok,  ok,  5}},
      {"blanks_around",          {ok,    ok,    ok,    ok,  ok,  ok,  4}},
      {"very_long",              {no,    no,    no,    ok,  no,  ok,  0}},
      {"no_break_spaces_around", {no,    no,    no,    no,  no,  ok,  0}},
      {"arabic_indic_digits",    {no,    no,    no,    no,  no,  ok,  0}},
      {"digit_separator",        {no,    no,    no,    no,  no,  ok,  0}},
  };
  std::vector<OptionText> cases;
  test::ForEveryNastyText(rows, [&](const test::TypedText& t, const Row& row) {
    for (const auto& [option, take] : {std::pair{"--seats", row.seats}, std::pair{"--games", row.games},
                                       std::pair{"--level", row.level}, std::pair{"--levels", row.level},
                                       std::pair{"--rate", row.rate}, std::pair{"--rates", row.rate},
                                       std::pair{"--seed", row.seed}, std::pair{"--log-dir", row.logDir},
                                       std::pair{"--format", no}}) {
      cases.push_back({option, t.name, t.text, take, row.number});
    }
  });
  for (const char* format : {"table", "csv", "json"}) cases.push_back({"--format", format, format, ok, 0});
  return cases;
}

// The line a refused text gets, as the user reads it.
std::string RefusalOf(const OptionText& c) {
  const std::string quoted = "'" + c.text + "'";
  if (c.option == "--rate" || c.option == "--rates") return c.option + ": " + quoted + " は浮動小数点数ではありません";
  if (c.option == "--seed") return "--seed: " + kSeedRange;
  if (c.option == "--log-dir") return "--log-dir: フォルダ名が空です。";
  if (c.take == Take::NoNumber) return c.option + ": " + quoted + " は整数ではありません";
  if (c.option == "--seats") return "--seats: " + kSeatRange;
  if (c.option == "--games") return "--games: Play数は、1以上にしてください。";
  return c.option + ": " + kLevelRange;
}

class CliOptionText : public ::testing::TestWithParam<OptionText> {};

TEST_P(CliOptionText, IsReadOrRefusedInOneLine) {
  const OptionText& c = GetParam();
  // One seat, so that list options take a single value; few games.
  std::vector<std::string> args{"--seats", "1", "--games", "3", c.option, c.text};
  if (c.option == "--seats") args = {"--games", "3", c.option, c.text};
  if (c.option == "--games") args = {"--seats", "1", c.option, c.text};
  const CommandLine line = Read(args);
  if (c.take != Take::Ok) {
    EXPECT_FALSE(line.options);
    EXPECT_EQ(line.status, 2);
    if (c.option == "--format") {
      // CLI11's own words; they name the option.
      EXPECT_EQ(line.error.rfind("--format", 0), 0u) << line.error;
    } else {
      EXPECT_EQ(line.error, RefusalOf(c));
    }
    return;
  }
  ASSERT_TRUE(line.options) << line.error;
  EXPECT_EQ(line.status, 0);
  EXPECT_EQ(line.error, "");
  const CliOptions& o = *line.options;
  if (c.option == "--seats") {
    EXPECT_EQ(o.seats, c.number);
  }
  if (c.option == "--games") {
    EXPECT_EQ(o.games, c.number);
  }
  if (c.option == "--level" || c.option == "--levels") {
    EXPECT_EQ(o.levels, std::vector<int>{static_cast<int>(c.number)});
  }
  if (c.option == "--rate" || c.option == "--rates") {
    EXPECT_EQ(RateTexts(o), std::vector<std::string>{c.text});
  }
  if (c.option == "--seed") {
    EXPECT_EQ(o.seed, c.number);
  }
  if (c.option == "--log-dir") {
    EXPECT_EQ(o.logDir, c.text) << "a folder name is taken as typed";
  }
  if (c.option == "--format") {
    const ReportFormat expected = c.text == "csv"    ? ReportFormat::Csv
                                  : c.text == "json" ? ReportFormat::Json
                                                     : ReportFormat::Table;
    EXPECT_EQ(o.format, expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Cli, CliOptionText, ::testing::ValuesIn(EveryOptionAndText()),
                         [](const auto& info) {
                           std::string name = info.param.option.substr(2) + "_" + info.param.textName;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace orvel::cli
