#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/hall/HallReport.h"
#include "core/study/StudyStats.h"

namespace orvel {

// A study's report and its texts, shared by the CLI and the study window.
struct StudyHeader {
  std::uint32_t seed = 0;  // day d played seed + d
  std::int64_t daysPlanned = 0;
  bool partial = false;
};

// "多日シミュレーション：40日　シード 12345", with the days done out of the
// days planned when the study was stopped.
std::string StudyHeading(const StudySummary& summary, const StudyHeader& header);
// Caption and text of every hall-balance figure, in medals: mean, sd, min,
// the quantiles, max ("-" for each before the first day).
std::vector<std::pair<std::string, std::string>> StudyBalanceRows(const StudySummary& summary);
// The per-setting table, its captions first: 設定, 台数, ゲーム数, 機械割,
// 初当り確率, ボーナス確率 (the rates as "1/" + games per event).
using StudySettingTexts = std::array<std::string, 6>;
std::vector<StudySettingTexts> StudySettingRows(const StudySummary& summary);
// The share of losing days in one sentence a hall manager reads at a glance.
std::string StudyLossText(const StudySummary& summary);

// Table for a terminal, CSV and JSON for programs (JSON keys: days, seed,
// partial, hallMedals {mean, sd, min, p05, p25, median, p75, p95, max,
// lossShare}, bySetting [{level, seats, seatGames, payoutRate,
// firstHitsPerGame, bonusesPerGame}]; a rate of no games is null).
void WriteStudyReport(std::ostream& out, const StudySummary& summary, const StudyHeader& header, ReportFormat format);

// The --days-csv file: this header, then one row per day in day order.
const char* StudyDaysCsvHeader();
void AppendStudyDayCsvRow(std::string& line, const DayResult& day);

}  // namespace orvel
