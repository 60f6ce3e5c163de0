#include "core/hall/TextToNumber.h"

#include <algorithm>

namespace orvel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Takes a leading sign off `text`; true when it was "-".
bool TakeSign(std::string_view& text) {
  if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
  const bool negative = text.front() == '-';
  text.remove_prefix(1);
  return negative;
}

constexpr std::int64_t kExponentLimit = 1'000'000'000'000;

}  // namespace

std::string NotAnIntegerMessage(std::string_view text) {
  return "'" + std::string(text) + "' は整数ではありません";
}

std::string NotADecimalMessage(std::string_view text) {
  return "'" + std::string(text) + "' は浮動小数点数ではありません";
}

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
  std::string_view rest = TrimBlanks(text);
  const bool negative = TakeSign(rest);
  if (rest.empty()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (const char c : rest) {
    if (!IsDigit(c)) return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 2147483648LL) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(std::string_view text) {
  if (const auto value = TryStrToInt(text)) return *value;
  throw ConversionError(NotAnIntegerMessage(text));
}

std::optional<std::uint32_t> TryStrToUInt32(std::string_view text) {
  std::string_view rest = TrimBlanks(text);
  if (!rest.empty() && rest.front() == '+') rest.remove_prefix(1);
  if (rest.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : rest) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > UINT32_MAX) return std::nullopt;  // checked per digit, so it never wraps
  }
  return static_cast<std::uint32_t>(value);
}

std::optional<DecimalNumber> TryParseDecimal(std::string_view text) {
  std::string_view rest = TrimBlanks(text);
  DecimalNumber number;
  number.negative = TakeSign(rest);

  bool anyDigit = false;
  bool dropped = false;  // non-zero digits beyond kMaxDigits
  std::int64_t pointShift = 0;
  // value = digits × 10^pointShift while the digits are read.
  auto takeDigit = [&](char c, bool afterPoint) {
    anyDigit = true;
    if (number.digits.empty() && c == '0') {  // a leading zero
      if (afterPoint) --pointShift;
    } else if (number.digits.size() < DecimalNumber::kMaxDigits) {
      number.digits += c;
      if (afterPoint) --pointShift;
    } else {
      if (!afterPoint) ++pointShift;  // a dropped digit still holds its place
      dropped = dropped || c != '0';
    }
  };

  std::size_t i = 0;
  for (; i < rest.size() && IsDigit(rest[i]); ++i) takeDigit(rest[i], false);
  if (i < rest.size() && rest[i] == '.') {
    for (++i; i < rest.size() && IsDigit(rest[i]); ++i) takeDigit(rest[i], true);
  }
  if (!anyDigit) return std::nullopt;

  std::int64_t exponent = 0;
  if (i < rest.size() && (rest[i] == 'e' || rest[i] == 'E')) {
    std::string_view tail = rest.substr(i + 1);
    const bool negativeExponent = TakeSign(tail);
    if (tail.empty()) return std::nullopt;
    for (const char c : tail) {
      if (!IsDigit(c)) return std::nullopt;
      if (exponent < kExponentLimit) exponent = exponent * 10 + (c - '0');
    }
    if (negativeExponent) exponent = -exponent;
  } else if (i != rest.size()) {
    return std::nullopt;
  }

  if (dropped) number.digits += '1', --pointShift;
  // Trailing zeros of the digits move into the exponent.
  while (!number.digits.empty() && number.digits.back() == '0') {
    number.digits.pop_back();
    ++pointShift;
  }
  if (number.digits.empty()) {
    number.exponent = 0;
  } else {
    number.exponent = std::clamp<std::int64_t>(exponent + pointShift, -kExponentLimit, kExponentLimit);
  }
  return number;
}

DecimalNumber ParseDecimal(std::string_view text) {
  if (auto number = TryParseDecimal(text)) return std::move(*number);
  throw ConversionError(NotADecimalMessage(text));
}

}  // namespace orvel
