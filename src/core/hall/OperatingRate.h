#pragma once

#include <cstdint>
#include <string_view>

namespace orvel {

struct DecimalNumber;

// A seat's operating rate and the rule deciding whether it plays a hall
// game: the rate text read as an x87 extended-precision number (64-bit
// significand), times game + 1 in extended precision, rounded to a double,
// must be strictly greater than the machine's playCount. With that
// precision every multiple of 0.05 behaves as exact decimal arithmetic
// ("0.55" plays hall game 98, not 99), where a plain double product would
// not.
//
// The arithmetic is done here in integers, rounding to nearest-even at the
// same three points as the x87 (reading the text, the product, the double),
// so the rule is the same on every platform and compiler, including those
// whose long double is a plain double (MSVC) or a 128-bit quad (AArch64).
class OperatingRate final {
public:
  // Throws ConversionError for a text that is no decimal number.
  static OperatingRate FromText(std::string_view text);
  static OperatingRate FromDecimal(const DecimalNumber& number);

  // Whether a machine that has played `playCount` games plays hall game
  // `game` (0-based, >= 0).
  bool Plays(std::int32_t game, std::int32_t playCount) const;

  // The rate rounded to 64 significant bits: significand × 2^exponent. For
  // rates beyond the rule's reach (zero or less, 1E12 or more, below 1E-371)
  // only the kind matters.
  enum class Kind { Never, Always, Exact };
  Kind kind() const { return kind_; }
  std::uint64_t significand() const { return significand_; }
  std::int32_t exponent() const { return exponent_; }

private:
  bool PlaysExactly(std::int32_t game, std::int32_t playCount) const;

  Kind kind_ = Kind::Never;
  double approximate_ = 0;  // the rate as a double, for the fast path
  std::uint64_t significand_ = 0;
  std::int32_t exponent_ = 0;
};

}  // namespace orvel
