#include "render/layout/horizontal_layout.h"
#include "render/draw/renderers.h"
#include "render/typography/typography.h"

namespace {

Layout LayOutLines(const TextInfo& info, float topInset,
                   const std::vector<std::string>& units,
                   MetricsSource* metrics, const RenderOptions&) {
  if (UsesTypography(info))
    return LayOutLinesTypeset(info, topInset, units, metrics);
  return LayOutHorizontal(info, topInset, units, metrics);
}

}  // namespace

void DrawHorizontalItem(MagickWand* wand, const TextInfo& info,
                        const RendererCall& call, RenderContext* context,
                        ItemResult* result) {
  DrawItem(wand, info, call, LayOutLines, 1, context, result);
}

int drawHorizontalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                        float topInset, float translateX, float translateY) {
  return CallRenderer(DrawHorizontalItem, wand, info,
                      {createCanvas, topInset, translateX, translateY});
}
