// orvelsim-cli's figures and estimate subcommands run as a user runs them:
// their output against the core's own values, and the one line and status
// 2 for bad input.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CliProcess.h"
#include "ScopedTempDir.h"
#include "core/analysis/ExactFigures.h"
#include "core/analysis/Result_data.h"
#include "core/analysis/SettingEstimate.h"

namespace {

namespace fs = std::filesystem;

using orvel::test::CliResult;
using orvel::test::Slurp;

// The shortest text that reads back to `value`, as the JSON holds it.
std::string Exact(double value) {
  char buffer[32];
  return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr};
}

class AnalysisCommands : public ::testing::Test {
protected:
  CliResult Run(const std::vector<std::string>& args) const { return orvel::test::RunProgram(dir_, ORVELSIM_CLI, args); }

  fs::path Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return dir_ / name;
  }

  const ScopedTempDir temp_{"orvelsim-analysis-commands"};
  const fs::path& dir_ = temp_.path();
};

TEST_F(AnalysisCommands, FiguresGiveTheCoresValuesInFullAndAsAPlayerReadsThem) {
  const CliResult json = Run({"figures", "--format", "json"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.err, "");
  for (const orvel::ExactFigures& f : orvel::MachineFigures()) {
    for (const std::string& pair :
         {"{\"level\":" + std::to_string(f.level), "\"firstHitProbability\":" + Exact(f.firstHitProbability),
          "\"payoutRate\":" + Exact(f.payoutRate), "\"ceilingPerChain\":" + Exact(f.ceilingPerChain),
          "\"modeShares\":[" + Exact(f.modeShares[0]) + ", "}) {
      EXPECT_NE(json.out.find(pair), std::string::npos) << pair;
    }
  }

  const CliResult table = Run({"figures", "--level", "1"});
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_NE(table.out.find("設定1\n"), std::string::npos) << table.out;
  EXPECT_EQ(table.out.find("設定2"), std::string::npos) << table.out;
  // Setting 1's rate and payout as a player reads them, after the caption.
  for (const auto& [caption, text] : {std::pair{"初当り確率", " 1/377.0\n"}, std::pair{"機械割", " 94.79 %\n"}}) {
    const std::size_t at = table.out.find(std::string("\n") + caption);
    ASSERT_NE(at, std::string::npos) << caption;
    const std::size_t end = table.out.find('\n', at + 1) + 1;
    EXPECT_TRUE(table.out.substr(at, end - at).ends_with(text)) << table.out.substr(at, end - at);
  }

  const CliResult csv = Run({"figures", "--format", "csv"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 7) << "a header and six settings";
}

TEST_F(AnalysisCommands, EstimateOfALogFileIsTheCoresEstimateOfItsRows) {
  const CliResult run =
      Run({"--seats", "1", "--games", "20000", "--level", "6", "--seed", "5", "--log-dir", (dir_ / "logs").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const fs::path log = dir_ / "logs" / "seat_001.csv";

  // The file's rows taken in here, column by column as the header orders them.
  orvel::SettingTally tally;
  std::istringstream lines(Slurp(log));
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    orvel::TSimResultData::Entry entry{};
    std::istringstream fields(line);
    std::string field;
    for (auto& value : entry) {
      std::getline(fields, field, ',');
      value = std::stoi(field);
    }
    tally.Add(entry);
  }
  const orvel::SettingEstimate estimate = orvel::EstimateSetting(tally, orvel::MachineFigures());

  const CliResult json = Run({"estimate", log.string(), "--format", "json"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("{\"rows\":20000, \"ordinaryRows\":" + std::to_string(tally.ordinaryRows)), std::string::npos)
      << json.out;
  std::string counts = "\"counts\":[";
  for (std::size_t k = 0; k < tally.counts.size(); ++k) counts += (k > 0 ? ", " : "") + std::to_string(tally.counts[k]);
  EXPECT_NE(json.out.find(counts + "]"), std::string::npos) << json.out;
  std::string posterior = "\"posterior\":[";
  for (std::size_t s = 0; s < 6; ++s) posterior += (s > 0 ? ", " : "") + Exact(estimate.posterior[s]);
  EXPECT_NE(json.out.find(posterior + "]"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("[" + Exact(estimate.expectedCounts[5][0]) + ", "), std::string::npos) << json.out;

  const CliResult table = Run({"estimate", log.string()});
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_NE(table.out.find("記録 20000 行"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("事後確率"), std::string::npos) << table.out;
}

TEST_F(AnalysisCommands, BadInputGetsOneLineAndStatusTwo) {
  const std::string header = "sinceBB,medal,chainCount,playCount,bbKind,keizokuMode,mode,lastKoyaku\n";
  struct Case {
    const char* name;
    std::string text;
    std::string line;  // after "orvelsim-cli: '<file>' "
  };
  const std::vector<Case> cases{
      {"empty", "", "は空です。"},
      {"header_only", header, "に記録の行がありません。"},
      {"missing_column", "sinceBB,medal,chainCount,bbKind\n1,0,0,0\n", "の 1 行目：列 lastKoyaku がありません。"},
      {"short_row", header + "1,-3,0,1,0,0,0,8\n2,-6,0,2,0,0\n", "の 3 行目：列が 8 個ではなく 6 個です。"},
      {"not_a_number", header + "1,x3,0,1,0,0,0,8\n", "の 2 行目：medal：'x3' は整数ではありません"},
      {"koyaku_out_of_range", header + "1,-3,0,1,0,0,0,8\n2,-6,0,2,0,0,0,10\n",
       "の 3 行目：lastKoyaku 10 は小役の番号（0～9）ではありません。"},
      {"bb_kind_out_of_range", header + "1,-3,0,1,3,0,0,99\n",
       "の 2 行目：bbKind 3 はボーナスの種類（0～2）ではありません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = Write(std::string(c.name) + ".csv", c.text);
    const CliResult r = Run({"estimate", file.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "orvelsim-cli: '" + file.string() + "' " + c.line + "\n");
  }
  for (const std::vector<std::string>& args : {std::vector<std::string>{"estimate", (dir_ / "absent.csv").string()},
                                               {"estimate"},
                                               {"figures", "--level", "7"},
                                               {"figures", "--level", "x"},
                                               {"figures", "--format", "xml"}}) {
    const CliResult r = Run(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.rfind("orvelsim-cli: ", 0), 0u) << r.err;
  }
}

}  // namespace
