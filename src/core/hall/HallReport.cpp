#include "core/hall/HallReport.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "core/analysis/NumberText.h"
#include "core/analysis/Result_data.h"
#include "core/hall/Hall.h"
#include "core/hall/HallGrid.h"

namespace orvel {

namespace {

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          const char* hex = "0123456789abcdef";
          out += "\\u00";
          out += hex[(c >> 4) & 0xF];
          out += hex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

void WriteTable(std::ostream& out, const std::vector<HallGridTexts>& rows) {
  std::array<int, HallGridColumn::Count> widths{};
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) line += "  ";
      line += std::string(static_cast<std::size_t>(widths[c] - DisplayWidth(row[c])), ' ') + row[c];
    }
    out << line << '\n';
  }
}

}  // namespace

int DisplayWidth(std::string_view utf8) {
  int width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    width += IsWide(c) ? 2 : 1;
    i += length;
  }
  return width;
}

void WriteHallReport(std::ostream& out, const Hall& hall, ReportFormat format) {
  const std::int64_t balance = -hall.SumMedals();
  const std::int64_t yen = balance * 20;
  std::vector<HallGridTexts> rows{HallGridCaptions()};
  for (int seat = 0; seat < hall.SeatCount(); ++seat) rows.push_back(HallGridRow(hall, seat));

  switch (format) {
    case ReportFormat::Table:
      WriteTable(out, rows);
      out << "ホール収支：" << IntText(balance) << "枚　" << IntText(yen) << "円\n";
      break;
    case ReportFormat::Csv:
      for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) out << (c > 0 ? "," : "") << CsvField(row[c]);
        out << '\n';
      }
      out << "\nホール収支(枚),ホール収支(円)\n" << IntText(balance) << ',' << IntText(yen) << '\n';
      break;
    case ReportFormat::Json: {
      static constexpr std::array<const char*, HallGridColumn::Count> keys{
          "seat", "level", "rate", "playCount", "sinceBB", "firstHitCount", "bbCount", "mode", "medal", "yen"};
      out << "{\n  \"seats\": [";
      for (std::size_t r = 1; r < rows.size(); ++r) {
        out << (r > 1 ? ",\n    {" : "\n    {");
        for (std::size_t c = 0; c < keys.size(); ++c) {
          // Numbers stay numbers; the rate is the text as typed, the mode a name.
          const bool text = c == HallGridColumn::Rate || c == HallGridColumn::Mode;
          out << (c > 0 ? ", " : "") << '"' << keys[c] << "\": " << (text ? JsonString(rows[r][c]) : rows[r][c]);
        }
        out << '}';
      }
      out << (rows.size() > 1 ? "\n  ],\n" : "],\n");
      out << "  \"hallBalance\": {\"medals\": " << IntText(balance) << ", \"yen\": " << IntText(yen) << "}\n}\n";
      break;
    }
  }
}

const char* PlayLogCsvHeader() { return "sinceBB,medal,chainCount,playCount,bbKind,keizokuMode,mode,lastKoyaku\n"; }

void AppendPlayLogCsvRow(std::string& line, const TSimResultData::Entry& entry) {
  // to_chars straight into the line: the rows of a long run are most of
  // what writing its log files costs.
  char buffer[16];
  for (std::size_t c = 0; c < entry.size(); ++c) {
    if (c > 0) line += ',';
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, entry[c]);
    line.append(buffer, result.ptr);
  }
  line += '\n';
}

void WritePlayLogCsv(std::ostream& out, const TSimResultData& log) {
  out << PlayLogCsvHeader();
  std::array<std::span<const std::int32_t>, TSimResultData::kColumns> columns;
  for (int c = 0; c < TSimResultData::kColumns; ++c) {
    columns[static_cast<std::size_t>(c)] = log.Column(static_cast<ResultColumn>(c));
  }
  std::string line;
  TSimResultData::Entry entry{};
  for (std::size_t i = 0; i < static_cast<std::size_t>(log.Length()); ++i) {
    for (std::size_t c = 0; c < columns.size(); ++c) entry[c] = columns[c][i];
    line.clear();
    AppendPlayLogCsvRow(line, entry);
    out << line;
  }
}

}  // namespace orvel
