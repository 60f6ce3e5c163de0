#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "TypedTexts.h"
#include "core/hall/OperatingRate.h"
#include "core/hall/TextToNumber.h"

namespace orvel {
namespace {

// The hall games 0 … games-1 that a reset machine with this rate plays.
std::vector<int> PlayedGames(const std::string& text, int games, int firstGame = 0) {
  const OperatingRate rate = OperatingRate::FromText(text);
  std::vector<int> played;
  int playCount = 0;
  for (int g = firstGame; g < firstGame + games; ++g) {
    if (rate.Plays(g, playCount)) {
      played.push_back(g);
      ++playCount;
    }
  }
  return played;
}

struct CountCase {
  const char* name;
  std::string text;
  std::optional<std::size_t> played;  // of 8000 hall games; none: no rate at all
};

void PrintTo(const CountCase& c, std::ostream* os) { test::PrintTypedText(c.text, *os); }

class RateCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(RateCountTest, PlaysTheCeilingOfRateTimesGames) {
  const CountCase& c = GetParam();
  if (c.played) {
    EXPECT_EQ(PlayedGames(c.text, 8000).size(), *c.played);
  } else {
    EXPECT_THROW(OperatingRate::FromText(c.text), ConversionError);
  }
}

std::vector<CountCase> CountCases() {
  constexpr std::nullopt_t no = std::nullopt;
  return test::NastyThenOwn<CountCase, std::optional<std::size_t>>(
      {{"empty", no},
       {"blanks", no},
       {"letters", no},
       {"decimal_point", 8000},  // above one
       {"minus_one", 0},
       {"zero", 0},
       {"int_max", 8000},
       {"past_int_max", 8000},
       {"twenty_nines", 8000},
       {"full_width_digits", no},
       {"exponent", 8000},
       {"hexadecimal", no},
       {"plus", 8000},
       {"blanks_around", 8000},
       {"very_long", 8000},
       {"no_break_spaces_around", no},
       {"arabic_indic_digits", no},
       {"digit_separator", no}},
      {CountCase{"one", "1", 8000}, CountCase{"half", "0.5", 4000},
       CountCase{"five_percent", "0.05", 400}, CountCase{"fifty_five_percent", "0.55", 4400},
       CountCase{"typed_third", "0.3333", 2667}, CountCase{"huge", "1e300", 8000},
       CountCase{"negative", "-0.5", 0}, CountCase{"negative_zero", "-0", 0},
       CountCase{"subnormal_double_plays_once", "1e-320", 1},
       CountCase{"below_doubles_never", "1e-400", 0}});
}

INSTANTIATE_TEST_SUITE_P(OperatingRate, RateCountTest, ::testing::ValuesIn(CountCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OperatingRate, HalfPlaysEvenGamesAndThreeQuartersSkipsEveryFourth) {
  const auto half = PlayedGames("0.5", 10);
  EXPECT_EQ(half, (std::vector<int>{0, 2, 4, 6, 8}));
  for (const int g : PlayedGames("0.75", 400)) EXPECT_NE(g % 4, 3) << g;
  EXPECT_EQ(PlayedGames("0.05", 41), (std::vector<int>{0, 20, 40}));
}

TEST(OperatingRate, FiftyFivePercentPlays98Not99Then100And101) {
  const auto played = PlayedGames("0.55", 102);
  auto has = [&](int g) { return std::find(played.begin(), played.end(), g) != played.end(); };
  EXPECT_TRUE(has(98));
  EXPECT_FALSE(has(99));
  EXPECT_TRUE(has(100));
  EXPECT_TRUE(has(101));
}

// Every multiple of 0.05 decides each game as exact decimal arithmetic
// would: k/20 × (g + 1) > p  ⇔  k × (g + 1) > 20 p.
TEST(OperatingRate, MultiplesOfFivePercentAreExactDecimals) {
  for (int k = 0; k <= 40; ++k) {
    const std::string text = std::to_string(k / 20) + "." + (k % 20 < 2 ? "0" : "") +
                             std::to_string(k % 20 * 5);
    const OperatingRate rate = OperatingRate::FromText(text);
    for (int g = 0; g < 8000; ++g) {
      for (const int p : {g * k / 20 - 1, g * k / 20, g * k / 20 + 1, (g + 1) * k / 20}) {
        if (p < 0) continue;
        ASSERT_EQ(rate.Plays(g, p), std::int64_t{k} * (g + 1) > std::int64_t{20} * p)
            << text << " game " << g << " playCount " << p;
      }
    }
  }
}

TEST(OperatingRate, ALaggingMachineCatchesUpThenFollowsItsRate) {
  // New seats at a resumed hall game 100 with rate 0.5.
  const auto played = PlayedGames("0.5", 111, 100);
  std::vector<int> expected;
  for (int g = 100; g <= 200; ++g) expected.push_back(g);
  for (int g = 202; g <= 210; g += 2) expected.push_back(g);
  EXPECT_EQ(played, expected);
}

TEST(OperatingRate, RefusesTextsThatAreNoNumber) {
  EXPECT_THROW(OperatingRate::FromText(""), ConversionError);
  EXPECT_THROW(OperatingRate::FromText("0,5"), ConversionError);
}

// Reading a text rounds to 64 significant bits, ties to even: 1 + 2^-64 is
// halfway between 1 and 1 + 2^-63, 1 + 3·2^-64 halfway between 1 + 2^-63
// and 1 + 2^-62; the slightest excess beyond a tie rounds up.
TEST(OperatingRate, ReadingRoundsToNearestEven) {
  const std::string tie = "1.0000000000000000000542101086242752217003726400434970855712890625";
  const std::string tie3 = "1.0000000000000000001626303258728256651011179201304912567138671875";
  const std::uint64_t one = std::uint64_t{1} << 63;
  struct {
    std::string text;
    std::uint64_t significand;
  } cases[] = {{tie, one},
               {tie + "000000000000000000000000000000001", one + 1},
               {tie3, one + 2},
               {"0.9999999999999999999999999999", one},
               {std::string("1.") + std::string(1500, '0') + "1", one}};
  for (const auto& c : cases) {
    const OperatingRate rate = OperatingRate::FromText(c.text);
    ASSERT_EQ(rate.kind(), OperatingRate::Kind::Exact);
    EXPECT_EQ(rate.significand(), c.significand) << c.text;
    EXPECT_EQ(rate.exponent(), -63) << c.text;
  }
}

// On x86-64 with GCC, long double is the x87 format the rule is defined in:
// the integer arithmetic must agree with it on every text and game.
TEST(OperatingRate, AgreesWithX87ExtendedPrecision) {
  if (std::numeric_limits<long double>::digits != 64) {
    GTEST_SKIP() << "long double is not the x87 extended format here";
  }
  std::mt19937_64 random(20261209);
  auto digits = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + random() % 10);
    return s;
  };
  std::vector<std::string> texts{"0.55", "0.05", "0.1", "0.15", "0.3333", "0.7", "0.95", "1",
                                 "0.333333333333333333333333333333", "0.1e1", "1e-320",
                                 "4.9406564584124654e-324", "2.4703282292062327e-324",
                                 "123456789012.5", "999999999999.9999",
      "1.0000000000000000000542101086242752217003726400434970855712890625",
      "1.00000000000000000005421010862427522170037264004349708557128906250001"};
  for (int i = 0; i < 3000; ++i) {
    std::string text = "0." + digits(1 + static_cast<int>(random() % 40));
    if (i % 3 == 0) text = digits(1 + static_cast<int>(random() % 3)) + "." + digits(static_cast<int>(random() % 25));
    if (i % 7 == 0) text += "e-" + std::to_string(random() % 330);
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    const OperatingRate rate = OperatingRate::FromText(text);
    const long double r = std::strtold(text.c_str(), nullptr);
    if (rate.kind() == OperatingRate::Kind::Exact) {
      int e = 0;
      const long double fraction = std::frexp(r, &e);  // r = fraction × 2^e, fraction in [0.5, 1)
      ASSERT_EQ(rate.significand(), static_cast<std::uint64_t>(std::ldexp(fraction, 64))) << text;
      ASSERT_EQ(rate.exponent(), e - 64) << text;
    }
    for (int trial = 0; trial < 40; ++trial) {
      const std::int32_t game = trial < 20 ? trial * 397 : static_cast<std::int32_t>(random() % 2147483647);
      const long double product = r * static_cast<long double>(game + 1LL);
      const double d = static_cast<double>(product);
      // Play counts around the product, where the rounding decides.
      const double whole = d < 2e9 ? static_cast<double>(static_cast<std::int64_t>(d)) : 2e9;
      for (const double p : {whole - 1, whole, whole + 1, 0.0}) {
        if (p < 0 || p > 2147483647.0) continue;
        const auto playCount = static_cast<std::int32_t>(p);
        ASSERT_EQ(rate.Plays(game, playCount), d > static_cast<double>(playCount))
            << "rate " << text << " game " << game << " playCount " << playCount;
      }
    }
  }
}

}  // namespace
}  // namespace orvel
