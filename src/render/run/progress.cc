#include "render/run/progress.h"

#include <cmath>

namespace {

const char* const kProblemNames[kProblemKinds] = {
    "text does not fit", "font not in the font list", "unknown key",
    "colour does not parse", "missing glyphs", "\"ui\" key ignored",
};

std::string Format(const char* format, double value) {
  char text[64];
  snprintf(text, sizeof(text), format, value);
  return text;
}

// "0:07", "12:34", "1:02:03".
std::string Duration(double seconds) {
  const long long s = std::llround(seconds);
  char text[64];
  if (s >= 3600)
    snprintf(text, sizeof(text), "%lld:%02lld:%02lld", s / 3600, s / 60 % 60,
             s % 60);
  else
    snprintf(text, sizeof(text), "%lld:%02lld", s / 60, s % 60);
  return text;
}

}  // namespace

void CountCanvas(const CanvasRead& read, bool fontFallback,
                 const RenderReport& render, ProgressCounts* counts) {
  if (!read.drawable()) {
    ++counts->skipped;
    return;
  }
  if (render.failure == Failure::kNone)
    ++counts->written;
  else
    ++counts->failed;
  const bool has[kProblemKinds] = {
      !render.overflow.empty(),
      fontFallback,
      !read.unknownUiKeys.empty() || !read.unknownCanvasKeys.empty(),
      !render.badColours.empty(),
      !render.missingGlyphs.empty(),
      !read.ignored.empty(),
  };
  for (int kind = 0; kind < kProblemKinds; ++kind)
    if (has[kind])
      ++counts->problems[kind];
}

std::string ProgressLine(const ProgressCounts& counts, size_t rendered,
                         double seconds) {
  std::string line = "Quillmark: " + std::to_string(counts.done()) + "/" +
                     std::to_string(counts.total) + " canvases, " +
                     std::to_string(counts.failed) + " failed";
  if (rendered > 0 && seconds > 0) {
    const double rate = static_cast<double>(rendered) / seconds;
    line += Format(", %.1f canvases/s, ", rate) +
            Duration(static_cast<double>(counts.total - counts.done()) / rate) +
            " left";
  }
  return line;
}

std::string ProgressSummary(const ProgressCounts& counts, double seconds) {
  std::string line = "Quillmark: " + std::to_string(counts.written) +
                     " written, " + std::to_string(counts.skipped) +
                     " skipped, " + std::to_string(counts.failed) +
                     " failed in " + Format("%.1f", seconds) + " s; problems: ";
  bool any = false;
  for (int kind = 0; kind < kProblemKinds; ++kind) {
    if (counts.problems[kind] == 0)
      continue;
    line += std::string(any ? ", " : "") +
            std::to_string(counts.problems[kind]) + " " + kProblemNames[kind];
    any = true;
  }
  return line + (any ? "" : "none");
}

ProgressDisplay::ProgressDisplay(bool enabled, size_t total, FILE* stream)
    : enabled_(enabled), stream_(stream), start_(Clock::now()) {
  counts_.total = total;
}

double ProgressDisplay::Seconds() const {
  return std::chrono::duration<double>(Clock::now() - start_).count();
}

void ProgressDisplay::Skipped(const CanvasRead& read) {
  CountCanvas(read, false, RenderReport(), &counts_);
}

void ProgressDisplay::Rendered(const CanvasRead& read, bool fontFallback,
                               const RenderReport& render) {
  CountCanvas(read, fontFallback, render, &counts_);
  ++rendered_;
  if (!enabled_)
    return;
  const Clock::time_point now = Clock::now();
  if (drawn_ && now - lastDrawn_ < std::chrono::milliseconds(100))
    return;
  lastDrawn_ = now;
  Draw();
}

void ProgressDisplay::Draw() {
  const std::string line = ProgressLine(counts_, rendered_, Seconds());
  // Spaces blank the end of a longer line drawn before.
  const std::string blank(width_ > line.size() ? width_ - line.size() : 0, ' ');
  fprintf(stream_, "\r%s%s", line.c_str(), blank.c_str());
  fflush(stream_);
  width_ = line.size();
  drawn_ = true;
}

void ProgressDisplay::Finish() {
  if (!enabled_)
    return;
  Draw();
  fprintf(stream_, "\n%s\n", ProgressSummary(counts_, Seconds()).c_str());
  fflush(stream_);
}
