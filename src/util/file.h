#ifndef QUILLMARK_UTIL_FILE_H_
#define QUILLMARK_UTIL_FILE_H_

#include <cstdint>
#include <string>

// Input files larger than this are refused before they are read: nothing a
// font list or job file legitimately holds comes near it.
constexpr int64_t kMaxInputFileBytes = int64_t{256} << 20;

// Reads the whole file at `path` into `out`, byte for byte (no newline or
// encoding translation, BOM and NUL bytes kept), replacing what `out` held.
// Returns false, logs "File not exist %s" and leaves `out` alone when the file
// cannot be opened. Only a regular file is read: anything else (a FIFO, a
// folder, a device) is refused with its own log line, without waiting for a
// writer, as is a file larger than kMaxInputFileBytes; both return false. A
// read error after a successful open keeps what was read and returns true.
bool ReadFileContent(const char* path, std::string& out);

// Writes all `size` bytes to `fd`, going on after interruptions and short
// writes. False, with the reason in *error when given, on a failure.
bool WriteAll(int fd, const void* data, size_t size,
              std::string* error = nullptr);

// Reads exactly `size` bytes from `fd`. False at the end of the file or on
// a failure.
bool ReadAll(int fd, void* data, size_t size);

#endif  // QUILLMARK_UTIL_FILE_H_
