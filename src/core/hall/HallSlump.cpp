#include "core/hall/HallSlump.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/analysis/Decimation.h"

namespace orvel {

void HallSlump::Better(Block& block, std::size_t candidate) const {
  // Strictly lower or higher: on a tie the earlier entry stays, as in
  // AppendDecimated.
  const std::int64_t* balances = balances_.data();
  if (balances[candidate] < balances[block.low]) block.low = candidate;
  if (balances[candidate] > balances[block.high]) block.high = candidate;
}

void HallSlump::Append(std::int32_t hallGame, std::int64_t balance) {
  MakeRoom();
  if (size_ == 0) first_ = hallGame;
  const std::size_t game = size_;
  balances_.data()[game] = balance;
  ++size_;
  lowest_ = game == 0 ? balance : std::min(lowest_, balance);
  highest_ = game == 0 ? balance : std::max(highest_, balance);
  if (game % kFirstBlock == 0) {
    filling_ = {game, game};
  } else {
    Better(filling_, game);
  }
  // A block that is now complete goes to its level, and so does every
  // wider block it completes, from its two halves.
  if (size_ % kFirstBlock != 0 || levels_.empty()) return;
  levels_[0].push_back(filling_);  // room reserved by Grow
  for (std::size_t k = 1; k < levels_.size() && size_ % (kFirstBlock << k) == 0; ++k) {
    const std::vector<Block>& halves = levels_[k - 1];
    Block block = halves[halves.size() - 2];
    Better(block, halves.back().low);
    Better(block, halves.back().high);
    levels_[k].push_back(block);
  }
}

void HallSlump::GrowTo(std::size_t capacity) {
  // Levels up to the widest block that fits the new capacity, each with
  // room for every block of it; only then the balances. A failure on the
  // way leaves some room bigger than needed and nothing else changed.
  if (capacity > (std::size_t{1} << 40)) throw std::bad_alloc();  // past any run (2^31 hall games)
  std::size_t levels = 0;
  while ((kFirstBlock << levels) <= capacity) ++levels;
  std::vector<std::vector<Block>> grown;
  for (std::size_t k = 0; k < levels; ++k) {
    if (k < levels_.size()) {
      levels_[k].reserve(capacity / (kFirstBlock << k) + 1);
    } else {
      grown.emplace_back().reserve(capacity / (kFirstBlock << k) + 1);
    }
  }
  balances_.Resize(capacity, reallocate_);
  levels_.reserve(levels);
  // A new level starts with the complete blocks of the entries already in.
  for (std::vector<Block>& level : grown) {
    const std::size_t width = kFirstBlock << levels_.size();
    for (std::size_t from = 0; from + width <= size_; from += width) {
      const auto [low, high] = Extremes(from, from + width);
      level.push_back({low, high});
    }
    levels_.push_back(std::move(level));
  }
  capacity_ = capacity;
}

void HallSlump::Release() {
  balances_.Release();
  levels_ = {};
  size_ = capacity_ = 0;
  first_ = 0;
  lowest_ = highest_ = 0;
}

std::pair<std::size_t, std::size_t> HallSlump::Extremes(std::size_t from, std::size_t to) const {
  Block best{from, from};
  std::size_t i = from + 1;
  // The first entry is the starting point; blocks are used whole from
  // where they are aligned, widest first.
  while (i < to) {
    std::size_t k = levels_.size();
    while (k > 0) {
      const std::size_t width = kFirstBlock << (k - 1);
      if (i % width == 0 && i + width <= to) break;
      --k;
    }
    if (k == 0) {
      Better(best, i);
      ++i;
      continue;
    }
    const std::size_t width = kFirstBlock << (k - 1);
    const Block& block = levels_[k - 1][i / width];
    Better(best, block.low);
    Better(best, block.high);
    i += width;
  }
  return {best.low, best.high};
}

std::vector<std::size_t> HallSlump::Visible(double from, double to, std::size_t buckets) const {
  std::vector<std::size_t> games;
  if (size_ == 0) return games;
  // Entries at x >= from start at ceil(from); one more before it, and one
  // after the last entry below `to`.
  const auto index = [this](double game) {
    const double x = game - first_;
    if (!(x > 0)) return std::size_t{0};
    const double up = std::ceil(x);
    return up >= static_cast<double>(size_) ? size_ : static_cast<std::size_t>(up);
  };
  std::size_t begin = index(from);
  std::size_t end = index(to);
  if (begin > 0) --begin;
  end = std::min(size_, end + 1);
  AppendDecimatedWith(
      begin, end, buckets, [this](std::size_t a, std::size_t b) { return Extremes(a, b); }, games);
  return games;
}

}  // namespace orvel
