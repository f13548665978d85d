#include "support/captured_log.h"

#include <stdio.h>
#include <stdlib.h>

#include "support/run_quillmark.h"
#include "util/log.h"

std::string CapturedLogText(const std::function<void()>& fn) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* stream = open_memstream(&buffer, &size);
  if (stream == nullptr) return "(open_memstream failed)";
  SetLogStream(stream);
  fn();
  SetLogStream(nullptr);
  fclose(stream);
  std::string text(buffer, size);
  free(buffer);
  return text;
}

std::vector<std::string> CapturedLog(const std::function<void()>& fn) {
  std::vector<std::string> messages;
  for (const std::string& line : SplitLines(CapturedLogText(fn)))
    messages.push_back(MessageOf(line));
  return messages;
}
