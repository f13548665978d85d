#include <string>
#include <vector>

#include "render/horizontal_layout.h"
#include "render/item_drawing.h"
#include "render/renderers.h"
#include "render/split_word.h"

int drawHorizontalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                        float topInset, float translateX, float translateY) {
  ItemDrawing item =
      BeginItem(wand, info, createCanvas, translateX, translateY);
  std::vector<std::string> units;
  splitWord(info.text, units);
  Layout layout;
  if (item.hasImage) {
    ItemMetrics metrics(wand, item);
    layout = LayOutHorizontal(info, topInset, units, metrics.get());
  }
  Annotate(item, layout);
  FinishItem(wand, item, info, 1);
  return layout.metricsFailed ? kRenderFontUnreadable : kRenderDone;
}
