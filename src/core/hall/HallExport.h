#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/hall/HallSlump.h"

namespace orvel {

class Hall;

// Exports of a hall for other programs.

// A table as CSV for spreadsheet programs: UTF-8 with a byte-order mark (so
// they read Japanese as UTF-8), "\r\n" line ends (RFC 4180, what they write
// themselves), a field quoted only when it holds a comma, a quote or a line
// break.
std::string CsvText(const std::vector<std::vector<std::string>>& rows);

// hall.csv of orvelsim-cli's --log-dir: the header line and one row per
// hall game, "game,balance".
const char* HallBalanceCsvHeader();
void AppendHallBalanceCsvRow(std::string& line, std::int32_t game, std::int64_t balance);

// A seat's log file name, seat from 1: "seat_001.csv".
std::string PlayLogFileName(int seat);

// The files orvelsim-cli's --log-dir writes, from a hall's in-memory logs:
// hall.csv from `slump`, seat_001.csv … from each seat's play log, the
// same bytes the CLI writes for the same run. The folder is made if
// missing; each file is written atomically (WriteFileAtomically), so a
// failure leaves every file either whole or as it was. Throws HallFileError.
void WritePlayLogFolder(const std::filesystem::path& dir, const Hall& hall,
                        const HallSlump& slump);

}  // namespace orvel
