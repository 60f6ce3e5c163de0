// libFuzzer target for the conversions of typed texts and the number texts,
// each checked against a simple reference:
//   byte 0 % 4 == 0: StrToInt against a regex and strtoll, and back through IntText;
//   byte 0 % 4 == 1: decimal parsing against a regex, its canonical form back
//                    again, and the rate rule against x87 long double;
//   byte 0 % 4 == 2: RealText of any double against printf's 15 digits;
//   byte 0 % 4 == 3: RateText and OneOverText against RealText.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <regex>
#include <string>

#include "core/analysis/NumberText.h"
#include "core/hall/OperatingRate.h"
#include "core/hall/TextToNumber.h"

namespace {

void Check(bool ok, const char* what, const std::string& input) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s for input '%s'\n", what, input.c_str());
  std::abort();
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void Integers(const std::string& text) {
  static const std::regex grammar(R"([+-]?[0-9]+)");
  const std::string t = Trimmed(text);
  std::optional<std::int32_t> expected;
  if (std::regex_match(t, grammar)) {
    errno = 0;
    const long long value = std::strtoll(t.c_str(), nullptr, 10);
    if (errno == 0 && value >= INT32_MIN && value <= INT32_MAX) expected = static_cast<std::int32_t>(value);
  }
  const auto got = orvel::TryStrToInt(text);
  Check(got == expected, "StrToInt differs from the reference", text);
  if (got) Check(orvel::TryStrToInt(orvel::IntText(*got)) == got, "IntText does not read back", text);
}

void Decimals(const std::string& text) {
  static const std::regex grammar(R"([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
  const auto number = orvel::TryParseDecimal(text);
  Check(number.has_value() == std::regex_match(Trimmed(text), grammar), "decimal grammar differs", text);
  if (!number) return;
  Check(number->digits.empty() || (number->digits.front() != '0' && number->digits.back() != '0'),
        "digits not canonical", text);
  // The canonical form reads back to itself.
  const std::string canonical = (number->negative ? "-" : "") + (number->IsZero() ? std::string("0") : number->digits) +
                                "e" + std::to_string(number->exponent);
  const auto again = orvel::TryParseDecimal(canonical);
  Check(again && again->digits == number->digits && again->exponent == number->exponent &&
            again->negative == number->negative,
        "canonical form does not read back", text);

  if (std::numeric_limits<long double>::digits != 64 || text.size() > 400) return;
  // The rate rule against the x87 itself, for exponents strtold can meet.
  if (number->exponent > 4000 || number->exponent < -4000) return;
  const orvel::OperatingRate rate = orvel::OperatingRate::FromDecimal(*number);
  const long double r = std::strtold(text.c_str(), nullptr);
  for (const std::int32_t game : {0, 1, 6, 98, 99, 7999, 123456, 2147483646}) {
    const double d = static_cast<double>(r * static_cast<long double>(game + 1LL));
    const double whole = std::isfinite(d) && std::fabs(d) < 2e9 ? std::floor(d) : 0;
    for (const double p : {whole - 1, whole, whole + 1, 0.0}) {
      if (p < 0) continue;
      const auto playCount = static_cast<std::int32_t>(p);
      Check(rate.Plays(game, playCount) == (d > static_cast<double>(playCount)), "rate rule differs from x87", text);
    }
  }
}

void RealTexts(const std::uint8_t* data, std::size_t size, const std::string& input) {
  if (size < 8) return;
  double value;
  std::memcpy(&value, data, 8);
  if (!std::isfinite(value)) return;
  const std::string text = orvel::RealText(value);
  char reference[64];
  std::snprintf(reference, sizeof reference, "%.14e", value);
  const double rounded = value == 0 ? 0 : std::strtod(reference, nullptr);
  Check(std::strtod(text.c_str(), nullptr) == rounded, "RealText does not read back to 15 digits", input + " " + text);
  const std::size_t e = text.find('E');
  const std::string mantissa = text.substr(0, e);
  if (mantissa.find('.') != std::string::npos) {
    Check(mantissa.back() != '0' && mantissa.back() != '.', "trailing zero or point", text);
  }
  if (rounded != 0) {
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(rounded)) + 1e-12));
    const bool plain = std::fabs(rounded) >= 0.0001 && std::fabs(rounded) < 1e15;
    Check((e == std::string::npos) == plain, "plain or E notation at the wrong exponent",
          text + " " + std::to_string(exponent));
  }
}

void RateTexts(const std::uint8_t* data, std::size_t size) {
  if (size < 16) return;
  std::int64_t count, denominator;
  std::memcpy(&count, data, 8);
  std::memcpy(&denominator, data + 8, 8);
  if (denominator == 0) return;
  const std::string input = std::to_string(count) + "/" + std::to_string(denominator);
  Check(orvel::RateText(count, denominator) ==
            orvel::RealText(static_cast<double>(count) / static_cast<double>(denominator)),
        "RateText", input);
  const std::string oneOver = orvel::OneOverText(count, denominator);
  Check(count == 0 ? oneOver == "0"
                   : oneOver == "1/" + orvel::RealText(static_cast<double>(denominator) / static_cast<double>(count)),
        "OneOverText", input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 4) {
    case 0: Integers(text); break;
    case 1: Decimals(text); break;
    case 2: RealTexts(data + 1, size - 1, text); break;
    default: RateTexts(data + 1, size - 1); break;
  }
  return 0;
}
