#ifndef QUILLMARK_RENDER_DRAW_ITEM_DRAWING_H_
#define QUILLMARK_RENDER_DRAW_ITEM_DRAWING_H_

#include <MagickWand/MagickWand.h>

#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"
#include "render/draw/render_context.h"

// A layout: the units of an item's text placed under the given metrics.
using ItemLayout = Layout (*)(const TextInfo& info, float topInset,
                              const std::vector<std::string>& units,
                              MetricsSource* metrics,
                              const RenderOptions& options);

// The arguments of a renderer call besides the wand and the item.
struct RendererCall {
  bool createCanvas;  // add the transparent canvas image first
  float topInset;     // pads the top of the area (vertically, every cell)
  float translateX;   // shifts everything the call draws
  float translateY;
};

// What one renderer call did.
struct ItemResult {
  Layout layout;
  bool fontUnreadable = false;  // the font gave no metrics: nothing laid out
  // ImageMagick's account of a call that failed (the canvas, the drawing,
  // the shadow); empty when none did.
  std::string magickFailure;
};

// One renderer call, the same for both renderers but for the layout and
// how many times the drawing is rendered onto the image:
//  1. set-up: a drawing wand and a pixel wand; the transparent canvas when
//     `createCanvas` is set; the translation, fill colour, font file, font
//     size and outline;
//  2. the text cut into units and laid out, measured through the context's
//     metrics cache (or straight from ImageMagick when reuse is off);
//  3. one annotation per placed text;
//  4. the drawing rendered onto the image `renderCount` times, then the
//     drop shadow.
// With the context's `layoutOnly`, steps 3 and 4 are left out and the canvas
// is a single pixel: measurements do not depend on its size.
void DrawItem(MagickWand* wand, const TextInfo& info, const RendererCall& call,
              ItemLayout layOut, int renderCount, RenderContext* context,
              ItemResult* result);

#endif  // QUILLMARK_RENDER_DRAW_ITEM_DRAWING_H_
