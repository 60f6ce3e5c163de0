#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "TypedTexts.h"
#include "core/hall/TextToNumber.h"

namespace orvel {
namespace {

// Each table runs every shared typed text (TypedTexts.h) with this
// conversion's expectation for it, then its own cases.
using test::NastyThenOwn;

struct IntCase {
  const char* name;
  std::string text;
  std::optional<std::int32_t> value;
};

void PrintTo(const IntCase& c, std::ostream* os) { test::PrintTypedText(c.text, *os); }

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

std::vector<IntCase> IntCases() {
  constexpr std::nullopt_t no = std::nullopt;
  return NastyThenOwn<IntCase, std::optional<std::int32_t>>(
      {{"empty", no},
       {"blanks", no},
       {"letters", no},
       {"decimal_point", no},
       {"minus_one", -1},
       {"zero", 0},
       {"int_max", 2147483647},
       {"past_int_max", no},
       {"twenty_nines", no},
       {"full_width_digits", no},
       {"exponent", no},
       {"hexadecimal", no},
       {"plus", 5},
       {"blanks_around", 4},
       {"very_long", no},
       {"no_break_spaces_around", no},
       {"arabic_indic_digits", no},
       {"digit_separator", no}},
      {IntCase{"int_min", "-2147483648", INT32_MIN},
       IntCase{"past_int_min", "-2147483649", std::nullopt},
       IntCase{"inner_blank", "1 2", std::nullopt},
       IntCase{"sign_only", "-", std::nullopt},
       IntCase{"two_signs", "+-1", std::nullopt},
       IntCase{"leading_zeros", "000000000000000000042", 42},
       IntCase{"no_break_space_inside", "1\u00A0000", std::nullopt}});
}

INSTANTIATE_TEST_SUITE_P(TextToNumber, StrToIntTest, ::testing::ValuesIn(IntCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Seeds: the whole unsigned 32-bit range, no sign but "+".
struct UInt32Case {
  const char* name;
  std::string text;
  std::optional<std::uint32_t> value;
};

void PrintTo(const UInt32Case& c, std::ostream* os) { test::PrintTypedText(c.text, *os); }

class StrToUInt32Test : public ::testing::TestWithParam<UInt32Case> {};

TEST_P(StrToUInt32Test, ConvertsOrRefuses) { EXPECT_EQ(TryStrToUInt32(GetParam().text), GetParam().value); }

std::vector<UInt32Case> UInt32Cases() {
  constexpr std::nullopt_t no = std::nullopt;
  return NastyThenOwn<UInt32Case, std::optional<std::uint32_t>>(
      {{"empty", no},
       {"blanks", no},
       {"letters", no},
       {"decimal_point", no},
       {"minus_one", no},
       {"zero", 0},
       {"int_max", 2147483647},
       {"past_int_max", 2147483648u},
       {"twenty_nines", no},
       {"full_width_digits", no},
       {"exponent", no},
       {"hexadecimal", no},
       {"plus", 5},
       {"blanks_around", 4},
       {"very_long", no},
       {"no_break_spaces_around", no},
       {"arabic_indic_digits", no},
       {"digit_separator", no}},
      {UInt32Case{"uint32_max", "4294967295", 4294967295u},
       UInt32Case{"past_uint32_max", "4294967296", std::nullopt},
       UInt32Case{"two_to_the_64", "18446744073709551616", std::nullopt},
       UInt32Case{"negative_zero", "-0", std::nullopt},
       UInt32Case{"sign_only", "+", std::nullopt},
       UInt32Case{"two_signs", "++1", std::nullopt},
       UInt32Case{"blank_after_sign", "+ 7", std::nullopt},
       UInt32Case{"inner_blank", "1 2", std::nullopt},
       UInt32Case{"leading_zeros", "000000000000000000004294967295", 4294967295u},
       UInt32Case{"tabs_around", "\t\t12\t", 12}});
}

INSTANTIATE_TEST_SUITE_P(TextToNumber, StrToUInt32Test, ::testing::ValuesIn(UInt32Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A decimal as read: sign, digits without leading or trailing zeros, and
// the power of ten; or none.
struct Decimal {
  bool valid;
  bool negative = false;
  std::string digits = {};
  std::int64_t exponent = 0;
};

struct DecimalCase {
  const char* name;
  std::string text;
  Decimal expected;
};

void PrintTo(const DecimalCase& c, std::ostream* os) { test::PrintTypedText(c.text, *os); }

class ParseDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ParseDecimalTest, ReadsTheExactDecimal) {
  const DecimalCase& c = GetParam();
  const auto number = TryParseDecimal(c.text);
  ASSERT_EQ(number.has_value(), c.expected.valid);
  if (!c.expected.valid) {
    try {
      ParseDecimal(c.text);
      ADD_FAILURE() << "no error for '" << c.text << "'";
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + c.text + "' は浮動小数点数ではありません");
    }
    return;
  }
  EXPECT_EQ(number->negative, c.expected.negative);
  EXPECT_EQ(number->digits, c.expected.digits);
  EXPECT_EQ(number->exponent, c.expected.exponent);
}

std::vector<DecimalCase> DecimalCases() {
  const Decimal no{false};
  // 32767 nines: the first kMaxDigits kept, a sticky "1" for the rest, and
  // the scale of all of them.
  const Decimal nines{true, false, std::string(DecimalNumber::kMaxDigits, '9') + "1",
                      32767 - static_cast<std::int64_t>(DecimalNumber::kMaxDigits) - 1};
  return NastyThenOwn<DecimalCase, Decimal>(
      {{"empty", no},
       {"blanks", no},
       {"letters", no},
       {"decimal_point", {true, false, "15", -1}},
       {"minus_one", {true, true, "1", 0}},
       {"zero", {true, false, "", 0}},
       {"int_max", {true, false, "2147483647", 0}},
       {"past_int_max", {true, false, "2147483648", 0}},
       {"twenty_nines", {true, false, "99999999999999999999", 0}},
       {"full_width_digits", no},
       {"exponent", {true, false, "1", 3}},
       {"hexadecimal", no},
       {"plus", {true, false, "5", 0}},
       {"blanks_around", {true, false, "4", 0}},
       {"very_long", nines},
       {"no_break_spaces_around", no},
       {"arabic_indic_digits", no},
       {"digit_separator", no}},
      {DecimalCase{"rate", "0.55", {true, false, "55", -2}},
       DecimalCase{"one", "1", {true, false, "1", 0}},
       DecimalCase{"negative_zero", "-0.000", {true, true, "", 0}},
       DecimalCase{"padded", "00012.3400", {true, false, "1234", -2}},
       DecimalCase{"signed_exponent", "+.5E-2", {true, false, "5", -3}},
       DecimalCase{"trailing_point", "1.", {true, false, "1", 0}},
       DecimalCase{"leading_point", ".25", {true, false, "25", -2}},
       DecimalCase{"negative", "-1.5", {true, true, "15", -1}},
       DecimalCase{"blanks_around_a_fraction", "  0.3333\t", {true, false, "3333", -4}},
       DecimalCase{"trailing_zeros", "1500", {true, false, "15", 2}},
       DecimalCase{"huge_exponent", "1e99999999999999999999", {true, false, "1", 1000000000000}},
       DecimalCase{"tiny_exponent", "1e-99999999999999999999", {true, false, "1", -1000000000000}},
       DecimalCase{"comma", "1,5", no},
       DecimalCase{"point_only", ".", no},
       DecimalCase{"exponent_without_digits", "1e", no},
       DecimalCase{"exponent_only", "e3", no},
       DecimalCase{"infinity", "inf", no},
       DecimalCase{"nan", "nan", no},
       DecimalCase{"inner_blank", "0. 5", no},
       DecimalCase{"no_break_space_inside", "0.\u00A05", no},
       DecimalCase{"trailing_garbage", "0.5x", no}});
}

INSTANTIATE_TEST_SUITE_P(TextToNumber, ParseDecimalTest, ::testing::ValuesIn(DecimalCases()),
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
