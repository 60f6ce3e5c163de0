#include "core/analysis/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace orvel {

std::string IntText(std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string RealText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";

  // Round to 15 significant digits first: whether the text is plain or uses
  // "E" depends on the exponent after rounding (0.000099999999999999995
  // rounds to 0.0001 and is written plainly).
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const bool negative = text.front() == '-';
  const std::size_t e = text.find('e');
  std::string digits;
  for (const char c : text.substr(negative ? 1 : 0, e - (negative ? 1 : 0))) {
    if (c != '.') digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());

  std::string out = negative ? "-" : "";
  if (exponent < -4 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += "E" + std::to_string(exponent);
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const std::size_t integral = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integral) {
      out += digits + std::string(integral - digits.size(), '0');
    } else {
      out += digits.substr(0, integral) + "." + digits.substr(integral);
    }
  }
  return out;
}

std::string RateText(std::int64_t count, std::int64_t denominator) {
  return RealText(static_cast<double>(count) / static_cast<double>(denominator));
}

std::string OneOverText(std::int64_t count, std::int64_t denominator) {
  if (count == 0) return "0";
  return "1/" + RealText(static_cast<double>(denominator) / static_cast<double>(count));
}

}  // namespace orvel
