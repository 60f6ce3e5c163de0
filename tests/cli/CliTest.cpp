// orvelsim-cli run as a user runs it, for what only the running program
// shows: its output against checked-in files, exit statuses, the one line
// on stderr, the files --log-dir writes, a failing stdout. How every option
// text is read is tested in-process (CliOptionsTest.cpp); the few refusals
// here prove the wiring from the command line to stderr and the status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "ScopedTempDir.h"
#include "TypedTexts.h"

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
  CliResult Run(const std::vector<std::string>& args) const {
    std::string command = ShellQuote(ORVELSIM_CLI);
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    command += " >" + ShellQuote((dir_ / "out").string()) + " 2>" + ShellQuote((dir_ / "err").string()) +
               " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir_ / "out"), Slurp(dir_ / "err")};
  }

  const ScopedTempDir temp_{"orvelsim-cli-test"};
  const fs::path& dir_ = temp_.path();
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

TEST(CliWorkingFolder, GoesWithEverythingInIt) {
  fs::path kept;
  {
    const ScopedTempDir dir("orvelsim-cli-test");
    kept = dir.path();
    ASSERT_TRUE(fs::is_directory(kept));
    EXPECT_TRUE(fs::is_empty(kept));
    fs::create_directories(kept / "logs" / "deep");
    std::ofstream(kept / "logs" / "deep" / "hall.csv") << "game,balance\n";
    const ScopedTempDir other("orvelsim-cli-test");
    EXPECT_NE(other.path(), kept);
  }
  EXPECT_FALSE(fs::exists(kept));
}

struct ProcessCase {
  const char* name;
  std::vector<std::string> args;
  int status;
  std::string err;  // the whole of stderr
};

void PrintTo(const ProcessCase& c, std::ostream* os) { orvel::test::PrintArguments(c.args, *os); }

class CliProcess : public CliTest, public ::testing::WithParamInterface<ProcessCase> {};

TEST_P(CliProcess, EndsWithItsStatusAndAtMostOneLineOnStderr) {
  const ProcessCase& c = GetParam();
  const CliResult r = Run(c.args);
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.err, c.err);
  if (c.status == 0) {
    EXPECT_NE(r.out, "");
  } else {
    EXPECT_EQ(r.out, "");
  }
}

// One case for each way out of the program: a parser refusal, an option
// refusal, a list refusal, a folder that cannot be made, a run.
INSTANTIATE_TEST_SUITE_P(
    Cli, CliProcess,
    ::testing::Values(
        ProcessCase{"unknown_option", {"--speed", "3"}, 2,
                    "orvelsim-cli: The following arguments were not expected: 3 --speed\n"},
        ProcessCase{"seats_full_width", {"--seats", "１２"}, 2, "orvelsim-cli: --seats: '１２' は整数ではありません\n"},
        ProcessCase{"levels_too_short", {"--seats", "3", "--levels", "1,2"}, 2,
                    "orvelsim-cli: --levels: 台数と同じ 3 個の値が必要です（2 個あります）。\n"},
        ProcessCase{"log_dir_under_a_file", {"--games", "1", "--log-dir", "/dev/null/logs"}, 2,
                    "orvelsim-cli: --log-dir: '/dev/null/logs' を作れません: Not a directory\n"},
        ProcessCase{"blanks_around_every_number",
                    {"--seats", " 2 ", "--games", "\t3", "--level", "+6", "--rate", " 0.5 ", "--seed", " +7 ",
                     "--format", "csv"},
                    0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, AFolderNameTooLongForTheSystemIsRefusedInOneLine) {
  const std::string name = std::string(32767, '9');
  const CliResult r = Run({"--seats", "1", "--games", "3", "--log-dir", name});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("orvelsim-cli: --log-dir: '" + name + "' を作れません: ", 0), 0u) << r.err.substr(0, 200);
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
}

TEST_F(CliTest, HelpGoesToStdoutWithStatusZero) {
  const CliResult r = Run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("Orvelsim Hall without windows", 0), 0u) << r.out;
}

}  // namespace
