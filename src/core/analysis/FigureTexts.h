#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/analysis/ExactFigures.h"
#include "core/analysis/SettingEstimate.h"

// The texts of the exact figures and of the setting estimate, as the CLI's
// table and the windows show them: rates as a player reads them ("1/377.0"),
// shares in percent ("94.79 %"). They never depend on the locale.
namespace orvel {

// "1/377.0": one in 1 / probability, one decimal; "0" for 0.
std::string OneInText(double probability);
// "94.79 %": a share as a percentage with `decimals` decimals.
std::string PercentText(double share, int decimals = 2);
// A plain real with `decimals` decimals: "3.87", "-0.168".
std::string FixedText(double value, int decimals);

// Names of the minor-prize codes 0 … 9. The missed bell, shown as ハズレ in
// the play list, gets a name of its own here, where it is counted apart.
std::string KoyakuCodeName(std::int32_t code);

// One row of the 解析値 table: a caption and one text per setting given.
struct FigureRow {
  std::string caption;
  std::vector<std::string> texts;
};

// 初当り確率, BB確率, 平均連チャン, 差枚/Play, 機械割, 天井到達率, the
// modes, the continuation modes and the minor prizes, in that order.
std::vector<FigureRow> FigureRows(std::span<const ExactFigures> figures);
// How many of FigureRows' rows come before the mode shares.
inline constexpr int kFigureRateRows = 6;

// The 設定判別 list: a caption column, 実測 and 設定1 … 設定6; the row
// 事後確率 with each setting's posterior, then per minor prize the count
// observed in the ordinary rows and the count each setting would give them,
// rounded to a whole number.
// Telling leaves out the prizes equally likely in every setting (the bell
// and the missed bell): they move no posterior.
enum class PrizeRows { All, Telling };
std::vector<std::string> EstimateHeaders();
std::vector<std::vector<std::string>> EstimateRows(const SettingTally& tally, const SettingEstimate& estimate,
                                                   const std::array<ExactFigures, Level::kCount>& figures,
                                                   PrizeRows prizes);
// One line: the observed 初当り, BB and 機械割 of the log, each beside the
// exact figure of the seat's setting ("実測／設定1の解析値　初当り 1/403.2／1/377.0　…").
std::string ObservedVersusExactText(const SettingEstimate& estimate, const ExactFigures& exact);

}  // namespace orvel
