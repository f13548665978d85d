#include "app/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The value of `arg` after "name=", or nullptr when `arg` is not that option.
const char* ValueOf(const char* arg, const char* name) {
  size_t length = std::strlen(name);
  if (std::strncmp(arg, name, length) != 0 || arg[length] != '=')
    return nullptr;
  return arg + length + 1;
}

// A whole decimal number in [low, high], nothing else.
bool ReadNumber(const char* text, long long low, long long high,
                long long* out) {
  if (*text < '0' || *text > '9')
    return false;
  char* end = nullptr;
  errno = 0;
  long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0' || value < low || value > high)
    return false;
  *out = value;
  return true;
}

bool ReadShard(const char* text, int* index, int* count) {
  const char* slash = std::strchr(text, '/');
  if (slash == nullptr)
    return false;
  std::string first(text, static_cast<size_t>(slash - text));
  long long i, n;
  if (!ReadNumber(first.c_str(), 0, 1 << 20, &i) ||
      !ReadNumber(slash + 1, 1, 1 << 20, &n) || i >= n)
    return false;
  *index = static_cast<int>(i);
  *count = static_cast<int>(n);
  return true;
}

}  // namespace

void ReadFlags(int argc, const char* const* argv, Setting* flags) {
  for (int i = 3; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] != '-')
      continue;
    if (std::strcmp(arg, "-adjustToFit") == 0)
      flags->adjustToFit = true;
    else if (std::strcmp(arg, "-ignoreLineHeight") == 0)
      flags->ignoreLineHeight = true;
  }
}

void ReadRunOptions(int argc, const char* const* argv, int cores,
                    RunOptions* options, std::vector<std::string>* problems) {
  // Bounds that keep every later computation far from overflow.
  const long long kMaxJobs = 1024;
  const long long kMaxMiB = 1LL << 30;
  const long long kMaxSeconds = 1LL << 30;
  for (int i = 3; i < argc; ++i) {
    const char* arg = argv[i];
    const char* value;
    long long n;
    bool usable = true;
    if ((value = ValueOf(arg, "-jobs"))) {
      if (std::strcmp(value, "auto") == 0)
        options->jobs = cores > 0 ? cores : 1;
      else if ((usable = ReadNumber(value, 1, kMaxJobs, &n)))
        options->jobs = static_cast<int>(n);
    } else if ((value = ValueOf(arg, "-shard"))) {
      usable = ReadShard(value, &options->shardIndex, &options->shardCount);
    } else if ((value = ValueOf(arg, "-memory"))) {
      if ((usable = ReadNumber(value, 1, kMaxMiB, &n)))
        options->memoryBudgetBytes = static_cast<uint64_t>(n) << 20;
    } else if ((value = ValueOf(arg, "-timeout"))) {
      if ((usable = ReadNumber(value, 0, kMaxSeconds, &n)))
        options->timeoutSeconds = static_cast<int>(n);
    } else if ((value = ValueOf(arg, "-report"))) {
      if ((usable = *value != '\0'))
        options->reportPath = value;
    } else if (std::strcmp(arg, "-strict") == 0) {
      options->strict = true;
    } else if (std::strcmp(arg, "-dry-run") == 0) {
      options->dryRun = true;
    }
    if (!usable)
      problems->push_back(std::string("argument ") + arg +
                          " ignored: its value cannot be used");
  }
}

bool ReadCommandLine(int argc, const char* const* argv, int cores,
                     CommandLine* line) {
  if (argc < 3)
    return false;
  line->fontListPath = argv[1];
  line->jobFilePath = argv[2];
  ReadFlags(argc, argv, &line->options.flags);
  ReadRunOptions(argc, argv, cores, &line->options, &line->problems);
  return true;
}
