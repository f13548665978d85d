#include <algorithm>
#include <memory>

#include "fonts/font_registry.h"
#include "fonts/font_glyphs.h"
#include "render/draw/renderers.h"
#include "render/typography/typography.h"
#include "render/layout/vertical_layout.h"
#include "util/utf8.h"

namespace {

Layout LayOutColumns(const TextInfo& info, float topInset,
                     const std::vector<std::string>& units,
                     MetricsSource* metrics, const RenderOptions& options) {
  if (!UsesTypography(info))
    return LayOutVertical(info, topInset, units, metrics,
                          options.uniformEmShortcut);
  std::vector<char32_t> forms;
  if (info.verticalForms)
    forms = CharactersWithGlyphs(GetFont(info.fontName.c_str()),
                                 VerticalPresentationForms());
  auto fontHasGlyph = [&forms](char32_t c) {
    return std::binary_search(forms.begin(), forms.end(), c);
  };
  // "valign" places the glyphs' own ink, not ImageMagick's bounds.
  std::unique_ptr<GlyphOutlineBoxes> outlines;
  GlyphInk glyphInk = nullptr;
  if (info.blockAlign == 1 || info.blockAlign == 2) {
    outlines = std::make_unique<GlyphOutlineBoxes>(
        GetFont(info.fontName.c_str()));
    glyphInk = [&outlines](const std::string& unit, int size, InkBox* box) {
      return outlines->Box(UnitCodePoint(unit), size, &box->x1, &box->y1,
                           &box->x2, &box->y2, &box->empty);
    };
  }
  return LayOutColumnsTypeset(info, topInset, units, metrics, fontHasGlyph,
                              options.uniformEmShortcut, glyphInk);
}

}  // namespace

void DrawVerticalItem(MagickWand* wand, const TextInfo& info,
                      const RendererCall& call, RenderContext* context,
                      ItemResult* result) {
  // Deliberate: the vertical renderer renders its drawing twice, so every
  // glyph is composited two times and soft edges come out more opaque.
  // Existing images depend on it.
  DrawItem(wand, info, call, LayOutColumns, 2, context, result);
}

int drawVerticalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                      float topInset, float translateX, float translateY) {
  return CallRenderer(DrawVerticalItem, wand, info,
                      {createCanvas, topInset, translateX, translateY});
}
