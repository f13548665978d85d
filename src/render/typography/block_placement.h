#ifndef QUILLMARK_RENDER_TYPOGRAPHY_BLOCK_PLACEMENT_H_
#define QUILLMARK_RENDER_TYPOGRAPHY_BLOCK_PLACEMENT_H_

#include <functional>
#include <string>

#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"

// The ink of one character's glyph at a font size, in pixels from its
// origin, y up; `empty` when it has none (a space, a missing glyph).
struct InkBox {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool empty = true;
};
// Gives the ink box of `unit` at `fontSize`; false when it is not known.
using GlyphInk =
    std::function<bool(const std::string& unit, int fontSize, InkBox* box)>;

// Moves a laid-out block across its lines for the item's blockAlign
// ("valign"): down (horizontal) or to the left (vertical), by whole pixels.
// The block is the ink of all annotations together, from their metrics at
// the layout's size: the lines' boxes above and below their baselines, or
// the units' boxes across the columns. With 2 its middle goes to the
// area's middle; with 1 it is mirrored about the area's middle, so that it
// lies as far from the bottom (left) edge as the layouts put it from the
// top (right) edge. A block that lies at or past the middle already (it
// fills the area) is not moved. 0 and other values leave the layout as it
// is, and so do a failed layout and one without text. False when a
// measurement failed.
//
// ImageMagick's bounds of a glyph always take in its origin (they start at
// 0), so across vertical columns they can be far wider than the ink: with
// `glyphInk` the ink of each vertical unit is its glyph's own box instead.
bool AlignBlock(const TextInfo& info, MetricsSource* metrics, Layout* layout,
                const GlyphInk& glyphInk = nullptr);

// Runs one of the plain layouts with the item's minFontSize ("min_size"):
// when fitting would go below it (or give up and draw nothing), the text is
// laid out again at that size as without fitting (the line spacing or
// column width following the font, as fitting makes them) and `overflow`
// is set. Without a minFontSize, `overflow` only tells that fitting gave
// up. The layout is unchanged whenever fitting stops at minFontSize or
// above.
Layout LayOutWithSmallestSize(
    const TextInfo& info,
    const std::function<Layout(const TextInfo& info)>& layOut);

#endif  // QUILLMARK_RENDER_TYPOGRAPHY_BLOCK_PLACEMENT_H_
