#ifndef QUILLMARK_TESTS_SUPPORT_RUN_QUILLMARK_H_
#define QUILLMARK_TESTS_SUPPORT_RUN_QUILLMARK_H_

#include <sys/types.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// The outcome of one run of the built Quillmark binary.
struct RunResult {
  int exitCode = -1;           // -1 when it did not exit normally
  int killedBy = 0;            // the signal that ended it, or 0
  std::string output;          // everything it wrote to standard output
  std::string errors;          // everything it wrote to standard error
  std::vector<std::string> lines;     // `output` split at '\n'
  std::vector<std::string> messages;  // each line without its time and pid prefix
};

// Runs the binary with `args` in the working directory `cwd` (empty: the
// test's own), with a time limit in seconds, and waits for it.
RunResult RunQuillmark(const std::vector<std::string>& args,
                       const std::string& cwd = "", int timeoutSeconds = 120);

// How else a run is set up.
struct ProcessOptions {
  std::string cwd;               // empty: the test's own
  int timeoutSeconds = 120;
  long long fileSizeLimit = -1;  // RLIMIT_FSIZE of the binary in bytes; -1: as is
  // Further limits of the binary: (RLIMIT_..., value) pairs, e.g.
  // {RLIMIT_NOFILE, 40} or {RLIMIT_AS, 1500 << 20}.
  std::vector<std::pair<int, long long>> limits;
  // Called with the binary's process id once it has started, before its
  // output is read (it may kill the process); the output pipes hold 64 KiB.
  std::function<void(pid_t)> whileRunning;
};
RunResult RunQuillmark(const std::vector<std::string>& args,
                       const ProcessOptions& options);

// The messages of `run` that report a problem: those that begin with
// "Quillmark : ".
std::vector<std::string> Problems(const RunResult& run);

// The message part of a log line: what follows "YYYY-MM-DD HH:MM:SS.mmm [pid] ".
// Empty when the line has no such prefix.
std::string MessageOf(const std::string& line);

// True when `line` starts with a well-formed time label and process id.
bool HasLogPrefix(const std::string& line);

// `text` split at '\n'; a final '\n' opens no further line.
std::vector<std::string> SplitLines(const std::string& text);

// The lines of a report file without their last field, the "seconds" the
// canvas took: what two runs of the same job have in common.
std::vector<std::string> ReportWithoutSeconds(const std::string& report);

// Waits until a file whose name begins with `prefix` is created in `folder`.
// False when none appeared before the process `pid` ended or 60 s passed.
bool WaitForCreation(const std::string& folder, const std::string& prefix,
                     pid_t pid);

#endif  // QUILLMARK_TESTS_SUPPORT_RUN_QUILLMARK_H_
