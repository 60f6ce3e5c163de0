#pragma once

#include <cstdint>
#include <optional>
#include <string>

// How much memory a run may still take, so that a run too big for it is
// refused before it starts instead of failing after minutes.
namespace orvel {

// Bytes this process can still allocate: the least of what the system has
// available, what its memory group (cgroup) still allows and what its
// address-space limit (ulimit -v) leaves. None where the system does not
// say.
std::optional<std::uint64_t> AvailableMemory();

// What a run in the window keeps for `games` more hall games of `seats`
// seats: 32 bytes a seat for every play log entry, and the chart line's
// 8 bytes a hall game with its blocks.
constexpr std::uint64_t kLogBytesPerGame = 32;
std::uint64_t RunMemory(int seats, std::int64_t games);

// Hands freed memory back to the system where the C library keeps it
// (glibc's malloc_trim), so the resident size drops after a big run is let
// go. Does nothing elsewhere.
void ReturnFreeMemory();

// A size as a person reads it: "512 MB", "1.5 GB", "3.2 TB" (binary units,
// at most one decimal).
std::string MemoryText(std::uint64_t bytes);

}  // namespace orvel
