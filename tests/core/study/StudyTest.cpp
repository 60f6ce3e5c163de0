// The study: its statistics against hand-worked figures, exact merging, the
// same result on any thread count, and a stop that keeps the finished days.
// That a day is the plain run is checked against the real program
// (tests/cli/CliTest.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/model/Random.h"
#include "core/study/Study.h"
#include "core/study/StudyReport.h"
#include "core/study/StudyStats.h"

namespace {

using orvel::DayResult;
using orvel::StudyStats;

// Ten days with hand-worked figures. Balances sorted: -5 -2 0 1 3 4 7 7 10 20;
// sum 45, mean 4.5; squared deviations sum to 450.5, so sd = sqrt(450.5 / 9).
// Nearest ranks among 10: 5 % → 1st, 25 % → 3rd, 50 % → 5th, 75 % → 8th,
// 95 % → 10th.
std::vector<DayResult> HandDays() {
  const std::vector<std::int64_t> balances{3, -5, 10, 7, 0, -2, 20, 7, 1, 4};
  std::vector<DayResult> days;
  for (std::size_t d = 0; d < balances.size(); ++d) {
    DayResult day;
    day.day = static_cast<std::int64_t>(d);
    day.hallMedals = balances[d];
    // Setting 2: 3 seats, 100 games, 360 in, 330 out, 1 first hit, 2 bonuses a day.
    day.byLevel[1] = {3, 100, 360, 330, 1, 2};
    // Setting 6: 1 seat that never plays.
    day.byLevel[5] = {1, 0, 0, 0, 0, 0};
    days.push_back(day);
  }
  return days;
}

TEST(StudyStats, MatchesHandWorkedFigures) {
  StudyStats stats;
  for (const DayResult& day : HandDays()) stats.Add(day);
  const orvel::StudySummary s = stats.Summary();
  EXPECT_EQ(s.days, 10);
  EXPECT_DOUBLE_EQ(s.hallMedals.mean, 4.5);
  EXPECT_DOUBLE_EQ(s.hallMedals.sd, std::sqrt(450.5 / 9));
  EXPECT_EQ(s.hallMedals.min, -5);
  EXPECT_EQ(s.hallMedals.p05, -5);
  EXPECT_EQ(s.hallMedals.p25, 0);
  EXPECT_EQ(s.hallMedals.median, 3);
  EXPECT_EQ(s.hallMedals.p75, 7);
  EXPECT_EQ(s.hallMedals.p95, 20);
  EXPECT_EQ(s.hallMedals.max, 20);
  EXPECT_EQ(s.hallMedals.lossDays, 2);
  EXPECT_DOUBLE_EQ(s.hallMedals.lossShare, 0.2);

  ASSERT_EQ(s.bySetting.size(), 2u);
  EXPECT_EQ(s.bySetting[0].level, 2);
  EXPECT_EQ(s.bySetting[0].seats, 3);
  EXPECT_EQ(s.bySetting[0].seatGames, 1000);
  EXPECT_DOUBLE_EQ(s.bySetting[0].payoutRate, 3300.0 / 3600.0);
  EXPECT_DOUBLE_EQ(s.bySetting[0].firstHitsPerGame, 0.01);
  EXPECT_DOUBLE_EQ(s.bySetting[0].bonusesPerGame, 0.02);
  EXPECT_EQ(s.bySetting[1].level, 6);
  EXPECT_TRUE(std::isnan(s.bySetting[1].payoutRate)) << "no games, no rate";
}

TEST(StudyStats, OneDayIsEveryQuantileWithNoSpread) {
  StudyStats stats;
  stats.Add(HandDays()[1]);
  const orvel::BalanceSummary b = stats.Summary().hallMedals;
  for (const std::int64_t q : {b.min, b.p05, b.p25, b.median, b.p75, b.p95, b.max}) EXPECT_EQ(q, -5);
  EXPECT_EQ(b.sd, 0.0);
  EXPECT_EQ(b.lossShare, 1.0);
}

TEST(StudyStats, HistogramBinsCoverEveryDayOnce) {
  StudyStats stats;
  EXPECT_TRUE(stats.Histogram(4).counts.empty());
  for (const DayResult& day : HandDays()) stats.Add(day);
  // -5 … 20 is 26 medals: 4 bins of 7, [-5,2) [2,9) [9,16) [16,23).
  const orvel::BalanceHistogram h = stats.Histogram(4);
  EXPECT_EQ(h.low, -5);
  EXPECT_EQ(h.width, 7);
  EXPECT_EQ(h.counts, (std::vector<std::int64_t>{4, 4, 1, 1}));
  EXPECT_EQ(stats.Histogram(1000).counts.size(), 26u) << "never narrower than one medal";
}

TEST(StudyStats, MergingAnySplitEqualsAddingEveryDay) {
  const std::vector<DayResult> days = HandDays();
  StudyStats all;
  for (const DayResult& day : days) all.Add(day);
  for (std::size_t split = 0; split <= days.size(); ++split) {
    StudyStats low, high;
    for (std::size_t d = 0; d < days.size(); ++d) (d < split ? low : high).Add(days[d]);
    high.Merge(low);  // the later days first: order must not matter
    EXPECT_EQ(high, all) << "split at " << split;
  }
}

TEST(StudyStats, WordsGiveBackEqualStatistics) {
  StudyStats stats;
  EXPECT_EQ(StudyStats::FromWords(stats.ToWords()), stats);
  for (DayResult day : HandDays()) {
    day.hallMedals *= std::int64_t{1} << 58;  // their sum needs more than 64 bits
    for (int i = 0; i < 300; ++i) stats.Add(day);
  }
  EXPECT_EQ(StudyStats::FromWords(stats.ToWords()), stats);
  EXPECT_THROW(StudyStats::FromWords({1, 2}), std::invalid_argument);
}

orvel::StudyPlan SmallPlan(std::int64_t days) {
  orvel::StudyPlan plan;
  plan.levels = {1, 6, 3, 6};
  plan.rates = {orvel::SeatRate("1"), orvel::SeatRate("0.5"), orvel::SeatRate("1"), orvel::SeatRate("0")};
  plan.games = 300;
  plan.seed = 4294967290u;  // the day seeds wrap past 2^32
  plan.days = days;
  return plan;
}

class Recorder final : public orvel::StudyObserver {
public:
  void DayDone(const DayResult& day) override { days.push_back(day.day); }
  bool StopRequested() override { return stopAtOnce; }
  std::vector<std::int64_t> days;
  bool stopAtOnce = false;
};

TEST(Study, DaysArriveInOrderAndTheResultIgnoresTheThreadCount) {
  const orvel::StudyPlan plan = SmallPlan(23);
  Recorder single;
  const orvel::StudyOutcome one = orvel::RunStudy(plan, 1, single);
  EXPECT_FALSE(one.partial);
  ASSERT_EQ(single.days.size(), 23u);
  for (std::size_t d = 0; d < single.days.size(); ++d) ASSERT_EQ(single.days[d], static_cast<std::int64_t>(d));
  for (const int threads : {2, 3, 64}) {
    Recorder recorder;
    const orvel::StudyOutcome many = orvel::RunStudy(plan, threads, recorder);
    EXPECT_EQ(many.stats, one.stats) << threads << " threads";
    EXPECT_EQ(recorder.days, single.days) << threads << " threads";
  }
}

TEST(Study, DaySeedsCountOnFromTheStudysSeedModulo2To32) {
  EXPECT_EQ(orvel::DaySeed(4294967290u, 5), 4294967295u);
  EXPECT_EQ(orvel::DaySeed(4294967290u, 6), 0u);
  EXPECT_EQ(orvel::DaySeed(7, 4294967296), 7u);
}

TEST(Study, AStopKeepsTheFinishedDaysInOrderAsAPartialStudy) {
  orvel::StudyPlan plan = SmallPlan(100000);  // minutes of work: the stop comes first
  plan.games = 8000;
  Recorder recorder;
  recorder.stopAtOnce = true;
  const orvel::StudyOutcome outcome = orvel::RunStudy(plan, 2, recorder);
  EXPECT_TRUE(outcome.partial);
  EXPECT_LT(outcome.stats.Days(), plan.days);
  EXPECT_EQ(static_cast<std::int64_t>(recorder.days.size()), outcome.stats.Days());
  EXPECT_TRUE(std::is_sorted(recorder.days.begin(), recorder.days.end()));
}

TEST(Study, ADayThatThrowsEndsTheStudyWithItsError) {
  orvel::StudyPlan plan = SmallPlan(50);
  plan.levels[2] = 9;  // refused by the seat, on every day
  Recorder recorder;
  EXPECT_ANY_THROW(orvel::RunStudy(plan, 2, recorder));
}

TEST(Study, EachThreadDrawsFromItsOwnSource) {
  orvel::SeedRandom(99);
  const std::int32_t expected = orvel::NextRandom();
  orvel::SeedRandom(99);
  std::thread other([] {
    orvel::SeedRandom(12345);
    for (int i = 0; i < 1000; ++i) orvel::NextRandom();
  });
  other.join();
  EXPECT_EQ(orvel::NextRandom(), expected);
}

TEST(StudyReport, JsonHasTheDocumentedKeysAndNullForARateOfNoGames) {
  StudyStats stats;
  for (const DayResult& day : HandDays()) stats.Add(day);
  std::ostringstream out;
  orvel::WriteStudyReport(out, stats.Summary(), {7, 10, false}, orvel::ReportFormat::Json);
  const std::string json = out.str();
  for (const char* key :
       {"\"days\": 10", "\"seed\": 7", "\"partial\": false", "\"mean\": 4.5", "\"min\": -5", "\"p05\": -5",
        "\"p25\": 0", "\"median\": 3", "\"p75\": 7", "\"p95\": 20", "\"max\": 20", "\"lossShare\": 0.2", "\"level\": 2",
        "\"seatGames\": 1000", "\"firstHitsPerGame\": 0.01", "\"payoutRate\": null"}) {
    EXPECT_NE(json.find(key), std::string::npos) << key << " in\n" << json;
  }
  EXPECT_EQ(orvel::StudyLossText(stats.Summary()), "ホールが負けた日は10日中2日（20%）、およそ5日に1日です。");
}

}  // namespace
