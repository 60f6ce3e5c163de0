#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/analysis/ResultStats.h"

namespace orvel {

class TSimResultData;

// One play-list row, kept as the few integers its five texts are made from.
// The small codes are clamped: bbKind BBKind::kCount (3) stands for any
// unknown kind; koyaku Hazure for any value that is no Koyaku code; mode -1
// for any value that is no Mode. Each clamped value gives the same texts as
// the original.
struct PlayRow {
  std::int32_t playCount;
  std::int32_t sinceBB;
  std::int32_t medal;
  std::int32_t chainCount;
  std::int8_t bbKind;
  std::int8_t koyaku;
  std::int8_t mode;
};

// A bonus game: its play row (by game index), its continuation mode and the
// medals won in that game, its own stake and prize and the whole chain.
struct BonusRow {
  std::int32_t game;
  std::int32_t keizokuMode;
  std::int64_t medalsWon;
};

struct ChartPoint {
  std::int32_t x;
  std::int32_t y;
  bool operator==(const ChartPoint&) const = default;
};

// The minor prizes that get a marker series on the slump chart.
enum class Marker : int { Cherry2, Cherry4, SuikaA, SuikaB, Chance, Count };

// One row of the minor-prize, mode or continuation table: caption, count,
// rate and 1/X texts, and the value and label of its pie slice.
struct TableRow {
  std::array<std::string, 4> texts;
  double pieValue;
  std::string pieLabel;
};

// Everything an analysis window computes from its seat's play log, without
// any window: tallies, rows, chart points, tables and texts.
//
// The log is taken in incrementally, in two passes that a window may run at
// different times: TakeTallies for the counts and the summary, TakeRows for
// the lists and chart points. Each reads only entries first - 1 … last of
// the log, so its cost grows with the entries taken in, never with the log's
// length. Both must be given consecutive ranges from 0 between two Clears.
class ResultAnalysis final {
public:
  void Clear();

  // Both passes over first … last (0 <= first <= last < log length).
  void TakeIn(const TSimResultData& log, int first, int last);
  void TakeTallies(const TSimResultData& log, int first, int last);
  void TakeRows(const TSimResultData& log, int first, int last);

  // One past the last entry taken in by each pass.
  int talliedEnd() const { return talliedEnd_; }
  int rowsEnd() const { return static_cast<int>(playRows_.size()); }

  const ResultStats& stats() const { return stats_; }

  const std::vector<PlayRow>& playRows() const { return playRows_; }
  const std::vector<BonusRow>& bonusRows() const { return bonusRows_; }
  // Game indices of the games that changed the mode.
  const std::vector<std::int32_t>& modeChanges() const { return modeChanges_; }
  const std::vector<ChartPoint>& markerPoints(Marker marker) const {
    return markerPoints_[static_cast<std::size_t>(marker)];
  }

  // PLAY数, PLAY数2, 絵柄, モード, メダル数 of game i.
  std::array<std::string, 5> PlayRowTexts(std::size_t i) const;
  // PLAY数, PLAY数2, 絵柄, continuation mode, mode the chain ended in, medals won.
  std::array<std::string, 6> BonusRowTexts(std::size_t i) const;
  // PLAY数, PLAY数2, 絵柄 (the prize that triggered the change), new mode.
  std::array<std::string, 4> ModeChangeRowTexts(std::size_t i) const;

  // Chart points: (playCount, medal), (playCount, mode) of game i, and the
  // bar of bonus j: (j + 1, sinceBB of that game).
  ChartPoint SlumpPoint(std::size_t i) const { return {playRows_[i].playCount, playRows_[i].medal}; }
  ChartPoint ModePoint(std::size_t i) const { return {playRows_[i].playCount, playRows_[i].mode}; }
  ChartPoint BarPoint(std::size_t j) const;

  std::vector<TableRow> KoyakuTable() const;
  std::vector<TableRow> ModeTable() const;
  std::vector<TableRow> KeizokuTable() const;

  // N: the entries up to and including the last one tallied.
  int N() const { return talliedEnd_; }
  std::int32_t BonusOdds() const;   // N / bbTotal, truncated; 0 without battles
  float AverageChain() const;       // bbTotal / firstHitTotal through a 32-bit float
  std::string SummaryText() const;  // the four lines of シミュレーション結果

private:
  ResultStats stats_;
  int talliedEnd_ = 0;
  std::int32_t lastPlayCount_ = 0;
  std::int32_t lastSinceBB_ = 0;
  std::int32_t lastMedal_ = 0;

  std::vector<PlayRow> playRows_;
  std::vector<BonusRow> bonusRows_;
  std::vector<std::int32_t> modeChanges_;
  std::array<std::vector<ChartPoint>, static_cast<std::size_t>(Marker::Count)> markerPoints_;
};

}  // namespace orvel
