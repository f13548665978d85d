#ifndef QUILLMARK_RENDER_DRAW_SHAPED_RENDERER_H_
#define QUILLMARK_RENDER_DRAW_SHAPED_RENDERER_H_

#include <MagickWand/MagickWand.h>

#include <string>
#include <utility>
#include <vector>

#include "job/text_info.h"
#include "render/draw/item_drawing.h"
#include "render/draw/render_context.h"
#include "render/draw/shaped_text.h"

// The renderer call of an item with "shape": the text engine's horizontal
// lines (bidi, clusters, font fallback, HarfBuzz shaping), measured by the
// engine, laid out by the horizontal layout's rules, or its vertical
// columns of clusters shaped top to bottom; each glyph's outline
// drawn as a path with the item's fill and outline, colour glyphs
// composited (first pass only), then the drop shadow.
// `chain` holds the (name, file) pairs of the item's "font" and then its
// "fallback" fonts, as the run's font list resolves them.
using FontChainFiles = std::vector<std::pair<std::string, std::string>>;
void DrawShapedItem(MagickWand* wand, const TextInfo& info,
                    const FontChainFiles& chain, const RendererCall& call,
                    RenderContext* context, ItemResult* result,
                    ShapedFindings* findings);

#endif  // QUILLMARK_RENDER_DRAW_SHAPED_RENDERER_H_
