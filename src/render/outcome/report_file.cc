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

Status ReportFile::Open(const std::string& path,
                        const ProtectedFiles& protectedFiles) {
  path_ = path;
  protectedFiles_ = protectedFiles;
  const OutputPlace place = SplitOutputPlace(path);
  if (place.name.empty())
    return Status::Error("the path names a folder");
  std::string error;
  if (!CheckWriteTarget(path, protectedFiles, &error))
    return Status::Error(error);
  // The left-overs of an earlier run that was killed go first.
  RemoveLeftoverTemporaryFiles(path, time(nullptr));
  fd_ = CreateTemporaryFile(place, &temporary_);
  if (fd_ < 0)
    return Status::Error(std::strerror(errno));
  return Status();
}

Status ReportFile::Append(const std::string& line) {
  if (fd_ < 0)
    return Status::Error("the report is not open");
  const std::string text = line + '\n';
  std::string error;
  if (WriteAll(fd_, text.data(), text.size(), &error))
    return Status();
  close(fd_);
  fd_ = -1;
  unlink(temporary_.c_str());
  return Status::Error(error);
}

Status ReportFile::Finish() {
  if (fd_ < 0)
    return Status::Error("the report is not open");
  std::string error;
  if (fsync(fd_) != 0)
    error = std::strerror(errno);
  if (close(fd_) != 0 && error.empty())
    error = std::strerror(errno);
  fd_ = -1;
  // The path is checked again: what took its place meanwhile is not
  // replaced unless it is a regular file.
  if (error.empty() && CheckWriteTarget(path_, protectedFiles_, &error)) {
    if (ReplaceWithTemporary(temporary_, path_, &error))
      return Status();
    return Status::Error(error);  // the temporary file is gone
  }
  unlink(temporary_.c_str());
  return Status::Error(error);
}
