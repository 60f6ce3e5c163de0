#pragma once

#include <QProxyStyle>

namespace orvel {

// The application's style with narrower margins beside a tab's title, for a
// tab bar whose titles would otherwise not all fit its window's fixed width
// (and would hide the first behind scroll buttons). Everything else is
// drawn as the application style draws it.
class CompactTabStyle final : public QProxyStyle {
public:
  explicit CompactTabStyle(int narrowerBy) : narrowerBy_(narrowerBy) {}

  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;

private:
  int narrowerBy_;
};

}  // namespace orvel
