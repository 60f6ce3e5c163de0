#include "analysis/Result_data.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "model/Orvel_cls.h"

namespace orvel {

void TSimResultData::Append(const Orvel& machine) {
  if (size_ == capacity_) Grow();
  const std::size_t i = size_++;
  columns_[0][i] = machine.sinceBB;
  columns_[1][i] = machine.medal;
  columns_[2][i] = machine.chainCount;
  columns_[3][i] = machine.playCount;
  columns_[4][i] = machine.bbKind;
  columns_[5][i] = machine.keizokuMode;
  columns_[6][i] = machine.mode;
  columns_[7][i] = machine.lastKoyaku;
}

void TSimResultData::AppendEntry(const std::array<std::int32_t, kColumns>& values) {
  if (size_ == capacity_) Grow();
  for (std::size_t c = 0; c < values.size(); ++c) columns_[c][size_] = values[c];
  ++size_;
}

std::int32_t TSimResultData::At(ResultColumn column, int index) const {
  const int c = static_cast<int>(column);
  if (c < 0 || c >= kColumns || index < 0 || static_cast<std::size_t>(index) >= size_) {
    throw std::out_of_range("play log: entry " + std::to_string(index) + " of column " +
                            std::to_string(c) + " outside a log of " + std::to_string(size_));
  }
  return columns_[static_cast<std::size_t>(c)][static_cast<std::size_t>(index)];
}

void TSimResultData::Grow() {
  const std::size_t next = std::max<std::size_t>(256, capacity_ * 2);
  for (auto& column : columns_) {
    auto bigger = std::make_unique_for_overwrite<std::int32_t[]>(next);
    if (size_ > 0) std::copy_n(column.get(), size_, bigger.get());
    column = std::move(bigger);
  }
  capacity_ = next;
}

}  // namespace orvel
