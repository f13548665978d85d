#ifndef QUILLMARK_RENDER_METRICS_EXACT_METRICS_H_
#define QUILLMARK_RENDER_METRICS_EXACT_METRICS_H_

#include <MagickWand/MagickWand.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "render/metrics/font_metrics.h"
#include "render/metrics/freetype_metrics.h"

// The texts measured both ways before a font's FreeType measurements are
// trusted: kerning pairs, ligature candidates, diacritics, CJK and its
// punctuation, an emoji, tab, space, line feed, invalid UTF-8 (read as
// Latin-1), the empty text, missing glyphs and a 40-character line.
const std::vector<std::string>& ExactProbeTexts();

// The size probed besides the first one a font is measured at.
constexpr int kExactProbeSecondSize = 11;

// What exact measuring keeps for a run: the FreeType engine and, per font
// file, whether its answers were proven equal to ImageMagick's. Whoever runs
// the jobs creates one and hands it to every ExactMetrics.
//
// Not thread-safe: a run context holds one, used by one canvas at a time.
class ExactMetricsRun {
 public:
  // Measures with a FreetypeMetrics over `faces` (or faces of its own).
  explicit ExactMetricsRun(FontFaces* faces = nullptr);
  // Measures with `engine` (a test may pass one that disagrees).
  explicit ExactMetricsRun(std::unique_ptr<FreetypeMetrics> engine);

  FreetypeMetrics& engine() { return *engine_; }

  // Whether the engine may answer for the font `fontKey` (FontFileKey) at
  // `pointSize`. The first time a font is asked about at a size the engine
  // accepts, every probe text is measured both ways, at that size and at
  // kExactProbeSecondSize, ImageMagick's side on a drawing wand of its own
  // for `canvas` (which must hold an image). One difference in one bit, or
  // one text the engine declines, and the font is measured by ImageMagick
  // for the rest of the run.
  bool Trusts(const std::string& fontKey, int pointSize, MagickWand* canvas);

  // How many fonts were found trustworthy and how many not.
  int trustedFonts() const { return trusted_; }
  int distrustedFonts() const { return distrusted_; }
  // The MagickQueryFontMetrics calls the probes made.
  uint64_t probeQueries() const { return probeQueries_; }

 private:
  std::unique_ptr<FreetypeMetrics> engine_;
  std::unordered_map<std::string, bool> verdicts_;
  int trusted_ = 0;
  int distrusted_ = 0;
  uint64_t probeQueries_ = 0;
};

// Measures like `fallback` (the MagickMetrics of the drawing), from FreeType
// when the run trusts the font and the engine answers, from `fallback`
// otherwise. Sizes go to `fallback` as well, since its drawing needs them.
// The drawing may set the font, size, colours, stroke and translation, but
// no text kerning, interword spacing, text encoding, density or antialias
// setting, and the canvas must not carry the property type:hinting.
class ExactMetrics : public MetricsSource {
 public:
  // `fontKey` is FontFileKey of the drawing's font: when it is empty (not a
  // readable regular file) nothing is measured by either side.
  ExactMetrics(ExactMetricsRun* run, MetricsSource* fallback,
               MagickWand* canvas, std::string fontKey)
      : run_(run),
        fallback_(fallback),
        canvas_(canvas),
        fontKey_(std::move(fontKey)) {}

  void SetFontSize(int size) override;
  bool Measure(const std::string& text, FontMetrics* out) override;

 private:
  ExactMetricsRun* run_;
  MetricsSource* fallback_;
  MagickWand* canvas_;
  std::string fontKey_;
  int size_ = 0;  // none set yet: the fallback answers
};

#endif  // QUILLMARK_RENDER_METRICS_EXACT_METRICS_H_
