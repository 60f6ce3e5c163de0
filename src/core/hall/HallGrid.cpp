#include "core/hall/HallGrid.h"

#include "core/analysis/NumberText.h"
#include "core/analysis/ResultTexts.h"
#include "core/hall/Hall.h"

namespace orvel {

const HallGridTexts& HallGridCaptions() {
  static const HallGridTexts captions{
      "番台", "設定", "稼働率", "PLAY数1", "PLAY数2", "初当り数", "BB数", "モード", "差メダル", "収支(円)"};
  return captions;
}

HallGridTexts HallGridRow(const Hall& hall, int seat) {
  namespace Column = HallGridColumn;
  const Orvel& m = hall.Machine(seat);
  HallGridTexts row;
  row[Column::Seat] = IntText(seat + 1);
  row[Column::Level] = IntText(m.GetLevel());
  row[Column::Rate] = hall.RateText(seat);
  row[Column::PlayCount] = IntText(m.playCount);
  row[Column::SinceBB] = IntText(m.sinceBB);
  row[Column::FirstHitCount] = IntText(m.firstHitCount);
  row[Column::BBCount] = IntText(m.bbCount);
  row[Column::Mode] = ModeName(m.mode);
  row[Column::Medal] = IntText(m.medal);
  row[Column::Yen] = IntText(std::int64_t{m.medal} * 20);
  return row;
}

}  // namespace orvel
