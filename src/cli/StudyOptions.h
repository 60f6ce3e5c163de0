#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/CliOptions.h"

// `orvelsim-cli study`'s command line: the plain run's hall options (no
// --log-dir) plus the study's own, read and checked before any work.
namespace orvel::cli {

struct StudyOptions {
  CliOptions hall;        // seats, games, settings, rates, seed, format
  std::int64_t days = 0;  // 1 … 10,000,000
  int threads = 1;        // 1 … 1024
  std::string daysCsv;    // empty: no file
};

struct StudyCommandLine {
  std::optional<StudyOptions> options;
  int status = 0;
  std::string out;
  std::string error;
};

inline constexpr std::int64_t kMaxStudyDays = 10'000'000;
inline constexpr int kMaxStudyThreads = 1024;

// argv[0] is "study". The shared options are refused first, in their
// order, then --days (which must be given), --threads (default
// `defaultThreads`), --days-csv.
StudyCommandLine ReadStudyCommandLine(int argc, const char* const* argv, int defaultThreads);

}  // namespace orvel::cli
