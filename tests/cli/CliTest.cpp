#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class CliTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orvelsim-cli-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  CliResult Run(const std::vector<std::string>& args) const {
    std::string command = ShellQuote(ORVELSIM_CLI);
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    command += " >" + ShellQuote((dir_ / "out").string()) + " 2>" + ShellQuote((dir_ / "err").string()) +
               " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir_ / "out"), Slurp(dir_ / "err")};
  }

  fs::path dir_;
};

const std::vector<std::string> kGoldenArgs{"--seats", "4",          "--games", "500",
                                           "--seed",  "12345",      "--levels", "1,2,5,6",
                                           "--rates", "1,0.5,0.55,0"};

TEST_F(CliTest, SeededRunMatchesTheCheckedInTable) {
  const CliResult result = Run(kGoldenArgs);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "") << "no progress bar when stderr is no terminal";
  EXPECT_EQ(result.out, Slurp(fs::path(ORVELSIM_GOLDEN_DIR) / "table_seed12345.txt"));

  std::vector<std::string> json = kGoldenArgs;
  json.insert(json.end(), {"--format", "json"});
  EXPECT_EQ(Run(json).out, Slurp(fs::path(ORVELSIM_GOLDEN_DIR) / "json_seed12345.txt"));
}

TEST_F(CliTest, TheSameSeedWritesIdenticalFilesAndAnotherSeedDiffers) {
  auto runInto = [&](const std::string& name, const std::string& seed) {
    const CliResult r = Run({"--seats", "3", "--games", "300", "--seed", seed, "--rate", "0.75",
                             "--log-dir", (dir_ / name).string(), "--format", "csv"});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  };
  const std::string first = runInto("a", "7");
  const std::string second = runInto("b", "7");
  const std::string other = runInto("c", "8");
  EXPECT_EQ(first, second);
  EXPECT_NE(first, other);
  for (const char* file : {"hall.csv", "seat_001.csv", "seat_002.csv", "seat_003.csv"}) {
    EXPECT_EQ(Slurp(dir_ / "a" / file), Slurp(dir_ / "b" / file)) << file;
  }
  EXPECT_NE(Slurp(dir_ / "a" / "seat_001.csv"), Slurp(dir_ / "c" / "seat_001.csv"));
}

TEST_F(CliTest, LogFilesHaveTheirHeadersAndOneRowPerGame) {
  const CliResult r = Run({"--seats", "2", "--games", "40", "--seed", "3", "--rates", "1,0.5",
                           "--log-dir", (dir_ / "logs" / "deep").string(), "--format", "csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  };
  const auto seat1 = lines(Slurp(dir_ / "logs" / "deep" / "seat_001.csv"));
  const auto seat2 = lines(Slurp(dir_ / "logs" / "deep" / "seat_002.csv"));
  const auto hall = lines(Slurp(dir_ / "logs" / "deep" / "hall.csv"));
  ASSERT_EQ(seat1.size(), 41u);
  ASSERT_EQ(seat2.size(), 21u);
  ASSERT_EQ(hall.size(), 41u);
  EXPECT_EQ(seat1[0], "sinceBB,medal,chainCount,playCount,bbKind,keizokuMode,mode,lastKoyaku");
  EXPECT_EQ(hall[0], "game,balance");
  EXPECT_EQ(hall[1].substr(0, 2), "0,");
  EXPECT_EQ(hall[40].substr(0, 3), "39,");
  // The last balance is minus the two seats' last medals, and the report says so.
  auto field = [](const std::string& row, int index) {
    std::istringstream in(row);
    std::string value;
    for (int i = 0; i <= index; ++i) std::getline(in, value, ',');
    return std::stoll(value);
  };
  const long long balance = -(field(seat1.back(), 1) + field(seat2.back(), 1));
  EXPECT_EQ(field(hall.back(), 1), balance);
  const auto report = lines(r.out);
  EXPECT_EQ(report.back(), std::to_string(balance) + "," + std::to_string(balance * 20));
  EXPECT_EQ(field(seat2.back(), 3), 20) << "playCount of the rate-0.5 seat";
}

TEST_F(CliTest, AFailureWhileWritingEndsWithStatusOne) {
  const std::string command = ShellQuote(ORVELSIM_CLI) + " --seats 2 --games 5 --seed 1 >/dev/full 2>/dev/null";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 1);
}

struct BadCase {
  const char* name;
  std::vector<std::string> args;
};

class CliRefusal : public CliTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(CliRefusal, OneLineOnStderrAndStatusTwo) {
  const CliResult r = Run(GetParam().args);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  ASSERT_FALSE(r.err.empty());
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  EXPECT_EQ(r.err.rfind("orvelsim-cli: ", 0), 0u) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliRefusal,
    ::testing::Values(
        BadCase{"unknown_option", {"--speed", "3"}},
        BadCase{"seats_not_a_number", {"--seats", "many"}},
        BadCase{"negative_seats", {"--seats", "-1"}},
        BadCase{"too_many_seats", {"--seats", "100001"}},
        BadCase{"zero_games", {"--games", "0"}},
        BadCase{"decimal_games", {"--games", "1.5"}},
        BadCase{"level_zero", {"--level", "0"}},
        BadCase{"level_seven", {"--level", "7"}},
        BadCase{"level_and_levels", {"--level", "2", "--levels", "2"}},
        BadCase{"levels_too_short", {"--seats", "3", "--levels", "1,2"}},
        BadCase{"levels_bad_item", {"--seats", "2", "--levels", "1,x"}},
        BadCase{"rate_not_a_number", {"--rate", "half"}},
        BadCase{"rates_too_long", {"--seats", "1", "--rates", "1,1"}},
        BadCase{"rates_empty_item", {"--seats", "2", "--rates", "1,"}},
        BadCase{"seed_negative", {"--seed", "-1"}},
        BadCase{"seed_too_big", {"--seed", "4294967296"}},
        BadCase{"unknown_format", {"--format", "xml"}},
        BadCase{"log_dir_under_a_file", {"--games", "1", "--log-dir", "/dev/null/logs"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every option against the texts users get wrong: each is either accepted
// (the run completes) or refused with one line and status 2.
struct OptionText {
  std::string option;
  std::string text;
  bool accepted;
};

std::vector<OptionText> EveryOptionAndText() {
  const std::string longText(40000, '9');
  // Whether each text is a valid value of each kind of option.
  struct Row {
    std::string text;
    bool seats, games, level, rate, seed;
  };
  const std::vector<Row> rows{
      {"", false, false, false, false, false},
      {"   ", false, false, false, false, false},
      {"abc", false, false, false, false, false},
      {"1.5", false, false, false, true, false},
      {"-1", false, false, false, true, false},
      {"0", true, false, false, true, true},
      {"2147483647", false, true, false, true, true},
      {"2147483648", false, false, false, true, true},
      {"99999999999999999999", false, false, false, true, false},
      {"１２", false, false, false, false, false},
      {"1e3", false, false, false, true, false},
      {"0x10", false, false, false, false, false},
      {"+5", true, true, true, true, true},
      {" 3 ", true, true, true, true, true},
      {longText, false, false, false, true, false},
  };
  std::vector<OptionText> cases;
  for (const Row& row : rows) {
    cases.push_back({"--seats", row.text, row.seats});
    // A valid but huge play count would run for minutes; its acceptance is
    // the integer conversion's, tested with the others.
    if (row.text != "2147483647") cases.push_back({"--games", row.text, row.games});
    cases.push_back({"--level", row.text, row.level});
    cases.push_back({"--levels", row.text, row.level});
    cases.push_back({"--rate", row.text, row.rate});
    cases.push_back({"--rates", row.text, row.rate});
    cases.push_back({"--seed", row.text, row.seed});
    cases.push_back({"--format", row.text, false});
  }
  cases.push_back({"--log-dir", "", false});
  cases.push_back({"--log-dir", longText, false});
  cases.push_back({"--format", "csv", true});
  return cases;
}

class CliOptionText : public CliTest, public ::testing::WithParamInterface<OptionText> {};

TEST_P(CliOptionText, IsAcceptedOrRefusedInOneLine) {
  const OptionText& c = GetParam();
  // One seat, so that list options take a single value; few games.
  std::vector<std::string> args{"--seats", "1", "--games", "3", c.option, c.text};
  if (c.option == "--seats") args = {"--games", "3", c.option, c.text};
  if (c.option == "--games") args = {"--seats", "1", c.option, c.text};
  const CliResult r = Run(args);
  if (c.accepted) {
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
  } else {
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err.substr(0, 200);
  }
}

INSTANTIATE_TEST_SUITE_P(Cli, CliOptionText, ::testing::ValuesIn(EveryOptionAndText()),
                         [](const auto& info) {
                           std::string name = info.param.option.substr(2) + "_" + std::to_string(info.index);
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
