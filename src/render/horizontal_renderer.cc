#include "render/horizontal_layout.h"
#include "render/item_drawing.h"
#include "render/renderers.h"

int drawHorizontalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                        float topInset, float translateX, float translateY) {
  return DrawItem(wand, info, createCanvas, topInset, translateX, translateY,
                  LayOutHorizontal, 1);
}
