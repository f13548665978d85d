#ifndef QUILLMARK_RENDER_OUTCOME_OUTCOME_H_
#define QUILLMARK_RENDER_OUTCOME_OUTCOME_H_

#include <string>
#include <vector>

#include "job/job_reader.h"
#include "render/layout/annotation.h"
#include "render/text/placed_run.h"

// Why a canvas that should have been written was not.
enum class Failure {
  kNone,
  kWrite,           // detail: the reason ("failed to write PATH: REASON")
  kFontUnreadable,  // detail: the font file
  kTimedOut,        // detail: the time limit in seconds
  kWorkerEnded,     // detail: how its worker process ended
  kStopped,         // detail: the signal that stopped the run ("SIGTERM")
};

// A colour key whose value ImageMagick could not parse.
struct BadColour {
  std::string key;
  std::string value;
};

// What rendering one canvas found, in the process that rendered it.
struct RenderReport {
  Failure failure = Failure::kNone;
  std::string failureDetail;
  int fontSize = 0;                 // after fitting
  std::vector<PlacedLine> lines;    // the lines or columns drawn
  // The runs of each line, for shaped text ("shape") only; empty otherwise.
  std::vector<std::vector<PlacedRun>> runs;
  std::vector<std::string> overflow;  // text that does not fit the area
  std::vector<std::string> missingGlyphs;  // characters the font lacks
  std::vector<BadColour> badColours;
  double seconds = 0;               // the time the canvas took
};

enum class CanvasStatus { kWritten, kSkipped, kFailed };

// Everything that happened to one canvas of the job.
struct CanvasOutcome {
  int index = 0;      // in the job's root array
  CanvasRead read;    // what its job entry gave
  std::string fontFile;       // the font used
  bool fontFallback = false;  // the font name is not in the font list
  bool rendered = false;      // `render` holds a rendering's report
  RenderReport render;

  CanvasStatus status() const {
    if (!read.drawable())
      return CanvasStatus::kSkipped;
    return render.failure == Failure::kNone ? CanvasStatus::kWritten
                                            : CanvasStatus::kFailed;
  }
};

// Why a canvas was not written, as its log line and its report's reason
// give it (without the log's "Quillmark : "); empty when it was.
std::string FailureText(const CanvasOutcome& outcome);

// The log lines of a canvas, in the order they are written: the members its
// reading ignored or the reason it was skipped, the colours that do not
// parse, and why it was not written.
std::vector<std::string> LogMessages(const CanvasOutcome& outcome);

#endif  // QUILLMARK_RENDER_OUTCOME_OUTCOME_H_
