#pragma once

#include <QElapsedTimer>

namespace orvel {

// Long work on the user-interface thread (a run, a window catching up with
// many games) is done in slices: a timer's turn works until its slice is
// used up and then returns to the event loop, so no event waits much
// longer than a slice, and painting, which only happens between turns,
// stays a small part of the work.
class TimeSlice final {
public:
  static constexpr qint64 kMilliseconds = 8;

  TimeSlice() { timer_.start(); }

  // The slice is used up: time to return to the event loop.
  bool Due() const { return timer_.elapsed() >= kMilliseconds; }

private:
  QElapsedTimer timer_;
};

}  // namespace orvel
