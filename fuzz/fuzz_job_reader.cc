// Fuzz target for the two JSON readers. The same bytes are read as a job
// file (ParseJob, then ReadCanvas on every element of the root array) and as
// a font list (AddFontList into a map of its own). Both must come back
// without a crash or undefined behaviour, whatever the bytes are, and what
// they accept must keep the promises the rest of the program relies on.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <rapidjson/document.h>

#include "job/setting.h"
#include "fonts/font_registry.h"
#include "job/job_reader.h"
#include "job/text_info.h"
#include "util/json_input.h"

namespace {

[[noreturn]] void Fail(const char* what, size_t index) {
  std::fprintf(stderr, "fuzz_job_reader: %s (element %zu)\n", what, index);
  std::abort();
}

// The readers log every problem to standard output; the log lines are of no
// use here and writing them slows every run down.
void SilenceLog() {
  static const bool silenced =
      std::freopen("/dev/null", "w", stdout) != nullptr;
  (void)silenced;
}

bool HasNul(const std::string& s) {
  return s.find('\0') != std::string::npos;
}

// What a record that ReadCanvas accepted may hold.
void CheckRecord(const TextInfo& info, size_t index) {
  if (info.canvasWidth <= 0 || info.canvasWidth > kMaxCanvasSide ||
      info.canvasHeight <= 0 || info.canvasHeight > kMaxCanvasSide)
    Fail("an accepted canvas size is out of range", index);
  if (std::abs(info.fontSize) > kMaxMagnitude ||
      std::abs(info.lineHeight) > kMaxMagnitude ||
      !(std::fabs(info.strokeWidth) <= kMaxMagnitude) ||
      std::abs(info.shadowSize) > kMaxMagnitude ||
      std::abs(info.shadowDistance) > kMaxMagnitude)
    Fail("an accepted value is beyond the magnitude limit", index);
  if (!std::isfinite(info.areaX) || !std::isfinite(info.areaY) ||
      !std::isfinite(info.areaWidth) || !std::isfinite(info.areaHeight))
    Fail("an accepted area is not finite", index);
  if (HasNul(info.text) || HasNul(info.outputPath) || HasNul(info.fontName) ||
      HasNul(info.fillColor) || HasNul(info.shadowColor) ||
      HasNul(info.strokeColor))
    Fail("a string holds a NUL", index);
}

// A text that is no job gets a reason, at an offset inside the text.
void CheckFailureLine(const std::string& text, const rapidjson::Document& doc) {
  const std::string line =
      DescribeParseFailure("job.json", text, doc, JsonRoot::kArray);
  if (line.empty())
    Fail("a refused job has no reason", 0);
  const std::string marker = "parse error at byte ";
  const size_t at = line.find(marker);
  if (at != std::string::npos &&
      std::strtoull(line.c_str() + at + marker.size(), nullptr, 10) >
          text.size())
    Fail("a parse error lies beyond the end of the text", 0);
}

void ReadAsJob(const std::string& text, const Setting& flags) {
  rapidjson::Document doc;
  if (!ParseJob(text, &doc)) {
    CheckFailureLine(text, doc);
    return;
  }
  if (!doc.IsArray())
    Fail("ParseJob accepted a root that is not an array", 0);
  for (rapidjson::SizeType i = 0; i < doc.Size(); ++i) {
    CanvasRead read = ReadCanvas(doc[i], flags, 1.0f);
    if (read.drawable())
      CheckRecord(read.info, i);
    else if (!read.isCanvas && !read.skipReason.empty())
      Fail("a canvas that failed the skip rule has a reason", i);
    // Every message names the canvas.
    for (const std::string& line : ReadingMessages(static_cast<int>(i), read))
      if (line.rfind("Quillmark : canvas " + std::to_string(i), 0) != 0)
        Fail("a reading message does not name its canvas", i);
  }
}

void ReadAsFontList(const std::string& text) {
  FontMap fonts;
  std::vector<std::string> notes;
  AddFontList(text, &fonts, &notes);
  size_t n = 0;
  for (const auto& [name, path] : fonts) {
    if (HasNul(name) || HasNul(path))
      Fail("a registered font name or path holds a NUL", n);
    if (UnsafeFontPathReason(path) != nullptr)
      Fail("an unsafe font path was registered", n);
    ++n;
  }
  // Adding the same list again changes nothing: the first member counts.
  FontMap again = fonts;
  AddFontList(text, &again, &notes);
  if (again != fonts)
    Fail("adding a font list twice changed the registry", 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SilenceLog();
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The command-line flags, from something the JSON text does not fix.
  const Setting flags{(size & 1) != 0, (size & 2) != 0};
  ReadAsJob(text, flags);
  ReadAsFontList(text);
  return 0;
}
