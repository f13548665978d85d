#ifndef QUILLMARK_RENDER_LAYOUT_HORIZONTAL_LAYOUT_H_
#define QUILLMARK_RENDER_LAYOUT_HORIZONTAL_LAYOUT_H_

#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"

// Lines broken from the units at one font size, with their baselines.
struct HorizontalLines {
  std::vector<std::string> text;
  std::vector<int> baselines;
  float lineAdvance = 0;  // distance between baselines
};

// One layout pass at `fontSize`: breaks `units` into lines no wider than the
// area and gives each its baseline. `lines->lineAdvance` comes in as the
// advance in force and goes out changed when the item's line spacing follows
// the font. False when a measurement failed.
bool BreakLines(const TextInfo& info, int fontSize, float topInset,
                const std::vector<std::string>& units, MetricsSource* metrics,
                HorizontalLines* lines);

// Breaks, fits and places the units of an item in horizontal lines: the
// whole layout of the horizontal renderer, without drawing.
Layout LayOutHorizontal(const TextInfo& info, float topInset,
                        const std::vector<std::string>& units,
                        MetricsSource* metrics);

#endif  // QUILLMARK_RENDER_LAYOUT_HORIZONTAL_LAYOUT_H_
