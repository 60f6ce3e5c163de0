#include "cli/FiguresCommand.h"

#include <CLI/CLI.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CommandOutput.h"
#include "core/analysis/ExactFigures.h"
#include "core/analysis/FigureTexts.h"
#include "core/analysis/NumberText.h"
#include "core/hall/TextToNumber.h"

namespace orvel::cli {

namespace {

void WriteTable(std::ostream& out, const std::vector<ExactFigures>& figures) {
  std::vector<std::vector<std::string>> rows{{""}};
  for (const ExactFigures& f : figures) rows.front().push_back("設定" + IntText(f.level));
  for (FigureRow& row : FigureRows(figures)) {
    row.texts.insert(row.texts.begin(), row.caption);
    rows.push_back(std::move(row.texts));
  }
  WriteAlignedTable(out, rows);
}

// The JSON keys, the arrays as one column per element: modeShares[0] ….
std::vector<std::string> CsvHeader() {
  std::vector<std::string> names{"level",         "firstHitProbability", "bbProbability",  "battlesPerChain",
                                 "medalsPerPlay", "payoutRate",          "ceilingPerChain"};
  const auto indexed = [&](const char* key, int count) {
    for (int i = 0; i < count; ++i) names.push_back(std::string(key) + "[" + IntText(i) + "]");
  };
  indexed("modeShares", Mode::kCount);
  indexed("continuationShares", KeizokuMode::kCount);
  indexed("koyakuPerNormalGame", Koyaku::kCount);
  return names;
}

void WriteCsv(std::ostream& out, const std::vector<ExactFigures>& figures) {
  const std::vector<std::string> header = CsvHeader();
  for (std::size_t c = 0; c < header.size(); ++c) out << (c > 0 ? "," : "") << header[c];
  out << '\n';
  for (const ExactFigures& f : figures) {
    out << f.level;
    for (const double v : {f.firstHitProbability, f.bbProbability, f.battlesPerChain, f.medalsPerPlay, f.payoutRate,
                           f.ceilingPerChain}) {
      out << ',' << ExactNumber(v);
    }
    for (const double v : f.modeShares) out << ',' << ExactNumber(v);
    for (const double v : f.continuationShares) out << ',' << ExactNumber(v);
    for (const double v : f.koyakuPerNormalGame) out << ',' << ExactNumber(v);
    out << '\n';
  }
}

void WriteJson(std::ostream& out, const std::vector<ExactFigures>& figures) {
  out << "{\"settings\":[";
  for (std::size_t i = 0; i < figures.size(); ++i) {
    const ExactFigures& f = figures[i];
    out << (i > 0 ? ",\n  " : "\n  ") << "{\"level\":" << f.level
        << ", \"firstHitProbability\":" << ExactNumber(f.firstHitProbability)
        << ", \"bbProbability\":" << ExactNumber(f.bbProbability)
        << ", \"battlesPerChain\":" << ExactNumber(f.battlesPerChain)
        << ", \"medalsPerPlay\":" << ExactNumber(f.medalsPerPlay) << ", \"payoutRate\":" << ExactNumber(f.payoutRate)
        << ", \"ceilingPerChain\":" << ExactNumber(f.ceilingPerChain) << ", \"modeShares\":" << JsonArray(f.modeShares)
        << ", \"continuationShares\":" << JsonArray(f.continuationShares)
        << ", \"koyakuPerNormalGame\":" << JsonArray(f.koyakuPerNormalGame) << '}';
  }
  out << "\n]}\n";
}

}  // namespace

int RunFiguresCommand(int argc, const char* const* argv, std::ostream& out) {
  CLI::App app{"The machine's exact long-run figures (解析値) per setting, computed from its tables.",
               "orvelsim-cli figures"};
  std::string levelText, format = "table";
  auto* levelOption = app.add_option("--level", levelText, "only setting 1 … 6 (default: all six)");
  app.add_option("--format", format, "table, csv or json (default table)")
      ->check(CLI::IsMember({"table", "csv", "json"}));
  if (const auto help = ParseSubcommand(app, argc, argv, out)) return *help;

  std::vector<ExactFigures> figures;
  const auto all = MachineFigures();
  if (levelOption->count() > 0) {
    const auto level = TryStrToInt(levelText);
    if (!level) throw UsageError{"--level: " + NotAnIntegerMessage(levelText)};
    if (*level < Level::kMin || *level > Level::kMax) throw UsageError{"--level: 設定は、1から6にしてください。"};
    figures.push_back(all[static_cast<std::size_t>(*level - Level::kMin)]);
  } else {
    figures.assign(all.begin(), all.end());
  }

  if (format == "json") {
    WriteJson(out, figures);
  } else if (format == "csv") {
    WriteCsv(out, figures);
  } else {
    WriteTable(out, figures);
  }
  return 0;
}

}  // namespace orvel::cli
