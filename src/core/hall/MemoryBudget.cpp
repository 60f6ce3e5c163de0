#include "core/hall/MemoryBudget.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__unix__)
#include <sys/resource.h>
#include <unistd.h>
#endif
#if defined(_WIN32)
#define NOMINMAX
#include <windows.h>
#endif

namespace orvel {

namespace {

#if defined(__linux__)
// The first number in a one-line file such as memory.max; none for "max"
// or a missing file.
std::optional<std::uint64_t> NumberIn(const char* path) {
  std::ifstream in(path);
  std::uint64_t value = 0;
  if (in >> value) return value;
  return std::nullopt;
}

std::optional<std::uint64_t> SystemAvailable() {
  std::ifstream in("/proc/meminfo");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    std::uint64_t kilobytes = 0;
    if (fields >> name >> kilobytes && name == "MemAvailable:") return kilobytes * 1024;
  }
  return std::nullopt;
}

// The page cache the group could drop (inactive_file in memory.stat).
std::uint64_t Reclaimable(const std::string& group) {
  std::ifstream in(group + "/memory.stat");
  std::string name;
  std::uint64_t value = 0;
  while (in >> name >> value) {
    if (name == "inactive_file") return value;
  }
  return 0;
}

// What this process's memory group (cgroup v2) and every group above it
// still allow: the least of their memory.max − memory.current, page cache
// counted as free.
std::optional<std::uint64_t> GroupAvailable() {
  std::ifstream self("/proc/self/cgroup");
  std::string line, path;
  while (std::getline(self, line)) {
    if (line.rfind("0::", 0) == 0) path = line.substr(3);
  }
  if (path.empty()) return std::nullopt;
  std::optional<std::uint64_t> least;
  for (;;) {
    const std::string group = "/sys/fs/cgroup" + (path == "/" ? std::string() : path);
    const auto limit = NumberIn((group + "/memory.max").c_str());
    const auto used = NumberIn((group + "/memory.current").c_str());
    if (limit && used) {
      const std::uint64_t counted = *used - std::min(*used, Reclaimable(group));
      const std::uint64_t left = *limit > counted ? *limit - counted : 0;
      least = least ? std::min(*least, left) : left;
    }
    if (path == "/" || path.empty()) break;
    const auto slash = path.find_last_of('/');
    path = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
  }
  return least;
}

std::optional<std::uint64_t> AddressSpaceAvailable() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
  const auto pages = NumberIn("/proc/self/statm");  // first field: the whole address space, in pages
  if (!pages) return std::nullopt;
  const std::uint64_t used = *pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  return limit.rlim_cur > used ? limit.rlim_cur - used : 0;
}
#endif

}  // namespace

std::optional<std::uint64_t> AvailableMemory() {
  std::optional<std::uint64_t> least;
  const auto take = [&least](std::optional<std::uint64_t> bytes) {
    if (bytes) least = least ? std::min(*least, *bytes) : *bytes;
  };
#if defined(__linux__)
  take(SystemAvailable());
  take(GroupAvailable());
  take(AddressSpaceAvailable());
#elif defined(_WIN32)
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (GlobalMemoryStatusEx(&status)) {
    take(status.ullAvailPageFile);  // what may still be committed, memory and page file
    take(status.ullAvailVirtual);
  }
#endif
  return least;
}

std::uint64_t RunMemory(int seats, std::int64_t games) {
  if (games <= 0) return 0;
  constexpr std::uint64_t kLineBytesPerGame = 9;
  return static_cast<std::uint64_t>(games) *
         (static_cast<std::uint64_t>(std::max(seats, 0)) * kLogBytesPerGame + kLineBytesPerGame);
}

void ReturnFreeMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

std::string MemoryText(std::uint64_t bytes) {
  static constexpr const char* kUnits[] = {"B", "KB", "MB", "GB", "TB", "PB", "EB"};
  double value = static_cast<double>(bytes);
  std::size_t unit = 0;
  while (value >= 1024 && unit + 1 < std::size(kUnits)) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  if (unit == 0 || value >= 100) {
    std::snprintf(text, sizeof text, "%.0f %s", value, kUnits[unit]);
  } else {
    std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  }
  return text;
}

}  // namespace orvel
