#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/Result_data.h"
#include "core/hall/OperatingRate.h"
#include "core/hall/PlayLogSink.h"
#include "core/model/Orvel_cls.h"

namespace orvel {

// The seats of the hall without any window: seat i is one record holding its
// machine, play log and operating rate. Seats are only ever replaced all at
// once.
//
// One hall game (PlayHallGame): every seat in index order whose rate allows
// it (OperatingRate) plays one game on its machine and appends the
// machine's state to its log. All machines draw from the one shared random
// source, so the seat order is part of the result.
//
// Logs: by default every entry stays in the seat's in-memory log, 32 bytes
// a game. SetKeepLogs(false) keeps none, so memory grows with the seats and
// not with the games; a sink (SetLogSink) takes every entry as it is played,
// with or without in-memory logs.
//
// Rate texts are checked when they are set, so a hall game never fails
// half-way with some seats played and others not.
// A rate text checked once and shared: any number of seats can take it
// without a copy each (a hall of 100,000 seats given one long text).
class SeatRate final {
public:
  // Throws ConversionError for a text that is no decimal number.
  explicit SeatRate(std::string text);
  const std::string& text() const { return *text_; }

private:
  friend class Hall;
  SeatRate(std::shared_ptr<const std::string> text, OperatingRate rate) : rate_(rate), text_(std::move(text)) {}
  OperatingRate rate_;  // read before the text moves into text_
  std::shared_ptr<const std::string> text_;
};

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
  // Brings the machines to the state a run starts from: with a seed, the
  // shared source seeded with it first, so the run is a function of the seed
  // and the seats alone. Then Reset on every machine in seat order, then
  // SetLevel again on every seat not on setting 1, in seat order (a seat on
  // setting 1 gets none: SetLevel takes a draw, and every seeded run depends
  // on the exact draws).
  void PrepareRun(std::optional<std::uint32_t> seed);
  // Empties every play log, keeping the storage for the next run.
  void ClearLogs();
  // Empties every play log and gives its storage back to the system.
  void ReleaseLogs();
  // Makes room in every log for `games` more games at once: a run that is
  // known to fit never grows its logs, so it never holds more than it needs
  // (a doubled log can hold twice that) and never fails half-way. Pages not
  // yet written take address space only.
  void ReserveLogs(std::int64_t games);
  // The same one seat at a time, for callers that yield in between.
  void ReserveLog(int seat, std::int64_t entries);
  // Bytes the logs hold beyond their entries (what a reservation left).
  std::uint64_t SpareLogBytes() const;
  void PlayHallGame(std::int32_t game);
  // What the players have won. With logs kept: the sum of every seat's last
  // logged medal difference (0 for an empty log), so since the logs were
  // last cleared, whatever happened to the machines. Without: the sum of
  // the machines' medal differences, which follows the machines and drops
  // to 0 with ResetMachines.
  std::int64_t SumMedals() const;

  // Whether PlayHallGame appends to the in-memory logs (on by default).
  // Entries logged before it is turned off stay until ClearLogs.
  void SetKeepLogs(bool keep) { keepLogs_ = keep; }
  bool KeepsLogs() const { return keepLogs_; }
  // Every entry played from now on also goes to `sink` (none: nullptr). The
  // hall does not own it; it must outlive the hall games played with it.
  void SetLogSink(PlayLogSink* sink) { sink_ = sink; }

  // What one seat holds besides its log's entries: machine, log, record.
  static std::uint64_t MemoryPerSeat();

  int SeatCount() const { return static_cast<int>(seats_.size()); }
  Orvel& Machine(int seat) { return *At(seat).machine; }
  const Orvel& Machine(int seat) const { return *At(seat).machine; }
  const TSimResultData& PlayLog(int seat) const { return *At(seat).playLog; }
  const std::string& RateText(int seat) const { return *At(seat).rateText; }
  // The seat's rate, to give to another seat or hall without reading it again.
  SeatRate Rate(int seat) const { return SeatRate(At(seat).rateText, At(seat).rate); }

  // Stores the text character for character. Throws ConversionError, and
  // changes nothing, for a text that is no decimal number.
  void SetRateText(int seat, const std::string& text);
  // A seat's setting and rate text together, as the seat dialog gives them:
  // SetLevel on the machine (which resets it, one draw) and SetRateText.
  // Both are checked before either is applied, with the errors of those two
  // (the rate first), so a refused call changes nothing: never half a seat.
  void SetSeat(int seat, std::int32_t level, const std::string& rateText);
  // The same with a rate already checked, shared rather than copied.
  void SetSeat(int seat, std::int32_t level, const SeatRate& rate);

private:
  // One seat. The machine and the log stay where they are for the seat's
  // whole life: callers hold references to them across hall games.
  struct Seat {
    std::unique_ptr<Orvel> machine;
    std::unique_ptr<TSimResultData> playLog;
    // As chosen or typed, character for character; seats given the same
    // SeatRate share it.
    std::shared_ptr<const std::string> rateText;
    OperatingRate rate;  // rateText read as a number, kept in step with it
  };

  Seat& At(int seat) { return seats_.at(static_cast<std::size_t>(seat)); }
  const Seat& At(int seat) const { return seats_.at(static_cast<std::size_t>(seat)); }

  std::vector<Seat> seats_;
  bool keepLogs_ = true;
  PlayLogSink* sink_ = nullptr;
};

}  // namespace orvel
