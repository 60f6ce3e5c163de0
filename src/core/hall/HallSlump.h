#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/analysis/GrowableBuffer.h"

namespace orvel {

// The hall's balance after every hall game of a run, from the first hall
// game it was given on (entry i is hall game firstGame() + i), kept so that a chart can be redrawn at a cost that does not grow with
// the run: beside the balances, the first lowest and first highest entry of
// every aligned block of 64, 128, 256 … entries, so the extremes of any
// range are found from a few blocks and at most 63 entries at either end.
//
// 8 bytes a hall game plus about a quarter of that for the blocks. Storage
// grows with realloc (GrowableBuffer); MakeRoom, Append and Reserve-like
// growth throw std::bad_alloc with nothing changed.
class HallSlump final {
public:
  explicit HallSlump(Reallocator reallocate = SystemReallocate) : reallocate_(reallocate) {}

  // Makes sure the next Append allocates nothing.
  void MakeRoom() {
    if (size_ == capacity_) Grow();
  }
  // Room for `entries` entries in all, so that a run known to fit never
  // grows the line (which could hold twice what it needs).
  void Reserve(std::size_t entries) {
    if (entries > capacity_) GrowTo(entries);
  }
  // The balance after the next hall game: `game` when empty, after that
  // always the one after the last.
  void Append(std::int32_t game, std::int64_t balance);
  // Empties it and gives the storage back.
  void Release();

  std::size_t size() const { return size_; }
  // Bytes held beyond the entries (what a reservation left).
  std::uint64_t SpareBytes() const { return (capacity_ - size_) * sizeof(std::int64_t); }
  bool empty() const { return size_ == 0; }
  std::int32_t firstGame() const { return first_; }
  std::int32_t lastGame() const { return first_ + static_cast<std::int32_t>(size_) - 1; }
  // The balance of entry i, after hall game firstGame() + i.
  std::int64_t operator[](std::size_t i) const { return balances_.data()[i]; }
  std::int64_t back() const { return (*this)[size_ - 1]; }
  // Over the whole run; 0 when empty.
  std::int64_t lowest() const { return lowest_; }
  std::int64_t highest() const { return highest_; }

  // The first lowest and first highest entry among from … to − 1 (to > from,
  // to <= size()).
  std::pair<std::size_t, std::size_t> Extremes(std::size_t from, std::size_t to) const;
  // The entries a chart must draw to show hall games x = from … to at
  // `buckets` pixel columns: as AppendDecimated over the range and one more
  // entry on either side, ascending.
  std::vector<std::size_t> Visible(double from, double to, std::size_t buckets) const;

private:
  static constexpr std::size_t kFirstBlock = 64;

  // Extremes of one block, as indices.
  struct Block {
    std::size_t low = 0, high = 0;
  };

  void Grow() { GrowTo(std::max<std::size_t>(4096, capacity_ * 2)); }
  void GrowTo(std::size_t capacity);
  void Better(Block& block, std::size_t candidate) const;

  Reallocator reallocate_;
  GrowableBuffer<std::int64_t> balances_;
  std::size_t size_ = 0, capacity_ = 0;
  std::int32_t first_ = 0;
  std::int64_t lowest_ = 0, highest_ = 0;
  // levels_[k]: the complete blocks of kFirstBlock << k entries, with room
  // reserved for capacity_ entries; filling_ the block of the first level
  // still filling.
  std::vector<std::vector<Block>> levels_;
  Block filling_;
};

}  // namespace orvel
