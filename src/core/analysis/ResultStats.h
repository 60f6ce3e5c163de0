#pragma once

#include <array>
#include <cstdint>

namespace orvel {

// The tallies of one analysis window over every log entry taken in since
// the last clear. A bonus game (bbKind != 0) counts in keizokuCount,
// bbTotal and firstHitTotal, never in koyakuCount; every game counts in
// modeCount. Values outside an array's index range are counted nowhere.
struct ResultStats {
  std::array<std::int32_t, 8> koyakuCount{};   // ordinary games by lastKoyaku 0 … 7
  std::array<std::int32_t, 6> modeCount{};     // games by mode after the game
  std::array<std::int32_t, 4> keizokuCount{};  // bonus games by continuation mode
  std::int32_t bbTotal = 0;                    // battles: chainCount summed over bonus games
  std::int32_t firstHitTotal = 0;              // bonus games: one first hit (初当り) each

  bool operator==(const ResultStats&) const = default;
};

}  // namespace orvel
