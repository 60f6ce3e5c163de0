#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/hall/TextToNumber.h"

namespace orvel {
namespace {

struct IntCase {
  const char* name;
  std::string text;
  std::optional<std::int32_t> value;
};

class StrToIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(StrToIntTest, ConvertsOrRefusesWithTheMessage) {
  const IntCase& c = GetParam();
  EXPECT_EQ(TryStrToInt(c.text), c.value);
  if (c.value) {
    EXPECT_EQ(StrToInt(c.text), *c.value);
  } else {
    try {
      StrToInt(c.text);
      ADD_FAILURE() << "no error for '" << c.text << "'";
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + c.text + "' は整数ではありません");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    TextToNumber, StrToIntTest,
    ::testing::Values(IntCase{"empty", "", std::nullopt}, IntCase{"blanks", "   ", std::nullopt},
                      IntCase{"letters", "abc", std::nullopt},
                      IntCase{"decimal_point", "1.5", std::nullopt},
                      IntCase{"minus_one", "-1", -1}, IntCase{"zero", "0", 0},
                      IntCase{"int_max", "2147483647", 2147483647},
                      IntCase{"past_int_max", "2147483648", std::nullopt},
                      IntCase{"int_min", "-2147483648", INT32_MIN},
                      IntCase{"past_int_min", "-2147483649", std::nullopt},
                      IntCase{"twenty_nines", "99999999999999999999", std::nullopt},
                      IntCase{"full_width_digits", "１２", std::nullopt},
                      IntCase{"exponent", "1e3", std::nullopt},
                      IntCase{"hexadecimal", "0x10", std::nullopt}, IntCase{"plus", "+5", 5},
                      IntCase{"blanks_around", " \t7 ", 7},
                      IntCase{"inner_blank", "1 2", std::nullopt},
                      IntCase{"sign_only", "-", std::nullopt},
                      IntCase{"two_signs", "+-1", std::nullopt},
                      IntCase{"leading_zeros", "000000000000000000042", 42},
                      IntCase{"long_text", std::string(5000, '7'), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct DecimalCase {
  const char* name;
  std::string text;
  bool valid;
  bool negative = false;
  std::string digits = {};
  std::int64_t exponent = 0;
};

class ParseDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ParseDecimalTest, ReadsTheExactDecimal) {
  const DecimalCase& c = GetParam();
  const auto number = TryParseDecimal(c.text);
  ASSERT_EQ(number.has_value(), c.valid);
  if (!c.valid) {
    try {
      ParseDecimal(c.text);
      ADD_FAILURE() << "no error for '" << c.text << "'";
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + c.text + "' は浮動小数点数ではありません");
    }
    return;
  }
  EXPECT_EQ(number->negative, c.negative);
  EXPECT_EQ(number->digits, c.digits);
  EXPECT_EQ(number->exponent, c.exponent);
}

INSTANTIATE_TEST_SUITE_P(
    TextToNumber, ParseDecimalTest,
    ::testing::Values(
        DecimalCase{"rate", "0.55", true, false, "55", -2},
        DecimalCase{"one", "1", true, false, "1", 0},
        DecimalCase{"zero", "0", true, false, "", 0},
        DecimalCase{"negative_zero", "-0.000", true, true, "", 0},
        DecimalCase{"padded", "00012.3400", true, false, "1234", -2},
        DecimalCase{"exponent", "1e3", true, false, "1", 3},
        DecimalCase{"signed_exponent", "+.5E-2", true, false, "5", -3},
        DecimalCase{"trailing_point", "1.", true, false, "1", 0},
        DecimalCase{"leading_point", ".25", true, false, "25", -2},
        DecimalCase{"negative", "-1.5", true, true, "15", -1},
        DecimalCase{"blanks_around", "  0.3333\t", true, false, "3333", -4},
        DecimalCase{"trailing_zeros", "1500", true, false, "15", 2},
        DecimalCase{"huge_exponent", "1e99999999999999999999", true, false, "1", 1000000000000},
        DecimalCase{"tiny_exponent", "1e-99999999999999999999", true, false, "1", -1000000000000},
        DecimalCase{"empty", "", false},
        DecimalCase{"blanks", "   ", false},
        DecimalCase{"letters", "abc", false},
        DecimalCase{"comma", "1,5", false},
        DecimalCase{"point_only", ".", false},
        DecimalCase{"exponent_without_digits", "1e", false},
        DecimalCase{"exponent_only", "e3", false},
        DecimalCase{"full_width", "１２", false},
        DecimalCase{"hexadecimal", "0x10", false},
        DecimalCase{"infinity", "inf", false},
        DecimalCase{"nan", "nan", false},
        DecimalCase{"inner_blank", "0. 5", false},
        DecimalCase{"trailing_garbage", "0.5x", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseDecimal, VeryLongTextsKeepTheirScaleAndAStickyDigit) {
  const std::string ones(2000, '1');
  const DecimalNumber big = ParseDecimal(ones);
  EXPECT_EQ(big.digits.size(), DecimalNumber::kMaxDigits + 1);
  EXPECT_EQ(big.digits.back(), '1');
  EXPECT_EQ(static_cast<std::int64_t>(big.digits.size()) + big.exponent, 2000);

  const DecimalNumber zeros = ParseDecimal("0." + std::string(3000, '0') + "5");
  EXPECT_EQ(zeros.digits, "5");
  EXPECT_EQ(zeros.exponent, -3001);

  // Dropped zeros need no sticky digit: the value is exact.
  const DecimalNumber round = ParseDecimal("5" + std::string(1500, '0') + ".000");
  EXPECT_EQ(round.digits, "5");
  EXPECT_EQ(round.exponent, 1500);
}

}  // namespace
}  // namespace orvel
