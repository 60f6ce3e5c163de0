#pragma once

#include <array>
#include <cstdint>

#include "core/model/Codes.h"

namespace orvel {

class Orvel;

// The long-run figures (解析値) of one machine on one setting that plays for
// ever without Reset, computed from its tables with every draw taken as an
// independent uniform value over its denominator: no simulation.
//
// A Play is one Orvel::Play call (one log row): one normal game and, when it
// runs one, its whole bonus chain. Every game, normal or battle, puts in 3
// medals; game payouts and the 122 after each battle are paid out.
struct ExactFigures {
  std::int32_t level = 0;
  double firstHitProbability = 0;  // chains (初当り) per Play
  double bbProbability = 0;        // battles per Play, counted as chainCount counts them
  double battlesPerChain = 0;
  double medalsPerPlay = 0;                       // expected change of medal per Play
  double payoutRate = 0;                          // 機械割: medals paid out / medals put in
  double ceilingPerChain = 0;                     // chains whose cycle reached the ceiling (sinceBB 1999)
  std::array<double, Mode::kCount> modeShares{};  // log rows by the mode after the Play
  std::array<double, KeizokuMode::kCount> continuationShares{};  // chains by continuation mode
  std::array<double, Koyaku::kCount> koyakuPerNormalGame{};      // codes 0 … 9, the missed bell 9 apart
};

// The figures of `level` (1 … 6) from `machine`'s tables; its state is not
// read. Throws std::out_of_range for any other setting.
//
// How: the chains cut the run into cycles, each starting at the Play after
// a chain and ending with the Play that runs the next one. A cycle's law
// depends only on the mode it starts in (zenchoGames is 0 then: a precursor
// always ends before a chain), its state is (mode, precursor games) by
// sinceBB, and the ceiling bounds its length by 1999 + 32 Plays, so one pass
// over sinceBB gives each start mode's expected Plays, modes and the kind of
// chain it ends in. The chain's end draws the next cycle's start mode: a
// six-state Markov chain whose stationary law weighs the cycles
// (renewal-reward).
ExactFigures ComputeExactFigures(const Orvel& machine, std::int32_t level);

// The figures of settings 1 … 6 from a machine's fixed tables. Building the
// machine reseeds the shared random source; its state is put back, so a
// hall in the middle of a run plays on as if nothing had happened.
std::array<ExactFigures, Level::kCount> MachineFigures();

}  // namespace orvel
