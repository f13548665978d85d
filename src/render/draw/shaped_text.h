#ifndef QUILLMARK_RENDER_DRAW_SHAPED_TEXT_H_
#define QUILLMARK_RENDER_DRAW_SHAPED_TEXT_H_

#include <MagickWand/MagickWand.h>

#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/draw/item_drawing.h"
#include "render/text/glyph_drawing.h"
#include "render/text/placed_run.h"
#include "render/text/text_engine.h"

// What the text engine found besides the layout.
struct ShapedFindings {
  std::vector<std::vector<PlacedRun>> runs;  // per drawn line or column
  std::vector<std::string> missingGlyphs;    // what no font of the chain has
};

// Where the shaped text goes: the outlines into `drawing` (null when only
// the layout is wanted), the colour glyphs into `colour`.
struct ShapedTarget {
  DrawingWand* drawing;
  std::vector<ColourGlyph>* colour;
};

// Lays out `info`'s text in the engine's horizontal lines (bidi, clusters,
// fallback, shaping; the paragraph's direction decides the alignment's
// start) into result->layout, and adds each line's glyphs to `target`.
void AddShapedLines(const TextInfo& info, float topInset, TextEngine* engine,
                    const FontChain& chain, ItemResult* result,
                    ShapedFindings* findings, const ShapedTarget& target);

// Lays out `info`'s text in right-to-left columns of clusters, one em cell
// each, into result->layout, and adds each cluster, shaped top to bottom
// from its cell's top centre (so that the font's vertical forms and
// vertical metrics apply), to `target`. With "vertical_forms", a cluster
// that the plain vertical layout would turn and that the font gives no
// vertical glyph for is drawn turned, as there. A column's runs are its
// clusters of one font, each placed at its first cell's top left.
void AddShapedColumns(const TextInfo& info, float topInset,
                      TextEngine* engine, const FontChain& chain,
                      ItemResult* result, ShapedFindings* findings,
                      const ShapedTarget& target);

#endif  // QUILLMARK_RENDER_DRAW_SHAPED_TEXT_H_
