#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/hall/Hall.h"
#include "core/hall/HallReport.h"

// orvelsim-cli's command line, read and checked apart from the run, so
// that every option text can be tried in-process.
namespace orvel::cli {

// A refused option value, or a --log-dir that cannot be used: its text is
// the one line the user gets after "orvelsim-cli: ", with exit status 2.
struct UsageError {
  std::string message;
};

// What a run is asked to do, every value checked.
struct CliOptions {
  int seats = 20;
  int games = 8000;
  std::vector<int> levels;         // one per seat, each 1 … 6
  // One per seat, as typed, each a decimal number; a single --rate is one
  // text shared by every seat, however many.
  std::vector<SeatRate> rates;
  std::optional<std::uint32_t> seed;  // none: the clock's
  std::string logDir;                 // empty: no log files
  ReportFormat format = ReportFormat::Table;
};

// The command line read: options to run with, or an end right away with
// `status` (0 after --help, 2 for a refusal), the help for stdout and the
// one line for stderr (without the program's name).
struct CommandLine {
  std::optional<CliOptions> options;
  int status = 0;
  std::string out;
  std::string error;
};

// Checks every option before any work is done; the first refusal wins,
// in the order seats, games, settings, rates, seed, format, log folder.
CommandLine ReadCommandLine(int argc, const char* const* argv);

// A subcommand's own option, read as text beside the shared ones and
// checked by the subcommand after them.
struct ExtraOption {
  std::string name;  // "--days"
  std::string help;
  std::string* text;  // set when the option is given
  bool* given;
};

// The command line of a subcommand (argv[0] being the subcommand's name):
// the shared hall options, without --log-dir unless `logDir`, plus `extras`.
struct CommandShape {
  std::string name;  // for the help: "orvelsim-cli study"
  std::string description;
  std::vector<ExtraOption> extras;
  bool logDir = true;
};
CommandLine ReadCommandLine(int argc, const char* const* argv, const CommandShape& command);

}  // namespace orvel::cli
