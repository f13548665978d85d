#ifndef QUILLMARK_TESTS_SUPPORT_RUN_QUILLMARK_H_
#define QUILLMARK_TESTS_SUPPORT_RUN_QUILLMARK_H_

#include <string>
#include <vector>

// The outcome of one run of the built Quillmark binary.
struct RunResult {
  int exitCode = -1;           // -1 when it did not exit normally
  std::string output;          // everything it wrote to standard output
  std::string errors;          // everything it wrote to standard error
  std::vector<std::string> lines;     // `output` split at '\n'
  std::vector<std::string> messages;  // each line without its time and pid prefix
};

// Runs the binary with `args` in the working directory `cwd` (empty: the
// test's own), with a time limit in seconds, and waits for it.
RunResult RunQuillmark(const std::vector<std::string>& args,
                       const std::string& cwd = "", int timeoutSeconds = 120);

// The message part of a log line: what follows "YYYY-MM-DD HH:MM:SS.mmm [pid] ".
// Empty when the line has no such prefix.
std::string MessageOf(const std::string& line);

// True when `line` starts with a well-formed time label and process id.
bool HasLogPrefix(const std::string& line);

#endif  // QUILLMARK_TESTS_SUPPORT_RUN_QUILLMARK_H_
