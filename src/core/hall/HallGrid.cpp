#include "core/hall/HallGrid.h"

#include "core/analysis/NumberText.h"
#include "core/analysis/ResultTexts.h"
#include "core/hall/Hall.h"

namespace orvel {

const std::array<std::string, kHallGridColumns>& HallGridCaptions() {
  static const std::array<std::string, kHallGridColumns> captions{
      "番台", "設定", "稼働率", "PLAY数1", "PLAY数2", "初当り数", "BB数", "モード", "差メダル", "収支(円)"};
  return captions;
}

std::array<std::string, kHallGridColumns> HallGridRow(const Hall& hall, int seat) {
  const Orvel& m = hall.Machine(seat);
  return {IntText(seat + 1),      IntText(m.GetLevel()),   hall.RateText(seat),
          IntText(m.playCount),   IntText(m.sinceBB),      IntText(m.firstHitCount),
          IntText(m.bbCount),     ModeName(m.mode),        IntText(m.medal),
          IntText(std::int64_t{m.medal} * 20)};
}

}  // namespace orvel
