#include "core/hall/Hall.h"

#include <algorithm>

namespace orvel {

void Hall::CreateSeats(int count) {
  machines_.clear();
  playLogs_.clear();
  rateTexts_.clear();
  rates_.clear();
  const OperatingRate full = OperatingRate::FromText("1");
  for (int i = 0; i < count; ++i) {
    machines_.push_back(std::make_unique<Orvel>());
    playLogs_.push_back(std::make_unique<TSimResultData>());
    rateTexts_.emplace_back("1");
    rates_.push_back(full);
  }
}

void Hall::DeleteSeats() {
  machines_.clear();
  playLogs_.clear();
  rateTexts_.clear();
  rates_.clear();
}

void Hall::ResetMachines() {
  for (const auto& machine : machines_) machine->Reset();
}

void Hall::ClearLogs() {
  for (const auto& log : playLogs_) log->Clear();
}

std::int64_t Hall::ReservationPerSeat(std::int64_t games) const {
  constexpr std::int64_t kBudget = std::int64_t{1} << 24;
  if (playLogs_.empty() || games <= 0) return 0;
  return std::min(games, kBudget / static_cast<std::int64_t>(playLogs_.size()));
}

void Hall::ReserveLog(int seat, std::int64_t entries) {
  TSimResultData& log = *playLogs_.at(static_cast<std::size_t>(seat));
  if (entries > 0) log.Reserve(static_cast<std::size_t>(log.Length() + entries));
}

void Hall::ReserveLogs(std::int64_t games) {
  const std::int64_t each = ReservationPerSeat(games);
  for (int seat = 0; seat < SeatCount(); ++seat) ReserveLog(seat, each);
}

void Hall::PlayHallGame(std::int32_t game) {
  const std::size_t seats = machines_.size();
  for (std::size_t i = 0; i < seats; ++i) {
    Orvel& machine = *machines_[i];
    if (rates_[i].Plays(game, machine.playCount)) {
      machine.Play();
      playLogs_[i]->Append(machine);
    }
  }
}

std::int64_t Hall::SumMedals() const {
  std::int64_t sum = 0;
  for (const auto& log : playLogs_) {
    if (log->Length() > 0) sum += log->LastMedal();
  }
  return sum;
}

void Hall::SetRateText(int seat, const std::string& text) {
  const std::size_t i = static_cast<std::size_t>(seat);
  OperatingRate rate = OperatingRate::FromText(text);  // throws before anything changes
  rateTexts_.at(i) = text;
  rates_.at(i) = rate;
}

}  // namespace orvel
