#pragma once

#include <cstdint>
#include <string>

// Display names of the machine's index spaces, as the analysis window and
// the hall grid show them. A value outside a table gives the empty text.
namespace orvel {

std::string ModeName(std::int32_t mode);            // ハマリ … Orvel揃い
std::string KeizokuName(std::int32_t keizokuMode);  // 継続A … 継続D

// 絵柄 of a log entry: "777×3" / "Orvel×1" for a chain of kind 1 / 2 (empty
// for another non-zero kind); otherwise the minor prize, "ハズレ" for any
// value outside 0 ... 7.
std::string PatternText(std::int32_t bbKind, std::int32_t chainCount, std::int32_t lastKoyaku);

// Row captions of the minor-prize table and labels of its pie; they differ
// from the pattern texts and, in row 1, from each other.
std::string KoyakuTableCaption(int row);
std::string KoyakuPieLabel(int row);

// "設定：" + setting.
std::string SettingText(std::int32_t level);

}  // namespace orvel
