#include "cli/CommandOutput.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "cli/CliOptions.h"
#include "core/hall/HallReport.h"

namespace orvel::cli {

std::optional<int> ParseSubcommand(CLI::App& app, int argc, const char* const* argv, std::ostream& out) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    std::ostringstream text, err;
    const int status = app.exit(help, text, err);
    out << text.str();
    return status;
  } catch (const CLI::ParseError& error) {
    throw UsageError{error.what()};
  }
  return std::nullopt;
}

void WriteAlignedTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
  std::vector<int> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) line += "  ";
      // The caption column reads left-aligned, the numbers right-aligned.
      const std::string pad(static_cast<std::size_t>(widths[c] - DisplayWidth(row[c])), ' ');
      line += c == 0 ? row[c] + pad : pad + row[c];
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

std::string ExactNumber(double value) {
  char buffer[32];
  // to_chars without a precision gives the shortest round-trip text and
  // never looks at the locale.
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return {buffer, result.ptr};
}

}  // namespace orvel::cli
