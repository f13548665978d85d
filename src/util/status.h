#ifndef QUILLMARK_UTIL_STATUS_H_
#define QUILLMARK_UTIL_STATUS_H_

#include <string>
#include <utility>

// What a step that can fail reports: success, or why it failed. The
// message is written to finish a sentence such as "failed to write PATH: ",
// so that the log line and the report's reason are both made from it; it
// is never parsed back.
class Status {
 public:
  Status() = default;  // success
  static Status Error(std::string message) {
    Status status;
    status.failed_ = true;
    status.message_ = std::move(message);
    return status;
  }

  bool ok() const { return !failed_; }
  const std::string& message() const { return message_; }

 private:
  bool failed_ = false;
  std::string message_;
};

#endif  // QUILLMARK_UTIL_STATUS_H_
