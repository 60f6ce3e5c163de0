#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

// A new, empty folder in the system's temporary folder, removed with all it
// holds when the object goes. Its name is the prefix and a random number:
// no test name goes into it, since a parameterised test's name holds a "/"
// that would make a nested folder and leave its parent behind.
class ScopedTempDir {
public:
  explicit ScopedTempDir(const std::string& prefix) {
    std::random_device entropy;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::filesystem::path candidate = base / (prefix + "-" + std::to_string(entropy()));
      // create_directory is false for a folder that already exists: that
      // one belongs to someone else.
      if (std::filesystem::create_directory(candidate)) {
        path_ = std::move(candidate);
        return;
      }
    }
    throw std::runtime_error("no new temporary folder for " + prefix);
  }
  ~ScopedTempDir() {
    std::error_code ignored;  // a destructor must not throw; a left folder is no test failure
    std::filesystem::remove_all(path_, ignored);
  }
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path path_;
};
