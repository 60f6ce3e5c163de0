#pragma once

#include <array>
#include <cstdint>

#include "core/analysis/ExactFigures.h"
#include "core/analysis/Result_data.h"
#include "core/model/Codes.h"

namespace orvel {

// What 設定判別 needs of a seat's play log, taken in row by row so that its
// cost grows with the rows taken in, never with the log's length.
struct SettingTally {
  std::int64_t rows = 0;
  std::int64_t ordinaryRows = 0;                      // bbKind 0 with a minor prize 0 … 9
  std::array<std::int64_t, Koyaku::kCount> counts{};  // ordinary rows by lastKoyaku
  std::int64_t chains = 0;                            // rows whose Play ran a chain
  std::int64_t battles = 0;                           // chainCount summed over those rows
  std::int64_t lastMedal = 0;                         // the medal difference since the reset the log starts at

  // One row. An ordinary row whose code is no minor prize counts only in
  // rows (the window's logs hold none; the CLI refuses such files).
  void Add(const TSimResultData::Entry& entry);
  // Rows first … last of `log` (0 <= first <= last < log length).
  void TakeIn(const TSimResultData& log, int first, int last);
};

// The posterior of the settings for one seat's log from a uniform prior.
// The minor prizes of the ordinary rows are independent draws from
// koyakuPerNormalGame of the true setting (whether a row runs a chain is
// settled before its prize is drawn), so the likelihood of their counts is
// multinomial; it is summed in log space, which keeps logs of 10^8 rows
// from underflowing.
struct SettingEstimate {
  std::array<double, Level::kCount> posterior{};
  std::array<double, Level::kCount> logLikelihood{};                               // up to the multinomial coefficient
  std::array<std::array<double, Koyaku::kCount>, Level::kCount> expectedCounts{};  // for ordinaryRows
  std::int32_t mostLikely = Level::kMin;
  // Observed over the log, beside the exact figures: chains, battles per
  // row, and medals paid out / put in (3 a game, 7 battle games a battle).
  double firstHitProbability = 0;
  double bbProbability = 0;
  double payoutRate = 0;
};

SettingEstimate EstimateSetting(const SettingTally& tally, const std::array<ExactFigures, Level::kCount>& figures);

}  // namespace orvel
