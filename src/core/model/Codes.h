#pragma once

#include <cstdint>

// The machine's integer codes and how many there are of each. The machine
// stores them, the play log records them, the analysis counts them and the
// windows name them (ResultTexts.h); a table indexed by a code has the
// code's count as its size.
namespace orvel {

// The machine's setting (設定).
namespace Level {
inline constexpr std::int32_t kMin = 1;
inline constexpr std::int32_t kMax = 6;
inline constexpr std::int32_t kCount = kMax - kMin + 1;
}  // namespace Level

// Minor prize (小役) of a game: the outcome of DrawKoyaku.
namespace Koyaku {
enum : std::int32_t {
  Cherry2 = 0,     // 2枚チェリー
  Cherry4 = 1,     // 4枚チェリー
  SuikaA = 2,      // スイカA
  SuikaB = 3,      // スイカB
  ReplayA = 4,     // ReplayA
  ReplayB = 5,     // ReplayB
  Bell = 6,        // ベル, kept by the bell rule in one case of six
  Chance = 7,      // チャンス目
  Hazure = 8,      // ハズレ: the remainder of the denominator past the weights
  BellMissed = 9,  // a drawn bell lost to the bell rule; shown as ハズレ
  BonusGame = 99,  // only in lastKoyaku: the game ran a bonus chain
};
// The prizes with a weight of their own in the minor-prize tables,
// Cherry2 … Chance. Only these have a name, a row in the analysis tables
// and a count; the other outcomes are shown as ハズレ.
inline constexpr std::int32_t kWeightedCount = Chance + 1;
// Every outcome of a normal game, Cherry2 … BellMissed (BonusGame lies
// outside: it is no draw).
inline constexpr std::int32_t kCount = BellMissed + 1;
}  // namespace Koyaku

// The machine's internal mode.
namespace Mode {
enum : std::int32_t {
  Hamari = 0,      // ハマリ
  Teikaku = 1,     // 低確
  Koukaku = 2,     // 高確
  Zencho = 3,      // 前兆, the precursor
  Bonus7 = 4,      // 7揃い: a chain of kind 1 runs at the next dispatch
  BonusOrvel = 5,  // Orvel揃い: a chain of kind 2 runs at the next dispatch
};
inline constexpr std::int32_t kCount = BonusOrvel + 1;
}  // namespace Mode

// Continuation mode of a bonus chain, drawn when the chain starts.
namespace KeizokuMode {
enum : std::int32_t { KeizokuA = 0, KeizokuB = 1, KeizokuC = 2, KeizokuD = 3 };
inline constexpr std::int32_t kCount = KeizokuD + 1;
}  // namespace KeizokuMode

// Kind of the chain a game ran.
namespace BBKind {
enum : std::int32_t { NoBonus = 0, Bonus7 = 1, BonusOrvel = 2 };
inline constexpr std::int32_t kCount = BonusOrvel + 1;
}  // namespace BBKind

// Outcome drawn after every battle of a chain.
namespace Continuation {
enum : std::int32_t {
  EndToStart = 0,       // chain ends, mode from the setting's start table
  EndToZencho = 1,      // chain ends, mode 3
  EndToBonus7 = 2,      // chain ends, mode 4
  EndToBonusOrvel = 3,  // chain ends, mode 5
  Continue = 4,         // another battle
};
inline constexpr std::int32_t kCount = Continue + 1;
}  // namespace Continuation

}  // namespace orvel
