#pragma once

#include <QList>
#include <QPointF>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/analysis/Decimation.h"

namespace orvel {

// The points of a line (ascending in x) that a chart shows between x = from
// and x = to: those in the range and one more on each side, so the line
// reaches the plot's edges, reduced to a lowest and a highest point per
// bucket (AppendDecimated). A chart is never handed more points than it can
// draw, however long the run.
template <class Points, class XOf, class YOf>
QList<QPointF> VisibleLine(const Points& points, double from, double to, std::size_t buckets, XOf xOf, YOf yOf) {
  const auto before = [&xOf](const auto& point, double x) { return xOf(point) < x; };
  auto begin = static_cast<std::size_t>(std::lower_bound(points.begin(), points.end(), from, before) - points.begin());
  auto end = static_cast<std::size_t>(std::lower_bound(points.begin(), points.end(), to, before) - points.begin());
  if (begin > 0) --begin;
  end = std::min(points.size(), end + 1);
  std::vector<std::size_t> indices;
  AppendDecimated(begin, end, buckets, [&](std::size_t i) { return yOf(points[i]); }, indices);
  QList<QPointF> line;
  line.reserve(static_cast<qsizetype>(indices.size()));
  for (const std::size_t i : indices) {
    line.append(QPointF(static_cast<double>(xOf(points[i])), static_cast<double>(yOf(points[i]))));
  }
  return line;
}

}  // namespace orvel
