#include <algorithm>
#include <memory>

#include "fonts/font_file.h"
#include "fonts/font_glyphs.h"
#include "render/draw/renderers.h"
#include "render/layout/vertical_layout.h"
#include "render/typography/typography.h"
#include "util/utf8.h"

namespace {

Layout LayOutColumns(const TextInfo& info, const std::string& fontFile,
                     float topInset, const std::vector<std::string>& units,
                     MetricsSource* metrics, RenderContext* context) {
  const RenderOptions& options = context->options;
  if (!UsesTypography(info))
    return LayOutVertical(info, topInset, units, metrics,
                          options.uniformEmShortcut);
  const std::string fontKey = FontFileKey(fontFile);
  std::vector<char32_t> forms;
  if (info.verticalForms)
    forms = CharactersWithGlyphs(&context->faces, fontKey,
                                 VerticalPresentationForms());
  auto fontHasGlyph = [&forms](char32_t c) {
    return std::binary_search(forms.begin(), forms.end(), c);
  };
  // "valign" places the glyphs' own ink, not ImageMagick's bounds.
  std::unique_ptr<GlyphOutlineBoxes> outlines;
  GlyphInk glyphInk = nullptr;
  if (info.blockAlign == 1 || info.blockAlign == 2) {
    outlines = std::make_unique<GlyphOutlineBoxes>(&context->faces, fontKey);
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
