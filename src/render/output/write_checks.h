#ifndef QUILLMARK_RENDER_OUTPUT_WRITE_CHECKS_H_
#define QUILLMARK_RENDER_OUTPUT_WRITE_CHECKS_H_

#include <sys/types.h>

#include <string>
#include <vector>

#include "job/text_info.h"

// A file that this run must not write: what it reads (the font list, the
// job file, the fonts) and its own report. Known by its device and inode
// when it exists, and by its canonical path (its folder resolved, then its
// name) in any case, so that a file not yet written is known too.
struct ProtectedFile {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  std::string canonical;  // empty when the folder does not resolve
  std::string reason;     // "it is an input of this run"
};
using ProtectedFiles = std::vector<ProtectedFile>;

// Identifies `path` as it is now.
ProtectedFile IdentifyFile(const std::string& path, const std::string& reason);

// The folder of `file` resolved (symbolic links and "..") followed by "/"
// and the file's name; empty when the folder does not resolve.
std::string ResolvedFilePath(const std::string& file);

// Every check that a write of `file` (a temporary file beside it, renamed
// over it) must pass before anything is created, in this order: a name; not
// one of `protectedFiles` (by device and inode, or by canonical path); not a
// symbolic link, not an existing file other than a regular one; a name that
// fits a file name; a folder that resolves, outside /dev, /proc and /sys; a
// folder in which a file can be replaced (not append-only or immutable) and
// an existing file that may be replaced. False, with the reason in *error
// (as "failed to write PATH: REASON" gives it).
bool CheckWriteTarget(const std::string& file,
                      const ProtectedFiles& protectedFiles,
                      std::string* error);

// Whether ImageMagick's size limit (kMaxCanvasSide a side) lets the drop
// shadow of `info` be made: its image is the canvas with a border of
// floor(2 x s_size + 0.5) on every side, and its blur reads rows and
// columns longer by the blur kernel's width less one. False, with
// ImageMagick's reason (without its source location) in *error, when it
// does not.
bool ShadowWithinLimit(const TextInfo& info, std::string* error);

#endif  // QUILLMARK_RENDER_OUTPUT_WRITE_CHECKS_H_
