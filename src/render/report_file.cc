#include "render/report_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

ReportFile::~ReportFile() {
  if (fd_ >= 0) {
    close(fd_);
    unlink(temporary_.c_str());
  }
}

bool ReportFile::Open(const std::string& path, std::string* error) {
  path_ = path;
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) {
    *error = "the path names a folder";
    return false;
  }
  temporary_ = folder + "." + name + ".quillmark-tmp-" + std::to_string(getpid());
  fd_ = open(temporary_.c_str(),
             O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd_ < 0) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

bool ReportFile::Append(const std::string& line, std::string* error) {
  if (fd_ < 0) {
    *error = "the report is not open";
    return false;
  }
  std::string text = line + '\n';
  const char* p = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t n = write(fd_, p, left);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      *error = n < 0 ? std::strerror(errno) : "nothing could be written";
      close(fd_);
      fd_ = -1;
      unlink(temporary_.c_str());
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

bool ReportFile::Finish(std::string* error) {
  if (fd_ < 0) {
    *error = "the report is not open";
    return false;
  }
  bool ok = fsync(fd_) == 0;
  if (!ok)
    *error = std::strerror(errno);
  if (close(fd_) != 0 && ok) {
    *error = std::strerror(errno);
    ok = false;
  }
  fd_ = -1;
  if (ok && rename(temporary_.c_str(), path_.c_str()) != 0) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (!ok)
    unlink(temporary_.c_str());
  return ok;
}
