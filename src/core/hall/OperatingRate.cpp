#include "core/hall/OperatingRate.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "core/hall/TextToNumber.h"

namespace orvel {

namespace {

// An unsigned integer of any size, little-endian 32-bit limbs: just what
// the exact reading of a decimal text needs.
class BigUInt {
public:
  explicit BigUInt(std::uint32_t value = 0) {
    if (value != 0) limbs_.push_back(value);
  }

  void MulAdd(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (auto& limb : limbs_) {
      const std::uint64_t v = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(v);
      carry = v >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  BigUInt Shifted(int bits) const {
    BigUInt out;
    if (limbs_.empty()) return out;
    const int words = bits / 32, rest = bits % 32;
    out.limbs_.assign(static_cast<std::size_t>(words), 0);
    std::uint32_t carry = 0;
    for (const std::uint32_t limb : limbs_) {
      out.limbs_.push_back(rest == 0 ? limb : (limb << rest) | carry);
      carry = rest == 0 ? 0 : limb >> (32 - rest);
    }
    if (carry != 0) out.limbs_.push_back(carry);
    return out;
  }

  int BitLength() const {
    if (limbs_.empty()) return 0;
    int top = 0;
    for (std::uint32_t v = limbs_.back(); v != 0; v >>= 1) ++top;
    return static_cast<int>(limbs_.size() - 1) * 32 + top;
  }

  bool IsZero() const { return limbs_.empty(); }

  friend bool operator>=(const BigUInt& a, const BigUInt& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() > b.limbs_.size();
    for (std::size_t i = a.limbs_.size(); i-- > 0;) {
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] > b.limbs_[i];
    }
    return true;
  }

  // *this -= other, where *this >= other.
  void Subtract(const BigUInt& other) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      std::int64_t v = std::int64_t{limbs_[i]} - borrow -
                       (i < other.limbs_.size() ? std::int64_t{other.limbs_[i]} : 0);
      borrow = v < 0 ? 1 : 0;
      if (v < 0) v += std::int64_t{1} << 32;
      limbs_[i] = static_cast<std::uint32_t>(v);
    }
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

private:
  std::vector<std::uint32_t> limbs_;
};

struct U128 {
  std::uint64_t hi = 0, lo = 0;
};

int BitLength(U128 v) {
  return static_cast<int>(v.hi != 0 ? 64 + std::bit_width(v.hi) : std::bit_width(v.lo));
}

// v >> shift, rounded to nearest with ties to even; `sticky` says that
// non-zero bits lie below v as well. A carry out of 64 bits wraps to 0,
// which the callers turn into 2^63 with the exponent raised by one.
std::uint64_t RoundShiftRight(U128 v, int shift, bool sticky = false) {
  if (shift == 0) return v.lo;
  if (shift > 128) return 0;  // below one half
  std::uint64_t kept, half, below;
  if (shift < 64) {
    const std::uint64_t mask = (std::uint64_t{1} << shift) - 1;
    kept = (v.lo >> shift) | (v.hi << (64 - shift));
    half = (v.lo >> (shift - 1)) & 1;
    below = v.lo & (mask >> 1);
  } else if (shift == 64) {
    kept = v.hi;
    half = v.lo >> 63;
    below = v.lo << 1;
  } else {
    const int s = shift - 64;  // 65 … 128
    kept = s < 64 ? v.hi >> s : 0;
    half = (v.hi >> (s - 1)) & 1;
    below = v.lo | (s == 1 ? 0 : v.hi & (~std::uint64_t{0} >> (65 - s)));
  }
  if (half && (below != 0 || sticky || (kept & 1))) ++kept;
  return kept;
}

U128 Multiply(std::uint64_t a, std::uint32_t b) {
  const std::uint64_t low = (a & 0xFFFFFFFFu) * b;
  const std::uint64_t high = (a >> 32) * b;
  U128 out;
  out.lo = low + (high << 32);
  out.hi = (high >> 32) + (out.lo < low ? 1 : 0);
  return out;
}

// Decimal orders beyond which the rule no longer depends on the digits: a
// rate of 1E12 or more exceeds any play count, and one below 1E-371 times
// any game number rounds to a double of 0.
constexpr std::int64_t kAlwaysOrder = 12;
constexpr std::int64_t kNeverOrder = -371;

}  // namespace

OperatingRate OperatingRate::FromText(std::string_view text) {
  return FromDecimal(ParseDecimal(text));
}

OperatingRate OperatingRate::FromDecimal(const DecimalNumber& number) {
  OperatingRate rate;
  if (number.IsZero() || number.negative) return rate;  // never plays
  // The value lies in [10^(order-1), 10^order).
  const std::int64_t order = static_cast<std::int64_t>(number.digits.size()) + number.exponent;
  if (order > kAlwaysOrder) {
    rate.kind_ = Kind::Always;
    return rate;
  }
  if (order < kNeverOrder) return rate;

  // value = numerator / denominator exactly; then the quotient to 66-68
  // bits with a sticky remainder, rounded to 64 bits.
  BigUInt numerator, denominator(1);
  for (const char c : number.digits) numerator.MulAdd(10, static_cast<std::uint32_t>(c - '0'));
  for (std::int64_t i = 0; i < number.exponent; ++i) numerator.MulAdd(10, 0);
  for (std::int64_t i = 0; i < -number.exponent; ++i) denominator.MulAdd(10, 0);

  const int scale = denominator.BitLength() - numerator.BitLength() + 66;
  if (scale >= 0) {
    numerator = numerator.Shifted(scale);
  } else {
    denominator = denominator.Shifted(-scale);
  }
  U128 quotient;
  for (int j = 67; j >= 0; --j) {
    const BigUInt part = denominator.Shifted(j);
    if (numerator >= part) {
      numerator.Subtract(part);
      if (j >= 64) {
        quotient.hi |= std::uint64_t{1} << (j - 64);
      } else {
        quotient.lo |= std::uint64_t{1} << j;
      }
    }
  }
  int shift = BitLength(quotient) - 64;
  std::uint64_t significand = RoundShiftRight(quotient, shift, !numerator.IsZero());
  if (significand == 0) {  // rounding carried out of 64 bits
    significand = std::uint64_t{1} << 63;
    ++shift;
  }
  rate.kind_ = Kind::Exact;
  rate.significand_ = significand;
  rate.exponent_ = shift - scale;
  rate.approximate_ = std::ldexp(static_cast<double>(significand), rate.exponent_);
  return rate;
}

bool OperatingRate::Plays(std::int32_t game, std::int32_t playCount) const {
  if (kind_ == Kind::Always) return true;
  if (kind_ == Kind::Never || game < 0) return 0 > playCount;
  // Fast path: the double product differs from the exact one, and so from
  // the extended-precision result, by far less than 2^-40 of itself. When
  // it is farther than that from the play count, it decides alike; only
  // near-ties (0.5 × 2 against 1) take the exact path.
  if (approximate_ > 0x1p-900) {
    const double product = approximate_ * (static_cast<double>(game) + 1.0);
    const double margin = product * 0x1p-40;
    const double difference = product - static_cast<double>(playCount);
    if (difference > margin) return true;
    if (difference < -margin) return false;
  }
  return PlaysExactly(game, playCount);
}

bool OperatingRate::PlaysExactly(std::int32_t game, std::int32_t playCount) const {
  // The product in extended precision: exact, then rounded to 64 bits.
  const U128 product = Multiply(significand_, static_cast<std::uint32_t>(game) + 1u);
  int shift = BitLength(product) - 64;
  std::uint64_t x = RoundShiftRight(product, shift);
  if (x == 0) {
    x = std::uint64_t{1} << 63;
    ++shift;
  }
  const std::int32_t xExponent = exponent_ + shift;  // product = x × 2^xExponent

  // Rounded to a double: 53 bits, or fewer below the normal range, where
  // the last place is 2^-1074.
  const int topBit = xExponent + 63;
  const int dropBits = topBit >= -1022 ? 11 : -1074 - xExponent;
  const std::uint64_t d = RoundShiftRight(U128{0, x}, dropBits);
  const std::int32_t dExponent = xExponent + dropBits;  // double = d × 2^dExponent

  if (d == 0) return 0 > playCount;
  if (playCount < 0) return true;
  const auto p = static_cast<std::uint64_t>(playCount);
  if (dExponent >= 0) {
    if (dExponent >= 10) return true;  // d >= 2^63 > any play count
    return (d << dExponent) > p;
  }
  if (dExponent <= -64) return p == 0;  // 0 < double < 1
  const int k = -dExponent;
  const std::uint64_t whole = d >> k;
  const std::uint64_t fraction = d & ((std::uint64_t{1} << k) - 1);
  return whole > p || (whole == p && fraction != 0);
}

}  // namespace orvel
