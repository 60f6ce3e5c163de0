#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace orvel {

// Long work on the user-interface thread (a run, an analysis window taking
// in many games) lets pending events through once per slice: no event
// waits much longer than a slice, and painting, which only happens then,
// stays a small part of the work.
class TimeSlice final {
public:
  static constexpr qint64 kMilliseconds = 8;

  TimeSlice() { timer_.start(); }

  // The slice is used up: time to let events through.
  bool Due() const { return timer_.elapsed() >= kMilliseconds; }
  // Processes pending events and starts a new slice. Any handler may run
  // inside: callers look again at whatever they hold afterwards.
  void Yield() {
    QCoreApplication::processEvents();
    timer_.restart();
  }
  void YieldIfDue() {
    if (Due()) Yield();
  }

private:
  QElapsedTimer timer_;
};

}  // namespace orvel
