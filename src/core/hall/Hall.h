#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/analysis/Result_data.h"
#include "core/hall/OperatingRate.h"
#include "core/model/Orvel_cls.h"

namespace orvel {

// The seats of the hall without any window: seat i's machine, play log and
// operating-rate text at index i of three parallel lists. Seats are only
// ever replaced all at once.
//
// One hall game (PlayHallGame): every seat in index order whose rate allows
// it (OperatingRate) plays one game on its machine and appends the
// machine's state to its log. All machines draw from the one shared random
// source, so the seat order is part of the result.
//
// Rate texts are checked when they are set, so a hall game never fails
// half-way with some seats played and others not.
class Hall final {
public:
  Hall() = default;
  Hall(const Hall&) = delete;
  Hall& operator=(const Hall&) = delete;

  // Replaces every seat by `count` new ones (none for count <= 0): each a
  // new machine (which reseeds the shared source from the clock, so the
  // last one fixes the seed), an empty log and the rate text "1". The
  // machines are not reset; callers run ResetMachines next.
  void CreateSeats(int count);
  void DeleteSeats();
  // Reset on every machine, in seat order (one draw each).
  void ResetMachines();
  // Empties every play log.
  void ClearLogs();
  // Makes room in every log for `games` more games at once, within a budget
  // of 16 million entries (512 MB) over all seats; past it logs grow as
  // needed. Without it a thousand logs all double at the same hall game.
  void ReserveLogs(std::int64_t games);
  // The same one seat at a time, for callers that yield in between.
  std::int64_t ReservationPerSeat(std::int64_t games) const;
  void ReserveLog(int seat, std::int64_t entries);
  void PlayHallGame(std::int32_t game);
  // The sum of every seat's last logged medal difference (0 for an empty
  // log): what the players have won since the logs were last cleared.
  std::int64_t SumMedals() const;

  int SeatCount() const { return static_cast<int>(machines_.size()); }
  Orvel& Machine(int seat) { return *machines_.at(static_cast<std::size_t>(seat)); }
  const Orvel& Machine(int seat) const { return *machines_.at(static_cast<std::size_t>(seat)); }
  const TSimResultData& PlayLog(int seat) const { return *playLogs_.at(static_cast<std::size_t>(seat)); }
  const std::string& RateText(int seat) const { return rateTexts_.at(static_cast<std::size_t>(seat)); }

  // Stores the text character for character. Throws ConversionError, and
  // changes nothing, for a text that is no decimal number.
  void SetRateText(int seat, const std::string& text);

private:
  std::vector<std::unique_ptr<Orvel>> machines_;
  std::vector<std::unique_ptr<TSimResultData>> playLogs_;
  std::vector<std::string> rateTexts_;
  std::vector<OperatingRate> rates_;  // rateTexts_ read as numbers
};

}  // namespace orvel
