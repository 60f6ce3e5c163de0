#include "core/analysis/ResultTexts.h"

#include <array>
#include <string_view>

#include "core/analysis/NumberText.h"
#include "core/model/Codes.h"

namespace orvel {

namespace {

template <std::size_t N>
std::string Lookup(const std::array<std::string_view, N>& names, std::int64_t index) {
  if (index < 0 || index >= static_cast<std::int64_t>(N)) return {};
  return std::string(names[static_cast<std::size_t>(index)]);
}

constexpr std::array<std::string_view, Mode::kCount> kModeNames{
    "ハマリ", "低確", "高確", "前兆", "7揃い", "Orvel揃い"};
constexpr std::array<std::string_view, KeizokuMode::kCount> kKeizokuNames{"継続A", "継続B", "継続C", "継続D"};
// By minor prize, Cherry2 … Chance.
constexpr std::array<std::string_view, Koyaku::kWeightedCount> kPatterns{
    "2枚チェリー", "4枚チェリー", "スイカA", "スイカB", "ReplayA", "ReplayB", "ベル", "チャンス目"};
constexpr std::array<std::string_view, Koyaku::kWeightedCount> kTableCaptions{
    "2枚チェリー", "4チェリー", "スイカA", "スイカB", "リプレイA", "リプレイB", "ベル", "チャンス目"};
constexpr std::array<std::string_view, Koyaku::kWeightedCount> kPieLabels{
    "2枚チェリー", "4枚チェリー", "スイカA", "スイカB", "リプレイA", "リプレイB", "ベル", "チャンス目"};

}  // namespace

std::string ModeName(std::int32_t mode) { return Lookup(kModeNames, mode); }

std::string KeizokuName(std::int32_t keizokuMode) { return Lookup(kKeizokuNames, keizokuMode); }

std::string PatternText(std::int32_t bbKind, std::int32_t chainCount, std::int32_t lastKoyaku) {
  if (bbKind == BBKind::Bonus7) return "777×" + IntText(chainCount);
  if (bbKind == BBKind::BonusOrvel) return "Orvel×" + IntText(chainCount);
  if (bbKind != BBKind::NoBonus) return {};
  if (lastKoyaku < 0 || lastKoyaku >= Koyaku::kWeightedCount) return "ハズレ";
  return std::string(kPatterns[static_cast<std::size_t>(lastKoyaku)]);
}

std::string KoyakuTableCaption(int row) { return Lookup(kTableCaptions, row); }

std::string KoyakuPieLabel(int row) { return Lookup(kPieLabels, row); }

std::string SettingText(std::int32_t level) { return "設定：" + IntText(level); }

}  // namespace orvel
