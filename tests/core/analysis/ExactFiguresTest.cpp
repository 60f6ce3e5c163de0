#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/analysis/ExactFigures.h"
#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"

namespace orvel {
namespace {

// The tallies of one batch of Plays.
struct Batch {
  double plays = 0, chains = 0, battles = 0, medals = 0, putIn = 0, ceilingChains = 0, ordinary = 0;
  std::array<double, Mode::kCount> modes{};
  std::array<double, KeizokuMode::kCount> keizoku{};
  std::array<double, Koyaku::kCount> koyaku{};

  void Add(const Orvel& m, std::int32_t medals) {
    ++plays;
    this->medals += medals;
    ++modes[static_cast<std::size_t>(m.mode)];
    if (m.bbKind == BBKind::NoBonus) {
      // A chain's row hides its normal game's prize (99); the other rows'
      // prizes are drawn alike, since a row's chain is settled before its
      // prize is drawn.
      ++ordinary;
      ++koyaku[static_cast<std::size_t>(m.lastKoyaku)];
      putIn += Orvel::kStake;
      return;
    }
    ++chains;
    battles += m.chainCount;
    putIn += Orvel::kStake * (1 + m.chainCount * Orvel::kBattleGames);
    ++keizoku[static_cast<std::size_t>(m.keizokuMode)];
    // The chain's row holds its cycle's length; one that met the ceiling
    // is at least 2000 Plays long.
    if (m.sinceBB >= Orvel::kCeiling) ++ceilingChains;
  }
};

// One figure as the ratio of two sums over a batch.
struct Ratio {
  std::string name;
  double exact;
  std::function<std::array<double, 2>(const Batch&)> of;
};

std::vector<Ratio> RatiosOf(const ExactFigures& f) {
  using B = const Batch&;
  std::vector<Ratio> r{
      {"firstHitProbability", f.firstHitProbability,
       [](B b) {
         return std::array{b.chains, b.plays};
       }},
      {"bbProbability", f.bbProbability,
       [](B b) {
         return std::array{b.battles, b.plays};
       }},
      {"battlesPerChain", f.battlesPerChain,
       [](B b) {
         return std::array{b.battles, b.chains};
       }},
      {"medalsPerPlay", f.medalsPerPlay,
       [](B b) {
         return std::array{b.medals, b.plays};
       }},
      {"payoutRate", f.payoutRate,
       [](B b) {
         return std::array{b.putIn + b.medals, b.putIn};
       }},
      {"ceilingPerChain", f.ceilingPerChain,
       [](B b) {
         return std::array{b.ceilingChains, b.chains};
       }},
  };
  for (std::size_t j = 0; j < f.modeShares.size(); ++j) {
    r.push_back({"modeShares[" + std::to_string(j) + "]", f.modeShares[j], [j](B b) {
                   return std::array{b.modes[j], b.plays};
                 }});
  }
  for (std::size_t k = 0; k < f.continuationShares.size(); ++k) {
    r.push_back({"continuationShares[" + std::to_string(k) + "]", f.continuationShares[k], [k](B b) {
                   return std::array{b.keizoku[k], b.chains};
                 }});
  }
  for (std::size_t k = 0; k < f.koyakuPerNormalGame.size(); ++k) {
    r.push_back({"koyakuPerNormalGame[" + std::to_string(k) + "]", f.koyakuPerNormalGame[k], [k](B b) {
                   return std::array{b.koyaku[k], b.ordinary};
                 }});
  }
  return r;
}

class ExactFiguresSimulated : public testing::TestWithParam<std::int32_t> {};

// Every figure against a seeded run of the machine, within 4 standard
// errors. Successive Plays depend on each other (the mode carries over), so
// the standard errors come from batch means: the run is cut into batches
// much longer than a cycle between chains (a few hundred Plays), whose sums
// are nearly independent, and a ratio's error is that of the residuals
// N_i - R D_i of its batches.
TEST_P(ExactFiguresSimulated, WithinFourStandardErrors) {
  const std::int32_t level = GetParam();
  const auto figures = MachineFigures()[static_cast<std::size_t>(level - Level::kMin)];

  constexpr int kBatches = 100;
  constexpr int kBatchPlays = 40000;
  std::vector<Batch> batches(kBatches);
  Orvel machine;
  SeedRandom(static_cast<std::uint32_t>(20261210 + level));
  machine.SetLevel(level);
  for (Batch& batch : batches) {
    for (int i = 0; i < kBatchPlays; ++i) {
      const std::int32_t before = machine.medal;
      machine.Play();
      batch.Add(machine, machine.medal - before);
    }
  }

  for (const Ratio& ratio : RatiosOf(figures)) {
    double n = 0, d = 0;
    for (const Batch& b : batches) {
      const auto [bn, bd] = ratio.of(b);
      n += bn, d += bd;
    }
    ASSERT_GT(d, 0) << ratio.name;
    const double estimate = n / d;
    double squares = 0;
    for (const Batch& b : batches) {
      const auto [bn, bd] = ratio.of(b);
      squares += (bn - estimate * bd) * (bn - estimate * bd);
    }
    const double se = std::sqrt(squares / (kBatches - 1)) / (d / kBatches) / std::sqrt(double{kBatches});
    EXPECT_LE(std::abs(estimate - ratio.exact), 4 * se)
        << ratio.name << ": simulated " << estimate << ", exact " << ratio.exact << ", SE " << se;
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, ExactFiguresSimulated, testing::Range(Level::kMin, Level::kMax + 1),
                         [](const testing::TestParamInfo<std::int32_t>& info) {
                           return "setting_" + std::to_string(info.param);
                         });

TEST(ExactFigures, SharesAddUpAndTheRatesAgree) {
  for (const ExactFigures& f : MachineFigures()) {
    SCOPED_TRACE(f.level);
    for (const auto sum : {std::accumulate(f.modeShares.begin(), f.modeShares.end(), 0.0),
                           std::accumulate(f.continuationShares.begin(), f.continuationShares.end(), 0.0),
                           std::accumulate(f.koyakuPerNormalGame.begin(), f.koyakuPerNormalGame.end(), 0.0)}) {
      EXPECT_NEAR(sum, 1.0, 1e-12);
    }
    EXPECT_NEAR(f.battlesPerChain, f.bbProbability / f.firstHitProbability, 1e-12);
    // Every chain has a battle; a bell stays a bell one time in six.
    EXPECT_GE(f.battlesPerChain, 1.0);
    EXPECT_DOUBLE_EQ(f.koyakuPerNormalGame[Koyaku::BellMissed], 5 * f.koyakuPerNormalGame[Koyaku::Bell]);
  }
}

TEST(ExactFigures, LeaveTheSharedRandomSourceAsItWas) {
  SeedRandom(77);
  RandomSource expected;
  expected.Seed(77);
  (void)MachineFigures();
  EXPECT_EQ(NextRandom(), expected.Next());
}

TEST(ExactFigures, RefuseASettingWithoutTables) {
  SeedRandom(1);
  const Orvel machine;
  EXPECT_THROW(ComputeExactFigures(machine, 0), std::out_of_range);
  EXPECT_THROW(ComputeExactFigures(machine, 7), std::out_of_range);
}

}  // namespace
}  // namespace orvel
