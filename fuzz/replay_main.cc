// Runs a fuzz target without libFuzzer: every input named on the command
// line, and every regular file of every folder named there, is handed once to
// LLVMFuzzerTestOneInput. A target reports a finding by aborting, so the
// replay passes when it returns. This is how the committed corpus, regression
// files included, runs in the normal test suite.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {

bool ReadInput(const fs::path& path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  bytes->assign(std::istreambuf_iterator<char>(in),
                std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    std::error_code error;
    fs::path arg(argv[i]);
    if (fs::is_directory(arg, error)) {
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(arg, error))
        if (entry.is_regular_file())
          files.push_back(entry.path());
      if (error) {
        std::fprintf(stderr, "replay: cannot list %s\n", argv[i]);
        return 1;
      }
      std::sort(files.begin(), files.end());
      inputs.insert(inputs.end(), files.begin(), files.end());
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n"
                 "replay: no inputs found\n", argv[0]);
    return 1;
  }

  for (const fs::path& path : inputs) {
    std::vector<uint8_t> bytes;
    if (!ReadInput(path, &bytes)) {
      std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
      return 1;
    }
    // Named before it runs, so that the input behind an abort is known.
    std::fprintf(stderr, "replay: %s (%zu bytes)\n", path.c_str(),
                 bytes.size());
    // An exact-size copy: a read past the end is one a sanitizer can see.
    const size_t size = bytes.size();
    std::unique_ptr<uint8_t[]> exact(size ? new uint8_t[size] : nullptr);
    if (size)
      std::memcpy(exact.get(), bytes.data(), size);
    LLVMFuzzerTestOneInput(exact.get(), size);
  }
  std::fprintf(stderr, "replay: %zu inputs passed\n", inputs.size());
  return 0;
}
