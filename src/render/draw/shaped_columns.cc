#include "render/draw/shaped_text.h"
#include "render/text/engine_metrics.h"
#include "render/text/shaped_layout.h"
#include "render/typography/vertical_forms.h"

namespace {

bool SameGlyphs(const ShapedLine& a, const ShapedLine& b) {
  if (a.glyphs.size() != b.glyphs.size())
    return false;
  for (size_t i = 0; i < a.glyphs.size(); ++i)
    if (a.glyphs[i].glyph != b.glyphs[i].glyph ||
        a.glyphs[i].font != b.glyphs[i].font)
      return false;
  return true;
}

// A cluster as drawn: its shaped glyphs (a copy: a later ShapeText may
// empty the engine's cache), and whether they lie turned.
struct DrawnCluster {
  ShapedLine line;
  bool turned;
};

class ColumnShaper {
 public:
  ColumnShaper(const TextInfo& info, TextEngine* engine, const FontChain& chain,
               int pixels)
      : info_(info), engine_(engine), chain_(chain), pixels_(pixels),
        forms_([&chain](char32_t c) { return chain.fonts.front()->HasGlyph(c); }) {
    across_.direction = ParagraphDirection::kLtr;
    across_.language = info.language;
    down_ = across_;
    down_.vertical = true;
  }

  // "vertical_forms": the font's vertical glyphs (its "vert" feature) come
  // first; a cluster they leave as it is takes its Unicode presentation
  // form when the first font has one, or else is turned where the plain
  // vertical layout turns it.
  DrawnCluster Shape(const std::string& cluster) {
    ShapedLine upright = Down(cluster);
    if (!info_.verticalForms || !SameGlyphs(upright, Across(cluster)))
      return {std::move(upright), false};
    const std::string form = forms_.Upright(cluster);
    if (form != cluster)
      return {Down(form), false};
    if (forms_.Turned(cluster))
      return {Across(cluster), true};
    return {std::move(upright), false};
  }

  // Half the ascender plus the descender of the font that draws `line`:
  // how far left of the column's middle a turned line's baseline lies.
  double TurnedShift(const ShapedLine& line) const {
    const int font = line.runs.empty() ? 0 : line.runs.front().font;
    EngineFont* f = chain_.fonts[static_cast<size_t>(font)];
    f->SetSize(pixels_);
    hb_font_extents_t extents{};
    hb_font_get_h_extents(f->hb.get(), &extents);
    return (extents.ascender + extents.descender) / 64.0 * 0.5;
  }

 private:
  const ShapedLine& Down(const std::string& text) {
    return ShapeText(engine_, chain_, down_, pixels_, text);
  }
  const ShapedLine& Across(const std::string& text) {
    return ShapeText(engine_, chain_, across_, pixels_, text);
  }

  const TextInfo& info_;
  TextEngine* engine_;
  const FontChain& chain_;
  int pixels_;
  VerticalForms forms_;
  ShapeSettings across_;
  ShapeSettings down_;
};

// Adds the annotation's cluster to its column's runs: to the last run when
// the same font draws it, else as a new run.
void AddToRuns(const Annotation& a, const std::string& font,
               std::vector<PlacedRun>* runs) {
  if (!runs->empty() && runs->back().font == font) {
    runs->back().text += a.text;
    return;
  }
  runs->push_back({a.text, font, a.x, a.y});
}

}  // namespace

void AddShapedColumns(const TextInfo& info, float topInset,
                      TextEngine* engine, const FontChain& chain,
                      ItemResult* result, ShapedFindings* findings,
                      const ShapedTarget& target) {
  const Itemized text =
      ItemizeText(chain, info.text, ParagraphDirection::kLtr);
  std::vector<std::string> clusters;
  for (const TextCluster& c : text.clusters)
    clusters.push_back(text.text.substr(c.begin, c.end - c.begin));
  EngineColumnMetrics metrics(chain);
  result->layout = LayOutShapedColumns(info, topInset, clusters, &metrics);
  const Layout& layout = result->layout;
  const int pixels = layout.fontSize;
  const std::vector<EngineFont*>& fonts = chain.fonts;
  findings->missingGlyphs = MissingCharacters(
      text, static_cast<int>(fonts.size()), [&fonts](int font, char32_t c) {
        return fonts[static_cast<size_t>(font)]->Covers(c);
      });

  ColumnShaper shaper(info, engine, chain, pixels);
  size_t column = 0;     // the column of layout.lines being filled
  size_t columnBytes = 0;
  std::vector<PlacedRun> runs;
  for (const Annotation& a : layout.annotations) {
    const DrawnCluster drawn = shaper.Shape(a.text);
    const int font =
        drawn.line.runs.empty() ? 0 : drawn.line.runs.front().font;
    AddToRuns(a, chain.names[static_cast<size_t>(font)], &runs);
    columnBytes += a.text.size();
    if (column < layout.lines.size() &&
        columnBytes >= layout.lines[column].text.size()) {
      findings->runs.push_back(std::move(runs));
      runs.clear();
      columnBytes = 0;
      ++column;
    }
    if (target.drawing == nullptr)
      continue;
    const double middle = a.x + pixels * 0.5;
    if (drawn.turned)
      AddLinePath(target.drawing, engine, chain, drawn.line, pixels,
                  middle - shaper.TurnedShift(drawn.line), a.y, target.colour,
                  true);
    else
      AddLinePath(target.drawing, engine, chain, drawn.line, pixels, middle,
                  a.y, target.colour);
  }
  if (!runs.empty())
    findings->runs.push_back(std::move(runs));
}
