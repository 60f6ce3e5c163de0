// orvelsim-cli run as a user runs it, for what only the running program
// shows: its output against checked-in files, exit statuses, the one line
// on stderr, the files --log-dir writes, a failing stdout. How every option
// text is read is tested in-process (CliOptionsTest.cpp); the few refusals
// here prove the wiring from the command line to stderr and the status.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CliProcess.h"
#include "ScopedTempDir.h"
#include "TypedTexts.h"
#include "core/hall/Hall.h"
#include "core/hall/HallFile.h"
#include "core/model/Random.h"

namespace {

namespace fs = std::filesystem;

using orvel::test::CliResult;
using orvel::test::Shell;
using orvel::test::ShellQuote;
using orvel::test::Slurp;

class CliTest : public ::testing::Test {
protected:
  CliResult Run(const std::vector<std::string>& args) const { return orvel::test::RunProgram(dir_, ORVELSIM_CLI, args); }

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

// The files are written row by row as the games are played; they hold what
// the same hall played in-process logs, written here by hand.
TEST_F(CliTest, StreamedLogFilesHoldTheSeededHallsLogsAndNoPartialFile) {
  const CliResult r = Run(
      {"--seats", "3", "--games", "3000", "--seed", "99", "--rates", "1,0.5,0", "--log-dir", (dir_ / "logs").string()});
  ASSERT_EQ(r.status, 0) << r.err;

  orvel::Hall hall;
  hall.CreateSeats(3);
  orvel::SeedRandom(99);
  hall.ResetMachines();
  hall.SetRateText(1, "0.5");
  hall.SetRateText(2, "0");
  std::string balances = "game,balance\n";
  for (int g = 0; g < 3000; ++g) {
    hall.PlayHallGame(g);
    balances += std::to_string(g) + "," + std::to_string(-hall.SumMedals()) + "\n";
  }
  EXPECT_EQ(Slurp(dir_ / "logs" / "hall.csv"), balances);
  for (int seat = 0; seat < 3; ++seat) {
    const orvel::TSimResultData& log = hall.PlayLog(seat);
    std::string expected = "sinceBB,medal,chainCount,playCount,bbKind,keizokuMode,mode,lastKoyaku\n";
    for (int e = 0; e < log.Length(); ++e) {
      for (int c = 0; c < orvel::TSimResultData::kColumns; ++c) {
        expected += (c > 0 ? "," : "") + std::to_string(log.At(static_cast<orvel::ResultColumn>(c), e));
      }
      expected += "\n";
    }
    const std::string name = "seat_00" + std::to_string(seat + 1) + ".csv";
    EXPECT_EQ(Slurp(dir_ / "logs" / name), expected) << name;
  }
  EXPECT_EQ(hall.PlayLog(1).Length(), 1500);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir_ / "logs")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"hall.csv", "seat_001.csv", "seat_002.csv", "seat_003.csv"}));
}

std::vector<std::string> FilesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Output that cannot be written is status 1 and one line naming it and the
// system's reason, never success and never the report in a log file.
TEST_F(CliTest, StandardOutputThatCannotBeWrittenIsAnError) {
  const std::string cli = ShellQuote(ORVELSIM_CLI);
  // A small table fails at the end, a big one while it is written.
  for (const char* seats : {"2", "3000"}) {
    const CliResult full = Shell(dir_, cli + " --seats " + seats + " --games 5 --seed 1 >/dev/full");
    EXPECT_EQ(full.status, 1) << seats;
    EXPECT_EQ(full.err, "orvelsim-cli: 標準出力 の書き込みに失敗しました（No space left on device）。\n") << seats;
  }

  // Closed, the first file opened would have taken its place.
  const fs::path logs = dir_ / "logs";
  const CliResult closed =
      Shell(dir_, cli + " --seats 2 --games 5 --seed 1 --log-dir " + ShellQuote(logs.string()) + " >&-");
  EXPECT_EQ(closed.status, 1);
  EXPECT_EQ(closed.err, "orvelsim-cli: 標準出力 の書き込みに失敗しました（閉じています）。\n");
  EXPECT_FALSE(fs::exists(logs / "hall.csv"));
}

// A log file whose writes fail (here it leads to /dev/full): the run ends
// at the first failed write, not after all its hall games, and leaves no
// file, partial or looking complete.
TEST_F(CliTest, ALogFileOnAFullDiskEndsTheRunAtOnce) {
  for (const auto& [seats, file] : {std::pair{"0", "hall.csv"}, std::pair{"2", "seat_002.csv"}}) {
    SCOPED_TRACE(file);
    const fs::path logs = dir_ / (std::string("logs_") + file);
    fs::create_directories(logs);
    fs::create_symlink("/dev/full", logs / (std::string(file) + ".part"));
    const CliResult r = Shell(dir_, ShellQuote(ORVELSIM_CLI) + " --seats " + seats +
                                        " --games 2147483647 --seed 1 --log-dir " + ShellQuote(logs.string()));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "orvelsim-cli: " + (logs / file).string() + " の書き込みに失敗しました（No space left on device）。\n");
    EXPECT_EQ(FilesIn(logs), std::vector<std::string>{});
  }
}

// A log file that cannot even be made: status 1 naming it, and the files
// made before it are gone too.
TEST_F(CliTest, ALogFileThatCannotBeMadeLeavesNoFiles) {
  const fs::path logs = dir_ / "logs";
  fs::create_directories(logs / "seat_002.csv.part");
  const CliResult r = Run({"--seats", "3", "--games", "5", "--seed", "1", "--log-dir", logs.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "orvelsim-cli: " + (logs / "seat_002.csv").string() + " の書き込みに失敗しました（Is a directory）。\n");
  EXPECT_EQ(FilesIn(logs), std::vector<std::string>{"seat_002.csv.part"}) << "only what was there before";
}

// A file that cannot take its name after the run (a folder in the way):
// status 1 naming it, and the finished run's table is still printed.
TEST_F(CliTest, ALogFileThatCannotBeCompletedKeepsTheTable) {
  const fs::path logs = dir_ / "logs";
  fs::create_directories(logs / "seat_001.csv" / "in the way");
  const std::vector<std::string> args{"--seats", "2", "--games", "50", "--seed", "8"};
  std::vector<std::string> withLogs = args;
  withLogs.insert(withLogs.end(), {"--log-dir", logs.string()});
  const CliResult r = Run(withLogs);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, Run(args).out);
  EXPECT_EQ(r.err.rfind("orvelsim-cli: " + (logs / "seat_001.csv").string() + " の書き込みに失敗しました（", 0), 0u)
      << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}

// A log file that stops growing half-way (here the file size limit, its
// signal ignored, so that the write itself fails) ends the run with status
// 1 and leaves no file behind, partial or looking complete.
TEST_F(CliTest, AFailedLogWriteLeavesNoLogFile) {
  const fs::path logs = dir_ / "logs";
  const std::string command = "trap '' XFSZ; ulimit -f 64 && exec " + ShellQuote(ORVELSIM_CLI) +
                              " --seats 2 --games 100000 --seed 1 --log-dir " + ShellQuote(logs.string()) + " >" +
                              ShellQuote((dir_ / "out").string()) + " 2>" + ShellQuote((dir_ / "err").string());
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  EXPECT_EQ(Slurp(dir_ / "out"), "");
  EXPECT_EQ(Slurp(dir_ / "err"),
            "orvelsim-cli: " + (logs / "seat_001.csv").string() + " の書き込みに失敗しました（File too large）。\n");
  EXPECT_TRUE(fs::is_directory(logs));
  EXPECT_TRUE(fs::is_empty(logs));
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

struct SignalCase {
  const char* name;
  int signal;
  int status;
};

void PrintTo(const SignalCase& c, std::ostream* os) { *os << c.name; }

class CliSignal : public CliTest, public ::testing::WithParamInterface<SignalCase> {};

// A signal stops a run that would go on for hours after the hall game it
// is in: its own status, one line on stderr, and no log file left, partial
// or looking complete.
TEST_P(CliSignal, StopsTheRunAndLeavesNoLogFile) {
  const SignalCase& c = GetParam();
  const fs::path logs = dir_ / "logs";
  const std::string out = (dir_ / "out").string(), err = (dir_ / "err").string(), logDir = logs.string();
  const pid_t pid = fork();
  ASSERT_NE(pid, -1);
  if (pid == 0) {
    const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0) _exit(126);
    execl(ORVELSIM_CLI, ORVELSIM_CLI, "--seats", "2", "--games", "2000000000", "--seed", "5", "--log-dir",
          logDir.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // The hall games have begun once the first rows reach hall.csv's partial
  // file; the bound only keeps a broken program from hanging the test.
  using Clock = std::chrono::steady_clock;
  const fs::path part = logs / "hall.csv.part";
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  std::error_code ignored;
  while (!(fs::exists(part, ignored) && fs::file_size(part, ignored) > 0) && Clock::now() < deadline) {
    int raw = 0;
    ASSERT_EQ(waitpid(pid, &raw, WNOHANG), 0) << "ended before its first rows: " << Slurp(err);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(kill(pid, c.signal), 0);
  int raw = 0;
  pid_t ended = 0;
  const auto stopBy = Clock::now() + std::chrono::seconds(30);
  while ((ended = waitpid(pid, &raw, WNOHANG)) == 0 && Clock::now() < stopBy) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (ended == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &raw, 0);
    FAIL() << "still running after the signal";
  }
  ASSERT_TRUE(WIFEXITED(raw)) << "ended by a signal, not by itself";
  EXPECT_EQ(WEXITSTATUS(raw), c.status);
  EXPECT_EQ(Slurp(dir_ / "out"), "");
  const std::string message = Slurp(dir_ / "err");
  EXPECT_EQ(message.rfind(std::string("orvelsim-cli: ") + c.name + " で中断しました（", 0), 0u) << message;
  EXPECT_EQ(message.find('\n'), message.size() - 1) << "one line: " << message;
  EXPECT_NE(message.find(" / 2000000000 ホールゲーム）。ログのファイルは残していません。"), std::string::npos)
      << message;
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(logs)) left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Cli, CliSignal,
                         ::testing::Values(SignalCase{"SIGINT", SIGINT, 130}, SignalCase{"SIGTERM", SIGTERM, 143}),
                         [](const auto& info) { return std::string(info.param.name); });

// A hall too big for the memory there is: one line naming the seat count,
// status 1. The sanitizers reserve more address space than the limit allows.
TEST_F(CliTest, RunningOutOfMemoryNamesTheSeatsInOneLine) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "an address-space limit leaves AddressSanitizer no room to start";
#else
  const std::string command = "ulimit -v 262144 && exec " + ShellQuote(ORVELSIM_CLI) + " --seats 100000 --games 1 >" +
                              ShellQuote((dir_ / "out").string()) + " 2>" + ShellQuote((dir_ / "err").string());
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  EXPECT_EQ(Slurp(dir_ / "out"), "");
  // Said before anything is made, with what the hall would need.
  const std::string err = Slurp(dir_ / "err");
  EXPECT_EQ(err.rfind("orvelsim-cli: メモリが足りません：100000 台には約 ", 0), 0u) << err;
  EXPECT_NE(err.find(" MB 必要ですが、使えるメモリは約 "), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
#endif
}

TEST_F(CliTest, AFolderNameTooLongForTheSystemIsRefusedInOneLine) {
  const std::string name = std::string(32767, '9');
  const CliResult r = Run({"--seats", "1", "--games", "3", "--log-dir", name});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("orvelsim-cli: --log-dir: '" + name + "' を作れません: ", 0), 0u) << r.err.substr(0, 200);
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
}

// A hall file plays as the same hall given by options does; a hall too
// big for the command line's per-seat lists comes in that way.
TEST_F(CliTest, AHallFileRunsAsItsOptionsDoUpToAHundredThousandSeats) {
  orvel::HallFileData hall;
  hall.seats = {{1, "1"}, {2, "0.5"}, {5, "0.55"}, {6, "0"}, {3, " 1e-1"}};
  hall.playCount = 400;
  hall.updateInterval = 1;
  hall.seed = 9;
  orvel::WriteHallFile(dir_ / "small.orvelhall", hall);
  const CliResult fromFile = Run({"--hall", (dir_ / "small.orvelhall").string(), "--format", "csv"});
  ASSERT_EQ(fromFile.status, 0) << fromFile.err;
  const CliResult fromOptions = Run({"--seats", "5", "--levels", "1,2,5,6,3", "--rates", "1,0.5,0.55,0, 1e-1",
                                     "--games", "400", "--seed", "9", "--format", "csv"});
  ASSERT_EQ(fromOptions.status, 0) << fromOptions.err;
  EXPECT_EQ(fromFile.out, fromOptions.out);

  hall.seats.assign(100000, orvel::HallFileSeat{3, "0.5"});
  hall.playCount = 2;
  orvel::WriteHallFile(dir_ / "big.orvelhall", hall);
  const CliResult big = Run({"--hall", (dir_ / "big.orvelhall").string(), "--format", "csv"});
  ASSERT_EQ(big.status, 0) << big.err;
  // The captions, a row per seat, a blank line, the balance's two lines.
  EXPECT_EQ(std::count(big.out.begin(), big.out.end(), '\n'), 1 + 100000 + 3);
  EXPECT_NE(big.out.find("\n100000,3,0.5,1,"), std::string::npos);

  const CliResult refused = Run({"--hall", (dir_ / "missing.orvelhall").string()});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("orvelsim-cli: --hall: "), std::string::npos) << refused.err;
}

TEST_F(CliTest, HelpGoesToStdoutWithStatusZero) {
  const CliResult r = Run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("Orvelsim Hall without windows", 0), 0u) << r.out;
}

// ---- orvelsim-cli study ----

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(text);
  std::string line, field;
  while (std::getline(in, line)) {
    std::vector<std::string> row;
    std::istringstream fields(line);
    while (std::getline(fields, field, ',')) row.push_back(field);
    rows.push_back(row);
  }
  return rows;
}

// Day d of a study is the plain run with seed S + d: the day rows against
// the plain program's own reports, across the 2^32 wrap of the seed.
TEST_F(CliTest, StudyDaysAreThePlainRunsWithTheDaysSeeds) {
  const std::string csv = (dir_ / "days.csv").string();
  const CliResult study = Run({"study", "--seats", "4", "--games", "500", "--levels", "1,2,5,6", "--rates",
                               "1,0.5,0.55,0", "--seed", "4294967294", "--days", "3", "--days-csv", csv});
  ASSERT_EQ(study.status, 0) << study.err;
  const auto rows = CsvRows(Slurp(csv));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"day", "seed", "hallMedals", "hallYen"}));
  const std::vector<std::string> seeds{"4294967294", "4294967295", "0"};
  for (std::size_t d = 0; d < seeds.size(); ++d) {
    const auto& row = rows[d + 1];
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(row[0], std::to_string(d));
    EXPECT_EQ(row[1], seeds[d]);
    const CliResult plain = Run({"--seats", "4", "--games", "500", "--levels", "1,2,5,6", "--rates", "1,0.5,0.55,0",
                                 "--seed", seeds[d], "--format", "csv"});
    const auto plainRows = CsvRows(plain.out);
    ASSERT_FALSE(plainRows.empty());
    EXPECT_EQ(plainRows.back(), (std::vector<std::string>{row[2], row[3]})) << "day " << d;
  }
}

// The same bytes whatever the thread count, and the table as checked in.
TEST_F(CliTest, StudyPrintsTheSameOnAnyThreadCount) {
  const std::vector<std::string> args{"study",   "--seats",      "4",      "--games", "500",    "--levels", "1,2,5,6",
                                      "--rates", "1,0.5,0.55,0", "--seed", "12345",   "--days", "30"};
  std::string firstCsv;
  for (const char* threads : {"1", "3"}) {
    std::vector<std::string> withThreads = args;
    const std::string csv = (dir_ / (std::string("days") + threads + ".csv")).string();
    withThreads.insert(withThreads.end(), {"--threads", threads, "--days-csv", csv});
    const CliResult r = Run(withThreads);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "") << "no progress bar when stderr is no terminal";
    EXPECT_EQ(r.out, Slurp(fs::path(ORVELSIM_GOLDEN_DIR) / "study_table_seed12345.txt")) << threads << " threads";
    const std::string days = Slurp(csv);
    EXPECT_EQ(CsvRows(days).size(), 31u);
    if (firstCsv.empty()) firstCsv = days;
    EXPECT_EQ(days, firstCsv) << threads << " threads";
    EXPECT_FALSE(fs::exists(csv + ".part"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Study, CliProcess,
    ::testing::Values(ProcessCase{"study_zero_days",
                                  {"study", "--days", "0"},
                                  2,
                                  "orvelsim-cli: --days: 日数は、1から10000000にしてください。\n"},
                      ProcessCase{"study_too_many_threads",
                                  {"study", "--days", "1", "--threads", "1025"},
                                  2,
                                  "orvelsim-cli: --threads: スレッド数は、1から1024にしてください。\n"},
                      ProcessCase{"study_days_csv_under_a_file",
                                  {"study", "--days", "1", "--days-csv", "/dev/null/d.csv"},
                                  2,
                                  "orvelsim-cli: --days-csv: /dev/null/d.csv を作れません。\n"},
                      ProcessCase{
                          "study_one_day", {"study", "--days", "1", "--games", "10", "--format", "json"}, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Ctrl-C ends a long study with the days finished so far: the report marked
// partial, one line on stderr, status 130, the day file holding those days.
TEST_F(CliTest, StudyStoppedBySigintReportsTheFinishedDaysAsPartial) {
  const std::string out = (dir_ / "out").string(), err = (dir_ / "err").string();
  const std::string csv = (dir_ / "days.csv").string();
  const pid_t pid = fork();
  ASSERT_NE(pid, -1);
  if (pid == 0) {
    const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0) _exit(126);
    execl(ORVELSIM_CLI, ORVELSIM_CLI, "study", "--days", "10000000", "--threads", "2", "--seed", "3", "--format",
          "json", "--days-csv", csv.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // The days have begun once the file's partial copy exists.
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  std::error_code ignored;
  while (!fs::exists(csv + ".part", ignored) && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_EQ(kill(pid, SIGINT), 0);
  int raw = 0;
  pid_t ended = 0;
  const auto stopBy = Clock::now() + std::chrono::seconds(30);
  while ((ended = waitpid(pid, &raw, WNOHANG)) == 0 && Clock::now() < stopBy) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (ended == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &raw, 0);
    FAIL() << "still running after the signal";
  }
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 130);
  const std::string message = Slurp(err);
  EXPECT_EQ(message.rfind("orvelsim-cli: SIGINT で中断しました（", 0), 0u) << message;
  EXPECT_EQ(message.find('\n'), message.size() - 1) << "one line: " << message;
  const std::string report = Slurp(out);
  EXPECT_NE(report.find("\"partial\": true"), std::string::npos) << report;
  const std::size_t rows = CsvRows(Slurp(csv)).size() - 1;
  EXPECT_NE(report.find("\"days\": " + std::to_string(rows) + ","), std::string::npos) << rows << " rows\n" << report;
}

}  // namespace
