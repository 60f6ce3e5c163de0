#pragma once

#include <cstdint>

// The one random source that every machine of a hall draws from.
//
// State: a 64-bit value, seen as the words `low` (bits 0-31) and `high`
// (bits 32-63). Before any seeding low = 1, high = 0.
//
// NextRandom: state = state * 0x15A00004E35 + 1 (mod 2^64), i.e. the
// multiplier 346 * 2^32 + 20021 = 1486058704437, and returns bits 32 to 62
// of the new state, so the result lies in 0 ... 2^31 - 1 and a draw over a
// power of two, NextRandom() % D, is simply its low bits.
//
// SeedRandom(s): low = s * 22695477 + 1 (mod 2^32), high = 0. The seeding
// step deliberately uses the 32-bit multiplier, not the 64-bit one: that is
// how the original generator seeds, and every recorded sequence depends on it.
//
// A hall run is a reproducible function of the seed and of the order of the
// draws; see Orvel_cls.h for the order one game consumes them in.
namespace orvel {

class RandomSource final {
public:
  void Seed(std::uint32_t seed) {
    state_ = static_cast<std::uint32_t>(seed * 22695477u + 1u);
  }

  std::int32_t Next() {
    state_ = state_ * kMultiplier + 1u;
    return static_cast<std::int32_t>((state_ >> 32) & 0x7FFFFFFFu);
  }

  // Draws only when `take` is set, without branching on it, and returns the
  // value a draw would give either way. Lets the bell rule, whose second
  // draw happens about one game in two, run without a mispredicted branch.
  std::int32_t NextIf(bool take) {
    const std::uint64_t next = state_ * kMultiplier + 1u;
    const std::uint64_t keep = std::uint64_t{take} - 1u;  // all ones when not taking
    state_ = (next & ~keep) | (state_ & keep);
    return static_cast<std::int32_t>((next >> 32) & 0x7FFFFFFFu);
  }

  std::uint32_t low() const { return static_cast<std::uint32_t>(state_); }
  std::uint32_t high() const { return static_cast<std::uint32_t>(state_ >> 32); }

private:
  static constexpr std::uint64_t kMultiplier = 0x15A00004E35ull;
  std::uint64_t state_ = 1;
};

// The shared source itself: one per thread. Every machine of a hall draws
// from the source of the thread that plays it, so a hall played on one
// thread is the same sequence whatever other threads play at the same time
// (a study runs its days on worker threads beside the window's hall).
// constinit: no lazy initialisation, so every use is a plain access to the
// thread's copy, without a guard.
inline RandomSource& SharedRandom() {
  static constinit thread_local RandomSource source;
  return source;
}

inline void SeedRandom(std::uint32_t seed) { SharedRandom().Seed(seed); }
inline std::int32_t NextRandom() { return SharedRandom().Next(); }

// Seconds since 1970 as the calendar clock gives them, cut to 32 bits: what
// a machine seeds the shared source with when it is built.
std::uint32_t ClockSeed();

}  // namespace orvel
