#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "core/model/Codes.h"

namespace orvel {

// GCC and Clang's 128-bit integer (__extension__: it is not ISO C++).
__extension__ typedef __int128 StudyInt128;

// What one setting's seats did over one day or many: integer sums only, so
// tallies of any days add up exactly, in any order.
struct LevelTally {
  std::int64_t seats = 0;      // seats on the setting in one day (the same every day)
  std::int64_t seatGames = 0;  // games played (playCount), a chain's battle games not counted
  std::int64_t medalsIn = 0;   // 3 a game, battle games included
  std::int64_t medalsOut = 0;  // payouts and battle bonuses
  std::int64_t firstHits = 0;  // chains started
  std::int64_t bonuses = 0;    // battles

  bool operator==(const LevelTally&) const = default;
};

// One day of a study: the plain run with the day's seed.
struct DayResult {
  std::int64_t day = 0;
  std::uint32_t seed = 0;
  std::int64_t hallMedals = 0;                      // the hall's gain: minus the seats' medal differences
  std::array<LevelTally, Level::kCount> byLevel{};  // index level - 1
};

// The hall balance over the days. Quantiles follow the nearest-rank rule:
// the p % quantile is the r-th smallest day, r = max(1, ceil(p · days / 100)),
// so every figure is one day's actual balance (the median of an even count
// is the lower of the middle two). sd is the sample standard deviation
// (n − 1), 0 for a single day.
struct BalanceSummary {
  double mean = 0;
  double sd = 0;
  std::int64_t min = 0, p05 = 0, p25 = 0, median = 0, p75 = 0, p95 = 0, max = 0;
  std::int64_t lossDays = 0;  // hallMedals < 0
  double lossShare = 0;
};

// One setting present in the hall. A rate is NaN when its seats played no
// game (every one at rate 0).
struct SettingSummary {
  std::int32_t level = 1;
  std::int64_t seats = 0;
  std::int64_t seatGames = 0;
  double payoutRate = 0;  // 機械割: medals out / medals in
  double firstHitsPerGame = 0;
  double bonusesPerGame = 0;
};

struct StudySummary {
  std::int64_t days = 0;
  BalanceSummary hallMedals;
  std::vector<SettingSummary> bySetting;  // settings with seats, 1 to 6
};

// The daily balances in bins of equal width: bin i holds the days with
// low + i · width <= hallMedals < low + (i + 1) · width.
struct BalanceHistogram {
  std::int64_t low = 0;
  std::int64_t width = 1;
  std::vector<std::int64_t> counts;
};

// The statistics of a study, exactly mergeable: Merge of the stats of two
// sets of days equals Add of every day into one, whatever the order, so
// the result cannot depend on how days are dealt to threads (or machines).
//
// The balances are kept as a map value → days. Its size is the number of
// distinct daily balances, not the days: a 20-seat, 8000-game hall spreads
// its days over some 10^5 values, a few MB at most at any day count. At
// worst every day differs: about 50 bytes a day in a red-black tree node,
// 0.5 GB at 10 million days.
class StudyStats {
public:
  void Add(const DayResult& day);
  void Merge(const StudyStats& other);

  std::int64_t Days() const { return days_; }
  std::size_t DistinctBalances() const { return balances_.size(); }
  StudySummary Summary() const;
  // At most `maxBins` bins of whole medals from the lowest balance to the
  // highest; none before the first day.
  BalanceHistogram Histogram(int maxBins) const;

  // The statistics as 64-bit words, to send them between processes;
  // FromWords gives back equal statistics, so merging them stays exact.
  // FromWords throws std::invalid_argument for words ToWords did not make.
  std::vector<std::int64_t> ToWords() const;
  static StudyStats FromWords(const std::vector<std::int64_t>& words);

  bool operator==(const StudyStats&) const = default;

private:
  std::int64_t days_ = 0;
  // |a day's balance| < 2^48 (100,000 seats of 32-bit medal counts), so
  // 10^7 days need more than 64 bits in the worst case.
  StudyInt128 sumMedals_ = 0;
  std::map<std::int64_t, std::int64_t> balances_;
  std::array<LevelTally, Level::kCount> byLevel_{};
};

}  // namespace orvel
