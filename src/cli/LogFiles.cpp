#include "cli/LogFiles.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "cli/CliOptions.h"
#include "core/hall/HallExport.h"
#include "core/hall/HallReport.h"

namespace orvel::cli {

namespace {

constexpr std::size_t kBufferBudget = std::size_t{16} << 20;
constexpr std::size_t kMinBuffer = std::size_t{1} << 10;
constexpr std::size_t kMaxBuffer = std::size_t{64} << 10;

// fopen for a path in the system's own encoding (wide on Windows), so that
// any folder name that can be made can be written to.
std::FILE* OpenFile(const std::filesystem::path& path, bool append) {
#ifdef _WIN32
  return _wfopen(path.c_str(), append ? L"ab" : L"wb");
#else
  return std::fopen(path.c_str(), append ? "ab" : "wb");
#endif
}

}  // namespace

std::uint64_t LogFiles::MemoryFor(int seats) {
  const auto count = static_cast<std::uint64_t>(std::max(seats, 0)) + 1;
  const std::uint64_t buffer = std::clamp<std::uint64_t>(kBufferBudget / count, kMinBuffer, kMaxBuffer) + 128;
  return count * (buffer + sizeof(File) + 64);
}

std::string LogFiles::SeatFileName(int seat) { return PlayLogFileName(seat); }

LogFiles::LogFiles(const std::filesystem::path& dir, int seats) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) throw UsageError{"--log-dir: '" + dir.string() + "' を作れません: " + error.message()};
  const std::size_t count = static_cast<std::size_t>(std::max(seats, 0)) + 1;
  bufferSize_ = std::clamp(kBufferBudget / count, kMinBuffer, kMaxBuffer);
  try {
    files_.reserve(count);
    // hall.csv first, as before: an unwritable folder is named by it.
    Add(dir, "hall.csv", HallBalanceCsvHeader());
    for (int seat = 1; seat <= seats; ++seat) Add(dir, SeatFileName(seat), PlayLogCsvHeader());
  } catch (...) {
    // No destructor runs for an object whose constructor failed.
    RemoveParts();
    throw;
  }
}

void LogFiles::RemoveParts() noexcept {
  for (const File& file : files_) {
    std::error_code ignored;  // a left .part file is marked as such
    std::filesystem::remove(file.part, ignored);
  }
}

LogFiles::~LogFiles() {
  if (!committed_) RemoveParts();
}

void LogFiles::Add(const std::filesystem::path& dir, std::string name, const char* header) {
  File file{name, dir / (name + kPartSuffix), header};
  file.buffer.reserve(bufferSize_ + 128);
  errno = 0;
  std::FILE* out = OpenFile(file.part, false);
  const int error = errno;
  // Only a file this run made is kept to be removed: whatever stood in the
  // way of one it could not make stays as it was.
  if (out == nullptr) throw WriteError{file.Shown(), std::strerror(error)};
  std::fclose(out);
  files_.push_back(std::move(file));  // room reserved in the constructor
}

void LogFiles::Append(int seat, const TSimResultData::Entry& entry) {
  row_.clear();
  AppendPlayLogCsvRow(row_, entry);
  Write(files_[static_cast<std::size_t>(seat) + 1], row_);
}

void LogFiles::HallBalance(std::int32_t game, std::int64_t balance) {
  row_.clear();
  AppendHallBalanceCsvRow(row_, game, balance);
  Write(files_.front(), row_);
}

void LogFiles::Flush(File& file) {
  if (file.buffer.empty()) return;
  // Every buffer full goes out at once, and the first write that fails (a
  // full disk, a file too big) ends the run there, not at its end.
  errno = 0;
  std::FILE* out = OpenFile(file.part, true);
  if (out == nullptr) throw WriteError{file.Shown(), std::strerror(errno)};
  const bool written = std::fwrite(file.buffer.data(), 1, file.buffer.size(), out) == file.buffer.size();
  int error = errno;
  const bool closed = std::fclose(out) == 0;
  if (written && !closed) error = errno;
  if (!written || !closed) throw WriteError{file.Shown(), std::strerror(error != 0 ? error : EIO)};
  file.buffer.clear();
}

void LogFiles::Commit() {
  for (File& file : files_) Flush(file);
  for (const File& file : files_) {
    std::error_code error;
    std::filesystem::rename(file.part, file.part.parent_path() / file.name, error);
    if (error) throw WriteError{file.Shown(), error.message()};
  }
  committed_ = true;
}

}  // namespace orvel::cli
