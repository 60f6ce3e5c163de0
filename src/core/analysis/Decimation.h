#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace orvel {

// Which points of a line a chart must draw so that it looks the same at
// `buckets` pixels across: for every run of points that falls on one pixel
// column, its lowest and its highest, in their order, and the line's first
// and last points. Lines of up to 2 × buckets points are drawn whole.
// Indices come out ascending, so the line is still drawn in order.
//
// A chart handed a hundred thousand points spends its time on points that
// land on the same pixel; this keeps what the plot can show, whatever the
// run's length.
//
// `extremes(from, to)` gives the indices of the first lowest and the first
// highest point among from … to − 1 (to > from): a line that keeps a summary
// of its blocks answers without looking at every point.
template <class Extremes>
void AppendDecimatedWith(std::size_t first, std::size_t end, std::size_t buckets, Extremes extremes,
                         std::vector<std::size_t>& out) {
  if (end <= first) return;
  const std::size_t count = end - first;
  buckets = std::max<std::size_t>(buckets, 1);
  if (count <= 2 * buckets) {
    for (std::size_t i = first; i < end; ++i) out.push_back(i);
    return;
  }
  for (std::size_t b = 0; b < buckets; ++b) {
    const std::size_t from = first + count * b / buckets;
    const std::size_t to = first + count * (b + 1) / buckets;  // exclusive
    if (from >= to) continue;
    const auto [low, high] = extremes(from, to);
    std::size_t picks[4] = {b == 0 ? from : std::min(low, high), std::min(low, high), std::max(low, high),
                            b + 1 == buckets ? to - 1 : std::max(low, high)};
    for (const std::size_t i : picks) {
      if (out.empty() || out.back() < i) out.push_back(i);
    }
  }
}

// The same, looking at every point.
template <class YOf>
void AppendDecimated(std::size_t first, std::size_t end, std::size_t buckets, YOf yOf,
                     std::vector<std::size_t>& out) {
  AppendDecimatedWith(
      first, end, buckets,
      [&yOf](std::size_t from, std::size_t to) {
        std::size_t low = from, high = from;
        for (std::size_t i = from + 1; i < to; ++i) {
          if (yOf(i) < yOf(low)) low = i;
          if (yOf(i) > yOf(high)) high = i;
        }
        return std::pair{low, high};
      },
      out);
}

}  // namespace orvel
