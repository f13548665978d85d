#ifndef QUILLMARK_RENDER_MAGICK_METRICS_H_
#define QUILLMARK_RENDER_MAGICK_METRICS_H_

#include <MagickWand/MagickWand.h>

#include "render/font_metrics.h"

// Measures with MagickQueryFontMetrics under a drawing wand's font, size and
// stroke, for the canvas wand's image. Setting the size goes through
// DrawSetFontSize, so the drawing commands get it too.
class MagickMetrics : public MetricsSource {
 public:
  MagickMetrics(MagickWand* wand, DrawingWand* drawing)
      : wand_(wand), drawing_(drawing) {}
  void SetFontSize(int size) override;
  bool Measure(const std::string& text, FontMetrics* out) override;

 private:
  MagickWand* wand_;
  DrawingWand* drawing_;
};

#endif  // QUILLMARK_RENDER_MAGICK_METRICS_H_
