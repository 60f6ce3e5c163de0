#include "core/analysis/Result_data.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/model/Orvel_cls.h"

namespace orvel {

TSimResultData::Entry TSimResultData::EntryOf(const Orvel& machine) {
  return {machine.sinceBB, machine.medal,       machine.chainCount, machine.playCount,
          machine.bbKind,  machine.keizokuMode, machine.mode,       machine.lastKoyaku};
}

// Out of line beside EntryOf, which folds into it: the entry goes straight
// into the row buffer, with no call per seat and game for the copy.
void TSimResultData::Append(const Orvel& machine) { Stage(EntryOf(machine)); }

std::int32_t TSimResultData::At(ResultColumn column, int index) const {
  const int c = static_cast<int>(column);
  if (c < 0 || c >= kColumns || index < 0 || index >= Length()) {
    throw std::out_of_range("play log: entry " + std::to_string(index) + " of column " +
                            std::to_string(c) + " outside a log of " + std::to_string(Length()));
  }
  const auto i = static_cast<std::size_t>(index);
  if (i >= size_) return stage_[i - size_][static_cast<std::size_t>(c)];
  return columns_[static_cast<std::size_t>(c)].data()[i];
}

std::int32_t TSimResultData::LastMedal() const {
  return At(ResultColumn::Medal, Length() - 1);
}

void TSimResultData::Flush() const {
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    std::int32_t* column = columns_[c].data() + size_;
    for (std::size_t k = 0; k < staged_; ++k) column[k] = stage_[k][c];
  }
  size_ += staged_;
  staged_ = 0;
}

void TSimResultData::Release() {
  for (auto& column : columns_) column.Release();
  size_ = staged_ = capacity_ = 0;
}

void TSimResultData::Reserve(std::size_t entries) {
  if (entries > capacity_) GrowTo(entries);
}

void TSimResultData::GrowTo(std::size_t capacity) {
  // Column by column: when one fails, those before it are merely bigger
  // than capacity_ says, and the log is still whole.
  for (auto& column : columns_) column.Resize(capacity, reallocate_);
  capacity_ = capacity;
}

}  // namespace orvel
