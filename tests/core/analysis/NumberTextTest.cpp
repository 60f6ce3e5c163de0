#include <gtest/gtest.h>

#include <clocale>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <cstdint>
#include <limits>
#include <locale>

#include "core/analysis/NumberText.h"

namespace orvel {
namespace {

// A locale whose decimal point is a comma: texts must not follow it.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

class NumberTextTest : public ::testing::Test {
protected:
  void SetUp() override {
    previous_ = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "ja_JP.UTF-8"}) {
      if (std::setlocale(LC_ALL, name)) break;
    }
  }
  void TearDown() override {
    std::locale::global(previous_);
    std::setlocale(LC_ALL, "C");
  }
  std::locale previous_;
};

struct RealCase {
  const char* name;
  double value;
  const char* text;
};

void PrintTo(const RealCase& c, std::ostream* os) {
  // Every digit the double holds, written in the classic locale whatever
  // the test has made global.
  std::ostringstream value;
  value.imbue(std::locale::classic());
  value << std::setprecision(17) << c.value;
  *os << value.str() << " as \"" << c.text << '"';
}

class RealTextTest : public NumberTextTest, public ::testing::WithParamInterface<RealCase> {};

TEST_P(RealTextTest, WritesTheGeneralForm) {
  EXPECT_EQ(RealText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, RealTextTest,
    ::testing::Values(
        RealCase{"zero", 0.0, "0"}, RealCase{"negative_zero", -0.0, "0"},
        RealCase{"integer", 65.0, "65"}, RealCase{"one", 1.0, "1"},
        RealCase{"eighth", 0.125, "0.125"}, RealCase{"third", 1.0 / 3, "0.333333333333333"},
        RealCase{"two_thirds", 2.0 / 3, "0.666666666666667"},
        RealCase{"rate_123_of_8000", 123.0 / 8000, "0.015375"},
        RealCase{"inverse_8000_over_123", 8000.0 / 123, "65.0406504065041"},
        RealCase{"float_seven_thirds", static_cast<float>(7.0 / 3), "2.33333325386047"},
        RealCase{"two_and_a_half", 2.5, "2.5"}, RealCase{"negative", -0.5, "-0.5"},
        RealCase{"smallest_plain", 0.0001, "0.0001"},
        RealCase{"rounds_up_to_smallest_plain", 0.0000999999999999999995, "0.0001"},
        RealCase{"just_below_plain", 9.99999999999999e-5, "9.99999999999999E-5"},
        RealCase{"five_e_minus_5", 0.00005, "5E-5"},
        RealCase{"one_point_two_five_e_minus_5", 0.0000125, "1.25E-5"},
        RealCase{"tiny", 1e-300, "1E-300"}, RealCase{"negative_tiny", -2.5e-7, "-2.5E-7"},
        RealCase{"largest_plain", 999999999999999.0, "999999999999999"},
        RealCase{"rounds_up_to_1e15", 999999999999999.9, "1E15"},
        RealCase{"ten_to_the_15", 1e15, "1E15"}, RealCase{"big", 1.5e20, "1.5E20"},
        RealCase{"seventeen_digits", 123456789012345678.0, "1.23456789012346E17"},
        RealCase{"fifteen_digits_kept", 1234.56789012345, "1234.56789012345"},
        RealCase{"sixteenth_digit_rounds", 0.1234567890123456, "0.123456789012346"},
        RealCase{"infinity", std::numeric_limits<double>::infinity(), "INF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NumberTextTest, IntegersArePlainDecimal) {
  EXPECT_EQ(IntText(0), "0");
  EXPECT_EQ(IntText(-1500), "-1500");
  EXPECT_EQ(IntText(1234567), "1234567");
  EXPECT_EQ(IntText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST_F(NumberTextTest, RateAndOneOverTexts) {
  EXPECT_EQ(RateText(0, 8000), "0");
  EXPECT_EQ(OneOverText(0, 8000), "0");
  EXPECT_EQ(RateText(8000, 8000), "1");
  EXPECT_EQ(OneOverText(8000, 8000), "1/1");
  EXPECT_EQ(RateText(123, 8000), "0.015375");
  EXPECT_EQ(OneOverText(123, 8000), "1/65.0406504065041");
  EXPECT_EQ(RateText(1, 3), "0.333333333333333");
  EXPECT_EQ(OneOverText(3, 1), "1/0.333333333333333");
  EXPECT_EQ(RateText(1, 20000), "5E-5");
}

}  // namespace
}  // namespace orvel
