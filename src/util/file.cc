#include "util/file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "util/log.h"

namespace {

void LogTooLarge(const char* path) {
  QMLog("Quillmark : %s is larger than 256 MiB, not read",
        Printable(path).c_str());
}

}  // namespace

bool ReadFileContent(const char* path, std::string& out) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    QMLog("File not exist %s", path);
    return false;
  }
  struct stat info;
  bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (regular && info.st_size > kMaxInputFileBytes) {
    close(fd);
    LogTooLarge(path);
    return false;
  }

  // Pipes and other streams have no size up front: the limit is applied
  // while reading.
  std::string content;
  if (regular && info.st_size > 0)
    content.reserve(static_cast<size_t>(info.st_size));
  char chunk[65536];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof(chunk));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    if (static_cast<int64_t>(content.size()) + n > kMaxInputFileBytes) {
      close(fd);
      LogTooLarge(path);
      return false;
    }
    content.append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  out.swap(content);
  return true;
}
