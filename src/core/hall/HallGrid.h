#pragma once

#include <array>
#include <string>

namespace orvel {

class Hall;

// The seat grid's columns, in their order. Shared by the hall window, its
// grid model and orvelsim-cli's report.
namespace HallGridColumn {
enum : int {
  Seat,           // 番台: the seat number, from 1
  Level,          // 設定
  Rate,           // 稼働率: the rate text character for character
  PlayCount,      // PLAY数1
  SinceBB,        // PLAY数2
  FirstHitCount,  // 初当り数
  BBCount,        // BB数
  Mode,           // モード: the mode's name
  Medal,          // 差メダル
  Yen,            // 収支(円): the medal difference × 20, 64-bit
  Count
};
}  // namespace HallGridColumn

using HallGridTexts = std::array<std::string, HallGridColumn::Count>;

const HallGridTexts& HallGridCaptions();

// Seat `seat`'s row as the grid shows it, from its machine and rate text.
HallGridTexts HallGridRow(const Hall& hall, int seat);

}  // namespace orvel
