#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

// A hall kept on disk (".orvelhall"): a small JSON object
//
//   {"format": "orvelhall", "version": 1, "playCount": 8000,
//    "updateInterval": 50, "seed": null,
//    "seats": [{"level": 1, "rate": "1"}, …]}
//
// read by the window and by orvelsim-cli alike, so it lives here, without
// Qt. Reading checks everything before anything is returned; a fault is one
// HallFileError whose message names the problem and where it is.
struct HallFileSeat {
  std::int32_t level = 1;
  std::string rate = "1";  // character for character, as the seat has it
};

struct HallFileData {
  std::vector<HallFileSeat> seats;
  std::int32_t playCount = 8000;
  std::int32_t updateInterval = 50;
  std::optional<std::uint32_t> seed;  // none: the clock's
};

struct HallFileError {
  std::string message;  // Japanese, one line, for the user
};

inline constexpr int kHallFileVersion = 1;
inline constexpr const char* kHallFileSuffix = ".orvelhall";
// Far above a hundred thousand seats with ordinary rate texts (about 4 MB),
// far below what would hurt to hold in memory twice.
inline constexpr std::uintmax_t kHallFileMaxBytes = std::uintmax_t{64} << 20;

// The file's text as written: one seat a line, "\n" line ends.
std::string HallFileText(const HallFileData& data);
// Reads `text` with full validation; at most `maxSeats` seats.
HallFileData ParseHallFile(std::string_view text, int maxSeats);
// Reads the file, its size checked before any of it is read.
HallFileData ReadHallFile(const std::filesystem::path& file, int maxSeats);
// Writes HallFileText atomically (WriteFileAtomically).
void WriteHallFile(const std::filesystem::path& file, const HallFileData& data);

// Writes `content` to a temporary file beside `file`, closes it with every
// error checked and renames it over `file`: the old file stays whole until
// the new one is complete, and a failure leaves no temporary file behind.
// Throws HallFileError naming the file.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view content);

}  // namespace orvel
