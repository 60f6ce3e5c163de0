#pragma once

#include <array>
#include <string>

namespace orvel {

class Hall;

// The seat grid's ten columns: 番台, 設定, 稼働率, PLAY数1, PLAY数2, 初当り数,
// BB数, モード, 差メダル, 収支(円). Shared by the hall window and orvelsim-cli.
constexpr int kHallGridColumns = 10;

const std::array<std::string, kHallGridColumns>& HallGridCaptions();

// Seat `seat`'s row as the grid shows it: the seat number, the setting, the
// rate text character for character, the machine's counters, its mode name,
// its medal difference and that in yen (× 20, 64-bit).
std::array<std::string, kHallGridColumns> HallGridRow(const Hall& hall, int seat);

}  // namespace orvel
