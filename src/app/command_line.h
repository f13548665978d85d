#ifndef QUILLMARK_APP_COMMAND_LINE_H_
#define QUILLMARK_APP_COMMAND_LINE_H_

#include <string>
#include <vector>

#include "job/setting.h"
#include "render/run/run_options.h"

// Sets the flags named by argv[3..argc-1] in *flags. An argument matches only
// when it equals "-adjustToFit" or "-ignoreLineHeight" exactly; everything
// else is ignored. No argument clears a flag.
void ReadFlags(int argc, const char* const* argv, Setting* flags);

// Reads the run's arguments from argv[3..argc-1]: "-jobs=N" or "-jobs=auto",
// "-shard=I/N", "-memory=MiB", "-timeout=SECONDS", "-report=PATH", "-strict",
// "-dry-run", "-progress", "-png-compression=N", and the job-wide typography
// defaults "-wrap=word", "-valign=N", "-vertical-forms" and "-shape". A known
// argument with a value it cannot use (or without its value) is left out and
// described in *problems; an
// argument that starts with '-' and is none of these nor a flag of ReadFlags
// is described in *unknown, with the closest known one when one is close.
// Arguments that do not start with '-' are ignored. `cores` is what
// "-jobs=auto" stands for.
void ReadRunOptions(int argc, const char* const* argv, int cores,
                    RunOptions* options, std::vector<std::string>* problems,
                    std::vector<std::string>* unknown = nullptr);

// Everything the command line gives a run.
struct CommandLine {
  std::string fontListPath;
  std::string jobFilePath;
  RunOptions options;  // its flags from ReadFlags, the rest ReadRunOptions's
  // Arguments whose value cannot be used: the run must not start.
  std::vector<std::string> problems;
  // Arguments that are not Quillmark's: said, and with -strict fatal.
  std::vector<std::string> unknown;
};

// Reads argv as a whole: false when it names fewer than two paths.
bool ReadCommandLine(int argc, const char* const* argv, int cores,
                     CommandLine* line);

#endif  // QUILLMARK_APP_COMMAND_LINE_H_
