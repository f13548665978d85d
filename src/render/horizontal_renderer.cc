#include "render/horizontal_layout.h"
#include "render/item_drawing.h"
#include "render/renderers.h"
#include "render/typography.h"

namespace {

Layout LayOutLines(const TextInfo& info, float topInset,
                   const std::vector<std::string>& units,
                   MetricsSource* metrics) {
  if (UsesTypography(info))
    return LayOutLinesTypeset(info, topInset, units, metrics);
  return LayOutHorizontal(info, topInset, units, metrics);
}

}  // namespace

int drawHorizontalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                        float topInset, float translateX, float translateY) {
  return DrawItem(wand, info, createCanvas, topInset, translateX, translateY,
                  LayOutLines, 1);
}
