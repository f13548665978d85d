#ifndef QUILLMARK_RENDER_METRICS_MAGICK_METRICS_H_
#define QUILLMARK_RENDER_METRICS_MAGICK_METRICS_H_

#include <MagickWand/MagickWand.h>

#include <cstdint>
#include <string>

#include "render/metrics/font_metrics.h"

// Measures with MagickQueryFontMetrics under a drawing wand's font, size and
// stroke, for the canvas wand's image. Setting the size goes through
// DrawSetFontSize, so the drawing commands get it too. When the drawing
// wand's font is not a readable regular file (`fontReadable` false), nothing
// is measured: ImageMagick would quietly draw with another font, and a FIFO
// would block it.
class MagickMetrics : public MetricsSource {
 public:
  // Each query adds one to *queries, when given.
  MagickMetrics(MagickWand* wand, DrawingWand* drawing, bool fontReadable,
                uint64_t* queries = nullptr)
      : wand_(wand),
        drawing_(drawing),
        fontReadable_(fontReadable),
        queries_(queries) {}
  void SetFontSize(int size) override;
  bool Measure(const std::string& text, FontMetrics* out) override;

 private:
  MagickWand* wand_;
  DrawingWand* drawing_;
  bool fontReadable_;
  uint64_t* queries_;
};

#endif  // QUILLMARK_RENDER_METRICS_MAGICK_METRICS_H_
