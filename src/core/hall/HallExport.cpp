#include "core/hall/HallExport.h"

#include <charconv>
#include <sstream>
#include <system_error>

#include "core/hall/Hall.h"
#include "core/hall/HallFile.h"
#include "core/hall/HallReport.h"

namespace orvel {

namespace {

void AppendNumber(std::string& text, std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.append(buffer, result.ptr);
}

}  // namespace

std::string PlayLogFileName(int seat) {
  std::string number = std::to_string(seat);
  if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
  return "seat_" + number + ".csv";
}

std::string CsvText(const std::vector<std::vector<std::string>>& rows) {
  std::string out = "\xEF\xBB\xBF";
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) out += ',';
      const std::string& field = row[c];
      if (field.find_first_of(",\"\r\n") == std::string::npos) {
        out += field;
        continue;
      }
      out += '"';
      for (const char ch : field) {
        if (ch == '"') out += '"';
        out += ch;
      }
      out += '"';
    }
    out += "\r\n";
  }
  return out;
}

const char* HallBalanceCsvHeader() { return "game,balance\n"; }

void AppendHallBalanceCsvRow(std::string& line, std::int32_t game, std::int64_t balance) {
  AppendNumber(line, game);
  line += ',';
  AppendNumber(line, balance);
  line += '\n';
}

void WritePlayLogFolder(const std::filesystem::path& dir, const Hall& hall,
                        const HallSlump& slump) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) throw HallFileError{"フォルダ '" + dir.string() + "' を作れません：" + error.message()};
  std::string text = HallBalanceCsvHeader();
  for (std::size_t i = 0; i < slump.size(); ++i) {
    AppendHallBalanceCsvRow(text, slump.firstGame() + static_cast<std::int32_t>(i), slump[i]);
  }
  WriteFileAtomically(dir / "hall.csv", text);
  for (int seat = 0; seat < hall.SeatCount(); ++seat) {
    std::ostringstream out;
    WritePlayLogCsv(out, hall.PlayLog(seat));
    WriteFileAtomically(dir / PlayLogFileName(seat + 1), out.str());
  }
}

}  // namespace orvel
