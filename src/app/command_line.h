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
// "-shard=I/N", "-memory=MiB", "-timeout=SECONDS", "-report=PATH", "-strict"
// and "-dry-run". Arguments it does not know are ignored, as ReadFlags does;
// a known argument with a value it cannot use is left out and described in
// *problems. `cores` is what "-jobs=auto" stands for.
void ReadRunOptions(int argc, const char* const* argv, int cores,
                    RunOptions* options, std::vector<std::string>* problems);

// Everything the command line gives a run.
struct CommandLine {
  std::string fontListPath;
  std::string jobFilePath;
  RunOptions options;  // its flags from ReadFlags, the rest ReadRunOptions's
  std::vector<std::string> problems;  // arguments whose value was left out
};

// Reads argv as a whole: false when it names fewer than two paths.
bool ReadCommandLine(int argc, const char* const* argv, int cores,
                     CommandLine* line);

#endif  // QUILLMARK_APP_COMMAND_LINE_H_
