#include "render/outcome/report_file.h"

#include <errno.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

#include "render/output/image_output.h"
#include "render/output/temporary_output.h"
#include "util/file.h"

ReportFile::~ReportFile() { Abandon(); }

void ReportFile::Abandon() {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
    unlink(temporary_.c_str());
  }
}

bool ReportFile::Open(const std::string& path,
                      const ProtectedFiles& protectedFiles,
                      std::string* error) {
  path_ = path;
  protectedFiles_ = protectedFiles;
  const OutputPlace place = SplitOutputPlace(path);
  if (place.name.empty()) {
    *error = "the path names a folder";
    return false;
  }
  if (!CheckWriteTarget(path, protectedFiles, error))
    return false;
  // The left-overs of an earlier run that was killed go first.
  RemoveLeftoverTemporaryFiles(path, time(nullptr));
  fd_ = CreateTemporaryFile(place, &temporary_);
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
  const std::string text = line + '\n';
  if (WriteAll(fd_, text.data(), text.size(), error))
    return true;
  close(fd_);
  fd_ = -1;
  unlink(temporary_.c_str());
  return false;
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
  if (ok && !CheckWriteTarget(path_, protectedFiles_, error))
    ok = false;
  if (!ok) {
    unlink(temporary_.c_str());
    return false;
  }
  return ReplaceWithTemporary(temporary_, path_, error);
}
