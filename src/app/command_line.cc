#include "app/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <algorithm>
#include <string>
#include <vector>

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

// The arguments of a run, each as its name and whether it takes a value.
struct Argument {
  const char* name;
  bool takesValue;
};
constexpr Argument kArguments[] = {
    {"-adjustToFit", false}, {"-ignoreLineHeight", false},
    {"-jobs", true},         {"-shard", true},
    {"-memory", true},       {"-timeout", true},
    {"-report", true},       {"-strict", false},
    {"-dry-run", false},     {"-wrap", true},
    {"-valign", true},       {"-vertical-forms", false},
    {"-progress", false},    {"-shape", false},
    {"-png-compression", true},
};

bool IsFlag(const char* arg) {
  for (const Argument& known : kArguments)
    if (!known.takesValue && std::strcmp(arg, known.name) == 0)
      return true;
  return false;
}

bool TakesValue(const char* arg) {
  for (const Argument& known : kArguments)
    if (known.takesValue && std::strcmp(arg, known.name) == 0)
      return true;
  return false;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The edit distance of two short texts, letter case aside.
size_t Distance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j)
    row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      const size_t change = Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1;
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + change});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The line for an argument that is none of ours, with the closest of ours
// when one is close: "--jobs=2" gives "did you mean -jobs=2?".
std::string NotRecognised(const char* arg) {
  const std::string text = arg;
  const size_t equals = text.find('=');
  const std::string name = text.substr(0, equals);
  const std::string value =
      equals == std::string::npos ? "" : text.substr(equals);
  const Argument* best = nullptr;
  size_t bestDistance = 3;  // more than two edits is no typo
  for (const Argument& known : kArguments) {
    const size_t d = Distance(name, known.name);
    if (d < bestDistance) {
      best = &known;
      bestDistance = d;
    }
  }
  std::string line = "argument \"" + text + "\" not recognised";
  if (best != nullptr)
    line += std::string(" (did you mean ") + best->name +
            (best->takesValue ? value : "") + "?)";
  return line;
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
                    RunOptions* options, std::vector<std::string>* problems,
                    std::vector<std::string>* unknown) {
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
    } else if ((value = ValueOf(arg, "-wrap"))) {
      if ((usable = std::strcmp(value, "word") == 0))
        options->defaults.wrapWords = true;
    } else if ((value = ValueOf(arg, "-valign"))) {
      if ((usable = ReadNumber(value, 0, 2, &n)))
        options->defaults.blockAlign = static_cast<int>(n);
    } else if ((value = ValueOf(arg, "-png-compression"))) {
      if ((usable = ReadNumber(value, 0, 9, &n)))
        options->pngCompression = static_cast<int>(n);
    } else if (std::strcmp(arg, "-vertical-forms") == 0) {
      options->defaults.verticalForms = true;
    } else if (std::strcmp(arg, "-strict") == 0) {
      options->strict = true;
    } else if (std::strcmp(arg, "-dry-run") == 0) {
      options->dryRun = true;
    } else if (std::strcmp(arg, "-progress") == 0) {
      options->progress = true;
    } else if (std::strcmp(arg, "-shape") == 0) {
      options->defaults.shapeText = true;
    } else if (TakesValue(arg)) {
      usable = false;  // "-jobs" without "=N"
    } else if (arg[0] == '-' && !IsFlag(arg) && unknown != nullptr) {
      unknown->push_back(NotRecognised(arg));
    }
    if (!usable)
      problems->push_back(std::string("argument ") + arg +
                          ": its value cannot be used");
  }
}

bool ReadCommandLine(int argc, const char* const* argv, int cores,
                     CommandLine* line) {
  if (argc < 3)
    return false;
  line->fontListPath = argv[1];
  line->jobFilePath = argv[2];
  ReadFlags(argc, argv, &line->options.flags);
  ReadRunOptions(argc, argv, cores, &line->options, &line->problems,
                 &line->unknown);
  return true;
}
