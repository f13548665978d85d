#ifndef QUILLMARK_FONTS_FONT_FILE_H_
#define QUILLMARK_FONTS_FONT_FILE_H_

#include <sys/stat.h>

#include <string>

// True when `path` is a regular file that this process may read. Anything
// else is never handed to ImageMagick to measure: it would quietly draw with
// another font instead, and a FIFO would block it.
bool IsReadableFontFile(const std::string& path);

// The path with the file's device, inode, size and modification time, so
// that a font file replaced during the run counts as another font. Empty when
// the path cannot be examined.
std::string FontFileKey(const std::string& path);

// The key of `path` from its file's status (of the file opened, say).
std::string FontFileKeyOf(const std::string& path, const struct stat& info);

// The font file path in a key made by FontFileKey.
std::string FontPathOfKey(const std::string& fontKey);

#endif  // QUILLMARK_FONTS_FONT_FILE_H_
