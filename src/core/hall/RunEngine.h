#pragma once

#include <cstdint>

namespace orvel {

class Hall;

// A run of the hall: hall games 0 … total − 1, played one at a time and
// stopped and resumed between any two. The hall window plays it in slices
// between events, the CLI and the benchmarks in one go.
//
// A refresh is due after hall game g when g + 1 is a multiple of the update
// interval read at that game (the run's own numbering, also after a
// resume), or when g is the run's last. A run that has played its last
// hall game completes: every machine is reset (Hall::ResetMachines) while
// the logs keep the run. A stopped run is Paused and resumes at the next
// hall game; one stopped after its last hall game completes at once on the
// next Start, without playing.
//
//   Idle --Start--> Running --Stop--> Paused --Start--> Running
//   Running (at the end) --Complete--> Idle;  any --Reset--> Idle
class RunEngine final {
public:
  enum class State { Idle, Running, Paused };

  explicit RunEngine(Hall& hall) : hall_(hall) {}
  RunEngine(const RunEngine&) = delete;
  RunEngine& operator=(const RunEngine&) = delete;

  State state() const { return state_; }
  // The hall game the run plays next; 0 when Idle.
  std::int32_t nextGame() const { return next_; }
  std::int32_t total() const { return total_; }
  // True in Idle: the next Start begins a fresh run, and the caller clears
  // what the last run left (logs, displays) first.
  bool fresh() const { return state_ == State::Idle; }

  // Idle → Running, a fresh run of `total` hall games (at least 1); Paused
  // → Running at nextGame(), with the total it had.
  void Start(std::int32_t total);
  // Running and not at the end: plays hall game nextGame() and moves on.
  // True when a refresh is due after it. A hall game that throws leaves
  // nextGame() at that game.
  bool PlayNext(std::int32_t interval);
  // Every hall game of the run has been played.
  bool AtEnd() const { return next_ >= total_; }
  // Running → Paused.
  void Stop();
  // Running at the end → Idle, the machines reset.
  void Complete();
  // → Idle at hall game 0, the machines untouched.
  void Reset();

private:
  Hall& hall_;
  State state_ = State::Idle;
  std::int32_t next_ = 0;
  std::int32_t total_ = 0;
};

}  // namespace orvel
