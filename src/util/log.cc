#include "util/log.h"

#include <stdarg.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <vector>

std::string FormatTimeLabel(int64_t nanosSinceEpoch) {
  time_t seconds = static_cast<time_t>(nanosSinceEpoch / 1000000000);
  int millis = static_cast<int>((nanosSinceEpoch / 1000000) % 1000);
  struct tm local;
  char text[64];
  if (localtime_r(&seconds, &local) == nullptr ||
      strftime(text, sizeof(text), "%Y-%m-%d %H:%M:%S", &local) == 0)
    text[0] = '\0';
  char tail[8];
  snprintf(tail, sizeof(tail), ".%03d", millis);
  return std::string(text) + tail;
}

std::string GetTimeLabel() {
  int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count();
  return FormatTimeLabel(now);
}

namespace {

FILE* logStream = nullptr;  // nullptr: standard output

}  // namespace

void SetLogStream(FILE* stream) { logStream = stream; }

void QMLog(const char* format, ...) {
  static char buf[1024];
  FILE* out = logStream != nullptr ? logStream : stdout;
  std::string label = GetTimeLabel();
  fprintf(out, "%s ", label.c_str());
  fprintf(out, "[%d] ", static_cast<int>(getpid()));

  va_list args;
  va_start(args, format);
  va_list retry;
  va_copy(retry, args);
  int needed = vsnprintf(buf, sizeof(buf), format, args);
  va_end(args);
  if (needed >= static_cast<int>(sizeof(buf))) {
    // Too long for the shared buffer: format again into one that fits, so
    // the message is never cut.
    std::vector<char> big(static_cast<size_t>(needed) + 1);
    vsnprintf(big.data(), big.size(), format, retry);
    fwrite(big.data(), 1, static_cast<size_t>(needed), out);
  } else if (needed >= 0) {
    fwrite(buf, 1, static_cast<size_t>(needed), out);
  }
  va_end(retry);
  fputc('\n', out);
  // Standard output is fully buffered when it is a pipe or a file: a run that
  // is killed must still have said everything up to that point.
  fflush(out);
}

std::string Printable(const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}
