#include "core/analysis/SettingEstimate.h"

#include <cmath>
#include <cstddef>
#include <span>

#include "core/model/Orvel_cls.h"

namespace orvel {

namespace {

std::size_t Col(ResultColumn column) { return static_cast<std::size_t>(column); }

}  // namespace

void SettingTally::Add(const TSimResultData::Entry& entry) {
  ++rows;
  lastMedal = entry[Col(ResultColumn::Medal)];
  const std::int32_t kind = entry[Col(ResultColumn::BBKind)];
  if (kind != BBKind::NoBonus) {
    ++chains;
    battles += entry[Col(ResultColumn::ChainCount)];
    return;
  }
  const std::int32_t code = entry[Col(ResultColumn::LastKoyaku)];
  if (code < 0 || code >= Koyaku::kCount) return;
  ++ordinaryRows;
  ++counts[static_cast<std::size_t>(code)];
}

void SettingTally::TakeIn(const TSimResultData& log, int first, int last) {
  std::array<std::span<const std::int32_t>, TSimResultData::kColumns> columns;
  for (std::size_t c = 0; c < columns.size(); ++c) columns[c] = log.Column(static_cast<ResultColumn>(c));
  TSimResultData::Entry entry{};
  for (auto i = static_cast<std::size_t>(first); i <= static_cast<std::size_t>(last); ++i) {
    for (std::size_t c = 0; c < columns.size(); ++c) entry[c] = columns[c][i];
    Add(entry);
  }
}

SettingEstimate EstimateSetting(const SettingTally& tally, const std::array<ExactFigures, Level::kCount>& figures) {
  SettingEstimate e;
  double best = -INFINITY;
  for (std::size_t s = 0; s < figures.size(); ++s) {
    double sum = 0;
    for (std::size_t k = 0; k < tally.counts.size(); ++k) {
      const double p = figures[s].koyakuPerNormalGame[k];
      const auto n = static_cast<double>(tally.counts[k]);
      // A prize the setting cannot give rules it out, unless it was not seen.
      if (n > 0) sum += p > 0 ? n * std::log(p) : -INFINITY;
      e.expectedCounts[s][k] = static_cast<double>(tally.ordinaryRows) * p;
    }
    e.logLikelihood[s] = sum;
    if (sum > best) {
      best = sum;
      e.mostLikely = figures[s].level;
    }
  }
  // Normalised against the best, so the largest term is exp(0) = 1 and no
  // sum underflows to 0.
  if (!std::isfinite(best)) best = 0;  // no setting can give the log: every posterior stays 0 below
  double total = 0;
  for (std::size_t s = 0; s < figures.size(); ++s) total += (e.posterior[s] = std::exp(e.logLikelihood[s] - best));
  for (double& p : e.posterior) p = total > 0 ? p / total : 0;

  if (tally.rows > 0) {
    const auto rows = static_cast<double>(tally.rows);
    e.firstHitProbability = static_cast<double>(tally.chains) / rows;
    e.bbProbability = static_cast<double>(tally.battles) / rows;
    const double putIn = Orvel::kStake * (rows + static_cast<double>(tally.battles) * Orvel::kBattleGames);
    e.payoutRate = (putIn + static_cast<double>(tally.lastMedal)) / putIn;
  }
  return e;
}

}  // namespace orvel
