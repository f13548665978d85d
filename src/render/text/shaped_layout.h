#ifndef QUILLMARK_RENDER_TEXT_SHAPED_LAYOUT_H_
#define QUILLMARK_RENDER_TEXT_SHAPED_LAYOUT_H_

#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"
#include "render/typography/line_breaks.h"

// The breaks after each of `clusters` (grapheme clusters, well-formed): a
// cluster may end a line where its last character may (UAX #14), is a space
// or a line end when its first character is.
std::vector<UnitBreak> ClusterBreaks(const std::vector<std::string>& clusters);

// The horizontal layout of shaped text: the clusters are the units, so no
// line breaks inside one; the lines are broken, fitted and placed by the
// rules of the plain layout, or of "wrap", "min_size" and "valign" when the
// item asks for them. `rtl` says the paragraph runs right to left: its
// start ("align" 0) is then the area's right edge, its end the left.
Layout LayOutShapedLines(const TextInfo& info, bool rtl, float topInset,
                         const std::vector<std::string>& clusters,
                         MetricsSource* metrics);

// The vertical layout of shaped text: the clusters are the units, one to a
// cell, in right-to-left columns broken, fitted and placed by the rules of
// the plain vertical layout, or of "wrap", "min_size" and "valign" when
// the item asks for them. Turning for "vertical_forms" is the renderer's:
// it knows which clusters the font has vertical glyphs for.
Layout LayOutShapedColumns(const TextInfo& info, float topInset,
                           const std::vector<std::string>& clusters,
                           MetricsSource* metrics);

#endif  // QUILLMARK_RENDER_TEXT_SHAPED_LAYOUT_H_
