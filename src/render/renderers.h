#ifndef QUILLMARK_RENDER_RENDERERS_H_
#define QUILLMARK_RENDER_RENDERERS_H_

#include <MagickWand/MagickWand.h>

#include "job/text_info.h"

// What a renderer call reports to the driver.
constexpr int kRenderDone = 0;
// The font gave no metrics: nothing was laid out, and the image must not be
// passed off as the item's.
constexpr int kRenderFontUnreadable = 1;

// Draws `info`'s text item onto the wand's current image: in horizontal
// lines, and in vertical columns from right to left. With `createCanvas`,
// a transparent image of the canvas size is added first. `topInset` pads
// the top of the area (and, vertically, every cell); the translation shifts
// everything the call draws.
int drawHorizontalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                        float topInset, float translateX, float translateY);
int drawVerticalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                      float topInset, float translateX, float translateY);

#endif  // QUILLMARK_RENDER_RENDERERS_H_
