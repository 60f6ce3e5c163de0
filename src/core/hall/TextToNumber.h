#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Conversions of the texts a user types: play counts, update intervals,
// settings, machine counts, operating rates and seeds.
//
// All accept ASCII blanks (space, tab) before and after the number and an
// optional "+" (or "-", where a number may be negative), as the usual
// string-to-number routines do. Digits are ASCII only (full-width "１２" is
// refused), the decimal point is always ".", and there is no hexadecimal,
// "inf" or "nan".
namespace orvel {

// A text that is no number. Its message is the one the user sees:
// "'12a' は整数ではありません" or "'x' は浮動小数点数ではありません".
class ConversionError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A decimal number exactly as typed: value = ±digits × 10^exponent, with
// `digits` free of leading zeros (empty for zero). Very long digit strings
// keep their first kMaxDigits digits plus a final "1" standing for any
// non-zero digits dropped, which is enough to round to 64 bits exactly.
struct DecimalNumber {
  static constexpr std::size_t kMaxDigits = 1100;
  bool negative = false;
  std::string digits;
  std::int64_t exponent = 0;  // saturates at ±10^12 for absurd exponents

  bool IsZero() const { return digits.empty(); }
};

// A 32-bit integer: [blanks] [+|-] digits [blanks].
std::optional<std::int32_t> TryStrToInt(std::string_view text);
std::int32_t StrToInt(std::string_view text);  // throws ConversionError

// A 32-bit unsigned integer (a seed): [blanks] [+] digits [blanks]. No "-",
// not even "-0": a seed is never negative.
std::optional<std::uint32_t> TryStrToUInt32(std::string_view text);

// A decimal number: [blanks] [+|-] (digits [. [digits]] | . digits)
// [(e|E) [+|-] digits] [blanks]. "1e3" and "1." are numbers, "1,5" is not.
std::optional<DecimalNumber> TryParseDecimal(std::string_view text);
DecimalNumber ParseDecimal(std::string_view text);  // throws ConversionError

std::string NotAnIntegerMessage(std::string_view text);
std::string NotADecimalMessage(std::string_view text);

}  // namespace orvel
