#include "render/text/engine_metrics.h"

#include <algorithm>

#include "render/text/text_engine.h"

namespace {

// The largest size the engine shapes at; larger sizes measure as this one.
constexpr int kMaxPixels = 16384;

double Px(int32_t v) { return v / 64.0; }

// What every measurement at `size` shares: the size as the em, and the
// first font's ascender, descender and line height.
FontMetrics EmMetrics(const FontChain& chain, int size) {
  FontMetrics m{};
  m.charWidth = size;
  m.charHeight = size;
  EngineFont* first = chain.fonts.front();
  first->SetSize(size);
  hb_font_extents_t extents{};
  hb_font_get_h_extents(first->hb.get(), &extents);
  m.ascender = Px(extents.ascender);
  m.descender = Px(extents.descender);
  m.textH = Px(extents.ascender - extents.descender + extents.line_gap);
  return m;
}

}  // namespace

EngineMetrics::EngineMetrics(TextEngine* engine, const FontChain& chain,
                             const ShapeSettings& settings,
                             const std::vector<std::string>& clusters)
    : engine_(engine), chain_(chain), settings_(settings),
      clusters_(clusters) {
  for (const std::string& c : clusters)
    paragraph_ += c;
}

void EngineMetrics::SetFontSize(int size) {
  size_ = std::min(std::max(size, 1), kMaxPixels);
  next_ = 0;
}

FontMetrics EngineMetrics::Base() const { return EmMetrics(chain_, size_); }

int32_t EngineMetrics::InkTop(const ShapedLine& line) const {
  int32_t top = 0;
  for (const LineGlyph& g : line.glyphs) {
    if (g.invisible)
      continue;
    EngineFont* font = chain_.fonts[static_cast<size_t>(g.font)];
    font->SetSize(size_);
    hb_glyph_extents_t extents{};
    if (hb_font_get_glyph_extents(font->hb.get(), g.glyph, &extents))
      top = std::max(top, extents.y_bearing + g.y);
  }
  return top;
}

const std::vector<FontMetrics>& EngineMetrics::ClusterMetrics() {
  // Fitting only goes down: the metrics of one size at a time are kept.
  std::vector<FontMetrics>& metrics = clusterMetrics_;
  if (metricsSize_ == size_)
    return metrics;
  metricsSize_ = size_;
  const ShapedLine& line =
      ShapeText(engine_, chain_, settings_, size_, paragraph_);
  std::vector<size_t> starts;  // byte offset of each cluster
  size_t at = 0;
  for (const std::string& c : clusters_) {
    starts.push_back(at);
    at += c.size();
  }
  const FontMetrics base = Base();
  metrics.assign(clusters_.size(), base);
  std::vector<int32_t> width(clusters_.size(), 0);
  std::vector<int32_t> top(clusters_.size(), 0);
  for (const LineGlyph& g : line.glyphs) {
    auto it = std::upper_bound(starts.begin(), starts.end(), g.cluster);
    if (it == starts.begin())
      continue;
    const size_t k = static_cast<size_t>(it - starts.begin()) - 1;
    width[k] += g.advance;
    if (!g.invisible) {
      EngineFont* font = chain_.fonts[static_cast<size_t>(g.font)];
      font->SetSize(size_);
      hb_glyph_extents_t extents{};
      if (hb_font_get_glyph_extents(font->hb.get(), g.glyph, &extents))
        top[k] = std::max(top[k], extents.y_bearing + g.y);
    }
  }
  for (size_t k = 0; k < metrics.size(); ++k) {
    metrics[k].textW = Px(width[k]);
    metrics[k].maxHori = metrics[k].textW;
    metrics[k].bx2 = metrics[k].textW;
    metrics[k].by2 = Px(top[k]);
    metrics[k].originX = metrics[k].textW;
  }
  return metrics;
}

bool EngineMetrics::Measure(const std::string& text, FontMetrics* out) {
  if (size_ <= 0)
    SetFontSize(1);
  if (next_ < clusters_.size() && text == clusters_[next_]) {
    *out = ClusterMetrics()[next_++];
    return true;
  }
  const ShapedLine& line = ShapeText(engine_, chain_, settings_, size_, text);
  *out = Base();
  out->textW = Px(line.width);
  out->maxHori = out->textW;
  out->bx2 = out->textW;
  out->by2 = Px(InkTop(line));
  out->originX = out->textW;
  return true;
}

void EngineColumnMetrics::SetFontSize(int size) {
  size_ = std::min(std::max(size, 1), kMaxPixels);
}

bool EngineColumnMetrics::Measure(const std::string& text, FontMetrics* out) {
  (void)text;
  FontMetrics m = EmMetrics(chain_, size_);
  m.textW = size_;
  m.maxHori = size_;
  m.bx2 = size_;
  m.by1 = -size_;
  m.originX = size_;
  *out = m;
  return true;
}
