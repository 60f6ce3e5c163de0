#include "core/hall/RunEngine.h"

#include <algorithm>
#include <stdexcept>

#include "core/hall/Hall.h"

namespace orvel {

void RunEngine::Start(std::int32_t total) {
  if (state_ == State::Running) throw std::logic_error("RunEngine::Start: already running");
  if (state_ == State::Idle) {
    if (total < 1) throw std::invalid_argument("RunEngine::Start: a run has at least one hall game");
    total_ = total;
    next_ = 0;
  }
  state_ = State::Running;
}

bool RunEngine::PlayNext(std::int32_t interval) {
  if (state_ != State::Running || AtEnd()) throw std::logic_error("RunEngine::PlayNext: no hall game to play");
  const std::int32_t game = next_;
  hall_.PlayHallGame(game);
  ++next_;
  return (game + 1) % std::max(1, interval) == 0 || game == total_ - 1;
}

void RunEngine::Stop() {
  if (state_ == State::Running) state_ = State::Paused;
}

void RunEngine::Complete() {
  if (state_ != State::Running || !AtEnd()) throw std::logic_error("RunEngine::Complete: the run is not at its end");
  hall_.ResetMachines();
  Reset();
}

void RunEngine::Reset() {
  state_ = State::Idle;
  next_ = 0;
}

}  // namespace orvel
