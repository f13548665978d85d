#ifndef QUILLMARK_RENDER_DRAW_STROKE_SHADOW_H_
#define QUILLMARK_RENDER_DRAW_STROKE_SHADOW_H_

#include <MagickWand/MagickWand.h>

#include <cstdint>
#include <string>

#include "job/text_info.h"
#include "util/status.h"

// Gives the drawing wand the item's outline: its width and colour when both
// are set (width above 0, colour not empty), otherwise width 0.
void SetUpStroke(DrawingWand* drawing, PixelWand* pixel, const TextInfo& info);

// Where the shadow goes, relative to the canvas.
struct ShadowOffset {
  int64_t x;
  int64_t y;
};

// The offset of the drop shadow: the distance along the angle (degrees,
// with 3.14159 for pi), truncated toward zero, with x mirrored, then moved
// back by twice the blur size on both axes. Angle 0 throws the shadow to
// the left, 90 downwards.
ShadowOffset ComputeShadowOffset(int distance, int angleDegrees,
                                 int shadowSize);

// The opacity handed to MagickShadowImage: 255 x shadowAlpha in single
// precision.
double ShadowOpacity(float shadowAlpha);

// Adds the item's drop shadow to the canvas when shadowAlpha and shadowSize
// are both above 0: a blurred copy of everything drawn so far, in the shadow
// colour, composited back at the offset. An error, with ImageMagick's
// account, when a step failed and the canvas lacks its shadow.
Status AddDropShadow(MagickWand* canvas, PixelWand* pixel,
                     const TextInfo& info);

#endif  // QUILLMARK_RENDER_DRAW_STROKE_SHADOW_H_
