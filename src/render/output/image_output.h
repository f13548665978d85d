#ifndef QUILLMARK_RENDER_OUTPUT_IMAGE_OUTPUT_H_
#define QUILLMARK_RENDER_OUTPUT_IMAGE_OUTPUT_H_

#include <MagickWand/MagickWand.h>

#include <functional>
#include <string>

#include "render/output/write_checks.h"
#include "util/status.h"

// Where and how an output path is written.
struct OutputTarget {
  std::string format;  // ImageMagick's name of an image format Quillmark writes
  std::string file;    // the file, exactly as the path names it
};

// Reads an output path as ImageMagick would choose its format: an explicit
// "format:" prefix when `isFormat` knows the name before the first colon,
// otherwise the extension. Only PNG, JPEG, WebP, TIFF, GIF and BMP are
// allowed. Nothing else in the path has a meaning: '%', "[...]" and the rest
// stay as written. False, with the reason in *error, when no allowed format
// follows from the path.
bool ResolveOutput(const std::string& path,
                   const std::function<bool(const std::string&)>& isFormat,
                   OutputTarget* target, std::string* error);

// Writes `size` bytes to `file`: to a new temporary file in the same folder
// (see render/temporary_output.h), flushed to the disk, then renamed over
// `file`. Whatever fails, and wherever the process is killed, `file` is
// either its old self or complete; a failure removes the temporary file, and
// a kill leaves one that the next write of `file` removes. The new file has
// the permissions a plain create gives (0666 less the umask). Refused: an
// existing FIFO, device or directory (without blocking), a symbolic link
// (also a dangling one, /dev/stdout, /proc/self/fd/N), a file whose
// folder resolves to /dev, /proc or /sys, one of `protectedFiles`, and
// whatever else CheckWriteTarget refuses. False, with the reason in *error,
// on any failure.
bool WriteRegularFile(const std::string& file, const void* data, size_t size,
                      const ProtectedFiles& protectedFiles,
                      std::string* error);

// Renames the complete `temporary` over `file`. When that fails, removes
// the temporary file and gives "cannot replace it: REASON" in *error.
bool ReplaceWithTemporary(const std::string& temporary,
                          const std::string& file, std::string* error);

// Encodes the wand's image in the format the path asks for and writes it to
// the path's file. `pngCompression` from 0 to 9 is zlib's level for a PNG
// (ImageMagick's "png:compression-level"); -1 leaves ImageMagick's choice.
// An error, with the reason, when it was not written.
Status WriteImageFile(MagickWand* wand, const std::string& path,
                      const ProtectedFiles& protectedFiles,
                      int pngCompression = -1);

// What WriteImageFile would find wrong with `path` before encoding: no
// allowed format, or anything CheckWriteTarget refuses. A dry run reports
// it without writing.
Status CheckOutputPath(const std::string& path,
                       const ProtectedFiles& protectedFiles);

#endif  // QUILLMARK_RENDER_OUTPUT_IMAGE_OUTPUT_H_
