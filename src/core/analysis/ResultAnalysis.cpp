#include "core/analysis/ResultAnalysis.h"

#include <stdexcept>

#include "core/analysis/NumberText.h"
#include "core/analysis/ResultTexts.h"
#include "core/analysis/Result_data.h"
#include "core/model/Codes.h"

namespace orvel {

namespace {

// The clamped codes of a play row (see PlayRow): one past the last kind
// stands for every unknown kind, as ハズレ does for unknown prizes.
std::int8_t BBKindCode(std::int32_t bbKind) {
  return static_cast<std::int8_t>(bbKind >= 0 && bbKind < BBKind::kCount ? bbKind : BBKind::kCount);
}

std::int8_t KoyakuCode(std::int32_t koyaku) {
  const bool known = (koyaku >= 0 && koyaku < Koyaku::kCount) || koyaku == Koyaku::BonusGame;
  return static_cast<std::int8_t>(known ? koyaku : Koyaku::Hazure);
}

std::int8_t ModeCode(std::int32_t mode) {
  return static_cast<std::int8_t>(mode >= 0 && mode < Mode::kCount ? mode : -1);
}

// The marker series of an ordinary game's minor prize, or -1.
int MarkerOf(std::int32_t koyaku) {
  switch (koyaku) {
    case Koyaku::Cherry2: return static_cast<int>(Marker::Cherry2);
    case Koyaku::Cherry4: return static_cast<int>(Marker::Cherry4);
    case Koyaku::SuikaA: return static_cast<int>(Marker::SuikaA);
    case Koyaku::SuikaB: return static_cast<int>(Marker::SuikaB);
    case Koyaku::Chance: return static_cast<int>(Marker::Chance);
    default: return -1;
  }
}

bool IsBonusMode(std::int32_t mode) { return mode == Mode::Bonus7 || mode == Mode::BonusOrvel; }

// The hall guarantees 0 <= first <= last < length; a caller that breaks it
// gets an exception, not a read outside the columns.
void CheckRange(const TSimResultData& log, int first, int last) {
  if (first < 0 || last < first || last >= log.Length()) {
    throw std::out_of_range("take-in " + std::to_string(first) + " … " + std::to_string(last) +
                            " outside a log of " + std::to_string(log.Length()));
  }
}

// Sums as the 32-bit tallies do, wrapping instead of overflowing on a
// hand-made log with absurd chain counts.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

template <std::size_t N>
void Count(std::array<std::int32_t, N>& counts, std::int32_t index) {
  if (index >= 0 && index < static_cast<std::int32_t>(N)) ++counts[static_cast<std::size_t>(index)];
}

TableRow MakeRow(std::string caption, std::int32_t count, std::string rate, std::string oneOver,
                 std::string pieLabel) {
  return TableRow{{std::move(caption), IntText(count), std::move(rate), std::move(oneOver)},
                  static_cast<double>(count), std::move(pieLabel)};
}

}  // namespace

void ResultAnalysis::Clear() {
  stats_ = {};
  talliedEnd_ = 0;
  lastPlayCount_ = lastSinceBB_ = lastMedal_ = 0;
  playRows_.clear();
  bonusRows_.clear();
  modeChanges_.clear();
  for (auto& points : markerPoints_) points.clear();
}

void ResultAnalysis::TakeIn(const TSimResultData& log, int first, int last) {
  TakeTallies(log, first, last);
  TakeRows(log, first, last);
}

void ResultAnalysis::TakeTallies(const TSimResultData& log, int first, int last) {
  CheckRange(log, first, last);
  const auto bbKind = log.Column(ResultColumn::BBKind);
  const auto keizoku = log.Column(ResultColumn::KeizokuMode);
  const auto koyaku = log.Column(ResultColumn::LastKoyaku);
  const auto mode = log.Column(ResultColumn::Mode);
  const auto chain = log.Column(ResultColumn::ChainCount);
  for (std::size_t g = static_cast<std::size_t>(first); g <= static_cast<std::size_t>(last); ++g) {
    if (bbKind[g] != BBKind::NoBonus) {
      Count(stats_.keizokuCount, keizoku[g]);
      ++stats_.firstHitTotal;
      stats_.bbTotal = WrappingAdd(stats_.bbTotal, chain[g]);
    } else {
      Count(stats_.koyakuCount, koyaku[g]);
    }
    Count(stats_.modeCount, mode[g]);
  }
  talliedEnd_ = last + 1;
  lastPlayCount_ = log.At(ResultColumn::PlayCount, last);
  lastSinceBB_ = log.At(ResultColumn::SinceBB, last);
  lastMedal_ = log.At(ResultColumn::Medal, last);
}

void ResultAnalysis::TakeRows(const TSimResultData& log, int first, int last) {
  CheckRange(log, first, last);
  const auto sinceBB = log.Column(ResultColumn::SinceBB);
  const auto medal = log.Column(ResultColumn::Medal);
  const auto chain = log.Column(ResultColumn::ChainCount);
  const auto playCount = log.Column(ResultColumn::PlayCount);
  const auto bbKind = log.Column(ResultColumn::BBKind);
  const auto keizoku = log.Column(ResultColumn::KeizokuMode);
  const auto mode = log.Column(ResultColumn::Mode);
  const auto koyaku = log.Column(ResultColumn::LastKoyaku);

  const auto from = static_cast<std::size_t>(first);
  const auto to = static_cast<std::size_t>(last);
  // The mode before the range: a change across the seam of two take-ins is
  // found exactly once.
  std::int32_t previousMode = mode[first > 0 ? from - 1 : 0];

  for (std::size_t g = from; g <= to; ++g) {
    if (bbKind[g] != BBKind::NoBonus) {
      // A chain never runs in a machine's first game after a reset, so g > 0
      // in a real log; a hand-made log starting with one counts from 0.
      const std::int64_t before = g > 0 ? medal[g - 1] : 0;
      bonusRows_.push_back(BonusRow{static_cast<std::int32_t>(g), keizoku[g],
                                    static_cast<std::int64_t>(medal[g]) - before});
    } else if (const int marker = MarkerOf(koyaku[g]); marker >= 0) {
      markerPoints_[static_cast<std::size_t>(marker)].push_back({playCount[g], medal[g]});
    }
    playRows_.push_back(PlayRow{playCount[g], sinceBB[g], medal[g], chain[g], BBKindCode(bbKind[g]),
                                KoyakuCode(koyaku[g]), ModeCode(mode[g])});
    // A change out of 7揃い or Orvel揃い happens in the bonus game, whose
    // bonus row shows the mode the chain ended in.
    if (!IsBonusMode(previousMode) && mode[g] != previousMode) {
      modeChanges_.push_back(static_cast<std::int32_t>(g));
    }
    previousMode = mode[g];
  }
}

std::array<std::string, 5> ResultAnalysis::PlayRowTexts(std::size_t i) const {
  const PlayRow& row = playRows_[i];
  return {IntText(row.playCount), IntText(row.sinceBB),
          PatternText(row.bbKind, row.chainCount, row.koyaku), ModeName(row.mode),
          IntText(row.medal)};
}

std::array<std::string, 6> ResultAnalysis::BonusRowTexts(std::size_t i) const {
  const BonusRow& bonus = bonusRows_[i];
  const PlayRow& row = playRows_[static_cast<std::size_t>(bonus.game)];
  return {IntText(row.playCount),
          IntText(row.sinceBB),
          PatternText(row.bbKind, row.chainCount, row.koyaku),
          KeizokuName(bonus.keizokuMode),
          ModeName(row.mode),
          IntText(bonus.medalsWon)};
}

std::array<std::string, 4> ResultAnalysis::ModeChangeRowTexts(std::size_t i) const {
  const PlayRow& row = playRows_[static_cast<std::size_t>(modeChanges_[i])];
  return {IntText(row.playCount), IntText(row.sinceBB),
          PatternText(row.bbKind, row.chainCount, row.koyaku), ModeName(row.mode)};
}

ChartPoint ResultAnalysis::BarPoint(std::size_t j) const {
  return {static_cast<std::int32_t>(j + 1),
          playRows_[static_cast<std::size_t>(bonusRows_[j].game)].sinceBB};
}

std::vector<TableRow> ResultAnalysis::KoyakuTable() const {
  std::vector<TableRow> rows;
  for (int k = 0; k < Koyaku::kWeightedCount; ++k) {
    const std::int32_t count = stats_.koyakuCount[static_cast<std::size_t>(k)];
    rows.push_back(MakeRow(KoyakuTableCaption(k), count, RateText(count, N()),
                           OneOverText(count, N()), KoyakuPieLabel(k)));
  }
  return rows;
}

std::vector<TableRow> ResultAnalysis::ModeTable() const {
  std::vector<TableRow> rows;
  for (int m = 0; m < Mode::kCount; ++m) {
    const std::int32_t count = stats_.modeCount[static_cast<std::size_t>(m)];
    rows.push_back(
        MakeRow(ModeName(m), count, RateText(count, N()), OneOverText(count, N()), ModeName(m)));
  }
  return rows;
}

std::vector<TableRow> ResultAnalysis::KeizokuTable() const {
  std::vector<TableRow> rows;
  const std::int32_t hits = stats_.firstHitTotal;
  for (int c = 0; c < KeizokuMode::kCount; ++c) {
    const std::int32_t count = stats_.keizokuCount[static_cast<std::size_t>(c)];
    rows.push_back(MakeRow(KeizokuName(c), count, hits != 0 ? RateText(count, hits) : "0",
                           OneOverText(count, hits), KeizokuName(c)));
  }
  return rows;
}

std::int32_t ResultAnalysis::BonusOdds() const {
  return stats_.bbTotal != 0 ? N() / stats_.bbTotal : 0;
}

float ResultAnalysis::AverageChain() const {
  if (stats_.bbTotal == 0 || stats_.firstHitTotal == 0) return 0.0f;
  return static_cast<float>(static_cast<double>(stats_.bbTotal) /
                            static_cast<double>(stats_.firstHitTotal));
}

std::string ResultAnalysis::SummaryText() const {
  // "　" is U+3000; the blank before 継続数平均 is two ASCII spaces.
  return "総プレイ数：" + IntText(lastPlayCount_) + "　BB終了からのプレイ数：" +
         IntText(lastSinceBB_) + "\nBB初当り数：" + IntText(stats_.firstHitTotal) +
         "　BB数：" + IntText(stats_.bbTotal) + "\nBB確率：1/" + IntText(BonusOdds()) +
         "  継続数平均：" + RealText(AverageChain()) + "\n収支：" +
         IntText(static_cast<std::int64_t>(lastMedal_) * 20) + "円";
}

}  // namespace orvel
