#include "core/hall/Hall.h"

#include <algorithm>

#include "core/hall/MemoryBudget.h"
#include "core/model/Random.h"

namespace orvel {

SeatRate::SeatRate(std::string text)
    : rate_(OperatingRate::FromText(text)), text_(std::make_shared<const std::string>(std::move(text))) {}

void Hall::CreateSeats(int count) {
  // Built aside and swapped in: running out of memory half-way leaves the
  // hall as it was, never with part of the new seats.
  std::vector<Seat> seats;
  if (count > 0) {
    seats.reserve(static_cast<std::size_t>(count));
    const SeatRate full("1");
    for (int i = 0; i < count; ++i) {
      seats.push_back(Seat{std::make_unique<Orvel>(), std::make_unique<TSimResultData>(), full.text_, full.rate_});
    }
  }
  DeleteSeats();
  seats_ = std::move(seats);
}

std::uint64_t Hall::MemoryPerSeat() {
  constexpr std::uint64_t kPerAllocation = 16;  // the allocator's own header, roughly
  // A machine's tables live on the heap: one machine is built to weigh
  // them, and the shared source put back as it was, since building a
  // machine reseeds it.
  const RandomSource saved = SharedRandom();
  const Orvel probe;
  SharedRandom() = saved;
  std::uint64_t tables = 0;
  const auto weigh = [&tables](const auto& group) {
    for (const auto& table : group) tables += table.capacity() * sizeof(table[0]) + kPerAllocation;
  };
  weigh(probe.koyakuTbl);
  weigh(probe.hamariTbl);
  weigh(probe.koukakuTbl);
  weigh(probe.teikakuTbl);
  weigh(probe.keizokuSelTbl);
  weigh(probe.keizokuTbl);
  weigh(probe.startTbl);
  return sizeof(Seat) + sizeof(Orvel) + sizeof(TSimResultData) + 2 * kPerAllocation + tables;
}

void Hall::DeleteSeats() {
  // Only when seats go: trimming the allocator walks its whole heap, and a
  // study builds a fresh hall for every day.
  if (seats_.empty()) return;
  seats_.clear();
  seats_.shrink_to_fit();
  ReturnFreeMemory();
}

void Hall::ResetMachines() {
  for (const Seat& seat : seats_) seat.machine->Reset();
}

void Hall::PrepareRun(std::optional<std::uint32_t> seed) {
  if (seed) SeedRandom(*seed);
  ResetMachines();
  for (const Seat& seat : seats_) {
    const std::int32_t level = seat.machine->GetLevel();
    if (level != 1) seat.machine->SetLevel(level);
  }
}

void Hall::ClearLogs() {
  for (const Seat& seat : seats_) seat.playLog->Clear();
}

std::uint64_t Hall::SpareLogBytes() const {
  std::uint64_t spare = 0;
  for (const Seat& seat : seats_) {
    const TSimResultData& log = *seat.playLog;
    spare += (log.Capacity() - std::min(log.Capacity(), static_cast<std::size_t>(log.Length()))) * kLogBytesPerGame;
  }
  return spare;
}

void Hall::ReleaseLogs() {
  for (const Seat& seat : seats_) seat.playLog->Release();
  ReturnFreeMemory();
}

void Hall::ReserveLog(int seat, std::int64_t entries) {
  TSimResultData& log = *At(seat).playLog;
  if (entries > 0) log.Reserve(static_cast<std::size_t>(log.Length() + entries));
}

void Hall::ReserveLogs(std::int64_t games) {
  for (int seat = 0; seat < SeatCount(); ++seat) ReserveLog(seat, games);
}

void Hall::PlayHallGame(std::int32_t game) {
  // A hall game is played whole or not at all: room in every log first, so
  // that running out of memory stops the run before any seat has played.
  if (keepLogs_) {
    for (const Seat& seat : seats_) seat.playLog->MakeRoom();
  }
  const int count = SeatCount();
  for (int i = 0; i < count; ++i) {
    Seat& seat = seats_[static_cast<std::size_t>(i)];
    Orvel& machine = *seat.machine;
    if (seat.rate.Plays(game, machine.playCount)) {
      machine.Play();
      if (keepLogs_) seat.playLog->Append(machine);
      if (sink_ != nullptr) sink_->Append(i, TSimResultData::EntryOf(machine));
    }
  }
}

std::int64_t Hall::SumMedals() const {
  std::int64_t sum = 0;
  for (const Seat& seat : seats_) {
    if (!keepLogs_) {
      sum += seat.machine->medal;
    } else if (seat.playLog->Length() > 0) {
      sum += seat.playLog->LastMedal();
    }
  }
  return sum;
}

void Hall::SetRateText(int seat, const std::string& text) {
  const SeatRate rate(text);  // throws before anything changes
  Seat& target = At(seat);
  target.rateText = rate.text_;
  target.rate = rate.rate_;
}

void Hall::SetSeat(int seat, std::int32_t level, const std::string& rateText) {
  SetSeat(seat, level, SeatRate(rateText));
}

void Hall::SetSeat(int seat, std::int32_t level, const SeatRate& rate) {
  Seat& target = At(seat);
  target.machine->CheckLevel(level);  // the last step that can fail, before any change
  target.machine->SetLevel(level);
  target.rateText = rate.text_;
  target.rate = rate.rate_;
}

}  // namespace orvel
