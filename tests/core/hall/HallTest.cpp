#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/hall/Hall.h"
#include "core/hall/TextToNumber.h"
#include "core/model/Random.h"

namespace orvel {
namespace {

std::vector<int> Lengths(const Hall& hall) {
  std::vector<int> lengths;
  for (int i = 0; i < hall.SeatCount(); ++i) lengths.push_back(hall.PlayLog(i).Length());
  return lengths;
}

TEST(Hall, NewSeatsHaveRateOneSettingOneAndEmptyLogs) {
  Hall hall;
  hall.CreateSeats(20);
  hall.ResetMachines();
  ASSERT_EQ(hall.SeatCount(), 20);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(hall.RateText(i), "1");
    EXPECT_EQ(hall.Machine(i).GetLevel(), 1);
    EXPECT_EQ(hall.PlayLog(i).Length(), 0);
  }
  EXPECT_EQ(hall.SumMedals(), 0);
}

TEST(Hall, EachSeatPlaysByItsRateAndLogsEveryGame) {
  Hall hall;
  hall.CreateSeats(6);
  SeedRandom(42);
  hall.ResetMachines();
  const char* rates[] = {"1", "0", "0.5", "0.05", "0.55", "1.5"};
  for (int i = 0; i < 6; ++i) hall.SetRateText(i, rates[i]);
  for (int g = 0; g < 8000; ++g) hall.PlayHallGame(g);
  EXPECT_EQ(Lengths(hall), (std::vector<int>{8000, 0, 4000, 400, 4400, 8000}));
  for (int i = 0; i < 6; ++i) {
    const auto playCount = hall.PlayLog(i).Column(ResultColumn::PlayCount);
    for (std::size_t e = 0; e < playCount.size(); ++e) ASSERT_EQ(playCount[e], static_cast<int>(e) + 1);
    EXPECT_EQ(hall.Machine(i).playCount, hall.PlayLog(i).Length());
  }
}

// The seats draw from the one source in index order: three seats give what
// three machines played one after the other give.
TEST(Hall, SeatsDrawFromTheSharedSourceInIndexOrder) {
  Hall hall;
  hall.CreateSeats(3);
  SeedRandom(7);
  hall.ResetMachines();
  for (int g = 0; g < 500; ++g) hall.PlayHallGame(g);

  std::vector<Orvel> machines(3);
  SeedRandom(7);
  for (auto& m : machines) m.Reset();
  for (int g = 0; g < 500; ++g) {
    for (auto& m : machines) m.Play();
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(hall.Machine(i).medal, machines[static_cast<std::size_t>(i)].medal);
    EXPECT_EQ(hall.Machine(i).bbCount, machines[static_cast<std::size_t>(i)].bbCount);
  }
}

TEST(Hall, SumMedalsReadsTheLogsEvenAfterTheMachinesAreReset) {
  Hall hall;
  hall.CreateSeats(4);
  SeedRandom(11);
  hall.ResetMachines();
  for (int g = 0; g < 2000; ++g) hall.PlayHallGame(g);
  std::int64_t expected = 0;
  for (int i = 0; i < 4; ++i) expected += hall.Machine(i).medal;
  EXPECT_EQ(hall.SumMedals(), expected);
  EXPECT_NE(expected, 0);
  hall.ResetMachines();
  EXPECT_EQ(hall.Machine(0).medal, 0);
  EXPECT_EQ(hall.SumMedals(), expected);
  hall.ClearLogs();
  EXPECT_EQ(hall.SumMedals(), 0);
}

TEST(Hall, SumMedalsDoesNotOverflow32Bits) {
  Hall hall;
  hall.CreateSeats(3);
  for (int i = 0; i < 3; ++i) hall.Machine(i).medal = 2'000'000'000;
  hall.PlayHallGame(0);
  std::int64_t expected = 0;
  for (int i = 0; i < 3; ++i) expected += hall.Machine(i).medal;
  EXPECT_GT(expected, 5'000'000'000LL);
  EXPECT_EQ(hall.SumMedals(), expected);
}

// Every entry, seat by seat, as a sink receives it.
class RecordingSink final : public PlayLogSink {
public:
  void Append(int seat, const TSimResultData::Entry& entry) override {
    if (static_cast<std::size_t>(seat) >= entries.size()) entries.resize(static_cast<std::size_t>(seat) + 1);
    entries[static_cast<std::size_t>(seat)].push_back(entry);
  }
  std::vector<std::vector<TSimResultData::Entry>> entries;
};

std::vector<TSimResultData::Entry> Entries(const TSimResultData& log) {
  std::vector<TSimResultData::Entry> entries(static_cast<std::size_t>(log.Length()));
  for (int c = 0; c < TSimResultData::kColumns; ++c) {
    const auto column = log.Column(static_cast<ResultColumn>(c));
    for (std::size_t e = 0; e < entries.size(); ++e) entries[e][static_cast<std::size_t>(c)] = column[e];
  }
  return entries;
}

struct LogModeCase {
  const char* name;
  bool keepLogs;
  bool sink;
};

void PrintTo(const LogModeCase& c, std::ostream* out) { *out << c.name; }

class HallLogMode : public ::testing::TestWithParam<LogModeCase> {};

// However the entries are kept, the games are the same, the medal sum is
// the same, and what is kept or streamed is what the default logs hold.
TEST_P(HallLogMode, PlaysTheSameGamesAndSumsTheSameMedals) {
  const LogModeCase& c = GetParam();
  auto seeded = [](Hall& hall) {
    hall.CreateSeats(3);
    SeedRandom(23);
    hall.ResetMachines();
    hall.SetRateText(1, "0.5");
    hall.SetRateText(2, "0");
  };
  Hall reference;
  seeded(reference);
  std::vector<std::int64_t> sums;
  for (int g = 0; g < 700; ++g) {
    reference.PlayHallGame(g);
    sums.push_back(reference.SumMedals());
  }

  Hall hall;
  RecordingSink sink;
  hall.SetKeepLogs(c.keepLogs);
  if (c.sink) hall.SetLogSink(&sink);
  seeded(hall);  // the mode outlives new seats
  EXPECT_EQ(hall.KeepsLogs(), c.keepLogs);
  for (int g = 0; g < 700; ++g) {
    hall.PlayHallGame(g);
    ASSERT_EQ(hall.SumMedals(), sums[static_cast<std::size_t>(g)]) << "after hall game " << g;
  }
  for (int i = 0; i < 3; ++i) {
    const std::vector<TSimResultData::Entry> expected = Entries(reference.PlayLog(i));
    EXPECT_EQ(hall.Machine(i).medal, reference.Machine(i).medal) << "seat " << i;
    EXPECT_EQ(Entries(hall.PlayLog(i)), c.keepLogs ? expected : std::vector<TSimResultData::Entry>{}) << "seat " << i;
    if (c.sink) {
      const auto streamed = static_cast<std::size_t>(i) < sink.entries.size()
                                ? sink.entries[static_cast<std::size_t>(i)]
                                : std::vector<TSimResultData::Entry>{};
      EXPECT_EQ(streamed, expected) << "seat " << i;
    }
  }
  EXPECT_EQ(Lengths(reference), (std::vector<int>{700, 350, 0}));
  EXPECT_NE(reference.SumMedals(), 0);
  if (!c.sink) {
    EXPECT_TRUE(sink.entries.empty());
  }

  // Kept logs hold the sum over a reset; without them it follows the machines.
  hall.ResetMachines();
  EXPECT_EQ(hall.SumMedals(), c.keepLogs ? reference.SumMedals() : 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, HallLogMode,
                         ::testing::Values(LogModeCase{"InMemory", true, false},
                                           LogModeCase{"InMemoryAndSink", true, true},
                                           LogModeCase{"NoLogs", false, false}, LogModeCase{"SinkOnly", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Hall, RefusedRateTextChangesNothing) {
  Hall hall;
  hall.CreateSeats(5);
  hall.SetRateText(2, "0.25");
  for (const std::string bad : {"", "abc", "0,5", " "}) {
    try {
      hall.SetRateText(4, bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + bad + "' は浮動小数点数ではありません");
    }
  }
  EXPECT_EQ(hall.RateText(4), "1");
  EXPECT_EQ(hall.RateText(2), "0.25");
  hall.SetRateText(4, " 0.3333 ");
  EXPECT_EQ(hall.RateText(4), " 0.3333 ") << "stored character for character";
  for (int g = 0; g < 8; ++g) hall.PlayHallGame(g);
  EXPECT_EQ(Lengths(hall), (std::vector<int>{8, 8, 2, 8, 3}));
}

// SetSeat: both values are checked before either is applied.
enum class Outcome { Accepted, BadRate, BadLevel };

struct SeatCase {
  const char* name;
  std::int32_t level;
  const char* rate;
  Outcome outcome;
  const char* message;  // what() of the refusal
};

void PrintTo(const SeatCase& c, std::ostream* out) { *out << c.name; }

class SetSeatTest : public ::testing::TestWithParam<SeatCase> {};

// What a hall shows after `change`: three seats, seat 2 at setting 2 and
// rate "0.5" and not fresh, then `change`, then 300 more hall games.
struct HallAfter {
  std::vector<std::int32_t> levels;
  std::vector<std::string> rates;
  std::vector<std::vector<int>> medals;
  bool operator==(const HallAfter&) const = default;
};

HallAfter PlayAround(const std::function<void(Hall&)>& change) {
  Hall hall;
  hall.CreateSeats(3);
  SeedRandom(31);
  hall.ResetMachines();
  hall.SetRateText(1, "0.5");
  hall.Machine(1).SetLevel(2);
  for (int g = 0; g < 40; ++g) hall.PlayHallGame(g);
  change(hall);
  for (int g = 40; g < 340; ++g) hall.PlayHallGame(g);
  HallAfter after;
  for (int i = 0; i < hall.SeatCount(); ++i) {
    after.levels.push_back(hall.Machine(i).GetLevel());
    after.rates.push_back(hall.RateText(i));
    const auto medals = hall.PlayLog(i).Column(ResultColumn::Medal);
    after.medals.emplace_back(medals.begin(), medals.end());
  }
  return after;
}

TEST_P(SetSeatTest, AppliesBothOrNeither) {
  const SeatCase& c = GetParam();
  if (c.outcome == Outcome::Accepted) {
    const HallAfter after = PlayAround([&](Hall& hall) { hall.SetSeat(1, c.level, c.rate); });
    EXPECT_EQ(after.levels[1], c.level);
    EXPECT_EQ(after.rates[1], c.rate) << "stored character for character";
    // The same as the two steps one after the other, draws included.
    EXPECT_EQ(after, PlayAround([&](Hall& hall) {
                hall.SetRateText(1, c.rate);
                hall.Machine(1).SetLevel(c.level);
              }));
    return;
  }

  const HallAfter after = PlayAround([&](Hall& hall) {
    const Orvel before = hall.Machine(1);
    const RandomSource source = SharedRandom();
    try {
      hall.SetSeat(1, c.level, c.rate);
      ADD_FAILURE() << "accepted setting " << c.level << " and rate '" << c.rate << "'";
    } catch (const ConversionError& e) {
      EXPECT_EQ(c.outcome, Outcome::BadRate);
      EXPECT_EQ(std::string(e.what()), c.message);
    } catch (const std::out_of_range& e) {
      EXPECT_EQ(c.outcome, Outcome::BadLevel);
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    // Nothing changed: the machine, its setting, and the shared source.
    const Orvel& now = hall.Machine(1);
    EXPECT_EQ(now.level, before.level);
    EXPECT_EQ(now.mode, before.mode);
    EXPECT_EQ(now.playCount, before.playCount);
    EXPECT_EQ(now.medal, before.medal);
    EXPECT_EQ(now.sinceBB, before.sinceBB);
    EXPECT_EQ(hall.RateText(1), "0.5");
    EXPECT_EQ(SharedRandom().low(), source.low());
    EXPECT_EQ(SharedRandom().high(), source.high());
  });
  // And the hall plays on as if the call had never been made.
  EXPECT_EQ(after, PlayAround([](Hall&) {}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetSeatTest,
    ::testing::Values(
        SeatCase{"SettingZero", 0, "0.25", Outcome::BadLevel, "setting 0 is outside 1 ... 6; the machine keeps setting 2"},
        SeatCase{"SettingSeven", 7, "0.25", Outcome::BadLevel, "setting 7 is outside 1 ... 6; the machine keeps setting 2"},
        SeatCase{"RateNoNumber", 6, "0,25", Outcome::BadRate, "'0,25' は浮動小数点数ではありません"},
        SeatCase{"RateEmpty", 6, "", Outcome::BadRate, "'' は浮動小数点数ではありません"},
        SeatCase{"BothBadTheRateIsNamed", 9, "x", Outcome::BadRate, "'x' は浮動小数点数ではありません"},
        SeatCase{"BothGood", 6, " 0.25 ", Outcome::Accepted, ""},
        SeatCase{"BothGoodSameSettingStillResets", 2, "1", Outcome::Accepted, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Hall, EmptyHallAndReplacingSeats) {
  Hall hall;
  hall.CreateSeats(5);
  hall.PlayHallGame(0);
  hall.DeleteSeats();
  hall.CreateSeats(3);
  EXPECT_EQ(Lengths(hall), (std::vector<int>{0, 0, 0}));
  hall.CreateSeats(0);
  hall.ResetMachines();
  hall.PlayHallGame(0);
  EXPECT_EQ(hall.SeatCount(), 0);
  EXPECT_EQ(hall.SumMedals(), 0);
  hall.CreateSeats(-4);
  EXPECT_EQ(hall.SeatCount(), 0);
}

TEST(Hall, TheSameSeedGivesTheSameRun) {
  auto run = [](std::uint32_t seed) {
    Hall hall;
    hall.CreateSeats(4);
    SeedRandom(seed);
    hall.ResetMachines();
    hall.Machine(2).SetLevel(6);
    for (int g = 0; g < 3000; ++g) hall.PlayHallGame(g);
    std::vector<int> medals;
    for (int i = 0; i < 4; ++i) {
      for (const int m : hall.PlayLog(i).Column(ResultColumn::Medal)) medals.push_back(m);
    }
    return medals;
  };
  EXPECT_EQ(run(5), run(5));
  EXPECT_NE(run(5), run(6));
}

}  // namespace
}  // namespace orvel
