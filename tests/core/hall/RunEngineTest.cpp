#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "core/hall/Hall.h"
#include "core/hall/RunEngine.h"
#include "core/model/Random.h"

namespace orvel {
namespace {

// Three seats, one at half rate, reset from `seed` alone.
void SeededHall(Hall& hall, std::uint32_t seed) {
  hall.CreateSeats(3);
  SeedRandom(seed);
  hall.ResetMachines();
  hall.SetRateText(1, "0.5");
}

std::vector<std::int32_t> Medals(const Hall& hall) {
  std::vector<std::int32_t> medals;
  for (int seat = 0; seat < hall.SeatCount(); ++seat) {
    for (const std::int32_t medal : hall.PlayLog(seat).Column(ResultColumn::Medal)) medals.push_back(medal);
  }
  return medals;
}

// The hall games after which a run of `total` with `interval` refreshes.
std::vector<std::int32_t> Refreshes(std::int32_t total, const std::vector<std::int32_t>& intervals) {
  Hall hall;
  SeededHall(hall, 1);
  RunEngine run(hall);
  run.Start(total);
  std::vector<std::int32_t> refreshed;
  for (std::size_t i = 0; !run.AtEnd(); ++i) {
    const std::int32_t game = run.nextGame();
    if (run.PlayNext(intervals[std::min(i, intervals.size() - 1)])) refreshed.push_back(game);
  }
  return refreshed;
}

TEST(RunEngine, RefreshesOnMultiplesOfTheIntervalAndAfterTheLast) {
  EXPECT_EQ(Refreshes(10, {3}), (std::vector<std::int32_t>{2, 5, 8, 9}));
  EXPECT_EQ(Refreshes(10, {10}), (std::vector<std::int32_t>{9}));
  EXPECT_EQ(Refreshes(1, {50}), (std::vector<std::int32_t>{0}));
  EXPECT_EQ(Refreshes(4, {1}), (std::vector<std::int32_t>{0, 1, 2, 3}));
  // The interval is read at every hall game: 4 for games 0–3, then 2.
  EXPECT_EQ(Refreshes(8, {4, 4, 4, 4, 2}), (std::vector<std::int32_t>{3, 5, 7}));
  // An interval below one counts as one.
  EXPECT_EQ(Refreshes(2, {0}), (std::vector<std::int32_t>{0, 1}));
}

TEST(RunEngine, StopAndResumeGiveTheUninterruptedRun) {
  // One after the other: both draw from the one shared source.
  Hall whole, stopped;
  SeededHall(whole, 42);
  RunEngine a(whole);
  a.Start(200);
  while (!a.AtEnd()) a.PlayNext(50);

  SeededHall(stopped, 42);
  RunEngine b(stopped);
  b.Start(200);
  std::vector<std::int32_t> refreshed;
  for (const std::int32_t stopAt : {37, 120, 199}) {
    while (b.nextGame() < stopAt) {
      const std::int32_t game = b.nextGame();
      if (b.PlayNext(50)) refreshed.push_back(game);
    }
    b.Stop();
    EXPECT_EQ(b.state(), RunEngine::State::Paused);
    EXPECT_EQ(b.nextGame(), stopAt);
    b.Start(999);  // a resume keeps the run's own total
  }
  while (!b.AtEnd()) {
    const std::int32_t game = b.nextGame();
    if (b.PlayNext(50)) refreshed.push_back(game);
  }
  EXPECT_EQ(refreshed, (std::vector<std::int32_t>{49, 99, 149, 199}));
  EXPECT_EQ(Medals(stopped), Medals(whole));
}

TEST(RunEngine, CompletionResetsTheMachinesAndKeepsTheLogs) {
  Hall hall;
  SeededHall(hall, 7);
  RunEngine run(hall);
  run.Start(30);
  while (!run.AtEnd()) run.PlayNext(10);
  const std::int64_t medals = hall.SumMedals();
  run.Complete();
  EXPECT_EQ(run.state(), RunEngine::State::Idle);
  EXPECT_EQ(run.nextGame(), 0);
  EXPECT_TRUE(run.fresh());
  EXPECT_EQ(hall.Machine(0).playCount, 0);
  EXPECT_EQ(hall.PlayLog(0).Length(), 30);
  EXPECT_EQ(hall.SumMedals(), medals);
}

TEST(RunEngine, AStopAfterTheLastHallGameCompletesOnTheNextStartWithoutPlaying) {
  Hall hall;
  SeededHall(hall, 9);
  RunEngine run(hall);
  run.Start(12);
  while (!run.AtEnd()) run.PlayNext(5);
  run.Stop();
  EXPECT_EQ(run.state(), RunEngine::State::Paused);
  EXPECT_EQ(run.nextGame(), 12);
  run.Start(12);
  EXPECT_TRUE(run.AtEnd());
  EXPECT_THROW(run.PlayNext(5), std::logic_error);
  EXPECT_EQ(hall.PlayLog(0).Length(), 12);
  run.Complete();
  EXPECT_EQ(hall.Machine(0).playCount, 0);
}

TEST(RunEngine, RefusesWhatNoRunCanDo) {
  Hall hall;
  SeededHall(hall, 3);
  RunEngine run(hall);
  EXPECT_THROW(run.PlayNext(1), std::logic_error);  // Idle
  EXPECT_THROW(run.Start(0), std::invalid_argument);
  EXPECT_EQ(run.state(), RunEngine::State::Idle);
  run.Start(5);
  EXPECT_THROW(run.Start(5), std::logic_error);     // already running
  EXPECT_THROW(run.Complete(), std::logic_error);   // not at the end
  run.PlayNext(1);
  run.Reset();
  EXPECT_EQ(run.state(), RunEngine::State::Idle);
  EXPECT_EQ(run.nextGame(), 0);
  EXPECT_EQ(hall.Machine(0).playCount, 1);  // Reset leaves the machines alone
}

}  // namespace
}  // namespace orvel
