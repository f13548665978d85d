#include "render/item_drawing.h"
#include "render/render_options.h"
#include "render/renderers.h"
#include "render/vertical_layout.h"

namespace {

Layout LayOutColumns(const TextInfo& info, float topInset,
                     const std::vector<std::string>& units,
                     MetricsSource* metrics) {
  return LayOutVertical(info, topInset, units, metrics,
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
