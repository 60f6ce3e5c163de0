#include "core/analysis/ExactFigures.h"

#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"

namespace orvel {

namespace {

constexpr std::size_t kModes = Mode::kCount;
constexpr std::size_t kKeizoku = KeizokuMode::kCount;
constexpr std::size_t kKinds = BBKind::kCount - 1;  // chains of kind 1 and 2
constexpr std::size_t kZenchoSteps = 32;            // a precursor lasts 1 … 32 games
// The longest cycle: the ceiling's Play, then a whole precursor of at most
// 32 games, the chain running in the Play after its last one.
constexpr std::int32_t kLongestCycle = Orvel::kCeiling + static_cast<std::int32_t>(kZenchoSteps);

using ModeLaw = std::array<double, kModes>;

double Share(std::int32_t weight, std::int32_t denominator) {
  return static_cast<double>(weight) / static_cast<double>(denominator);
}

// What a chain of one kind does: its continuation modes, its expected
// battles and the law of the mode it ends in (the next cycle's start).
struct ChainLaw {
  std::array<double, kKeizoku> keizoku{};
  double battles = 0;
  ModeLaw endMode{};
};

ChainLaw ChainLawOf(const Orvel& m, std::size_t kind, std::int32_t level) {
  ChainLaw law;
  const auto& start = m.startTbl[static_cast<std::size_t>(level - Level::kMin)];
  for (std::size_t k = 0; k < kKeizoku; ++k) {
    const double sel = Share(m.keizokuSelTbl[kind][k], Orvel::kKeizokuSelDenominator);
    law.keizoku[k] = sel;
    const auto& q = m.keizokuTbl[k];
    const std::int32_t ending = Orvel::kContinuationDenominator - q[Continuation::Continue];
    // Battles are geometric: every battle ends the chain with chance ending/1024.
    law.battles += sel * Share(Orvel::kContinuationDenominator, ending);
    const double toStart = sel * Share(q[Continuation::EndToStart], ending);
    for (std::size_t s = 0; s < start.size(); ++s)
      law.endMode[s] += toStart * Share(start[s], Orvel::kStartDenominator);
    law.endMode[Mode::Zencho] += sel * Share(q[Continuation::EndToZencho], ending);
    law.endMode[Mode::Bonus7] += sel * Share(q[Continuation::EndToBonus7], ending);
    law.endMode[Mode::BonusOrvel] += sel * Share(q[Continuation::EndToBonusOrvel], ending);
  }
  return law;
}

// One cycle from a start mode, in expectations.
struct CycleLaw {
  double plays = 0;
  std::array<double, kKinds> kind{};  // the chain that ends it, by kind
  double reachedCeiling = 0;
  ModeLaw modeAfter{};  // Plays without a chain by the mode after them
};

// The state before a Play's dispatch: modes 0 … 2, the precursor by games
// already spent in it, and the pending chains of modes 4 and 5.
struct CycleState {
  std::array<double, 3> plain{};
  std::array<double, kZenchoSteps> zencho{};
  double bonus7 = 0;
  double bonusOrvel = 0;
};

CycleLaw CycleLawOf(std::int32_t startMode, const std::array<ModeLaw, 3>& step) {
  CycleState state;
  if (startMode <= Mode::Koukaku) state.plain[static_cast<std::size_t>(startMode)] = 1;
  if (startMode == Mode::Zencho) state.zencho[0] = 1;
  if (startMode == Mode::Bonus7) state.bonus7 = 1;
  if (startMode == Mode::BonusOrvel) state.bonusOrvel = 1;

  CycleLaw law;
  for (std::int32_t sinceBB = 1; sinceBB <= kLongestCycle; ++sinceBB) {
    double alive = state.bonus7 + state.bonusOrvel;
    for (const double p : state.plain) alive += p;
    for (const double p : state.zencho) alive += p;
    law.plays += alive;
    if (sinceBB == Orvel::kCeiling) {
      // The first Play of a cycle never meets the ceiling, so this is a
      // later one: every mode but a running precursor turns into a new one.
      law.reachedCeiling = alive;
      double fresh = state.bonus7 + state.bonusOrvel;
      for (double& p : state.plain) fresh += std::exchange(p, 0.0);
      state.bonus7 = state.bonusOrvel = 0;
      state.zencho[0] += fresh;
    }
    law.kind[0] += state.bonus7;
    law.kind[1] += state.bonusOrvel;

    CycleState next;
    const auto move = [&](std::size_t to, double mass) {
      law.modeAfter[to] += mass;
      if (to <= Mode::Koukaku) next.plain[to] += mass;
      if (to == Mode::Zencho) next.zencho[0] += mass;
      if (to == Mode::Bonus7) next.bonus7 += mass;
      if (to == Mode::BonusOrvel) next.bonusOrvel += mass;
    };
    for (std::size_t from = 0; from < state.plain.size(); ++from) {
      for (std::size_t to = 0; to < kModes; ++to) move(to, state.plain[from] * step[from][to]);
    }
    for (std::size_t spent = 0; spent < kZenchoSteps; ++spent) {
      const double mass = state.zencho[spent];
      const double ends = 1.0 / static_cast<double>(kZenchoSteps - spent);
      if (spent + 1 < kZenchoSteps) next.zencho[spent + 1] += mass * (1 - ends);
      law.modeAfter[Mode::Zencho] += mass * (1 - ends);
      // The precursor ends in Orvel揃い for a draw of 0 … 2 over 512.
      const double orvel = Share(3, Orvel::kModeDenominator);
      move(Mode::BonusOrvel, mass * ends * orvel);
      move(Mode::Bonus7, mass * ends * (1 - orvel));
    }
    state = next;
  }
  return law;
}

// The stationary law of the start modes: pi P = pi with the weights adding
// up to 1, by Gaussian elimination with partial pivoting.
ModeLaw Stationary(const std::array<ModeLaw, kModes>& p) {
  std::array<std::array<double, kModes + 1>, kModes> a{};
  for (std::size_t row = 0; row < kModes; ++row) {
    for (std::size_t col = 0; col < kModes; ++col) a[row][col] = p[col][row] - (row == col ? 1.0 : 0.0);
  }
  // One equation is redundant; the normalisation takes its place.
  for (std::size_t col = 0; col <= kModes; ++col) a[kModes - 1][col] = 1.0;
  for (std::size_t col = 0; col < kModes; ++col) {
    std::size_t pivot = col;
    for (std::size_t row = col + 1; row < kModes; ++row) {
      if (std::abs(a[row][col]) > std::abs(a[pivot][col])) pivot = row;
    }
    std::swap(a[col], a[pivot]);
    for (std::size_t row = 0; row < kModes; ++row) {
      if (row == col || a[row][col] == 0.0) continue;
      const double f = a[row][col] / a[col][col];
      for (std::size_t c = col; c <= kModes; ++c) a[row][c] -= f * a[col][c];
    }
  }
  ModeLaw pi{};
  for (std::size_t i = 0; i < kModes; ++i) pi[i] = a[i][kModes] / a[i][i];
  return pi;
}

}  // namespace

ExactFigures ComputeExactFigures(const Orvel& machine, std::int32_t level) {
  if (level < Level::kMin || level > Level::kMax) {
    throw std::out_of_range("no tables for setting " + std::to_string(level));
  }
  ExactFigures f;
  f.level = level;

  // The minor prizes: the eight weights, the rest of 2^20 as ハズレ, and the
  // bell rule keeping a bell in one case of six.
  const auto& weights = machine.koyakuTbl[static_cast<std::size_t>(level - Level::kMin)];
  std::int32_t rest = Orvel::kKoyakuDenominator;
  for (std::size_t k = 0; k < weights.size(); ++k) {
    f.koyakuPerNormalGame[k] = Share(weights[k], Orvel::kKoyakuDenominator);
    rest -= weights[k];
  }
  f.koyakuPerNormalGame[Koyaku::Hazure] = Share(rest, Orvel::kKoyakuDenominator);
  const double drawnBell = f.koyakuPerNormalGame[Koyaku::Bell];
  f.koyakuPerNormalGame[Koyaku::Bell] = drawnBell / 6;
  f.koyakuPerNormalGame[Koyaku::BellMissed] = drawnBell * 5 / 6;

  double normalPaid = 0;
  double battlePaid = 0;
  for (std::size_t k = 0; k < f.koyakuPerNormalGame.size(); ++k) {
    normalPaid += f.koyakuPerNormalGame[k] * Orvel::kNormalPayout[k];
    battlePaid += f.koyakuPerNormalGame[k] * Orvel::kBattlePayout[k];
  }

  // One normal game's mode law from modes 0 … 2: the table of each minor
  // prize, or the same mode where none applies.
  std::array<ModeLaw, 3> step{};
  for (std::size_t from = 0; from < step.size(); ++from) {
    for (std::size_t k = 0; k < f.koyakuPerNormalGame.size(); ++k) {
      const double pk = f.koyakuPerNormalGame[k];
      const auto* table = machine.ModeTable(static_cast<std::int32_t>(from), level, static_cast<std::int32_t>(k));
      if (table == nullptr) {
        step[from][from] += pk;
        continue;
      }
      for (std::size_t to = 0; to < table->size(); ++to)
        step[from][to] += pk * Share((*table)[to], Orvel::kModeDenominator);
    }
  }

  const std::array<ChainLaw, kKinds> chains{ChainLawOf(machine, 0, level), ChainLawOf(machine, 1, level)};
  std::array<CycleLaw, kModes> cycles;
  std::array<ModeLaw, kModes> next{};  // start mode → next start mode
  for (std::size_t m = 0; m < kModes; ++m) {
    cycles[m] = CycleLawOf(static_cast<std::int32_t>(m), step);
    for (std::size_t b = 0; b < kKinds; ++b) {
      for (std::size_t to = 0; to < kModes; ++to) next[m][to] += cycles[m].kind[b] * chains[b].endMode[to];
    }
  }
  const ModeLaw pi = Stationary(next);

  // Renewal-reward: every long-run rate is the expected reward of a cycle
  // over its expected Plays, both averaged by the stationary start modes.
  double plays = 0;
  double battles = 0;
  ModeLaw rows{};
  for (std::size_t m = 0; m < kModes; ++m) {
    plays += pi[m] * cycles[m].plays;
    f.ceilingPerChain += pi[m] * cycles[m].reachedCeiling;
    for (std::size_t b = 0; b < kKinds; ++b) {
      const double chain = pi[m] * cycles[m].kind[b];
      battles += chain * chains[b].battles;
      for (std::size_t k = 0; k < kKeizoku; ++k) f.continuationShares[k] += chain * chains[b].keizoku[k];
    }
    // The chain's Play is recorded with the mode the chain ended in, the
    // next cycle's start mode.
    for (std::size_t to = 0; to < kModes; ++to) rows[to] += pi[m] * (cycles[m].modeAfter[to] + next[m][to]);
  }
  for (std::size_t to = 0; to < kModes; ++to) f.modeShares[to] = rows[to] / plays;

  f.firstHitProbability = 1 / plays;
  f.bbProbability = battles / plays;
  f.battlesPerChain = battles;
  const double battleGames = Orvel::kBattleGames;
  const double stake = Orvel::kStake;
  const double paid = plays * normalPaid + battles * (battleGames * battlePaid + Orvel::kBattleBonus);
  const double putIn = stake * (plays + battles * battleGames);
  f.medalsPerPlay = (paid - putIn) / plays;
  f.payoutRate = paid / putIn;
  return f;
}

std::array<ExactFigures, Level::kCount> MachineFigures() {
  const RandomSource saved = SharedRandom();
  const Orvel machine;
  SharedRandom() = saved;
  std::array<ExactFigures, Level::kCount> all;
  for (std::int32_t level = Level::kMin; level <= Level::kMax; ++level) {
    all[static_cast<std::size_t>(level - Level::kMin)] = ComputeExactFigures(machine, level);
  }
  return all;
}

}  // namespace orvel
