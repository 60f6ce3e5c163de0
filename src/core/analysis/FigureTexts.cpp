#include "core/analysis/FigureTexts.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "core/analysis/NumberText.h"
#include "core/analysis/ResultTexts.h"

namespace orvel {

std::string FixedText(double value, int decimals) {
  // By hand rather than printf("%.*f"): a locale must not turn the point
  // into a comma.
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const double rounded = std::round(std::abs(value) * scale);
  const auto whole = static_cast<long long>(std::floor(rounded / scale));
  const auto fraction = static_cast<long long>(rounded - static_cast<double>(whole) * scale);
  std::string text = (value < 0 && rounded > 0 ? "-" : "") + std::to_string(whole);
  if (decimals > 0) {
    std::string digits = std::to_string(fraction);
    const auto width = static_cast<std::size_t>(decimals);
    digits.insert(0, width - std::min(digits.size(), width), '0');
    text += "." + digits;
  }
  return text;
}

std::string OneInText(double probability) {
  if (probability <= 0) return "0";
  return "1/" + FixedText(1 / probability, 1);
}

std::string PercentText(double share, int decimals) { return FixedText(share * 100, decimals) + " %"; }

std::string KoyakuCodeName(std::int32_t code) {
  if (code == Koyaku::Hazure) return "ハズレ";
  if (code == Koyaku::BellMissed) return "ハズレ(ベル)";
  if (code < 0 || code >= Koyaku::kCount) return "";
  return PatternText(BBKind::NoBonus, 0, code);
}

std::vector<FigureRow> FigureRows(std::span<const ExactFigures> figures) {
  std::vector<FigureRow> rows;
  const auto add = [&](std::string caption, auto text) {
    FigureRow row{std::move(caption), {}};
    for (const ExactFigures& f : figures) row.texts.push_back(text(f));
    rows.push_back(std::move(row));
  };
  add("初当り確率", [](const ExactFigures& f) { return OneInText(f.firstHitProbability); });
  add("BB確率", [](const ExactFigures& f) { return OneInText(f.bbProbability); });
  add("平均連チャン", [](const ExactFigures& f) { return FixedText(f.battlesPerChain, 2); });
  add("差枚/Play", [](const ExactFigures& f) { return FixedText(f.medalsPerPlay, 3); });
  add("機械割", [](const ExactFigures& f) { return PercentText(f.payoutRate); });
  add("天井到達率", [](const ExactFigures& f) { return PercentText(f.ceilingPerChain, 3); });
  for (std::int32_t m = 0; m < Mode::kCount; ++m) {
    add(ModeName(m), [m](const ExactFigures& f) { return PercentText(f.modeShares[static_cast<std::size_t>(m)]); });
  }
  for (std::int32_t k = 0; k < KeizokuMode::kCount; ++k) {
    add(KeizokuName(k),
        [k](const ExactFigures& f) { return PercentText(f.continuationShares[static_cast<std::size_t>(k)]); });
  }
  for (std::int32_t k = 0; k < Koyaku::kCount; ++k) {
    add(KoyakuCodeName(k),
        [k](const ExactFigures& f) { return OneInText(f.koyakuPerNormalGame[static_cast<std::size_t>(k)]); });
  }
  return rows;
}

std::vector<std::string> EstimateHeaders() {
  std::vector<std::string> headers{"", "実測"};
  for (std::int32_t level = Level::kMin; level <= Level::kMax; ++level) headers.push_back("設定" + IntText(level));
  return headers;
}

std::vector<std::vector<std::string>> EstimateRows(const SettingTally& tally, const SettingEstimate& estimate,
                                                   const std::array<ExactFigures, Level::kCount>& figures,
                                                   PrizeRows prizes) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> posterior{"事後確率", ""};
  for (const double p : estimate.posterior) posterior.push_back(PercentText(p));
  rows.push_back(std::move(posterior));
  for (std::size_t k = 0; k < tally.counts.size(); ++k) {
    const auto same = [k, &figures](const ExactFigures& f) {
      return f.koyakuPerNormalGame[k] == figures.front().koyakuPerNormalGame[k];
    };
    if (prizes == PrizeRows::Telling && std::all_of(figures.begin(), figures.end(), same)) continue;
    std::vector<std::string> row{KoyakuCodeName(static_cast<std::int32_t>(k)), IntText(tally.counts[k])};
    for (const auto& expected : estimate.expectedCounts) row.push_back(FixedText(expected[k], 0));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string ObservedVersusExactText(const SettingEstimate& estimate, const ExactFigures& exact) {
  return "実測／設定" + IntText(exact.level) + "の解析値　初当り " + OneInText(estimate.firstHitProbability) + "／" +
         OneInText(exact.firstHitProbability) + "　BB " + OneInText(estimate.bbProbability) + "／" +
         OneInText(exact.bbProbability) + "　機械割 " + PercentText(estimate.payoutRate) + "／" +
         PercentText(exact.payoutRate);
}

}  // namespace orvel
