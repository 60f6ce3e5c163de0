#pragma once

#include <array>
#include <cstdint>

#include "core/model/Codes.h"

namespace orvel {

// The tallies of one analysis window over every log entry taken in since
// the last clear. A bonus game (bbKind != NoBonus) counts in keizokuCount,
// bbTotal and firstHitTotal, never in koyakuCount; every game counts in
// modeCount. Values outside an array's index range are counted nowhere.
struct ResultStats {
  std::array<std::int32_t, Koyaku::kWeightedCount> koyakuCount{};  // ordinary games by lastKoyaku
  std::array<std::int32_t, Mode::kCount> modeCount{};               // games by mode after the game
  std::array<std::int32_t, KeizokuMode::kCount> keizokuCount{};     // bonus games by continuation mode
  std::int32_t bbTotal = 0;                    // battles: chainCount summed over bonus games
  std::int32_t firstHitTotal = 0;              // bonus games: one first hit (初当り) each

  bool operator==(const ResultStats&) const = default;
};

}  // namespace orvel
