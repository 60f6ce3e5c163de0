#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "core/analysis/Result_data.h"

namespace orvel {

class Hall;

enum class ReportFormat { Table, Csv, Json };

// The seat table with the grid's ten columns as the hall stands, and the
// hall balance (the hall's gain: minus the players' medal sum) in medals and
// in yen. Table is aligned for a terminal, CSV and JSON are for programs.
void WriteHallReport(std::ostream& out, const Hall& hall, ReportFormat format);

// One row per log entry under the header
// sinceBB,medal,chainCount,playCount,bbKind,keizokuMode,mode,lastKoyaku.
void WritePlayLogCsv(std::ostream& out, const TSimResultData& log);
// The same file a row at a time, for entries written as they are played:
// the header line, and one entry's row appended to `line` (newline included).
const char* PlayLogCsvHeader();
void AppendPlayLogCsvRow(std::string& line, const TSimResultData::Entry& entry);

// Columns a text takes in a terminal: 2 for East Asian wide and full-width
// characters, 1 for others.
int DisplayWidth(std::string_view utf8);

}  // namespace orvel
