#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// What the figures and estimate subcommands share in their output.
namespace orvel::cli {

// Reads a subcommand's arguments into `app`. After --help the help has gone
// to `out` and its exit status comes back; a refusal throws UsageError.
std::optional<int> ParseSubcommand(CLI::App& app, int argc, const char* const* argv, std::ostream& out);

// Rows of texts, every column right-aligned to its widest text as a
// terminal shows it (wide characters count two), two blanks between.
void WriteAlignedTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

// A double in the shortest text that reads back to the very same value
// ("0.1", "0.002656635729939444"): JSON and CSV are for programs.
std::string ExactNumber(double value);

// "[a, b, c]" of exact numbers.
template <class Range>
std::string JsonArray(const Range& values) {
  std::string text = "[";
  for (const auto& v : values) text += (text.size() > 1 ? ", " : "") + ExactNumber(static_cast<double>(v));
  return text + "]";
}

}  // namespace orvel::cli
