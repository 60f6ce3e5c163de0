#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/study/StudyStats.h"

#include "core/hall/Hall.h"

namespace orvel {

// A study: many days of one hall, day d being exactly the plain run (the
// CLI's, the window's) with seed (seed + d) mod 2^32: new seats, each set
// with SetSeat, Hall::PrepareRun with the day's seed, then `games` hall
// games played without logs, the report read from the machines' counters.
struct StudyPlan {
  std::vector<std::int32_t> levels;  // one per seat, 1 … 6
  std::vector<SeatRate> rates;       // one per seat, checked
  std::int32_t games = 8000;
  std::uint32_t seed = 0;
  std::int64_t days = 1;
};

std::uint32_t DaySeed(std::uint32_t seed, std::int64_t day);

// Plays day `day` of the plan on the calling thread, drawing from that
// thread's random source. Returns false, with `result` unspecified, when
// `stop` became true during the day (it is read between hall games).
bool PlayDay(const StudyPlan& plan, std::int64_t day, const std::atomic<bool>& stop, DayResult& result);

// What a study reports while it runs. Every call comes from the thread
// that called RunStudy, never from a worker.
class StudyObserver {
public:
  virtual ~StudyObserver() = default;
  // Every finished day, in day order (a stopped study skips the days it
  // did not finish).
  virtual void DayDone(const DayResult& day) { static_cast<void>(day); }
  // Days finished so far; about ten times a second and once at the end.
  virtual void Progress(std::int64_t daysDone) { static_cast<void>(daysDone); }
  // Polled as often as Progress: true ends the study after the hall games
  // the workers are in, keeping the days finished so far.
  virtual bool StopRequested() { return false; }

protected:
  StudyObserver() = default;
  StudyObserver(const StudyObserver&) = default;
  StudyObserver& operator=(const StudyObserver&) = default;
};

struct StudyOutcome {
  StudyStats stats;
  bool partial = false;  // stopped before every day was played
};

// Plays the plan's days on `threads` workers (at most one per day), each
// taking the next day not yet taken. The statistics do not depend on the
// thread count. Throws what a day throws (a refused rate or setting) after
// the other workers have stopped.
StudyOutcome RunStudy(const StudyPlan& plan, int threads, StudyObserver& observer);

}  // namespace orvel
