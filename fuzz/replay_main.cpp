// A plain main() for the fuzz targets: runs every file named on the command
// line, or found in a folder named there, through LLVMFuzzerTestOneInput
// once, without libFuzzer, so any compiler can check the seeds. A failed
// check aborts, as under libFuzzer; finding no input at all fails as well,
// so a wrong path cannot pass.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool Replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // A buffer of exactly the input's size, as libFuzzer hands over: a read
  // past the end meets the sanitizers, not a vector's spare room.
  const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
  LLVMFuzzerTestOneInput(data.data(), data.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    const fs::path path(argv[i]);
    std::error_code error;
    if (fs::is_directory(path, error)) {
      for (const auto& entry : fs::directory_iterator(path, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else if (fs::is_regular_file(path, error)) {
      files.push_back(path);
    }
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  for (const fs::path& file : files) {
    if (!Replay(file)) {
      std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
      return 1;
    }
  }
  std::printf("%zu inputs replayed\n", files.size());
  return 0;
}
