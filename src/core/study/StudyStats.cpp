#include "core/study/StudyStats.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace orvel {

namespace {

__extension__ typedef unsigned __int128 Words128;

void AddTally(LevelTally& into, const LevelTally& from) {
  into.seats = std::max(into.seats, from.seats);  // a per-day count: equal on every day
  into.seatGames += from.seatGames;
  into.medalsIn += from.medalsIn;
  into.medalsOut += from.medalsOut;
  into.firstHits += from.firstHits;
  into.bonuses += from.bonuses;
}

double Ratio(std::int64_t count, std::int64_t denominator) {
  return denominator == 0 ? std::numeric_limits<double>::quiet_NaN()
                          : static_cast<double>(count) / static_cast<double>(denominator);
}

// 1-based nearest rank of the p % quantile among n days.
std::int64_t Rank(std::int64_t percent, std::int64_t n) { return std::max<std::int64_t>(1, (percent * n + 99) / 100); }

}  // namespace

void StudyStats::Add(const DayResult& day) {
  ++days_;
  sumMedals_ += day.hallMedals;
  ++balances_[day.hallMedals];
  for (std::size_t i = 0; i < byLevel_.size(); ++i) AddTally(byLevel_[i], day.byLevel[i]);
}

void StudyStats::Merge(const StudyStats& other) {
  days_ += other.days_;
  sumMedals_ += other.sumMedals_;
  for (const auto& [value, count] : other.balances_) balances_[value] += count;
  for (std::size_t i = 0; i < byLevel_.size(); ++i) AddTally(byLevel_[i], other.byLevel_[i]);
}

StudySummary StudyStats::Summary() const {
  StudySummary summary;
  summary.days = days_;
  for (std::size_t i = 0; i < byLevel_.size(); ++i) {
    const LevelTally& tally = byLevel_[i];
    if (tally.seats == 0) continue;
    summary.bySetting.push_back(SettingSummary{static_cast<std::int32_t>(i) + Level::kMin, tally.seats, tally.seatGames,
                                               Ratio(tally.medalsOut, tally.medalsIn),
                                               Ratio(tally.firstHits, tally.seatGames),
                                               Ratio(tally.bonuses, tally.seatGames)});
  }
  if (days_ == 0) return summary;

  BalanceSummary& b = summary.hallMedals;
  const long double mean = static_cast<long double>(sumMedals_) / static_cast<long double>(days_);
  b.mean = static_cast<double>(mean);
  // Two passes over the exact distribution: no cancellation between a large
  // sum of squares and the squared mean.
  long double squares = 0;
  for (const auto& [value, count] : balances_) {
    const long double d = static_cast<long double>(value) - mean;
    squares += static_cast<long double>(count) * d * d;
  }
  b.sd = days_ > 1 ? static_cast<double>(std::sqrt(squares / static_cast<long double>(days_ - 1))) : 0.0;

  b.min = balances_.begin()->first;
  b.max = balances_.rbegin()->first;
  const std::array<std::pair<std::int64_t, std::int64_t*>, 5> quantiles{
      {{5, &b.p05}, {25, &b.p25}, {50, &b.median}, {75, &b.p75}, {95, &b.p95}}};
  std::size_t next = 0;
  std::int64_t seen = 0;
  for (const auto& [value, count] : balances_) {
    if (value < 0) b.lossDays += count;
    seen += count;
    while (next < quantiles.size() && Rank(quantiles[next].first, days_) <= seen) *quantiles[next++].second = value;
  }
  b.lossShare = Ratio(b.lossDays, days_);
  return summary;
}

BalanceHistogram StudyStats::Histogram(int maxBins) const {
  BalanceHistogram histogram;
  if (balances_.empty()) return histogram;
  const std::int64_t low = balances_.begin()->first;
  const std::int64_t span = balances_.rbegin()->first - low + 1;
  const std::int64_t bins = std::max(1, maxBins);
  histogram.low = low;
  histogram.width = (span + bins - 1) / bins;
  histogram.counts.assign(static_cast<std::size_t>((span + histogram.width - 1) / histogram.width), 0);
  for (const auto& [value, count] : balances_) {
    histogram.counts[static_cast<std::size_t>((value - low) / histogram.width)] += count;
  }
  return histogram;
}

// Words: days, the balance sum's low and high 64 bits, the six tallies of
// six fields, then value and count of every distinct balance.
std::vector<std::int64_t> StudyStats::ToWords() const {
  std::vector<std::int64_t> words;
  words.reserve(3 + byLevel_.size() * 6 + 2 * balances_.size());
  const auto sum = static_cast<Words128>(sumMedals_);
  words.push_back(days_);
  words.push_back(static_cast<std::int64_t>(static_cast<std::uint64_t>(sum)));
  words.push_back(static_cast<std::int64_t>(static_cast<std::uint64_t>(sum >> 64)));
  for (const LevelTally& t : byLevel_) {
    words.insert(words.end(), {t.seats, t.seatGames, t.medalsIn, t.medalsOut, t.firstHits, t.bonuses});
  }
  for (const auto& [value, count] : balances_) words.insert(words.end(), {value, count});
  return words;
}

StudyStats StudyStats::FromWords(const std::vector<std::int64_t>& words) {
  constexpr std::size_t kHead = 3 + Level::kCount * 6;
  if (words.size() < kHead || (words.size() - kHead) % 2 != 0) throw std::invalid_argument("StudyStats: bad words");
  StudyStats stats;
  stats.days_ = words[0];
  const auto sum =
      (static_cast<Words128>(static_cast<std::uint64_t>(words[2])) << 64) | static_cast<std::uint64_t>(words[1]);
  stats.sumMedals_ = static_cast<StudyInt128>(sum);
  std::size_t w = 3;
  for (LevelTally& t : stats.byLevel_) {
    for (std::int64_t* field : {&t.seats, &t.seatGames, &t.medalsIn, &t.medalsOut, &t.firstHits, &t.bonuses}) {
      *field = words[w++];
    }
  }
  for (; w < words.size(); w += 2) stats.balances_.emplace_hint(stats.balances_.end(), words[w], words[w + 1]);
  return stats;
}

}  // namespace orvel
