#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "LogBuilder.h"
#include "core/analysis/ExactFigures.h"
#include "core/analysis/Result_data.h"
#include "core/analysis/FigureTexts.h"
#include "core/analysis/SettingEstimate.h"

namespace orvel {
namespace {

using test::Add;
using test::Entry;

// A hand-made log: eight ordinary rows, a chain of three battles, a row
// whose prize is no code (counted only as a row) and two more prizes.
void FillHandMadeLog(TSimResultData& log) {
  for (const int k : {0, 7, 7, 2, 9, 9, 6, 8}) Add(log, {.medal = -3, .lastKoyaku = k});
  Add(log, {.medal = 300, .chainCount = 3, .bbKind = 1, .lastKoyaku = 99});
  Add(log, {.medal = 297, .lastKoyaku = 42});
  Add(log, {.medal = 294, .lastKoyaku = 3});
  Add(log, {.medal = 291, .lastKoyaku = 7});
}

TEST(SettingEstimate, PosteriorOfAHandMadeLogIsTheDirectProduct) {
  TSimResultData log;
  FillHandMadeLog(log);
  SettingTally tally;
  tally.TakeIn(log, 0, 5);
  tally.TakeIn(log, 6, log.Length() - 1);
  EXPECT_EQ(tally.rows, 12);
  EXPECT_EQ(tally.ordinaryRows, 10);
  EXPECT_EQ(tally.chains, 1);
  EXPECT_EQ(tally.battles, 3);
  EXPECT_EQ(tally.counts, (std::array<std::int64_t, 10>{1, 0, 1, 1, 0, 0, 1, 3, 1, 2}));

  const auto figures = MachineFigures();
  const SettingEstimate e = EstimateSetting(tally, figures);
  // The likelihood multiplied out prize by prize, without logs: ten rows
  // are far from underflowing.
  std::array<double, 6> direct{};
  for (std::size_t s = 0; s < 6; ++s) {
    direct[s] = 1;
    for (const int k : {0, 7, 7, 2, 9, 9, 6, 8, 3, 7})
      direct[s] *= figures[s].koyakuPerNormalGame[static_cast<std::size_t>(k)];
  }
  const double total = std::accumulate(direct.begin(), direct.end(), 0.0);
  std::size_t best = 0;
  for (std::size_t s = 0; s < 6; ++s) {
    EXPECT_NEAR(e.posterior[s], direct[s] / total, 1e-12) << "setting " << s + 1;
    if (direct[s] > direct[best]) best = s;
    for (std::size_t k = 0; k < 10; ++k)
      EXPECT_DOUBLE_EQ(e.expectedCounts[s][k], 10 * figures[s].koyakuPerNormalGame[k]);
  }
  EXPECT_EQ(e.mostLikely, static_cast<std::int32_t>(best) + 1);

  // 12 normal games and 21 battle games put in 99 medals; the log ends 291 up.
  EXPECT_DOUBLE_EQ(e.firstHitProbability, 1.0 / 12);
  EXPECT_DOUBLE_EQ(e.bbProbability, 3.0 / 12);
  EXPECT_DOUBLE_EQ(e.payoutRate, (99.0 + 291) / 99);
}

TEST(SettingEstimate, AHundredMillionRowsNeitherUnderflowNorHesitate) {
  const auto figures = MachineFigures();
  // The expected counts of setting 4 for 10^8 ordinary rows.
  SettingTally tally;
  tally.rows = tally.ordinaryRows = 100'000'000;
  for (std::size_t k = 0; k < 10; ++k) {
    tally.counts[k] = std::llround(1e8 * figures[3].koyakuPerNormalGame[k]);
  }
  const SettingEstimate e = EstimateSetting(tally, figures);
  EXPECT_EQ(e.mostLikely, 4);
  EXPECT_NEAR(e.posterior[3], 1.0, 1e-9);
  EXPECT_NEAR(std::accumulate(e.posterior.begin(), e.posterior.end(), 0.0), 1.0, 1e-12);
  for (const double p : e.posterior) EXPECT_TRUE(std::isfinite(p));
}

TEST(SettingEstimate, AnEmptyLogLeavesThePriorUniform) {
  const SettingEstimate e = EstimateSetting(SettingTally{}, MachineFigures());
  for (const double p : e.posterior) EXPECT_DOUBLE_EQ(p, 1.0 / 6);
  EXPECT_EQ(e.payoutRate, 0.0);
}

TEST(SettingEstimate, Texts) {
  EXPECT_EQ(OneInText(1 / 377.01), "1/377.0");
  EXPECT_EQ(OneInText(0.5), "1/2.0");
  EXPECT_EQ(OneInText(0), "0");
  EXPECT_EQ(PercentText(0.9478581), "94.79 %");
  EXPECT_EQ(PercentText(1.1938201), "119.38 %");
  EXPECT_EQ(PercentText(0.000343, 3), "0.034 %");
  EXPECT_EQ(PercentText(-0.0005, 1), "-0.1 %");
}

}  // namespace
}  // namespace orvel
