#include "core/model/Orvel_cls.h"

#include <initializer_list>
#include <stdexcept>
#include <string>

#include "core/model/Random.h"

namespace orvel {

namespace {

// Which transition table applies to (minor prize, setting) in modes 0, 1
// and 2: the row index, or -1 where no table exists and the mode stays.
// Indexed [koyaku][setting], the setting itself as index: column 0 is
// never used.
using RowKey = std::array<std::array<std::int8_t, Level::kMax + 1>, Koyaku::kCount>;

constexpr RowKey kHamariRow{{
    {-1, 0, 0, 1, 1, 1, 1},         // 2枚チェリー
    {-1, 2, 2, 2, 2, 2, 2},         // 4枚チェリー
    {-1, 3, 4, 4, 4, 5, 6},         // スイカA
    {-1, 7, 8, 8, 9, 10, 11},       // スイカB
    {-1, -1, -1, -1, -1, -1, -1},   // ReplayA
    {-1, -1, -1, -1, -1, -1, -1},   // ReplayB
    {-1, -1, -1, -1, -1, -1, -1},   // ベル
    {-1, 12, 12, 12, 12, 13, 14},   // チャンス目
    {-1, -1, -1, -1, -1, -1, -1},   // ハズレ
    {-1, -1, -1, -1, -1, -1, -1},   // missed bell
}};

constexpr RowKey kTeikakuRow{{
    {-1, 0, 0, 0, 0, 0, 0},
    {-1, 1, 1, 2, 3, 3, 3},
    {-1, 4, 5, 5, 5, 6, 6},
    {-1, 7, 7, 7, 7, 7, 7},
    {-1, 8, 8, 8, 8, 8, 8},
    {-1, -1, -1, -1, -1, -1, -1},
    {-1, -1, -1, -1, -1, -1, -1},
    {-1, 9, 9, 9, 9, 9, 10},
    {-1, -1, -1, -1, -1, -1, -1},
    {-1, -1, -1, -1, -1, -1, -1},
}};

// The high-probability mode ignores the setting.
constexpr std::array<std::int8_t, Koyaku::kCount> kKoukakuRow{0, 1, 2, 3, 4, -1, -1, 5, -1, -1};

bool IsKoyaku(std::int32_t koyaku) { return koyaku >= 0 && koyaku < Koyaku::kCount; }
bool IsLevel(std::int32_t lv) { return lv >= Level::kMin && lv <= Level::kMax; }
// The table of a setting in the arrays kept by setting.
std::size_t LevelIndex(std::int32_t lv) { return static_cast<std::size_t>(lv - Level::kMin); }

int RowFor(const RowKey& key, std::int32_t lv, std::int32_t koyaku) {
  if (!IsKoyaku(koyaku) || !IsLevel(lv)) return -1;
  return key[static_cast<std::size_t>(koyaku)][static_cast<std::size_t>(lv)];
}

void Fill(Rate_TBL<std::int32_t>& table, std::initializer_list<std::int32_t> weights) {
  table.clear();
  for (const std::int32_t w : weights) table.push_back(w);
}

std::int32_t Draw(std::int32_t denominator) { return NextRandom() % denominator; }

}  // namespace

Orvel::Orvel() {
  SeedRandom(ClockSeed());
  FillTables();
}

void Orvel::FillTables() {
  // Minor prizes 2枚チェリー … チャンス目 by setting; the rest of 2^20 is ハズレ.
  Fill(koyakuTbl[0], {4251, 7781, 6265, 2535, 145031, 287281, 551882, 10477});
  Fill(koyakuTbl[1], {4392, 8040, 6492, 2627, 144831, 286496, 551882, 10460});
  Fill(koyakuTbl[2], {4579, 8381, 6777, 2743, 144432, 286496, 551882, 10438});
  Fill(koyakuTbl[3], {4085, 8795, 7233, 2927, 144035, 284939, 551882, 10407});
  Fill(koyakuTbl[4], {4805, 8795, 7461, 3019, 143838, 284167, 551882, 10398});
  Fill(koyakuTbl[5], {5087, 9312, 7461, 3019, 143641, 284167, 551882, 10380});

  // From ハマリ; columns are the next mode 0 … 5.
  Fill(hamariTbl[0], {118, 256, 8, 128, 1, 1});
  Fill(hamariTbl[1], {110, 256, 16, 128, 1, 1});
  Fill(hamariTbl[2], {470, 32, 8, 2, 0, 0});
  Fill(hamariTbl[3], {358, 128, 8, 16, 1, 1});
  Fill(hamariTbl[4], {350, 128, 16, 16, 1, 1});
  Fill(hamariTbl[5], {342, 128, 24, 16, 1, 1});
  Fill(hamariTbl[6], {318, 128, 32, 32, 1, 1});
  Fill(hamariTbl[7], {78, 384, 16, 32, 1, 1});
  Fill(hamariTbl[8], {62, 384, 16, 48, 1, 1});
  Fill(hamariTbl[9], {46, 384, 32, 48, 1, 1});
  Fill(hamariTbl[10], {30, 384, 32, 64, 1, 1});
  Fill(hamariTbl[11], {16, 382, 48, 64, 1, 1});
  Fill(hamariTbl[12], {359, 128, 16, 8, 1, 0});
  Fill(hamariTbl[13], {343, 128, 24, 16, 1, 0});
  Fill(hamariTbl[14], {319, 128, 32, 32, 1, 0});

  // From 高確.
  Fill(koukakuTbl[0], {0, 0, 0, 510, 1, 1});
  Fill(koukakuTbl[1], {4, 8, 499, 1, 0, 0});
  Fill(koukakuTbl[2], {0, 0, 478, 32, 1, 1});
  Fill(koukakuTbl[3], {0, 0, 254, 256, 1, 1});
  Fill(koukakuTbl[4], {24, 16, 472, 0, 0, 0});
  Fill(koukakuTbl[5], {0, 0, 383, 128, 1, 0});

  // From 低確.
  Fill(teikakuTbl[0], {0, 318, 64, 128, 1, 1});
  Fill(teikakuTbl[1], {8, 499, 4, 1, 0, 0});
  Fill(teikakuTbl[2], {8, 498, 4, 2, 0, 0});
  Fill(teikakuTbl[3], {8, 496, 4, 4, 0, 0});
  Fill(teikakuTbl[4], {0, 374, 128, 8, 1, 1});
  Fill(teikakuTbl[5], {0, 366, 128, 16, 1, 1});
  Fill(teikakuTbl[6], {0, 350, 128, 32, 1, 1});
  Fill(teikakuTbl[7], {0, 62, 384, 64, 1, 1});
  Fill(teikakuTbl[8], {32, 480, 0, 0, 0, 0});
  Fill(teikakuTbl[9], {0, 375, 128, 8, 1, 0});
  Fill(teikakuTbl[10], {0, 367, 128, 16, 1, 0});

  // Continuation mode 継続A … 継続D by chain kind.
  Fill(keizokuSelTbl[0], {1207, 777, 40, 24});
  Fill(keizokuSelTbl[1], {1, 1, 1269, 777});

  // Continuation outcome by continuation mode: end to start table, end to
  // precursor, end to 7揃い, end to Orvel揃い, continue.
  Fill(keizokuTbl[0], {340, 2, 4, 2, 676});
  Fill(keizokuTbl[1], {205, 2, 4, 2, 811});
  Fill(keizokuTbl[2], {143, 4, 8, 2, 867});
  Fill(keizokuTbl[3], {99, 4, 8, 2, 911});

  // Start mode ハマリ, 低確, 高確 by setting.
  Fill(startTbl[0], {599, 175, 250});
  Fill(startTbl[1], {574, 200, 250});
  Fill(startTbl[2], {499, 225, 300});
  Fill(startTbl[3], {449, 250, 325});
  Fill(startTbl[4], {399, 250, 375});
  Fill(startTbl[5], {299, 250, 475});
}

void Orvel::Play() {
  if (bbKind != BBKind::NoBonus) {
    sinceBB = 1;
    chainCount = 0;
    bbKind = BBKind::NoBonus;
  } else if (++sinceBB == kCeiling) {
    mode = Mode::Zencho;  // the ceiling overrides even a pending chain
  }

  ++playCount;
  medal -= kStake;

  const std::int32_t k = DrawKoyaku();
  lastKoyaku = k;
  medal += kNormalPayout[static_cast<std::size_t>(k)];

  switch (mode) {
    case Mode::Hamari: mode = DrawHamariMode(level, k); break;
    case Mode::Teikaku: mode = DrawTeikakuMode(level, k); break;
    case Mode::Koukaku: mode = DrawKoukakuMode(k); break;
    case Mode::Zencho: mode = StepZencho(); break;
    case Mode::Bonus7:
      bbKind = BBKind::Bonus7;
      RunBonusChain();
      break;
    case Mode::BonusOrvel:
      bbKind = BBKind::BonusOrvel;
      RunBonusChain();
      break;
    default: break;
  }
}

void Orvel::RunBonusChain() {
  lastKoyaku = Koyaku::BonusGame;
  keizokuMode = DrawKeizokuMode(bbKind);
  chainCount = 0;
  for (;;) {
    for (std::int32_t game = 0; game < kBattleGames; ++game) {
      medal -= kStake;
      medal += kBattlePayout[static_cast<std::size_t>(DrawKoyaku())];
    }
    medal += kBattleBonus;
    ++bbCount;
    ++chainCount;

    const std::int32_t outcome = DrawContinuation(keizokuMode);
    if (outcome == Continuation::Continue) continue;
    switch (outcome) {
      case Continuation::EndToStart: mode = DrawStartMode(level); break;
      case Continuation::EndToZencho: mode = Mode::Zencho; break;
      case Continuation::EndToBonus7: mode = Mode::Bonus7; break;
      default: mode = Mode::BonusOrvel; break;
    }
    break;
  }
  // bbKind and chainCount stay until the next Play, so the play log row
  // written after this game shows the chain.
  ++firstHitCount;
}

void Orvel::Reset() {
  mode = DrawStartMode(level);
  sinceBB = 0;
  playCount = 0;
  medal = 0;
  chainCount = 0;
  bbCount = 0;
  firstHitCount = 0;
}

void Orvel::CheckLevel(std::int32_t newLevel) const {
  if (!IsLevel(newLevel)) {
    throw std::out_of_range("setting " + std::to_string(newLevel) + " is outside " +
                            std::to_string(Level::kMin) + " ... " + std::to_string(Level::kMax) +
                            "; the machine keeps setting " + std::to_string(level));
  }
}

void Orvel::SetLevel(std::int32_t newLevel) {
  CheckLevel(newLevel);
  level = newLevel;
  Reset();
}

std::int32_t Orvel::DrawKoyaku() {
  const std::int32_t v = Draw(kKoyakuDenominator);
  const std::int32_t k = koyakuTbl[LevelIndex(level)].Pick(v);
  // The bell rule: a second draw, for a bell only; a bell stays a bell when
  // it is 0 modulo 6.
  const bool bell = k == Koyaku::Bell;
  const std::int32_t r = SharedRandom().NextIf(bell);
  const std::int32_t missed = static_cast<std::int32_t>(bell) & static_cast<std::int32_t>(r % 6 != 0);
  return k + missed * (Koyaku::BellMissed - Koyaku::Bell);
}

std::int32_t Orvel::DrawHamariMode(std::int32_t lv, std::int32_t koyaku) {
  const std::int32_t v = Draw(kModeDenominator);
  const int row = RowFor(kHamariRow, lv, koyaku);
  return row < 0 ? Mode::Hamari : hamariTbl[static_cast<std::size_t>(row)].Pick(v);
}

std::int32_t Orvel::DrawTeikakuMode(std::int32_t lv, std::int32_t koyaku) {
  const std::int32_t v = Draw(kModeDenominator);
  const int row = RowFor(kTeikakuRow, lv, koyaku);
  return row < 0 ? Mode::Teikaku : teikakuTbl[static_cast<std::size_t>(row)].Pick(v);
}

std::int32_t Orvel::DrawKoukakuMode(std::int32_t koyaku) {
  const std::int32_t v = Draw(kModeDenominator);
  const int row = IsKoyaku(koyaku) ? kKoukakuRow[static_cast<std::size_t>(koyaku)] : -1;
  return row < 0 ? Mode::Koukaku : koukakuTbl[static_cast<std::size_t>(row)].Pick(v);
}

std::int32_t Orvel::StepZencho() {
  const std::int32_t n = 32 - zenchoGames;
  const std::int32_t a = n == 0 ? 0 : NextRandom() % n;
  if (a != 0) {
    ++zenchoGames;
    return Mode::Zencho;
  }
  zenchoGames = 0;
  return Draw(kModeDenominator) <= 2 ? Mode::BonusOrvel : Mode::Bonus7;
}

std::int32_t Orvel::DrawKeizokuMode(std::int32_t kind) {
  const std::int32_t v = Draw(kKeizokuSelDenominator);
  if (kind == BBKind::Bonus7) return keizokuSelTbl[0].Pick(v);
  if (kind == BBKind::BonusOrvel) return keizokuSelTbl[1].Pick(v);
  return KeizokuMode::KeizokuA;
}

std::int32_t Orvel::DrawContinuation(std::int32_t keizoku) {
  const std::int32_t v = Draw(kContinuationDenominator);
  if (keizoku < 0 || keizoku >= KeizokuMode::kCount) return Continuation::EndToStart;
  return keizokuTbl[static_cast<std::size_t>(keizoku)].Pick(v);
}

std::int32_t Orvel::DrawStartMode(std::int32_t lv) {
  const std::int32_t v = Draw(kStartDenominator);
  if (!IsLevel(lv)) return Mode::Hamari;
  return startTbl[LevelIndex(lv)].Pick(v);
}

const Rate_TBL<std::int32_t>* Orvel::ModeTable(std::int32_t fromMode, std::int32_t lv, std::int32_t koyaku) const {
  int row = -1;
  if (fromMode == Mode::Hamari) row = RowFor(kHamariRow, lv, koyaku);
  if (fromMode == Mode::Teikaku) row = RowFor(kTeikakuRow, lv, koyaku);
  if (fromMode == Mode::Koukaku && IsKoyaku(koyaku)) row = kKoukakuRow[static_cast<std::size_t>(koyaku)];
  if (row < 0) return nullptr;
  const auto index = static_cast<std::size_t>(row);
  return fromMode == Mode::Hamari    ? &hamariTbl[index]
         : fromMode == Mode::Teikaku ? &teikakuTbl[index]
                                     : &koukakuTbl[index];
}

}  // namespace orvel
