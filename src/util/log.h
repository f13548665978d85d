#ifndef QUILLMARK_UTIL_LOG_H_
#define QUILLMARK_UTIL_LOG_H_

#include <cstdint>
#include <cstdio>
#include <string>

// The local time of a clock reading (nanoseconds since the Unix epoch) as
// "YYYY-MM-DD HH:MM:SS.mmm". The milliseconds are truncated, never rounded.
std::string FormatTimeLabel(int64_t nanosSinceEpoch);

// The time label of the current moment.
std::string GetTimeLabel();

// Writes one log line to the log stream (standard output unless
// SetLogStream chose another): the time label, the process id in brackets,
// then the message formatted printf-style, then '\n', and flushes the
// stream. Text from outside the program goes in through "%s", never as the
// format. Messages of any length are written whole. Write errors are
// ignored.
void QMLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Sends the log lines that follow to `stream` instead of standard output;
// nullptr goes back to standard output. The caller keeps `stream` open while
// it is in use. For tests and benchmarks that read or silence the log.
void SetLogStream(FILE* stream);

// `text` with every control byte (below 0x20, and 0x7F) written as \xNN, so
// that a name from an input file cannot break or forge a log line.
std::string Printable(const std::string& text);

#endif  // QUILLMARK_UTIL_LOG_H_
