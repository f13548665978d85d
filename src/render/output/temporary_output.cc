#include "render/output/temporary_output.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "render/output/output_formats.h"

namespace {

const char kMarker[] = ".quillmark-tmp-";
constexpr size_t kMarkerLength = sizeof(kMarker) - 1;
constexpr size_t kRandomDigits = 16;
constexpr size_t kMaxPidDigits = 10;  // pid_t is a 32-bit int
// What follows the output's name, at its longest.
constexpr size_t kTailLength =
    kMarkerLength + kMaxPidDigits + 1 + kRandomDigits;
constexpr size_t kHashedTailLength = 1 + 16 + kTailLength;  // "~HASH" first

std::string Hex16(uint64_t value) {
  static const char kHex[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4)
    text[static_cast<size_t>(i)] = kHex[value & 15];
  return text;
}

// 64-bit FNV-1a.
uint64_t HashName(const std::string& name) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : name) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

// ".NAME.quillmark-tmp-", or its form with the name cut and hashed when the
// whole temporary name would not fit a file name.
std::string TemporaryPrefix(const std::string& name) {
  if (1 + name.size() + kTailLength <= NAME_MAX)
    return "." + name + kMarker;
  const size_t keep = NAME_MAX - 1 - kHashedTailLength;
  return "." + name.substr(0, keep) + "~" + Hex16(HashName(name)) + kMarker;
}

// "PID-RANDOM" exactly as TemporaryName writes them: a process id without
// leading zeros, then 16 lowercase hex digits.
bool ParseTail(const std::string& tail, pid_t* pid) {
  size_t dash = tail.find('-');
  if (dash == 0 || dash == std::string::npos || dash > kMaxPidDigits ||
      tail[0] == '0' || tail.size() - dash - 1 != kRandomDigits)
    return false;
  long long value = 0;
  for (size_t i = 0; i < dash; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(tail[i])))
      return false;
    value = value * 10 + (tail[i] - '0');
  }
  if (value > INT_MAX)
    return false;
  for (size_t i = dash + 1; i < tail.size(); ++i) {
    char c = tail[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
      return false;
  }
  *pid = static_cast<pid_t>(value);
  return true;
}

// A process that has ended but not been reaped (a zombie, say a worker whose
// parent was killed) is not running: it will never finish its file.
bool IsRunning(pid_t pid) {
  if (!(kill(pid, 0) == 0 || errno == EPERM))
    return false;
  char path[64];
  snprintf(path, sizeof(path), "/proc/%d/stat", static_cast<int>(pid));
  FILE* stat = fopen(path, "re");
  if (stat == nullptr)
    return true;
  char text[512];
  size_t n = fread(text, 1, sizeof(text) - 1, stat);
  fclose(stat);
  text[n] = '\0';
  // "pid (comm) S ...": the state follows the last ')'.
  const char* close = strrchr(text, ')');
  return close == nullptr || close[1] != ' ' ||
         (close[2] != 'Z' && close[2] != 'X');
}

// Removes the temporary files of the output `file` for which `doomed`
// (given the writer's process id and the file's status) holds.
template <typename Doomed>
int RemoveTemporaryFiles(const std::string& file, Doomed doomed) {
  const OutputPlace place = SplitOutputPlace(file);
  if (place.name.empty())
    return 0;
  DIR* dir = opendir(place.folder.c_str());
  if (dir == nullptr)
    return 0;
  int removed = 0;
  while (dirent* entry = readdir(dir)) {
    pid_t pid;
    struct stat info;
    if (!ParseTemporaryName(entry->d_name, place.name, &pid) ||
        fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || !doomed(pid, info))
      continue;
    if (unlinkat(dirfd(dir), entry->d_name, 0) == 0)
      ++removed;
  }
  closedir(dir);
  return removed;
}

}  // namespace

OutputPlace SplitOutputPlace(const std::string& file) {
  const size_t slash = file.rfind('/');
  if (slash == std::string::npos)
    return {".", file};
  return {slash == 0 ? "/" : file.substr(0, slash), file.substr(slash + 1)};
}

std::string TemporaryName(const std::string& name, pid_t pid, uint64_t random) {
  return TemporaryPrefix(name) + std::to_string(pid) + "-" + Hex16(random);
}

bool ParseTemporaryName(const std::string& entry, const std::string& name,
                        pid_t* pid) {
  const std::string prefix = TemporaryPrefix(name);
  return entry.size() > prefix.size() &&
         entry.compare(0, prefix.size(), prefix) == 0 &&
         ParseTail(entry.substr(prefix.size()), pid);
}

int RemoveLeftoverTemporaryFiles(const std::string& file, time_t now) {
  return RemoveTemporaryFiles(file, [now](pid_t pid, const struct stat& info) {
    return !IsRunning(pid) || now - info.st_mtime >= kStaleTemporarySeconds;
  });
}

int RemoveTemporaryFilesOf(const std::string& outputPath, pid_t pid) {
  if (pid <= 0)
    return 0;
  auto ofPid = [pid](pid_t writer, const struct stat&) {
    return writer == pid;
  };
  int removed = RemoveTemporaryFiles(outputPath, ofPid);
  // "png:out/a.dat" names out/a.dat when PNG is a format, and the file
  // "png:out/a.dat" otherwise: the process may have written either.
  const std::string prefix = FormatPrefixOf(outputPath);
  if (!prefix.empty())
    removed += RemoveTemporaryFiles(outputPath.substr(prefix.size() + 1), ofPid);
  return removed;
}

namespace {

uint64_t RandomBits() {
  uint64_t value = 0;
  if (getrandom(&value, sizeof(value), GRND_NONBLOCK) ==
      static_cast<ssize_t>(sizeof(value)))
    return value;
  // No entropy to be had: the clock and a counter, mixed (splitmix64). The
  // name only has to differ from other writers'; O_EXCL catches the rest.
  static uint64_t counter = 0;
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  uint64_t x = (static_cast<uint64_t>(now.tv_sec) << 30) ^
               static_cast<uint64_t>(now.tv_nsec) ^ (++counter << 48);
  x ^= x >> 30;
  x *= 0xbf58476d1ce4e5b9ull;
  x ^= x >> 27;
  x *= 0x94d049bb133111ebull;
  return x ^ (x >> 31);
}

}  // namespace

int CreateTemporaryFile(const OutputPlace& place, std::string* path) {
  const std::string folder =
      place.folder.back() == '/' ? place.folder : place.folder + "/";
  for (int attempt = 0; attempt < 16; ++attempt) {
    *path = folder + TemporaryName(place.name, getpid(), RandomBits());
    int fd = open(path->c_str(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC |
                      O_NOCTTY,
                  0666);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}
