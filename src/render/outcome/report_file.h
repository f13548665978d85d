#ifndef QUILLMARK_RENDER_OUTCOME_REPORT_FILE_H_
#define QUILLMARK_RENDER_OUTCOME_REPORT_FILE_H_

#include <string>

#include "render/output/write_checks.h"
#include "util/status.h"

// The report of a run, one line per canvas. It is written under a temporary
// name in the report's folder (named as an image's, see temporary_output.h),
// each line as soon as it is known, and renamed to its own name when the run
// ends, so that nobody reads a half-written report under that name.
class ReportFile {
 public:
  ReportFile() = default;
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Starts the report at `path`, which is checked as an image's path is
  // (CheckWriteTarget): a regular file or none, never a symbolic link, in a
  // folder outside /dev, /proc and /sys, none of `protectedFiles`. An
  // error, with the reason, when it may not be written or the temporary
  // file cannot be created.
  Status Open(const std::string& path, const ProtectedFiles& protectedFiles);
  // Appends `line` and a line feed. An error, with the reason, on a
  // failure; later lines are then dropped.
  Status Append(const std::string& line);
  // Makes the report complete under its own name. An error, with the
  // reason, when it could not; the temporary file is then removed.
  // The path is checked again first: what took its place meanwhile is not
  // replaced unless it is a regular file.
  Status Finish();
  // Removes the temporary file; nothing is written under the report's name.
  void Abandon();

 private:
  std::string path_;
  std::string temporary_;
  ProtectedFiles protectedFiles_;
  int fd_ = -1;
};

#endif  // QUILLMARK_RENDER_OUTCOME_REPORT_FILE_H_
