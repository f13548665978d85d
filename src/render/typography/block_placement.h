#ifndef QUILLMARK_RENDER_TYPOGRAPHY_BLOCK_PLACEMENT_H_
#define QUILLMARK_RENDER_TYPOGRAPHY_BLOCK_PLACEMENT_H_

#include <functional>

#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"

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
bool AlignBlock(const TextInfo& info, MetricsSource* metrics, Layout* layout);

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
