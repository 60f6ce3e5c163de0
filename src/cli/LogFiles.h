#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/hall/PlayLogSink.h"

namespace orvel::cli {

// A file that could not be written: "<file> の書き込みに失敗しました（<reason>）。",
// exit status 1. `reason` is the system's (strerror).
struct WriteError {
  std::string file;
  std::string reason;
};

// The files --log-dir asks for, written while the hall plays: seat_001.csv …
// (one row per game of the seat, as the hall hands them to its sink) and
// hall.csv (the hall balance after every hall game).
//
// Each file is written as "<name>.part" and gets its own name in Commit,
// once complete. A run that ends any other way (an error, a signal) leaves
// no file under its own name: the destructor removes the partial ones. A
// file under its own name is therefore always a complete one; files of an
// earlier run in the same folder stay as they were until Commit replaces
// them.
//
// Rows gather in one buffer per file and go out when it is full, the file
// opened for the append and closed again: memory stays bounded however long
// the run, and a hall of a hundred thousand seats needs one open file, not
// a hundred thousand. The buffers share about 16 MB, each between 1 KB and
// 64 KB.
class LogFiles final : public PlayLogSink {
public:
  // Creates the folder and every partial file with its header line. Throws
  // UsageError (status 2) for a folder that cannot be made, WriteError for
  // a file that cannot.
  LogFiles(const std::filesystem::path& dir, int seats);
  ~LogFiles() override;
  LogFiles(const LogFiles&) = delete;
  LogFiles& operator=(const LogFiles&) = delete;

  void Append(int seat, const TSimResultData::Entry& entry) override;
  // hall.csv's row after hall game `game`.
  void HallBalance(std::int32_t game, std::int64_t balance);
  // Writes out what is buffered and renames every file to its own name.
  // Throws WriteError.
  void Commit();

  // The most the files of a hall of `seats` seats hold in memory.
  static std::uint64_t MemoryFor(int seats);

  static std::string SeatFileName(int seat);  // seat from 1: "seat_001.csv"
  static constexpr const char* kPartSuffix = ".part";

private:
  struct File {
    std::string name;  // its own name, without the folder
    std::filesystem::path part;
    std::string buffer;
    // Its own path as the user named the folder, for messages.
    std::string Shown() const { return (part.parent_path() / name).string(); }
  };

  void Add(const std::filesystem::path& dir, std::string name, const char* header);
  void RemoveParts() noexcept;
  void Flush(File& file);
  void Write(File& file, const std::string& row) {
    file.buffer += row;
    if (file.buffer.size() >= bufferSize_) Flush(file);
  }

  std::vector<File> files_;  // hall.csv, then seat i at index i
  std::size_t bufferSize_ = 0;
  std::string row_;  // reused for every row
  bool committed_ = false;
};

}  // namespace orvel::cli
