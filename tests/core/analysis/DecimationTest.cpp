#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/analysis/Decimation.h"

namespace orvel {
namespace {

struct Line {
  const char* name;
  std::vector<double> y;
};

// Lines a slump chart meets: a flat stretch, a steady climb, a random walk
// (a machine's medals) and a quiet line with sharp spikes whose highest and
// lowest points sit alone inside long runs.
std::vector<Line> Lines(std::size_t n) {
  Line flat{"flat", std::vector<double>(n, -3.0)};
  Line ramp{"ramp", {}};
  Line walk{"random_walk", {}};
  Line spikes{"spikes", std::vector<double>(n, 0.0)};
  std::mt19937 random(20261209);
  double medals = 0;
  for (std::size_t i = 0; i < n; ++i) {
    ramp.y.push_back(static_cast<double>(i) * 0.5);
    medals += static_cast<double>(random() % 3) - 1.0;
    walk.y.push_back(medals);
    if (i % 97 == 13) spikes.y[i] = i % 2 == 0 ? 500.0 : -500.0;
  }
  if (n > 4) {
    spikes.y[n / 3] = 1e6;
    spikes.y[2 * n / 3 + 1] = -1e6;
  }
  return {flat, ramp, walk, spikes};
}

std::vector<std::size_t> Decimate(const std::vector<double>& y, std::size_t first, std::size_t buckets) {
  std::vector<std::size_t> out;
  AppendDecimated(first, y.size(), buckets, [&](std::size_t i) { return y[i]; }, out);
  return out;
}

// What a chart must still show after decimation, over every line, several
// lengths and bucket counts, from the line's start and from inside it.
TEST(AppendDecimated, KeepsTheEndsTheExtremesAndTheOrderWithinFourPointsPerBucket) {
  for (const std::size_t buckets : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                                    std::size_t{64}, std::size_t{1000}}) {
    for (const std::size_t n : {2 * buckets + 1, 2 * buckets + 2, 5 * buckets + 3, std::size_t{1000},
                                std::size_t{12345}}) {
      for (const Line& line : Lines(n)) {
        for (const std::size_t first : {std::size_t{0}, std::size_t{3}}) {
          SCOPED_TRACE(std::string(line.name) + ", " + std::to_string(n) + " points from " + std::to_string(first) +
                       ", " + std::to_string(buckets) + " buckets");
          if (n - first <= 2 * buckets) continue;  // drawn whole; tested below
          const std::vector<std::size_t> kept = Decimate(line.y, first, buckets);
          ASSERT_FALSE(kept.empty());
          EXPECT_EQ(kept.front(), first);
          EXPECT_EQ(kept.back(), n - 1);
          EXPECT_TRUE(std::adjacent_find(kept.begin(), kept.end(), [](std::size_t a, std::size_t b) {
                        return a >= b;
                      }) == kept.end())
              << "indices strictly ascending";
          EXPECT_LE(kept.size(), 4 * buckets);

          const auto begin = line.y.begin() + static_cast<std::ptrdiff_t>(first);
          const double low = *std::min_element(begin, line.y.end());
          const double high = *std::max_element(begin, line.y.end());
          double keptLow = line.y[kept.front()], keptHigh = keptLow;
          for (const std::size_t i : kept) {
            keptLow = std::min(keptLow, line.y[i]);
            keptHigh = std::max(keptHigh, line.y[i]);
          }
          EXPECT_EQ(keptLow, low);
          EXPECT_EQ(keptHigh, high);
        }
      }
    }
  }
}

TEST(AppendDecimated, LinesOfUpToTwoPointsPerBucketAreDrawnWhole) {
  for (const std::size_t buckets : {std::size_t{1}, std::size_t{3}, std::size_t{1000}}) {
    for (const std::size_t n : {std::size_t{1}, std::size_t{2}, buckets, 2 * buckets}) {
      for (const Line& line : Lines(n)) {
        SCOPED_TRACE(std::string(line.name) + ", " + std::to_string(n) + " points, " + std::to_string(buckets) +
                     " buckets");
        std::vector<std::size_t> all(n);
        for (std::size_t i = 0; i < n; ++i) all[i] = i;
        EXPECT_EQ(Decimate(line.y, 0, buckets), all);
      }
    }
  }
}

TEST(AppendDecimated, AppendsAfterWhatTheListHoldsAndNothingForAnEmptyRange) {
  const std::vector<double> y = Lines(500)[2].y;
  std::vector<std::size_t> out{7, 8};
  AppendDecimated(40, 40, 10, [&](std::size_t i) { return y[i]; }, out);
  AppendDecimated(41, 40, 10, [&](std::size_t i) { return y[i]; }, out);
  EXPECT_EQ(out, (std::vector<std::size_t>{7, 8}));

  AppendDecimated(40, 500, 10, [&](std::size_t i) { return y[i]; }, out);
  ASSERT_GT(out.size(), 3u);
  EXPECT_EQ(out[0], 7u);
  EXPECT_EQ(out[1], 8u);
  EXPECT_EQ(out[2], 40u);
  EXPECT_EQ(out.back(), 499u);
}

TEST(AppendDecimated, NoBucketsCountAsOne) {
  const std::vector<double> y = Lines(100)[3].y;
  const std::vector<std::size_t> none = Decimate(y, 0, 0);
  EXPECT_EQ(none, Decimate(y, 0, 1));
  EXPECT_LE(none.size(), 4u);
  EXPECT_EQ(none.front(), 0u);
  EXPECT_EQ(none.back(), 99u);
}

}  // namespace
}  // namespace orvel
