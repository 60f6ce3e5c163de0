#pragma once

#include <cstdint>
#include <string>

// Number texts of the analysis window and the hall grid. They never depend on
// the locale: the decimal separator is always ".".
namespace orvel {

// Plain decimal, "-" before a negative value, no grouping: -1500.
std::string IntText(std::int64_t value);

// The shortest general form with at most 15 significant digits, no trailing
// zeros or point. Values from 0.0001 to below 1E15 in plain notation
// (0.015375, 65, 0); others as digits with a point after the first, "E"
// and the exponent without "+" or leading zeros (5E-5, 1.25E-5, 1E15).
std::string RealText(double value);

// count / denominator as a real text.
std::string RateText(std::int64_t count, std::int64_t denominator);

// "1/" + denominator / count as a real text, or "0" when count is 0.
std::string OneOverText(std::int64_t count, std::int64_t denominator);

}  // namespace orvel
