#pragma once

#include <array>
#include <cstdint>

#include "core/model/Codes.h"
#include "core/model/Rate_TBL.h"

namespace orvel {

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

  // The transition table a normal game in mode 0, 1 or 2 picks the next
  // mode from, for setting lv and minor prize koyaku; nullptr where none
  // applies and the mode stays (and for any other mode). What the Draw…Mode
  // functions use, for readers that need the law rather than a draw.
  const Rate_TBL<std::int32_t>* ModeTable(std::int32_t fromMode, std::int32_t lv, std::int32_t koyaku) const;

  std::int32_t level = 1;

  // The fifty tables, in their fixed declaration order. Filled once by the
  // constructor and never changed afterwards.
  std::array<Rate_TBL<std::int32_t>, Level::kCount> koyakuTbl;           // by setting, over 2^20
  std::array<Rate_TBL<std::int32_t>, 15> hamariTbl;                      // from mode 0, over 512
  std::array<Rate_TBL<std::int32_t>, 6> koukakuTbl;                      // from mode 2, over 512
  std::array<Rate_TBL<std::int32_t>, 11> teikakuTbl;                     // from mode 1, over 512
  std::array<Rate_TBL<std::int32_t>, BBKind::kCount - 1> keizokuSelTbl;  // by kind 1, 2, over 2048
  std::array<Rate_TBL<std::int32_t>, KeizokuMode::kCount> keizokuTbl;    // by keizoku mode, over 1024
  std::array<Rate_TBL<std::int32_t>, Level::kCount> startTbl;            // by setting, over 1024

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
  static constexpr std::array<std::int32_t, Koyaku::kCount> kNormalPayout{2, 4, 6, 6, 3, 0, 10, 0, 0, 0};
  static constexpr std::array<std::int32_t, Koyaku::kCount> kBattlePayout{2, 4, 6, 6, 3, 0, 10, 0, 0, 10};

private:
  void FillTables();
  void RunBonusChain();
};

}  // namespace orvel
