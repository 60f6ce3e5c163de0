#pragma once

#include "core/analysis/Result_data.h"

namespace orvel {

// Takes a hall's play-log entries as they are played (Hall::SetLogSink), for
// logs that must not stay in memory: files written during the run.
class PlayLogSink {
public:
  virtual ~PlayLogSink() = default;
  // Seat `seat` has just played a game that left `entry`. An exception
  // leaves the hall game half played: the seats after this one have not
  // played it.
  virtual void Append(int seat, const TSimResultData::Entry& entry) = 0;

protected:
  PlayLogSink() = default;
  PlayLogSink(const PlayLogSink&) = default;
  PlayLogSink& operator=(const PlayLogSink&) = default;
};

}  // namespace orvel
