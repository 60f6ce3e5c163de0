#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "LogBuilder.h"
#include "core/analysis/ResultAnalysis.h"
#include "core/analysis/Result_data.h"
#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"

namespace orvel {
namespace {

using test::Add;
using test::Entry;
using test::PlaySeeded;

// Everything an analysis shows, as texts and points, for whole comparisons.
struct Shown {
  ResultStats stats;
  std::vector<std::string> rows;
  std::vector<ChartPoint> points;
  std::string summary;
  bool operator==(const Shown&) const = default;
};

Shown Show(const ResultAnalysis& a) {
  Shown s{a.stats(), {}, {}, a.SummaryText()};
  auto add = [&s](const auto& texts) {
    std::string joined;
    for (const auto& t : texts) joined += t + "|";
    s.rows.push_back(joined);
  };
  for (std::size_t i = 0; i < a.playRows().size(); ++i) {
    add(a.PlayRowTexts(i));
    s.points.push_back(a.SlumpPoint(i));
    s.points.push_back(a.ModePoint(i));
  }
  for (std::size_t i = 0; i < a.bonusRows().size(); ++i) {
    add(a.BonusRowTexts(i));
    s.points.push_back(a.BarPoint(i));
  }
  for (std::size_t i = 0; i < a.modeChanges().size(); ++i) add(a.ModeChangeRowTexts(i));
  for (int m = 0; m < static_cast<int>(Marker::Count); ++m) {
    for (const ChartPoint& p : a.markerPoints(static_cast<Marker>(m))) s.points.push_back(p);
    s.points.push_back({-1, m});
  }
  for (const auto& table : {a.KoyakuTable(), a.ModeTable(), a.KeizokuTable()}) {
    for (const TableRow& row : table) {
      add(row.texts);
      s.rows.push_back(row.pieLabel + std::to_string(row.pieValue));
    }
  }
  return s;
}

TEST(ResultAnalysis, SummaryOfTheWorkedExample) {
  // 30 chains with 75 battles among 8000 games; the last game leaves
  // sinceBB 123 and -1500 medals.
  TSimResultData log;
  int chains = 0;
  for (int g = 0; g < 8000; ++g) {
    Entry e;
    if (g % 200 == 100 && chains < 30) {
      e.bbKind = 1;
      e.chainCount = chains < 15 ? 3 : 2;
      e.lastKoyaku = 99;
      ++chains;
    }
    if (g == 7999) {
      e.sinceBB = 123;
      e.medal = -1500;
    }
    Add(log, e);
  }
  ResultAnalysis a;
  a.TakeIn(log, 0, 7999);
  EXPECT_EQ(a.stats().firstHitTotal, 30);
  EXPECT_EQ(a.stats().bbTotal, 75);
  EXPECT_EQ(a.BonusOdds(), 106);
  EXPECT_EQ(a.SummaryText(),
            "総プレイ数：8000　BB終了からのプレイ数：123\n"
            "BB初当り数：30　BB数：75\n"
            "BB確率：1/106  継続数平均：2.5\n"
            "収支：-30000円");
}

TEST(ResultAnalysis, BeforeAnyBonusContinuationRowsAndOddsAreZero) {
  TSimResultData log;
  for (int g = 0; g < 10; ++g) Add(log, {.medal = -1});
  ResultAnalysis a;
  a.TakeIn(log, 0, 9);
  for (const TableRow& row : a.KeizokuTable()) {
    EXPECT_EQ(row.texts[1], "0");
    EXPECT_EQ(row.texts[2], "0");
    EXPECT_EQ(row.texts[3], "0");
  }
  const std::string summary = a.SummaryText();
  EXPECT_NE(summary.find("\nBB確率：1/0  継続数平均：0\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("収支：-20円"), std::string::npos) << summary;
}

TEST(ResultAnalysis, TablesCountOverAllEntriesIncludingBonusGames) {
  // 123 ReplayA games among 8000, one of them a bonus game: rates over N.
  TSimResultData log;
  for (int g = 0; g < 8000; ++g) {
    Entry e;
    e.lastKoyaku = g < 123 ? 4 : (g % 2 ? 8 : 9);
    e.mode = 1;
    if (g == 5000) {
      e.bbKind = 2;
      e.chainCount = 1;
      e.lastKoyaku = 99;
      e.keizokuMode = 2;
    }
    Add(log, e);
  }
  ResultAnalysis a;
  a.TakeIn(log, 0, 7999);
  const auto koyaku = a.KoyakuTable();
  ASSERT_EQ(koyaku.size(), 8u);
  EXPECT_EQ(koyaku[4].texts, (std::array<std::string, 4>{"リプレイA", "123", "0.015375",
                                                          "1/65.0406504065041"}));
  EXPECT_EQ(koyaku[4].pieLabel, "リプレイA");
  EXPECT_EQ(koyaku[4].pieValue, 123);
  EXPECT_EQ(koyaku[0].texts, (std::array<std::string, 4>{"2枚チェリー", "0", "0", "0"}));
  EXPECT_EQ(koyaku[1].texts[0], "4チェリー");
  EXPECT_EQ(koyaku[1].pieLabel, "4枚チェリー");

  const auto modes = a.ModeTable();
  EXPECT_EQ(modes[1].texts, (std::array<std::string, 4>{"低確", "8000", "1", "1/1"}));
  EXPECT_EQ(modes[0].texts[1], "0");

  const auto keizoku = a.KeizokuTable();
  EXPECT_EQ(keizoku[2].texts, (std::array<std::string, 4>{"継続C", "1", "1", "1/1"}));
  EXPECT_EQ(keizoku[0].texts, (std::array<std::string, 4>{"継続A", "0", "0", "0"}));

  // Missed bells and ハズレ count toward no prize but toward N.
  int prizes = 0;
  for (const int c : a.stats().koyakuCount) prizes += c;
  EXPECT_EQ(prizes, 123);
  EXPECT_EQ(a.PlayRowTexts(200)[2], "ハズレ");
  EXPECT_EQ(a.PlayRowTexts(201)[2], "ハズレ");
}

TEST(ResultAnalysis, BonusRowsBarsAndAverageOfTwoChains) {
  TSimResultData log;
  Add(log, {.sinceBB = 1, .medal = -3, .mode = 2, .lastKoyaku = 0});
  Add(log, {.sinceBB = 2, .medal = -6, .mode = 4, .lastKoyaku = 7});  // 高確 -> 7揃い
  Add(log, {.sinceBB = 3, .medal = 400, .chainCount = 3, .bbKind = 1, .keizokuMode = 1, .mode = 1,
            .lastKoyaku = 99});  // chain ends in 低確
  Add(log, {.sinceBB = 1, .medal = 397, .mode = 1, .lastKoyaku = 5});
  Add(log, {.sinceBB = 2, .medal = 394, .mode = 5, .lastKoyaku = 3});
  Add(log, {.sinceBB = 3, .medal = 520, .chainCount = 1, .bbKind = 2, .keizokuMode = 3, .mode = 0,
            .lastKoyaku = 99});
  ResultAnalysis a;
  a.TakeIn(log, 0, 5);

  EXPECT_EQ(a.stats().firstHitTotal, 2);
  EXPECT_EQ(a.stats().bbTotal, 4);
  EXPECT_EQ(a.AverageChain(), 2.0f);
  ASSERT_EQ(a.bonusRows().size(), 2u);
  EXPECT_EQ(a.BonusRowTexts(0),
            (std::array<std::string, 6>{"3", "3", "777×3", "継続B", "低確", "406"}));
  EXPECT_EQ(a.BonusRowTexts(1),
            (std::array<std::string, 6>{"6", "3", "Orvel×1", "継続D", "ハマリ", "126"}));
  EXPECT_EQ(a.BarPoint(0), (ChartPoint{1, 3}));
  EXPECT_EQ(a.BarPoint(1), (ChartPoint{2, 3}));

  // The changes into 7揃い and Orvel揃い are rows; the changes out of them
  // (in the bonus games) are not; entry 0 never is.
  ASSERT_EQ(a.modeChanges().size(), 2u);
  EXPECT_EQ(a.ModeChangeRowTexts(0), (std::array<std::string, 4>{"2", "2", "チャンス目", "7揃い"}));
  EXPECT_EQ(a.ModeChangeRowTexts(1), (std::array<std::string, 4>{"5", "2", "スイカB", "Orvel揃い"}));

  EXPECT_EQ(a.PlayRowTexts(2), (std::array<std::string, 5>{"3", "3", "777×3", "低確", "400"}));
  EXPECT_EQ(a.markerPoints(Marker::Cherry2), (std::vector<ChartPoint>{{1, -3}}));
  EXPECT_EQ(a.markerPoints(Marker::Chance), (std::vector<ChartPoint>{{2, -6}}));
  EXPECT_EQ(a.markerPoints(Marker::SuikaB), (std::vector<ChartPoint>{{5, 394}}));
  EXPECT_TRUE(a.markerPoints(Marker::Cherry4).empty());
  EXPECT_EQ(a.SlumpPoint(5), (ChartPoint{6, 520}));
  EXPECT_EQ(a.ModePoint(4), (ChartPoint{5, 5}));
}

TEST(ResultAnalysis, AverageChainGoesThroughAFloat) {
  TSimResultData log;
  for (const int chain : {3, 2, 2}) {
    Add(log, {.mode = 4});
    Add(log, {.chainCount = chain, .bbKind = 1, .lastKoyaku = 99});
  }
  ResultAnalysis a;
  a.TakeIn(log, 0, 5);
  EXPECT_NE(a.SummaryText().find("継続数平均：2.33333325386047\n"), std::string::npos)
      << a.SummaryText();
}

TEST(ResultAnalysis, TwoTakeInsGiveWhatOneGives) {
  for (const std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
    TSimResultData log;
    PlaySeeded(log, {.games = 3000, .level = 6, .seed = seed});
    ResultAnalysis whole, parts, tallyFirst;
    whole.TakeIn(log, 0, 2999);
    for (int first = 0; first < 3000; first += 50) parts.TakeIn(log, first, first + 49);
    // A hidden window may tally at every refresh and build rows later.
    for (int first = 0; first < 3000; first += 50) tallyFirst.TakeTallies(log, first, first + 49);
    tallyFirst.TakeRows(log, 0, 1999);
    tallyFirst.TakeRows(log, 2000, 2999);
    EXPECT_EQ(Show(parts), Show(whole)) << "seed " << seed;
    EXPECT_EQ(Show(tallyFirst), Show(whole)) << "seed " << seed;
    EXPECT_FALSE(whole.bonusRows().empty());
    EXPECT_GT(whole.modeChanges().size(), 10u);
  }
}

TEST(ResultAnalysis, ModeChangeAtTheSeamIsListedOnce) {
  TSimResultData log;
  for (int g = 0; g < 100; ++g) Add(log, {.mode = g < 50 ? 0 : 2, .lastKoyaku = 3});
  ResultAnalysis whole, parts;
  whole.TakeIn(log, 0, 99);
  parts.TakeIn(log, 0, 49);
  EXPECT_TRUE(parts.modeChanges().empty());
  parts.TakeIn(log, 50, 99);
  ASSERT_EQ(parts.modeChanges().size(), 1u);
  EXPECT_EQ(parts.ModeChangeRowTexts(0)[0], "51");
  EXPECT_EQ(parts.ModeChangeRowTexts(0)[3], "高確");
  EXPECT_EQ(Show(parts), Show(whole));
}

TEST(ResultAnalysis, ClearStartsOverAndBadRangesAreRefused) {
  TSimResultData log;
  PlaySeeded(log, {.games = 500, .level = 2, .seed = 7});
  ResultAnalysis a;
  a.TakeIn(log, 0, 499);
  a.Clear();
  EXPECT_EQ(Show(a), Show(ResultAnalysis{}));
  EXPECT_EQ(a.N(), 0);
  EXPECT_THROW(a.TakeIn(log, 0, 500), std::out_of_range);
  EXPECT_THROW(a.TakeIn(log, 10, 9), std::out_of_range);
  EXPECT_THROW(a.TakeRows(log, -1, 3), std::out_of_range);
}

TEST(ResultAnalysis, OutOfRangeCodesGiveEmptyTextsAndCountNowhere) {
  TSimResultData log;
  Add(log, {.bbKind = 0, .keizokuMode = 9, .mode = 7, .lastKoyaku = 42});
  Add(log, {.chainCount = 2, .bbKind = 5, .keizokuMode = 9, .mode = -3, .lastKoyaku = 99});
  ResultAnalysis a;
  a.TakeIn(log, 0, 1);
  EXPECT_EQ(a.PlayRowTexts(0)[2], "ハズレ");
  EXPECT_EQ(a.PlayRowTexts(0)[3], "");
  EXPECT_EQ(a.PlayRowTexts(1)[2], "");
  EXPECT_EQ(a.BonusRowTexts(0)[3], "");
  ResultStats expected;
  expected.bbTotal = 2;
  expected.firstHitTotal = 1;
  EXPECT_EQ(a.stats(), expected);
}

}  // namespace
}  // namespace orvel
