#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <random>
#include <vector>

#include "FailingRealloc.h"
#include "core/analysis/Decimation.h"
#include "core/hall/HallSlump.h"

namespace orvel {
namespace {

// A hall balance as runs make it: a random walk with long flat stretches,
// so that ties between extremes are common.
std::vector<std::int64_t> Walk(std::size_t length, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::int64_t> balances;
  std::int64_t balance = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const auto step = random() % 8;
    if (step < 3) balance += static_cast<std::int64_t>(step) - 1;
    if (step == 7) balance += 15;
    balances.push_back(balance);
  }
  return balances;
}

// What the chart drew before the blocks: every entry looked at.
std::vector<std::size_t> Direct(const std::vector<std::int64_t>& y, double from, double to, std::size_t buckets) {
  std::size_t begin = 0, end = 0;
  while (begin < y.size() && static_cast<double>(begin) < from) ++begin;
  while (end < y.size() && static_cast<double>(end) < to) ++end;
  if (begin > 0) --begin;
  end = std::min(y.size(), end + 1);
  std::vector<std::size_t> out;
  AppendDecimated(begin, end, buckets, [&](std::size_t i) { return y[i]; }, out);
  return out;
}

// The blocks must give exactly the points a full scan gives: the same
// extremes, the first of equals, for the whole run and any zoomed range,
// whatever the length (across block and growth boundaries).
TEST(HallSlump, DrawsExactlyWhatAFullScanDraws) {
  for (const std::size_t length : {1u, 2u, 63u, 64u, 65u, 4096u, 4097u, 20000u, 300000u}) {
    SCOPED_TRACE(length);
    const auto y = Walk(length, static_cast<unsigned>(length));
    HallSlump slump;
    for (const std::int64_t balance : y) slump.Append(static_cast<std::int32_t>(slump.size()), balance);
    ASSERT_EQ(slump.size(), length);
    EXPECT_EQ(slump.back(), y.back());
    EXPECT_EQ(slump.lowest(), *std::min_element(y.begin(), y.end()));
    EXPECT_EQ(slump.highest(), *std::max_element(y.begin(), y.end()));
    const double last = static_cast<double>(length - 1);
    const struct {
      double from, to;
      std::size_t buckets;
    } views[] = {{0, last, 300}, {0, last, 1}, {last * 0.1, last * 0.73, 250}, {3.5, 1000.2, 100}, {-5, last + 9, 640},
                 {last * 0.5, last * 0.5, 100}};
    for (const auto& view : views) {
      EXPECT_EQ(slump.Visible(view.from, view.to, view.buckets), Direct(y, view.from, view.to, view.buckets))
          << view.from << " … " << view.to << " at " << view.buckets;
    }
  }
}

int& reallocCalls = test::FailingRealloc::calls;
int& failingCall = test::FailingRealloc::failingCall;
constexpr Reallocator FailOnce = test::FailingRealloc::Reallocate;

// Out of memory while the run grows: nothing recorded is lost, the next
// attempt goes on, and Release starts afresh.
TEST(HallSlump, AGrowthThatFailsLosesNothing) {
  reallocCalls = 0;
  failingCall = 1;  // the second growth
  HallSlump slump(FailOnce);
  const auto y = Walk(10000, 7);
  std::size_t appended = 0;
  EXPECT_THROW(
      while (appended < y.size()) {
        slump.MakeRoom();
        slump.Append(static_cast<std::int32_t>(appended), y[appended]);
        ++appended;
      },
      std::bad_alloc);
  EXPECT_EQ(appended, 4096u);
  for (; appended < y.size(); ++appended) slump.Append(static_cast<std::int32_t>(appended), y[appended]);
  ASSERT_EQ(slump.size(), y.size());
  for (std::size_t i = 0; i < y.size(); ++i) ASSERT_EQ(slump[i], y[i]);
  EXPECT_EQ(slump.Visible(0, 9999, 200), Direct(y, 0, 9999, 200));

  // A run resumed after the seats changed starts its line part way.
  slump.Release();
  EXPECT_TRUE(slump.empty());
  for (std::int32_t game = 100; game < 300; ++game) slump.Append(game, y[static_cast<std::size_t>(game)]);
  EXPECT_EQ(slump.firstGame(), 100);
  EXPECT_EQ(slump.lastGame(), 299);
  const std::vector<std::int64_t> part(y.begin() + 100, y.begin() + 300);
  EXPECT_EQ(slump.Visible(150, 250, 10), Direct(part, 50, 150, 10));
}

// What a reservation leaves is what a resumed run still has in hand.
TEST(HallSlump, SpareBytesAreTheReservationLeft) {
  HallSlump slump;
  slump.Reserve(1000);
  EXPECT_EQ(slump.SpareBytes(), 1000u * 8);
  for (std::int32_t game = 0; game < 250; ++game) slump.Append(game, game);
  EXPECT_EQ(slump.SpareBytes(), 750u * 8);
}

}  // namespace
}  // namespace orvel
