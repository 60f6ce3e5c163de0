#include "cli/EstimateCommand.h"

#include <CLI/CLI.hpp>

#include <array>
#include <charconv>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CommandOutput.h"
#include "core/analysis/ExactFigures.h"
#include "core/analysis/FigureTexts.h"
#include "core/analysis/NumberText.h"
#include "core/analysis/Result_data.h"
#include "core/hall/TextToNumber.h"

namespace orvel::cli {

namespace {

// The columns the estimate reads, by their names in the header.
struct Needed {
  const char* name;
  ResultColumn column;
};
constexpr std::array<Needed, 4> kNeeded{{{"medal", ResultColumn::Medal},
                                         {"chainCount", ResultColumn::ChainCount},
                                         {"bbKind", ResultColumn::BBKind},
                                         {"lastKoyaku", ResultColumn::LastKoyaku}}};

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t comma = line.find(',');
    fields.push_back(line.substr(0, comma));
    if (comma == std::string_view::npos) return fields;
    line.remove_prefix(comma + 1);
  }
}

void WriteTable(std::ostream& out, const SettingTally& tally, const SettingEstimate& e,
                const std::array<ExactFigures, Level::kCount>& figures) {
  out << "記録 " << IntText(tally.rows) << " 行　通常 " << IntText(tally.ordinaryRows) << " 行　最も有力：設定"
      << IntText(e.mostLikely) << '\n';
  std::vector<std::vector<std::string>> rows{EstimateHeaders()};
  for (auto& row : EstimateRows(tally, e, figures, PrizeRows::All)) rows.push_back(std::move(row));
  // The observed rates beside each setting's exact ones.
  const auto rates = [&](const char* caption, const std::string& observed, auto exact) {
    std::vector<std::string> row{caption, observed};
    for (const ExactFigures& f : figures) row.push_back(exact(f));
    rows.push_back(std::move(row));
  };
  rates("初当り確率", OneInText(e.firstHitProbability),
        [](const ExactFigures& f) { return OneInText(f.firstHitProbability); });
  rates("BB確率", OneInText(e.bbProbability), [](const ExactFigures& f) { return OneInText(f.bbProbability); });
  rates("機械割", PercentText(e.payoutRate), [](const ExactFigures& f) { return PercentText(f.payoutRate); });
  WriteAlignedTable(out, rows);
}

void WriteCsv(std::ostream& out, const SettingTally& tally, const SettingEstimate& e) {
  out << "row,posterior";
  for (std::int32_t k = 0; k < Koyaku::kCount; ++k) out << ',' << KoyakuCodeName(k);
  out << "\n実測,";
  for (const std::int64_t n : tally.counts) out << ',' << IntText(n);
  out << '\n';
  for (std::size_t s = 0; s < e.posterior.size(); ++s) {
    out << "設定" << s + 1 << ',' << ExactNumber(e.posterior[s]);
    for (const double x : e.expectedCounts[s]) out << ',' << ExactNumber(x);
    out << '\n';
  }
}

void WriteJson(std::ostream& out, const SettingTally& tally, const SettingEstimate& e) {
  out << "{\"rows\":" << tally.rows << ", \"ordinaryRows\":" << tally.ordinaryRows << ",\n \"counts\":[";
  for (std::size_t k = 0; k < tally.counts.size(); ++k) out << (k > 0 ? ", " : "") << tally.counts[k];
  out << "],\n \"posterior\":" << JsonArray(e.posterior) << ",\n \"expectedCounts\":[";
  for (std::size_t s = 0; s < e.expectedCounts.size(); ++s) {
    out << (s > 0 ? ",\n  " : "\n  ") << JsonArray(e.expectedCounts[s]);
  }
  out << "\n]}\n";
}

}  // namespace

SettingTally ReadPlayLogTally(std::istream& in, const std::string& name) {
  const auto refuse = [&](std::int64_t row, const std::string& what) {
    throw UsageError{"'" + name + "' の " + IntText(row) + " 行目：" + what};
  };
  std::string line;
  if (!std::getline(in, line)) throw UsageError{"'" + name + "' は空です。"};
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const std::vector<std::string_view> header = SplitFields(line);
  std::array<std::size_t, kNeeded.size()> at{};
  for (std::size_t n = 0; n < kNeeded.size(); ++n) {
    std::size_t c = 0;
    while (c < header.size() && header[c] != kNeeded[n].name) ++c;
    if (c == header.size()) refuse(1, std::string("列 ") + kNeeded[n].name + " がありません。");
    at[n] = c;
  }

  SettingTally tally;
  TSimResultData::Entry entry{};
  std::int64_t row = 1;
  while (std::getline(in, line)) {
    ++row;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() != header.size()) {
      refuse(row, "列が " + IntText(static_cast<std::int64_t>(header.size())) + " 個ではなく " +
                      IntText(static_cast<std::int64_t>(fields.size())) + " 個です。");
    }
    for (std::size_t n = 0; n < kNeeded.size(); ++n) {
      const std::string_view text = fields[at[n]];
      std::int32_t value = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        refuse(row, std::string(kNeeded[n].name) + "：" + NotAnIntegerMessage(text));
      }
      entry[static_cast<std::size_t>(kNeeded[n].column)] = value;
    }
    const std::int32_t kind = entry[static_cast<std::size_t>(ResultColumn::BBKind)];
    const std::int32_t koyaku = entry[static_cast<std::size_t>(ResultColumn::LastKoyaku)];
    const std::int32_t chain = entry[static_cast<std::size_t>(ResultColumn::ChainCount)];
    if (kind < BBKind::NoBonus || kind >= BBKind::kCount) {
      refuse(row, "bbKind " + IntText(kind) + " はボーナスの種類（0～2）ではありません。");
    }
    if (chain < 0) refuse(row, "chainCount " + IntText(chain) + " が負です。");
    if (kind == BBKind::NoBonus && (koyaku < 0 || koyaku >= Koyaku::kCount)) {
      refuse(row, "lastKoyaku " + IntText(koyaku) + " は小役の番号（0～9）ではありません。");
    }
    tally.Add(entry);
  }
  if (tally.rows == 0) throw UsageError{"'" + name + "' に記録の行がありません。"};
  return tally;
}

int RunEstimateCommand(int argc, const char* const* argv, std::ostream& out) {
  CLI::App app{"The posterior of settings 1 … 6 (設定判別) for one seat's play log.", "orvelsim-cli estimate"};
  std::string path, format = "table";
  app.add_option("LOG.csv", path, "a seat's play log as --log-dir writes it")->required();
  app.add_option("--format", format, "table, csv or json (default table)")
      ->check(CLI::IsMember({"table", "csv", "json"}));
  if (const auto help = ParseSubcommand(app, argc, argv, out)) return *help;

  std::ifstream in(path, std::ios::binary);
  if (!in) throw UsageError{"'" + path + "' を読めません。"};
  const SettingTally tally = ReadPlayLogTally(in, path);
  const auto figures = MachineFigures();
  const SettingEstimate estimate = EstimateSetting(tally, figures);
  if (format == "json") {
    WriteJson(out, tally, estimate);
  } else if (format == "csv") {
    WriteCsv(out, tally, estimate);
  } else {
    WriteTable(out, tally, estimate, figures);
  }
  return 0;
}

}  // namespace orvel::cli
