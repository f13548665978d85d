#include <algorithm>

#include "fonts/font_registry.h"
#include "fonts/font_glyphs.h"
#include "render/draw/renderers.h"
#include "render/typography/typography.h"
#include "render/layout/vertical_layout.h"

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
  return LayOutColumnsTypeset(info, topInset, units, metrics, fontHasGlyph,
                              options.uniformEmShortcut);
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
