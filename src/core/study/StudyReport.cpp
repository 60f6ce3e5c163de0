#include "core/study/StudyReport.h"

#include <algorithm>
#include <cmath>

#include "core/analysis/NumberText.h"

namespace orvel {

namespace {

constexpr std::int64_t kYenPerMedal = 20;

// A real rounded to `decimals` places for people; programs get every digit.
std::string Rounded(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(value * scale) / scale;
  return RealText(rounded == 0 ? 0.0 : rounded);  // no "-0"
}

std::string Percent(double share, int decimals) { return Rounded(share * 100, decimals) + "%"; }

std::string OneIn(double perGame) {
  if (std::isnan(perGame)) return "-";
  return perGame == 0 ? "0" : "1/" + Rounded(1 / perGame, 1);
}

std::string JsonNumber(double value) { return std::isnan(value) ? "null" : RealText(value); }
std::string CsvNumber(double value) { return std::isnan(value) ? "" : RealText(value); }

int DisplayWidthOf(const std::string& text) { return DisplayWidth(text); }

std::string PadLeft(const std::string& text, int width) {
  return std::string(static_cast<std::size_t>(std::max(0, width - DisplayWidthOf(text))), ' ') + text;
}

std::string PadRight(const std::string& text, int width) {
  return text + std::string(static_cast<std::size_t>(std::max(0, width - DisplayWidthOf(text))), ' ');
}

}  // namespace

std::string StudyHeading(const StudySummary& summary, const StudyHeader& header) {
  std::string days = IntText(summary.days) + "日";
  if (header.partial) days = IntText(summary.days) + " / " + IntText(header.daysPlanned) + "日（中断、途中まで）";
  return "多日シミュレーション：" + days + "　シード " + IntText(header.seed);
}

std::vector<std::pair<std::string, std::string>> StudyBalanceRows(const StudySummary& summary) {
  const BalanceSummary& b = summary.hallMedals;
  // No day finished: the captions with "-".
  const bool none = summary.days == 0;
  auto medals = [none](const std::string& text) { return none ? std::string("-") : text + "枚"; };
  return {{"平均", medals(Rounded(b.mean, 1))}, {"標準偏差", medals(Rounded(b.sd, 1))},
          {"最小", medals(IntText(b.min))},     {"5%", medals(IntText(b.p05))},
          {"25%", medals(IntText(b.p25))},      {"中央値", medals(IntText(b.median))},
          {"75%", medals(IntText(b.p75))},      {"95%", medals(IntText(b.p95))},
          {"最大", medals(IntText(b.max))}};
}

std::vector<StudySettingTexts> StudySettingRows(const StudySummary& summary) {
  std::vector<StudySettingTexts> rows{{"設定", "台数", "ゲーム数", "機械割", "初当り確率", "ボーナス確率"}};
  for (const SettingSummary& s : summary.bySetting) {
    rows.push_back({IntText(s.level), IntText(s.seats), IntText(s.seatGames),
                    std::isnan(s.payoutRate) ? "-" : Percent(s.payoutRate, 2), OneIn(s.firstHitsPerGame),
                    OneIn(s.bonusesPerGame)});
  }
  return rows;
}

std::string StudyLossText(const StudySummary& summary) {
  const BalanceSummary& b = summary.hallMedals;
  const std::string of = IntText(summary.days) + "日中" + IntText(b.lossDays) + "日";
  if (summary.days == 0) return "終わった日はありません。";
  if (b.lossDays == 0) return "ホールが負けた日はありません（" + of + "）。";
  if (b.lossDays == summary.days) return "ホールは毎日負けました（" + of + "）。";
  return "ホールが負けた日は" + of + "（" + Percent(b.lossShare, 1) + "）、およそ" + Rounded(1 / b.lossShare, 1) +
         "日に1日です。";
}

void WriteStudyReport(std::ostream& out, const StudySummary& summary, const StudyHeader& header, ReportFormat format) {
  const BalanceSummary& b = summary.hallMedals;
  switch (format) {
    case ReportFormat::Table: {
      out << StudyHeading(summary, header) << '\n';
      out << "ホール収支（1日あたり）\n";
      const auto balance = StudyBalanceRows(summary);
      int captionWidth = 0, valueWidth = 0;
      for (const auto& [caption, value] : balance) {
        captionWidth = std::max(captionWidth, DisplayWidth(caption));
        valueWidth = std::max(valueWidth, DisplayWidth(value));
      }
      for (const auto& [caption, value] : balance) {
        out << "  " << PadRight(caption, captionWidth) << "  " << PadLeft(value, valueWidth) << '\n';
      }
      out << StudyLossText(summary) << '\n';
      const auto rows = StudySettingRows(summary);
      std::array<int, std::tuple_size_v<StudySettingTexts>> widths{};
      for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
      }
      for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) line += (c > 0 ? "  " : "") + PadLeft(row[c], widths[c]);
        out << line << '\n';
      }
      break;
    }
    case ReportFormat::Csv:
      out << "days,seed,partial,mean,sd,min,p05,p25,median,p75,p95,max,lossShare\n"
          << IntText(summary.days) << ',' << IntText(header.seed) << ',' << (header.partial ? "true" : "false");
      if (summary.days > 0) {
        out << ',' << RealText(b.mean) << ',' << RealText(b.sd);
        for (const std::int64_t q : {b.min, b.p05, b.p25, b.median, b.p75, b.p95, b.max}) out << ',' << IntText(q);
        out << ',' << RealText(b.lossShare);
      } else {
        out << ",,,,,,,,,,";
      }
      out << "\n\nlevel,seats,seatGames,payoutRate,firstHitsPerGame,bonusesPerGame\n";
      for (const SettingSummary& s : summary.bySetting) {
        out << IntText(s.level) << ',' << IntText(s.seats) << ',' << IntText(s.seatGames) << ','
            << CsvNumber(s.payoutRate) << ',' << CsvNumber(s.firstHitsPerGame) << ',' << CsvNumber(s.bonusesPerGame)
            << '\n';
      }
      break;
    case ReportFormat::Json: {
      out << "{\n  \"days\": " << IntText(summary.days) << ",\n  \"seed\": " << IntText(header.seed)
          << ",\n  \"partial\": " << (header.partial ? "true" : "false") << ",\n  \"hallMedals\": ";
      if (summary.days == 0) {
        out << "null";
      } else {
        out << "{\"mean\": " << RealText(b.mean) << ", \"sd\": " << RealText(b.sd) << ", \"min\": " << IntText(b.min)
            << ", \"p05\": " << IntText(b.p05) << ", \"p25\": " << IntText(b.p25)
            << ", \"median\": " << IntText(b.median) << ", \"p75\": " << IntText(b.p75)
            << ", \"p95\": " << IntText(b.p95) << ", \"max\": " << IntText(b.max)
            << ", \"lossShare\": " << RealText(b.lossShare) << '}';
      }
      out << ",\n  \"bySetting\": [";
      for (std::size_t i = 0; i < summary.bySetting.size(); ++i) {
        const SettingSummary& s = summary.bySetting[i];
        out << (i > 0 ? ",\n    " : "\n    ") << "{\"level\": " << IntText(s.level)
            << ", \"seats\": " << IntText(s.seats) << ", \"seatGames\": " << IntText(s.seatGames)
            << ", \"payoutRate\": " << JsonNumber(s.payoutRate)
            << ", \"firstHitsPerGame\": " << JsonNumber(s.firstHitsPerGame)
            << ", \"bonusesPerGame\": " << JsonNumber(s.bonusesPerGame) << '}';
      }
      out << (summary.bySetting.empty() ? "]\n}\n" : "\n  ]\n}\n");
      break;
    }
  }
}

const char* StudyDaysCsvHeader() { return "day,seed,hallMedals,hallYen\n"; }

void AppendStudyDayCsvRow(std::string& line, const DayResult& day) {
  line += IntText(day.day);
  line += ',';
  line += IntText(day.seed);
  line += ',';
  line += IntText(day.hallMedals);
  line += ',';
  line += IntText(day.hallMedals * kYenPerMedal);
  line += '\n';
}

}  // namespace orvel
