#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

#include "gui/common/TimeSlice.h"

namespace orvel {

// Brings displays (the hall chart, the shown analysis windows) up to date
// while events go on. A display marked stale gets turns, one display per
// turn of the event loop, each with one TimeSlice of work, in one fair
// circle: served in a fixed order, a display stale again at every refresh
// of a fast run (the hall chart at interval 1) would starve the others. A
// display with more work than a slice (a window opened after a long run)
// catches up over several turns, and events run in between.
//
// Words used with it: a display is "stale" when what it shows lags behind
// its data; it "catches up" in a turn; "drawing a range" puts the points of
// one x range into a chart.
class DisplayScheduler final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(DisplayScheduler)

public:
  // One turn of a display: work until `slice` is due. True when it is up
  // to date (also when it has nothing to show, say hidden).
  using CatchUp = std::function<bool(const TimeSlice& slice)>;

  explicit DisplayScheduler(QObject* parent = nullptr);

  // `display` takes part until Remove (at the latest in its destructor).
  void Add(const QObject* display, CatchUp catchUp);
  void Remove(const QObject* display);
  // Gives `display` turns until it has caught up.
  void MarkStale(const QObject* display);
  // A display is still stale.
  bool pending() const;

private:
  struct Entry {
    const QObject* display;
    CatchUp catchUp;
    bool stale;
  };

  void Turn();

  std::vector<Entry> entries_;
  std::size_t next_ = 0;  // the place in the circle looked at next
  QTimer turn_;
};

}  // namespace orvel
