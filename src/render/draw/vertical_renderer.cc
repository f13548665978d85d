#include <algorithm>

#include "fonts/font_file.h"
#include "fonts/font_glyphs.h"
#include "render/draw/renderers.h"
#include "render/layout/vertical_layout.h"
#include "render/typography/typography.h"

namespace {

Layout LayOutColumns(const TextInfo& info, const std::string& fontFile,
                     float topInset, const std::vector<std::string>& units,
                     MetricsSource* metrics, RenderContext* context) {
  const RenderOptions& options = context->options;
  if (!UsesTypography(info))
    return LayOutVertical(info, topInset, units, metrics,
                          options.uniformEmShortcut);
  std::vector<char32_t> forms;
  if (info.verticalForms)
    forms = CharactersWithGlyphs(&context->faces, FontFileKey(fontFile),
                                 VerticalPresentationForms());
  auto fontHasGlyph = [&forms](char32_t c) {
    return std::binary_search(forms.begin(), forms.end(), c);
  };
  return LayOutColumnsTypeset(info, topInset, units, metrics, fontHasGlyph,
                              options.uniformEmShortcut);
}

}  // namespace

void DrawVerticalItem(MagickWand* wand, const TextInfo& info,
                      const std::string& fontFile, const RendererCall& call,
                      RenderContext* context, ItemResult* result) {
  ItemSetup setup;
  if (!StartItem(wand, info, fontFile, call, context, &setup, result))
    return;
  Layout layout = LayOutColumns(info, fontFile, call.topInset, setup.units,
                                setup.metrics->source(), context);
  // Deliberate: the vertical renderer renders its drawing twice, so every
  // glyph is composited two times and soft edges come out more opaque.
  // Existing images depend on it.
  FinishItem(wand, &setup, info, call, 2, context, std::move(layout), result);
}

int drawVerticalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                      float topInset, float translateX, float translateY) {
  return CallRenderer(DrawVerticalItem, wand, info,
                      {createCanvas, topInset, translateX, translateY});
}
