#pragma once

#include <cstdint>

#include "core/analysis/Result_data.h"
#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"

namespace orvel::test {

// One hand-made log entry; playCount 0 means "the next game number".
struct Entry {
  int sinceBB = 1;
  int medal = 0;
  int chainCount = 0;
  int playCount = 0;
  int bbKind = 0;
  int keizokuMode = 0;
  int mode = 0;
  int lastKoyaku = 8;
};

inline void Add(TSimResultData& log, Entry e) {
  if (e.playCount == 0) e.playCount = log.Length() + 1;
  log.AppendEntry({e.sinceBB, e.medal, e.chainCount, e.playCount, e.bbKind, e.keizokuMode, e.mode,
                   e.lastKoyaku});
}

// A real machine's run, so that modes, chains and prizes come in a real
// sequence. Named fields, since three numbers in a row are easy to swap:
// PlaySeeded(log, {.games = 500, .level = 2, .seed = 7}).
struct SeededRun {
  int games = 0;
  int level = 6;
  std::uint32_t seed = 0;
};

// Seeds the shared random source, sets a new machine's setting (which
// draws from the source) and appends its games to `log`.
inline void PlaySeeded(TSimResultData& log, const SeededRun& run) {
  Orvel machine;
  SeedRandom(run.seed);
  machine.SetLevel(run.level);
  for (int i = 0; i < run.games; ++i) {
    machine.Play();
    log.Append(machine);
  }
}

}  // namespace orvel::test
