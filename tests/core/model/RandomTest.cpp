#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/model/Random.h"
#include "core/model/Rate_TBL.h"

namespace orvel {
namespace {

TEST(RandomSource, UnseededStateIsOneZero) {
  const RandomSource fresh;
  EXPECT_EQ(fresh.low(), 1u);
  EXPECT_EQ(fresh.high(), 0u);
}

TEST(RandomSource, SeedOneGivesTheKnownSequence) {
  SeedRandom(1);
  EXPECT_EQ(SharedRandom().low(), 22695478u);
  EXPECT_EQ(SharedRandom().high(), 0u);
  const std::array<std::int32_t, 5> expected{1410184549, 672584604, 1915668986, 576821944,
                                             167078712};
  for (const std::int32_t value : expected) EXPECT_EQ(NextRandom(), value);
}

// The step written in 32-bit words, exactly as a 32-bit implementation
// would compute it; the 64-bit source must agree with it word for word.
struct WordwiseSource {
  std::uint32_t low, high;
  std::int32_t Next() {
    const std::uint64_t p = std::uint64_t{low} * 20021u;
    const std::uint32_t pLow = static_cast<std::uint32_t>(p);
    const std::uint32_t newLow = pLow + 1u;
    const std::uint32_t carry = newLow < pLow ? 1u : 0u;
    high = high * 20021u + low * 346u + static_cast<std::uint32_t>(p >> 32) + carry;
    low = newLow;
    return static_cast<std::int32_t>(high & 0x7FFFFFFFu);
  }
};

TEST(RandomSource, AgreesWithTheWordwiseStepAndStaysNonNegative) {
  for (const std::uint32_t seed : {0u, 1u, 0xFFFFFFFFu, 1733788800u, 0x80000000u}) {
    SCOPED_TRACE(seed);
    RandomSource source;
    source.Seed(seed);
    WordwiseSource words{seed * 22695477u + 1u, 0};
    ASSERT_EQ(source.low(), words.low);
    for (int i = 0; i < 100000; ++i) {
      const std::int32_t value = source.Next();
      ASSERT_EQ(value, words.Next()) << "step " << i;
      ASSERT_GE(value, 0);
      ASSERT_EQ(source.low(), words.low);
      ASSERT_EQ(source.high(), words.high);
    }
  }
}

TEST(RandomSource, SeedingRestartsTheSequence) {
  SeedRandom(77);
  const std::int32_t first = NextRandom();
  NextRandom();
  SeedRandom(77);
  EXPECT_EQ(NextRandom(), first);
}

struct PickCase {
  const char* name;
  std::vector<std::int32_t> weights;
  std::int32_t value;
  std::int32_t expected;
};

void PrintTo(const PickCase& c, std::ostream* os) {
  *os << "Pick(" << c.value << ") of {";
  for (std::size_t i = 0; i < c.weights.size(); ++i) *os << (i > 0 ? ", " : "") << c.weights[i];
  *os << "}";
}

class PickTest : public ::testing::TestWithParam<PickCase> {};

TEST_P(PickTest, PicksTheHalfOpenInterval) {
  const PickCase& c = GetParam();
  Rate_TBL<std::int32_t> table;
  for (const std::int32_t w : c.weights) table.push_back(w);
  EXPECT_EQ(table.Pick(c.value), c.expected);
}

const std::vector<std::int32_t> kLeadingZeros{0, 0, 0, 510, 1, 1};
const std::vector<std::int32_t> kKeizokuA{340, 2, 4, 2, 676};
const std::vector<std::int32_t> kKoyakuSetting1{4251,   7781,   6265,   2535,
                                                145031, 287281, 551882, 10477};

INSTANTIATE_TEST_SUITE_P(
    Rate_TBL, PickTest,
    ::testing::Values(
        PickCase{"zero_weights_are_skipped", kLeadingZeros, 0, 3},
        PickCase{"last_value_of_wide_interval", kLeadingZeros, 509, 3},
        PickCase{"weight_one_interval", kLeadingZeros, 510, 4},
        PickCase{"last_interval", kLeadingZeros, 511, 5},
        PickCase{"at_the_total_gives_count", kLeadingZeros, 512, 6},
        PickCase{"upper_bound_is_exclusive", kKeizokuA, 339, 0},
        PickCase{"lower_bound_is_inclusive", kKeizokuA, 340, 1},
        PickCase{"inside_second", kKeizokuA, 341, 1},
        PickCase{"third_starts", kKeizokuA, 342, 2},
        PickCase{"last_of_table", kKeizokuA, 1023, 4},
        PickCase{"remainder_starts_at_total", kKoyakuSetting1, 1015503, 8},
        PickCase{"remainder_ends_at_denominator", kKoyakuSetting1, 1048575, 8},
        PickCase{"bell_interval_start", kKoyakuSetting1, 453144, 6},
        PickCase{"replay_b_interval_end", kKoyakuSetting1, 453143, 5},
        PickCase{"empty_table_gives_zero", {}, 0, 0},
        PickCase{"empty_table_any_value", {}, 123456, 0},
        PickCase{"negative_value_gives_count", kKeizokuA, -1, 5},
        PickCase{"most_negative_value", kLeadingZeros, INT32_MIN, 6}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel
