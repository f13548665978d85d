#ifndef QUILLMARK_RENDER_TYPOGRAPHY_WRAPPED_COLUMNS_H_
#define QUILLMARK_RENDER_TYPOGRAPHY_WRAPPED_COLUMNS_H_

#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"
#include "render/typography/line_breaks.h"
#include "render/layout/vertical_layout.h"

// The columns of one pass at one font size, as the vertical layout keeps
// them (column 0 the rightmost, unit indexes top to bottom, heights, width).
struct WrappedColumns {
  VerticalColumns columns;
  bool wordBroken = false;  // a word had to be broken between units
  bool tooTall = false;     // a unit alone is taller than the area
  EmSize em = {0, 0};       // with uniform ems: the font's em at the size
};

// One pass at `fontSize`: fills each column from the top with as many
// segments as fit the area's height, by the vertical layout's break test
// (the inset once, then every unit's em height). A segment that does not
// fit an empty column is broken between units, as a last resort. Spaces at
// the end of a column take no cell; line ends take none and end their
// column. `out->columns.width` comes in as the width in force and goes out
// changed when the column width follows the font. With `uniformEms`, every
// unit is given the font's em, measured once on the empty text, instead of
// its own measurement. False when a measurement failed.
bool WrapColumns(const TextInfo& info, int fontSize, float topInset,
                 const std::vector<std::string>& units,
                 const std::vector<UnitBreak>& breaks, MetricsSource* metrics,
                 WrappedColumns* out, bool uniformEms = false);

// The vertical layout of "wrap": "word": columns end at the break
// opportunities of `breaks` (one per unit); units are placed in their cells
// exactly as the vertical layout places them. Fitting prefers whole words
// and stops at minFontSize as LayOutWrappedLines does; columns laid out at
// minFontSize without fitting run on past the area's left edge.
//
// With `uniformEms`, the passes take every unit's em from the font's, one
// measurement a size, as the vertical layout does; placement, which
// measures every unit, checks that each agrees, and if one does not, the
// item is laid out again with every unit measured. Either way the result
// is the same.
Layout LayOutWrappedColumns(const TextInfo& info, float topInset,
                            const std::vector<std::string>& units,
                            const std::vector<UnitBreak>& breaks,
                            MetricsSource* metrics, bool uniformEms = false);

#endif  // QUILLMARK_RENDER_TYPOGRAPHY_WRAPPED_COLUMNS_H_
