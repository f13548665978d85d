#ifndef QUILLMARK_RENDER_OUTCOME_REPORT_FILE_H_
#define QUILLMARK_RENDER_OUTCOME_REPORT_FILE_H_

#include <string>

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

  // Starts the report at `path`. False, with the reason in *error, when the
  // temporary file cannot be created.
  bool Open(const std::string& path, std::string* error);
  // Appends `line` and a line feed. False, with the reason, on a failure;
  // later lines are then dropped.
  bool Append(const std::string& line, std::string* error);
  // Makes the report complete under its own name. False, with the reason,
  // when it could not; the temporary file is then removed.
  bool Finish(std::string* error);

 private:
  std::string path_;
  std::string temporary_;
  int fd_ = -1;
};

#endif  // QUILLMARK_RENDER_OUTCOME_REPORT_FILE_H_
