#include "util/file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "util/log.h"

namespace {

void LogTooLarge(const char* path) {
  QMLog("Quillmark : %s is larger than 256 MiB, not read",
        Printable(path).c_str());
}

}  // namespace

bool ReadFileContent(const char* path, std::string& out) {
  // O_NONBLOCK: opening a FIFO that nobody writes to returns at once instead
  // of waiting for a writer; it is then refused as not a regular file.
  int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    QMLog("File not exist %s", path);
    return false;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    QMLog("Quillmark : %s is not a regular file, not read",
          Printable(path).c_str());
    return false;
  }
  if (info.st_size > kMaxInputFileBytes) {
    close(fd);
    LogTooLarge(path);
    return false;
  }

  // The file may grow while it is read: the limit is applied again.
  std::string content;
  if (info.st_size > 0)
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

bool WriteAll(int fd, const void* data, size_t size, std::string* error) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      if (error != nullptr)
        *error = n < 0 ? std::strerror(errno) : "nothing could be written";
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, void* data, size_t size) {
  char* p = static_cast<char*>(data);
  while (size > 0) {
    ssize_t n = read(fd, p, size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}
