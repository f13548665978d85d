#ifndef QUILLMARK_RENDER_RUN_PROGRESS_H_
#define QUILLMARK_RENDER_RUN_PROGRESS_H_

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

#include "job/job_reader.h"
#include "render/outcome/outcome.h"

// The kinds of problem a canvas can have (those the report lists and
// -strict fails), in the order the summary names them.
enum ProblemKind {
  kProblemOverflow,       // text does not fit its area
  kProblemFontFallback,   // the font name is not in the font list
  kProblemUnknownKey,     // a key Quillmark does not know
  kProblemBadColour,      // a colour that does not parse
  kProblemMissingGlyph,   // characters without a glyph
  kProblemIgnoredKey,     // a "ui" member of the wrong type or value
  kProblemKinds
};

// What a run has done so far.
struct ProgressCounts {
  size_t total = 0;  // the canvases of this run (of its shard)
  size_t written = 0;
  size_t skipped = 0;
  size_t failed = 0;
  // For each kind, the canvases that have it.
  std::array<size_t, kProblemKinds> problems{};

  size_t done() const { return written + skipped + failed; }
};

// Counts one canvas: skipped when `read` cannot be drawn, otherwise written
// or failed as `render` says, with the kinds of problem it has.
void CountCanvas(const CanvasRead& read, bool fontFallback,
                 const RenderReport& render, ProgressCounts* counts);

// The progress line after `seconds`: canvases done of the total, those that
// failed, and, once a canvas has been rendered, the rate and the time left.
// `rendered` is the number of canvases rendered (not skipped) in `seconds`.
std::string ProgressLine(const ProgressCounts& counts, size_t rendered,
                         double seconds);

// The run's summary, one line: written, skipped, failed, the seconds, and
// the canvases with each kind of problem.
std::string ProgressSummary(const ProgressCounts& counts, double seconds);

// The progress line on a stream (standard error), drawn over itself with a
// carriage return at most ten times a second, and the summary at the end.
// A display that is not enabled writes nothing at all.
class ProgressDisplay {
 public:
  ProgressDisplay(bool enabled, size_t total, FILE* stream);
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  // A canvas skipped before rendering, counted without touching the line.
  void Skipped(const CanvasRead& read);
  // A rendered canvas (or one that failed); the line follows.
  void Rendered(const CanvasRead& read, bool fontFallback,
                const RenderReport& render);
  // The last line, its line end and the summary.
  void Finish();

  const ProgressCounts& counts() const { return counts_; }

 private:
  using Clock = std::chrono::steady_clock;
  double Seconds() const;
  void Draw();

  const bool enabled_;
  FILE* const stream_;
  const Clock::time_point start_;
  Clock::time_point lastDrawn_;
  bool drawn_ = false;
  size_t width_ = 0;  // of the line drawn last, to blank what it leaves
  size_t rendered_ = 0;
  ProgressCounts counts_;
};

#endif  // QUILLMARK_RENDER_RUN_PROGRESS_H_
