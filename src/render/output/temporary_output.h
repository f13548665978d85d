#ifndef QUILLMARK_RENDER_OUTPUT_TEMPORARY_OUTPUT_H_
#define QUILLMARK_RENDER_OUTPUT_TEMPORARY_OUTPUT_H_

#include <sys/types.h>
#include <time.h>

#include <cstdint>
#include <string>

// An image is written to a temporary file next to its output and renamed over
// it once complete. The temporary file of output NAME written by process PID
// is named
//   .NAME.quillmark-tmp-PID-RRRRRRRRRRRRRRRR
// (R: 16 random lowercase hex digits) in the output's folder. When that name
// would be longer than a file name may be, NAME is cut to its first bytes
// followed by '~' and 16 hex digits of a hash of the whole name. A file
// counts as a temporary file of an output only when its whole name has this
// form.

// A temporary file left behind by a process that is still running is removed
// by a later run only once it is this old (its last change): a running
// writer keeps changing it.
constexpr int kStaleTemporarySeconds = 5 * 60;

// An output path split at its last slash: the folder ("." when the path has
// no slash, "/" for a file at the root) and the name after it.
struct OutputPlace {
  std::string folder;
  std::string name;
};
OutputPlace SplitOutputPlace(const std::string& file);

// The name of the temporary file that process `pid` writes for the output
// named `name`, with `random` as its last part.
std::string TemporaryName(const std::string& name, pid_t pid, uint64_t random);

// Creates a new temporary file for `place` and returns its descriptor, with
// its path in *path; -1 with errno set when none could be created. O_EXCL and
// O_NOFOLLOW: it is a new file, never one that a link points to. Mode 0666
// less the umask, as a plain create gives.
int CreateTemporaryFile(const OutputPlace& place, std::string* path);

// True when `entry` is the name of a temporary file of the output named
// `name`, with the writer's process id in *pid.
bool ParseTemporaryName(const std::string& entry, const std::string& name,
                        pid_t* pid);

// Removes, from the folder of `file`, the left-over temporary files of that
// output: those whose writer is no longer running, and those unchanged for
// kStaleTemporarySeconds at `now` (a process id can be reused). Only regular
// files are removed. Returns the number removed.
int RemoveLeftoverTemporaryFiles(const std::string& file, time_t now);

// Removes the temporary files that process `pid` left while writing
// `outputPath`, the output path as a job file gives it ("out/a.png", or
// "png:out/a.dat" with a format prefix). For a parent process that stopped a
// worker in the middle of a write. Both readings of a path with a prefix are
// tried, so ImageMagick need not be running. Returns the number removed.
int RemoveTemporaryFilesOf(const std::string& outputPath, pid_t pid);

#endif  // QUILLMARK_RENDER_OUTPUT_TEMPORARY_OUTPUT_H_
