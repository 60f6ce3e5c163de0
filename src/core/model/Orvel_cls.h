#pragma once

#include <array>
#include <cstdint>

#include "core/model/Rate_TBL.h"

namespace orvel {

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
}

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
}

// Continuation mode of a bonus chain, drawn when the chain starts.
namespace KeizokuMode {
enum : std::int32_t { KeizokuA = 0, KeizokuB = 1, KeizokuC = 2, KeizokuD = 3 };
}

// Kind of the chain a game ran.
namespace BBKind {
enum : std::int32_t { NoBonus = 0, Bonus7 = 1, BonusOrvel = 2 };
}

// Outcome drawn after every battle of a chain.
namespace Continuation {
enum : std::int32_t {
  EndToStart = 0,       // chain ends, mode from the setting's start table
  EndToZencho = 1,      // chain ends, mode 3
  EndToBonus7 = 2,      // chain ends, mode 4
  EndToBonusOrvel = 3,  // chain ends, mode 5
  Continue = 4,         // another battle
};
}

// One Orvel slot machine: its setting, its fifty lottery tables and the
// counters the hall and the play log read after every game.
//
// One Play():
//   1. Bookkeeping: after a game that ran a chain, sinceBB = 1 and the chain's
//      bbKind / chainCount are cleared; otherwise ++sinceBB, and reaching 1999
//      forces mode 3 (the ceiling), even over a pending chain in mode 4 or 5.
//   2. ++playCount, medal -= 3.
//   3. The normal game's minor prize k (DrawKoyaku) and its payout.
//   4. Dispatch on mode: 0, 1, 2 draw the next mode from the table keyed by
//      (mode, setting, k); 3 steps the precursor (StepZencho); 4 and 5 run a
//      whole bonus chain inside this same Play.
// A chain: lastKoyaku = 99; the continuation mode is drawn once; then
// battles of seven battle games (3 medals each, paid by the battle column)
// plus 122 medals, each followed by a continuation draw, until a draw ends
// the chain into a start mode, mode 3, 4 or 5.
//
// Order of the draws (the whole hall shares one sequence, so this order is
// behaviour):
//   - DrawKoyaku: one draw % 2^20, and a second draw % 6 only for a bell;
//   - mode 0/1/2: one draw % 512, taken even when no table applies;
//   - mode 3: one draw % (32 - zenchoGames) unless that is 0, then one more
//     draw % 512 when the precursor ends;
//   - mode 4/5: one draw % 2048, then per battle seven DrawKoyaku and one
//     draw % 1024, plus one draw % 1024 when the chain ends into a start mode.
// Reset, and so SetLevel, consumes exactly one draw % 1024.
class Orvel {
public:
  // Seeds the shared random source from the clock, as every new machine does.
  Orvel();

  void Play();
  // A fresh start mode for the setting; counters and medal difference to 0.
  // level, zenchoGames, bbKind, keizokuMode and lastKoyaku are kept.
  void Reset();
  // Refuses a setting outside 1 ... 6 with std::out_of_range and leaves the
  // machine untouched: no table exists for such a setting.
  void SetLevel(std::int32_t newLevel);
  // SetLevel's check alone, for callers that must check everything before
  // they change anything.
  void CheckLevel(std::int32_t newLevel) const;
  std::int32_t GetLevel() const { return level; }

  // The internal draws, public for tests and benchmarks.
  std::int32_t DrawKoyaku();
  std::int32_t DrawHamariMode(std::int32_t lv, std::int32_t koyaku);
  std::int32_t DrawTeikakuMode(std::int32_t lv, std::int32_t koyaku);
  std::int32_t DrawKoukakuMode(std::int32_t koyaku);
  std::int32_t StepZencho();
  std::int32_t DrawKeizokuMode(std::int32_t kind);
  std::int32_t DrawContinuation(std::int32_t keizoku);
  std::int32_t DrawStartMode(std::int32_t lv);

  std::int32_t level = 1;

  // The fifty tables, in their fixed declaration order. Filled once by the
  // constructor and never changed afterwards.
  std::array<Rate_TBL<std::int32_t>, 6> koyakuTbl;    // by setting, over 2^20
  std::array<Rate_TBL<std::int32_t>, 15> hamariTbl;   // from mode 0, over 512
  std::array<Rate_TBL<std::int32_t>, 6> koukakuTbl;   // from mode 2, over 512
  std::array<Rate_TBL<std::int32_t>, 11> teikakuTbl;  // from mode 1, over 512
  std::array<Rate_TBL<std::int32_t>, 2> keizokuSelTbl;  // by kind, over 2048
  std::array<Rate_TBL<std::int32_t>, 4> keizokuTbl;   // by keizoku mode, over 1024
  std::array<Rate_TBL<std::int32_t>, 6> startTbl;     // by setting, over 1024

  std::int32_t zenchoGames = 0;  // games spent in the precursor; survives Reset
  std::int32_t sinceBB = 0;
  std::int32_t playCount = 0;  // a chain's battle games are not counted
  std::int32_t medal = 0;
  std::int32_t bbKind = 0;     // 1 or 2 after a Play that ran a chain
  std::int32_t keizokuMode = 0;
  std::int32_t chainCount = 0;  // battles of the chain the last Play ran
  std::int32_t bbCount = 0;
  std::int32_t firstHitCount = 0;
  std::int32_t mode = Mode::Hamari;
  std::int32_t lastKoyaku = 0;

  static constexpr std::int32_t kKoyakuDenominator = 1 << 20;
  static constexpr std::int32_t kModeDenominator = 512;
  static constexpr std::int32_t kKeizokuSelDenominator = 2048;
  static constexpr std::int32_t kContinuationDenominator = 1024;
  static constexpr std::int32_t kStartDenominator = 1024;
  static constexpr std::int32_t kCeiling = 1999;
  static constexpr std::int32_t kBattleGames = 7;
  static constexpr std::int32_t kBattleBonus = 122;
  static constexpr std::int32_t kStake = 3;

  // Payout in medals by minor prize, after the 3-medal stake. They differ
  // only for the missed bell, which pays in a battle game.
  static constexpr std::array<std::int32_t, 10> kNormalPayout{2, 4, 6, 6, 3, 0, 10, 0, 0, 0};
  static constexpr std::array<std::int32_t, 10> kBattlePayout{2, 4, 6, 6, 3, 0, 10, 0, 0, 10};

private:
  void FillTables();
  void RunBonusChain();
};

}  // namespace orvel
