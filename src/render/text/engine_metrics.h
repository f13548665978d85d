#ifndef QUILLMARK_RENDER_TEXT_ENGINE_METRICS_H_
#define QUILLMARK_RENDER_TEXT_ENGINE_METRICS_H_

#include <string>
#include <vector>

#include "render/metrics/font_metrics.h"
#include "render/text/text_engine.h"

// The layouts' measurements, taken from the engine's shaping. The layouts
// measure an item's units (here its grapheme clusters) one by one in text
// order, then whole lines. A cluster measured in its turn gets its advance
// as shaped within the whole paragraph, so that joining scripts are
// measured joined; anything else is shaped on its own as one line.
//
// Numbers in pixels: textW the advance, textH the first font's line height
// (ascender - descender + line gap), by2 the ink's top above the baseline,
// ascender and descender the first font's, charWidth and charHeight the
// size.
class EngineMetrics : public MetricsSource {
 public:
  // `clusters` are the item's units, in order, which together make the
  // paragraph's text; `chain` holds at least one font.
  EngineMetrics(TextEngine* engine, const FontChain& chain,
                const ShapeSettings& settings,
                const std::vector<std::string>& clusters);

  void SetFontSize(int size) override;
  bool Measure(const std::string& text, FontMetrics* out) override;

 private:
  FontMetrics Base() const;
  int32_t InkTop(const ShapedLine& line) const;
  const std::vector<FontMetrics>& ClusterMetrics();

  TextEngine* engine_;
  const FontChain& chain_;
  ShapeSettings settings_;
  const std::vector<std::string>& clusters_;
  std::string paragraph_;
  int size_ = 0;
  size_t next_ = 0;  // the cluster expected next
  int metricsSize_ = 0;  // the size of `clusterMetrics_`; 0: none yet
  std::vector<FontMetrics> clusterMetrics_;
};

// The vertical layout's measurements for shaped text: every cluster takes
// one em cell, whatever its glyphs, since the engine draws each cluster
// shaped top to bottom from the cell's top centre, where the font's
// vertical metrics put its glyphs. The ink box is the em box (bx1 0, bx2
// and charWidth the size, by2 0 and by1 minus the size), so the vertical
// layout centres the cell in the column and puts its top at the top of the
// cell's room. Ascender and descender are the first font's.
class EngineColumnMetrics : public MetricsSource {
 public:
  explicit EngineColumnMetrics(const FontChain& chain) : chain_(chain) {}

  void SetFontSize(int size) override;
  bool Measure(const std::string& text, FontMetrics* out) override;

 private:
  const FontChain& chain_;
  int size_ = 1;
};

#endif  // QUILLMARK_RENDER_TEXT_ENGINE_METRICS_H_
