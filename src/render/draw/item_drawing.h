#ifndef QUILLMARK_RENDER_DRAW_ITEM_DRAWING_H_
#define QUILLMARK_RENDER_DRAW_ITEM_DRAWING_H_

#include <MagickWand/MagickWand.h>

#include <memory>
#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/draw/render_context.h"
#include "render/layout/annotation.h"
#include "render/magick/handles.h"
#include "render/metrics/exact_metrics.h"
#include "render/metrics/magick_metrics.h"
#include "render/metrics/metrics_cache.h"
#include "util/status.h"

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
  // ImageMagick's account of a step that failed (the canvas, the drawing,
  // the shadow).
  Status magick;
};

// The measurements of one renderer call: ImageMagick's under the call's
// drawing wand, or the exact FreeType copy of them, through the run's
// metrics cache, as the context's options choose. Nothing measures a font
// that is not a readable regular file.
class ItemMetrics {
 public:
  ItemMetrics(MagickWand* wand, DrawingWand* drawing, const TextInfo& info,
              const RendererCall& call, const std::string& fontFile,
              RenderContext* context);
  ItemMetrics(const ItemMetrics&) = delete;
  ItemMetrics& operator=(const ItemMetrics&) = delete;

  MetricsSource* source() { return source_; }

 private:
  const bool readable_;
  const std::string fontKey_;
  MagickMetrics magick_;
  ExactMetrics exact_;
  CachedMetrics cached_;
  MetricsSource* source_;
};

// What a renderer call draws with, from StartItem to FinishItem: the drawing
// wand and pixel wand it set up, the item's text cut into units, and the
// measurements its layout takes.
struct ItemSetup {
  DrawingWandPtr drawing;
  PixelWandPtr pixel;
  std::vector<std::string> units;
  std::unique_ptr<ItemMetrics> metrics;
};

// A renderer call is StartItem, the renderer's own layout over
// `setup->units` and `setup->metrics`, then FinishItem:
//  1. StartItem: a drawing wand and a pixel wand; the transparent canvas when
//     `createCanvas` is set; the translation, fill colour, font file, font
//     size and outline; the text cut into units. False, with the reason in
//     `result`, when there is no image to draw on.
//  2. FinishItem: one annotation per placed text of `layout`, the drawing
//     rendered onto the image `renderCount` times, then the drop shadow.
// With the context's `layoutOnly`, FinishItem only records the layout, and
// the canvas is a single pixel: measurements do not depend on its size.
bool StartItem(MagickWand* wand, const TextInfo& info,
               const std::string& fontFile, const RendererCall& call,
               RenderContext* context, ItemSetup* setup, ItemResult* result);
void FinishItem(MagickWand* wand, ItemSetup* setup, const TextInfo& info,
                const RendererCall& call, int renderCount,
                RenderContext* context, Layout layout, ItemResult* result);

#endif  // QUILLMARK_RENDER_DRAW_ITEM_DRAWING_H_
