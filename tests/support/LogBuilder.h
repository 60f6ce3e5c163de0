#pragma once

#include "core/analysis/Result_data.h"

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

}  // namespace orvel::test
