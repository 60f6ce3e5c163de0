#include "cli/LogFiles.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <system_error>

#include "cli/CliOptions.h"
#include "core/hall/HallExport.h"
#include "core/hall/HallReport.h"

namespace orvel::cli {

namespace {

constexpr std::size_t kBufferBudget = std::size_t{16} << 20;
constexpr std::size_t kMinBuffer = std::size_t{1} << 10;
constexpr std::size_t kMaxBuffer = std::size_t{64} << 10;

}  // namespace

std::string LogFiles::SeatFileName(int seat) { return PlayLogFileName(seat); }

LogFiles::LogFiles(const std::filesystem::path& dir, int seats) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) throw UsageError{"--log-dir: '" + dir.string() + "' を作れません: " + error.message()};
  const std::size_t count = static_cast<std::size_t>(std::max(seats, 0)) + 1;
  bufferSize_ = std::clamp(kBufferBudget / count, kMinBuffer, kMaxBuffer);
  files_.reserve(count);
  // hall.csv first, as before: an unwritable folder is named by it.
  Add(dir, "hall.csv", HallBalanceCsvHeader());
  for (int seat = 1; seat <= seats; ++seat) Add(dir, SeatFileName(seat), PlayLogCsvHeader());
}

LogFiles::~LogFiles() {
  if (committed_) return;
  for (const File& file : files_) {
    std::error_code ignored;  // a destructor must not throw; a left .part file is marked as such
    std::filesystem::remove(file.part, ignored);
  }
}

void LogFiles::Add(const std::filesystem::path& dir, std::string name, const char* header) {
  File file{name, dir / (name + kPartSuffix), header};
  std::ofstream out(file.part, std::ios::binary | std::ios::trunc);
  // Pushed before the check, so that the destructor removes it either way.
  files_.push_back(std::move(file));
  if (!out) throw UsageError{"--log-dir: '" + (dir / name).string() + "' に書き込めません。"};
  files_.back().buffer.reserve(bufferSize_ + 128);
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
  std::ofstream out(file.part, std::ios::binary | std::ios::app);
  out.write(file.buffer.data(), static_cast<std::streamsize>(file.buffer.size()));
  out.close();
  if (!out) throw WriteError{file.name};
  file.buffer.clear();
}

void LogFiles::Commit() {
  for (File& file : files_) Flush(file);
  for (const File& file : files_) {
    std::error_code error;
    std::filesystem::rename(file.part, file.part.parent_path() / file.name, error);
    if (error) throw WriteError{file.name};
  }
  committed_ = true;
}

}  // namespace orvel::cli
