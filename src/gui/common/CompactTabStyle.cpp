#include "gui/common/CompactTabStyle.h"

#include <algorithm>

namespace orvel {

int CompactTabStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  const int value = QProxyStyle::pixelMetric(metric, option, widget);
  if (metric != PM_TabBarTabHSpace) return value;
  return std::max(value - narrowerBy_, 6);
}

}  // namespace orvel
