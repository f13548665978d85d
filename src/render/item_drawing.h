#ifndef QUILLMARK_RENDER_ITEM_DRAWING_H_
#define QUILLMARK_RENDER_ITEM_DRAWING_H_

#include <MagickWand/MagickWand.h>

#include <string>

#include "job/text_info.h"
#include "render/annotation.h"
#include "render/magick_handles.h"
#include "render/magick_metrics.h"
#include "render/metrics_cache.h"

// The drawing wand and pixel wand of one renderer call.
struct ItemDrawing {
  DrawingWandPtr drawing;
  PixelWandPtr pixel;
  std::string fontFile;   // what GetFont gave for the item's font name
  std::string settings;   // the drawing settings besides font and size
  bool hasImage = false;  // the canvas wand has an image to measure and draw on
};

// The set-up both renderers share, in their order: the wands, the
// transparent canvas when asked for, the translation, the fill colour, the
// font file, the font size and the outline.
ItemDrawing BeginItem(MagickWand* wand, const TextInfo& info,
                      bool createCanvas, float translateX, float translateY);

// The measurements of one renderer call: through the run's cache, or
// straight from ImageMagick when reuse is off.
class ItemMetrics {
 public:
  ItemMetrics(MagickWand* wand, const ItemDrawing& item);
  ItemMetrics(const ItemMetrics&) = delete;
  ItemMetrics& operator=(const ItemMetrics&) = delete;
  MetricsSource* get() { return source_; }

 private:
  ItemMetrics(MagickWand* wand, const ItemDrawing& item,
              const std::string& fontKey);
  MagickMetrics magick_;
  CachedMetrics cached_;
  MetricsSource* source_;
};

// Adds the layout's annotations to the drawing.
void Annotate(const ItemDrawing& item, const Layout& layout);

// The finish both renderers share: renders the drawing onto the image
// `renderCount` times, then adds the drop shadow.
void FinishItem(MagickWand* wand, const ItemDrawing& item,
                const TextInfo& info, int renderCount);

#endif  // QUILLMARK_RENDER_ITEM_DRAWING_H_
