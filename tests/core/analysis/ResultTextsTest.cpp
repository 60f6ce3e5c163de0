#include <gtest/gtest.h>

#include "core/analysis/ResultTexts.h"

namespace orvel {
namespace {

TEST(ResultTexts, ModeAndContinuationNamesWithEmptyOutside) {
  const char* modes[] = {"ハマリ", "低確", "高確", "前兆", "7揃い", "Orvel揃い"};
  for (int m = 0; m < 6; ++m) EXPECT_EQ(ModeName(m), modes[m]);
  EXPECT_EQ(ModeName(-1), "");
  EXPECT_EQ(ModeName(6), "");
  const char* keizoku[] = {"継続A", "継続B", "継続C", "継続D"};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(KeizokuName(c), keizoku[c]);
  EXPECT_EQ(KeizokuName(4), "");
  EXPECT_EQ(KeizokuName(-1), "");
}

TEST(ResultTexts, PatternTexts) {
  EXPECT_EQ(PatternText(1, 3, 99), "777×3");
  EXPECT_EQ(PatternText(2, 1, 99), "Orvel×1");
  EXPECT_EQ(PatternText(3, 1, 99), "");
  EXPECT_EQ(PatternText(-1, 1, 0), "");
  const char* prizes[] = {"2枚チェリー", "4枚チェリー", "スイカA", "スイカB",
                          "ReplayA",     "ReplayB",     "ベル",    "チャンス目"};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(PatternText(0, 0, k), prizes[k]);
  for (const int other : {8, 9, 99, -1}) EXPECT_EQ(PatternText(0, 0, other), "ハズレ");
}

TEST(ResultTexts, TableCaptionsDifferFromPieLabelsInRowOne) {
  EXPECT_EQ(KoyakuTableCaption(1), "4チェリー");
  EXPECT_EQ(KoyakuPieLabel(1), "4枚チェリー");
  EXPECT_EQ(KoyakuTableCaption(4), "リプレイA");
  EXPECT_EQ(KoyakuPieLabel(5), "リプレイB");
  EXPECT_EQ(KoyakuTableCaption(8), "");
  EXPECT_EQ(SettingText(3), "設定：3");
}

}  // namespace
}  // namespace orvel
