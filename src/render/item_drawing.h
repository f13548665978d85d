#ifndef QUILLMARK_RENDER_ITEM_DRAWING_H_
#define QUILLMARK_RENDER_ITEM_DRAWING_H_

#include <MagickWand/MagickWand.h>

#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/annotation.h"
#include "render/font_metrics.h"

// A layout: the units of an item's text placed under the given metrics.
using ItemLayout = Layout (*)(const TextInfo& info, float topInset,
                              const std::vector<std::string>& units,
                              MetricsSource* metrics);

// One renderer call, the same for both renderers but for the layout and
// how many times the drawing is rendered onto the image:
//  1. set-up: a drawing wand and a pixel wand; the transparent canvas when
//     `createCanvas` is set; the translation, fill colour, font file, font
//     size and outline;
//  2. the text cut into units and laid out, measured through the run's
//     metrics cache (or straight from ImageMagick when reuse is off);
//  3. one annotation per placed text;
//  4. the drawing rendered onto the image `renderCount` times, then the
//     drop shadow.
// Returns kRenderFontUnreadable when the font gave no metrics.
int DrawItem(MagickWand* wand, const TextInfo& info, bool createCanvas,
             float topInset, float translateX, float translateY,
             ItemLayout layOut, int renderCount);

#endif  // QUILLMARK_RENDER_ITEM_DRAWING_H_
