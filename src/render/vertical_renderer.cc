#include <algorithm>

#include "fonts/font_registry.h"
#include "render/font_glyphs.h"
#include "render/item_drawing.h"
#include "render/render_options.h"
#include "render/renderers.h"
#include "render/typography.h"
#include "render/vertical_layout.h"

namespace {

Layout LayOutColumns(const TextInfo& info, float topInset,
                     const std::vector<std::string>& units,
                     MetricsSource* metrics) {
  if (!UsesTypography(info))
    return LayOutVertical(info, topInset, units, metrics,
                          renderOptions.uniformEmShortcut);
  std::vector<char32_t> forms;
  if (info.verticalForms)
    forms = CharactersWithGlyphs(GetFont(info.fontName.c_str()),
                                 VerticalPresentationForms());
  auto fontHasGlyph = [&forms](char32_t c) {
    return std::binary_search(forms.begin(), forms.end(), c);
  };
  return LayOutColumnsTypeset(info, topInset, units, metrics, fontHasGlyph,
                              renderOptions.uniformEmShortcut);
}

}  // namespace

int drawVerticalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                      float topInset, float translateX, float translateY) {
  // The vertical renderer renders its drawing twice: every glyph is
  // composited two times, which makes soft edges more opaque.
  return DrawItem(wand, info, createCanvas, topInset, translateX, translateY,
                  LayOutColumns, 2);
}
