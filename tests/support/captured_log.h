#ifndef QUILLMARK_TESTS_SUPPORT_CAPTURED_LOG_H_
#define QUILLMARK_TESTS_SUPPORT_CAPTURED_LOG_H_

#include <functional>
#include <string>
#include <vector>

// Runs `fn` with the log sent to memory instead of standard output, and
// returns all it logged, time and pid prefixes and newlines included.
std::string CapturedLogText(const std::function<void()>& fn);

// The lines `fn` logged, each without its time and pid prefix.
std::vector<std::string> CapturedLog(const std::function<void()>& fn);

#endif  // QUILLMARK_TESTS_SUPPORT_CAPTURED_LOG_H_
