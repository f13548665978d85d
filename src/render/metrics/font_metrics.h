#ifndef QUILLMARK_RENDER_METRICS_FONT_METRICS_H_
#define QUILLMARK_RENDER_METRICS_FONT_METRICS_H_

#include <string>

// The 13 numbers that MagickQueryFontMetrics returns for a text, in its
// order. `charWidth` and `charHeight` are the font's pixels per em.
struct FontMetrics {
  double charWidth;
  double charHeight;
  double ascender;
  double descender;
  double textW;
  double textH;
  double maxHori;
  double bx1;
  double by1;
  double bx2;
  double by2;
  double originX;
  double originY;
};

// Where the layouts get their measurements from: a font, the size last set,
// and whatever else the drawing set-up put in force. The layouts are plain
// functions over this interface, so tests can feed them made-up metrics.
class MetricsSource {
 public:
  virtual ~MetricsSource() = default;
  // Makes `size` the font size of the measurements that follow.
  virtual void SetFontSize(int size) = 0;
  // Measures `text`. False when no metrics came back (the font cannot be
  // read); the layout then stops.
  virtual bool Measure(const std::string& text, FontMetrics* out) = 0;
};

#endif  // QUILLMARK_RENDER_METRICS_FONT_METRICS_H_
