#ifndef QUILLMARK_RENDER_TYPOGRAPHY_WRAPPED_LINES_H_
#define QUILLMARK_RENDER_TYPOGRAPHY_WRAPPED_LINES_H_

#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"
#include "render/typography/line_breaks.h"

// One line of wrapped text.
struct WrappedLine {
  std::string text;     // what is drawn: no line end, no trailing space
  FontMetrics metrics;  // of `text` as a whole; all zero when it is empty
};

// The lines of one pass at one font size.
struct WrappedLines {
  std::vector<WrappedLine> lines;
  bool wordBroken = false;  // a word had to be broken between units
  bool tooWide = false;     // a line is wider than the area all the same
};

// One pass at `fontSize`: fills each line with as many segments (words) as
// fit the area's width, measuring each candidate line as a whole. A segment
// that does not fit an empty line is broken between units, as a last
// resort; with `stopAtBrokenWord` the pass ends there instead, its lines
// incomplete. A mandatory break ends its line; a line end at the very end
// of the text opens no further line. False when a measurement failed.
bool WrapLines(const TextInfo& info, int fontSize,
               const std::vector<std::string>& units,
               const std::vector<UnitBreak>& breaks, MetricsSource* metrics,
               WrappedLines* out, bool stopAtBrokenWord = false);

// The horizontal layout of "wrap": "word". Lines are broken at the break
// opportunities of `breaks` (one per unit), placed on baselines and aligned
// as the horizontal layout places them, spaces at their ends left out.
//
// Fitting (adjustToFit) goes down from the item's size to the smallest
// size (5, or the item's minFontSize) and takes the first size at which
// the lines fit the area without a broken word; failing that, the first at
// which they fit at all. When none fits, the text is laid out at
// minFontSize as without fitting and `overflow` is set; without a
// minFontSize nothing is drawn, as in the plain layout.
Layout LayOutWrappedLines(const TextInfo& info, float topInset,
                          const std::vector<std::string>& units,
                          const std::vector<UnitBreak>& breaks,
                          MetricsSource* metrics);

#endif  // QUILLMARK_RENDER_TYPOGRAPHY_WRAPPED_LINES_H_
