// `orvelsim-cli study`'s command line read in-process: the study's own
// options at and past their bounds, the shared ones still refused first.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "TypedTexts.h"
#include "cli/StudyOptions.h"

namespace orvel::cli {
namespace {

StudyCommandLine ReadStudy(const std::vector<std::string>& args, int cores = 2) {
  std::vector<const char*> argv{"study"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  return ReadStudyCommandLine(static_cast<int>(argv.size()), argv.data(), cores);
}

TEST(StudyOptions, TheBoundsAreTakenAndTheHallOptionsAreTheRunsOwn) {
  const StudyCommandLine line = ReadStudy({"--days", "10000000", "--threads", "1024", "--seats", "3", "--levels",
                                           "1,2,6", "--seed", "9", "--days-csv", "days.csv", "--format", "json"});
  ASSERT_TRUE(line.options) << line.error;
  EXPECT_EQ(line.options->days, 10000000);
  EXPECT_EQ(line.options->threads, 1024);
  EXPECT_EQ(line.options->daysCsv, "days.csv");
  EXPECT_EQ(line.options->hall.levels, (std::vector<int>{1, 2, 6}));
  EXPECT_EQ(line.options->hall.seed, 9u);
  EXPECT_EQ(line.options->hall.format, ReportFormat::Json);

  const StudyCommandLine least = ReadStudy({"--days", "1"}, 8);
  ASSERT_TRUE(least.options) << least.error;
  EXPECT_EQ(least.options->days, 1);
  EXPECT_EQ(least.options->threads, 8) << "every core by default";
  EXPECT_EQ(ReadStudy({"--days", "1"}, 0).options->threads, 1) << "a system that cannot tell its cores";
}

struct StudyRefusal {
  const char* name;
  std::vector<std::string> args;
  std::string message;
  bool fromParser = false;
};

void PrintTo(const StudyRefusal& c, std::ostream* os) { test::PrintArguments(c.args, *os); }

class StudyOptionsRefusal : public ::testing::TestWithParam<StudyRefusal> {};

TEST_P(StudyOptionsRefusal, GivesStatusTwoAndOneLine) {
  const StudyRefusal& c = GetParam();
  const StudyCommandLine line = ReadStudy(c.args);
  EXPECT_FALSE(line.options);
  EXPECT_EQ(line.status, 2);
  if (c.fromParser) {
    EXPECT_NE(line.error.find(c.message), std::string::npos) << line.error;
  } else {
    EXPECT_EQ(line.error, c.message);
  }
  EXPECT_EQ(line.error.find('\n'), std::string::npos) << "one line";
}

const std::string kDays = "--days: 日数は、1から10000000にしてください。";
const std::string kThreads = "--threads: スレッド数は、1から1024にしてください。";

INSTANTIATE_TEST_SUITE_P(
    Cli, StudyOptionsRefusal,
    ::testing::Values(
        StudyRefusal{"no_days", {"--seed", "1"}, "--days: 日数を指定してください。"},
        StudyRefusal{"zero_days", {"--days", "0"}, kDays},
        StudyRefusal{"days_past_ten_million", {"--days", "10000001"}, kDays},
        StudyRefusal{"days_not_a_number", {"--days", "1e3"}, "--days: '1e3' は整数ではありません"},
        StudyRefusal{"zero_threads", {"--days", "1", "--threads", "0"}, kThreads},
        StudyRefusal{"threads_past_1024", {"--days", "1", "--threads", "1025"}, kThreads},
        StudyRefusal{
            "threads_not_a_number", {"--days", "1", "--threads", "all"}, "--threads: 'all' は整数ではありません"},
        StudyRefusal{"empty_days_csv", {"--days", "1", "--days-csv", ""}, "--days-csv: ファイル名が空です。"},
        StudyRefusal{"no_log_dir_in_a_study", {"--days", "1", "--log-dir", "x"}, "--log-dir", true},
        // The shared options first: the seats before the days.
        StudyRefusal{"seats_before_days", {"--days", "0", "--seats", "x"}, "--seats: 'x' は整数ではありません"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel::cli
