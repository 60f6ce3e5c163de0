#include "cli/StudyOptions.h"

#include <algorithm>

#include "core/hall/TextToNumber.h"

namespace orvel::cli {

namespace {

std::int64_t ToCount(const std::string& option, const std::string& text, std::int64_t high,
                     const std::string& rangeMessage) {
  const auto value = TryStrToInt(text);
  if (!value) throw UsageError{option + ": " + NotAnIntegerMessage(text)};
  if (*value < 1 || *value > high) throw UsageError{option + ": " + rangeMessage};
  return *value;
}

}  // namespace

StudyCommandLine ReadStudyCommandLine(int argc, const char* const* argv, int defaultThreads) {
  std::string daysText, threadsText, daysCsv;
  bool daysGiven = false, threadsGiven = false, daysCsvGiven = false;
  const CommandShape shape{
      "orvelsim-cli study",
      "Many hall days on every core: day d is the plain run with seed S + d. Prints the distribution of the daily "
      "hall balance and the observed payout per setting.",
      {{"--days", "days to play, 1 … 10000000 (required)", &daysText, &daysGiven},
       {"--threads", "worker threads, 1 … 1024 (default: every core)", &threadsText, &threadsGiven},
       {"--days-csv", "write one row per day (day,seed,hallMedals,hallYen) to this file", &daysCsv, &daysCsvGiven}},
      false};
  const CommandLine line = ReadCommandLine(argc, argv, shape);
  StudyCommandLine study;
  study.status = line.status;
  study.out = line.out;
  study.error = line.error;
  if (!line.options) return study;

  try {
    StudyOptions options;
    options.hall = *line.options;
    if (!daysGiven) throw UsageError{"--days: 日数を指定してください。"};
    options.days = ToCount("--days", daysText, kMaxStudyDays, "日数は、1から10000000にしてください。");
    options.threads = threadsGiven ? static_cast<int>(ToCount("--threads", threadsText, kMaxStudyThreads,
                                                              "スレッド数は、1から1024にしてください。"))
                                   : std::clamp(defaultThreads, 1, kMaxStudyThreads);
    if (daysCsvGiven && daysCsv.empty()) throw UsageError{"--days-csv: ファイル名が空です。"};
    options.daysCsv = daysCsv;
    study.options = std::move(options);
  } catch (const UsageError& refusal) {
    study.status = 2;
    study.error = refusal.message;
  }
  return study;
}

}  // namespace orvel::cli
