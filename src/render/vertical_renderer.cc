#include <string>
#include <vector>

#include "render/item_drawing.h"
#include "render/render_options.h"
#include "render/renderers.h"
#include "render/split_word.h"
#include "render/vertical_layout.h"

int drawVerticalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                      float topInset, float translateX, float translateY) {
  ItemDrawing item =
      BeginItem(wand, info, createCanvas, translateX, translateY);
  std::vector<std::string> units;
  splitWord(info.text, units);
  Layout layout;
  if (item.hasImage) {
    ItemMetrics metrics(wand, item);
    layout = LayOutVertical(info, topInset, units, metrics.get(),
                            renderOptions.uniformEmShortcut);
  }
  Annotate(item, layout);
  // The vertical renderer renders its drawing twice: every glyph is
  // composited two times, which makes soft edges more opaque.
  FinishItem(wand, item, info, 2);
  return layout.metricsFailed ? kRenderFontUnreadable : kRenderDone;
}
