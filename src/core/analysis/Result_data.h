#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "core/analysis/GrowableBuffer.h"

namespace orvel {

class Orvel;

// The eight columns of a play log, in their fixed order. Each records the
// machine field of the same name after the game.
enum class ResultColumn : int {
  SinceBB,
  Medal,
  ChainCount,
  PlayCount,
  BBKind,
  KeizokuMode,
  Mode,
  LastKoyaku,
  Count
};

// A seat's play log: one entry of eight integers per game the seat played
// since the log was last cleared, stored column by column (32 bytes a game).
//
// The columns share one length and one capacity. Append first collects
// entries in a small row buffer and moves them into the columns sixteen at
// a time: a hall of a thousand seats otherwise writes to eight thousand
// far-apart places every hall game, and pays a TLB miss for nearly each.
// Readers never see the difference: Length, At and Column include the
// buffered entries.
//
// Running out of memory: only MakeRoom (and Append, which calls it) and
// Reserve allocate, and a failed allocation leaves the log as it was. Once
// MakeRoom has succeeded, the next Append cannot fail, so a hall can make
// room in every seat's log before it plays any seat's game.
class TSimResultData final {
public:
  static constexpr int kColumns = static_cast<int>(ResultColumn::Count);
  // One entry, in column order.
  using Entry = std::array<std::int32_t, kColumns>;

  // The entry a game leaves: the machine's sinceBB, medal, chainCount,
  // playCount, bbKind, keizokuMode, mode and lastKoyaku. The one place that
  // fixes the column order, for logs and for log files alike.
  static Entry EntryOf(const Orvel& machine);

  explicit TSimResultData(Reallocator reallocate = SystemReallocate) : reallocate_(reallocate) {}
  TSimResultData(const TSimResultData&) = delete;
  TSimResultData& operator=(const TSimResultData&) = delete;

  // Records EntryOf(machine).
  void Append(const Orvel& machine);
  // Appends one entry given column by column (hand-made logs in tests and
  // tools).
  void AppendEntry(const Entry& values) { Stage(values); }
  // Makes sure the next Append allocates nothing. Throws std::bad_alloc,
  // the log unchanged, when there is no memory for it.
  void MakeRoom() {
    if (staged_ == kStaged) Flush();
    if (capacity_ < size_ + staged_ + 1) Grow();
  }
  // Empties the log and keeps its storage for the next run.
  void Clear() { size_ = staged_ = 0; }
  // Empties the log and gives its storage back.
  void Release();
  // Makes room for `entries` entries at once: a hall whose logs all double
  // at the same hall game would otherwise grow them all in one go.
  void Reserve(std::size_t entries);

  int Length() const { return static_cast<int>(size_ + staged_); }
  // The last entry's medal column without moving buffered entries.
  std::int32_t LastMedal() const;
  std::size_t Capacity() const { return capacity_; }

  // Checked access: throws std::out_of_range outside 0 ... Length() - 1.
  std::int32_t At(ResultColumn column, int index) const;
  // Unchecked view of one column, valid until the next Append or Clear.
  std::span<const std::int32_t> Column(ResultColumn column) const {
    if (staged_ != 0) Flush();
    return {columns_[static_cast<std::size_t>(column)].data(), size_};
  }

private:
  static constexpr std::size_t kStaged = 16;

  void Stage(const Entry& entry) {
    MakeRoom();
    stage_[staged_++] = entry;
  }
  // Moves the buffered entries into the columns, which always have room for
  // them (MakeRoom grows the columns before an entry is staged that would
  // not fit), so it allocates nothing. Logically const: the contents do not
  // change.
  void Flush() const;
  void Grow() { GrowTo(std::max<std::size_t>(256, capacity_ * 2)); }
  void GrowTo(std::size_t capacity);

  Reallocator reallocate_;
  mutable std::array<GrowableBuffer<std::int32_t>, kColumns> columns_;
  mutable std::size_t size_ = 0;  // entries in the columns
  std::size_t capacity_ = 0;      // of every column
  mutable std::array<Entry, kStaged> stage_{};
  mutable std::size_t staged_ = 0;  // entries after them, still in stage_
};

}  // namespace orvel
