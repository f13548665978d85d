#ifndef QUILLMARK_RENDER_TEXT_GLYPH_DRAWING_H_
#define QUILLMARK_RENDER_TEXT_GLYPH_DRAWING_H_

#include <MagickWand/MagickWand.h>

#include <string>
#include <vector>

#include "render/text/text_engine.h"

// A colour glyph to composite onto the canvas once the outlines are drawn.
struct ColourGlyph {
  const ColourBitmap* bitmap;  // owned by the engine's glyph cache
  double x;                    // the glyph's origin, in canvas pixels
  double y;
  double scale;                // from the bitmap's size to the run's
};

// Adds the outlines of `line`'s glyphs, drawn with its origin at (x, y),
// to the drawing as one path: the drawing's fill and stroke then paint
// them as they paint any path. Colour glyphs are not part of the path; they
// are appended to *colour. `turned` turns the line by 90 degrees clockwise
// about its origin, its baseline running down (colour glyphs are placed
// there upright).
void AddLinePath(DrawingWand* drawing, TextEngine* engine,
                 const FontChain& chain, const ShapedLine& line, int pixels,
                 double x, double y, std::vector<ColourGlyph>* colour,
                 bool turned = false);

// Composites the colour glyphs onto the canvas's current image, shifted by
// (dx, dy). False, with ImageMagick's account in *failure, when one could
// not be made or composited.
bool CompositeColourGlyphs(MagickWand* canvas,
                           const std::vector<ColourGlyph>& glyphs, double dx,
                           double dy, std::string* failure);

#endif  // QUILLMARK_RENDER_TEXT_GLYPH_DRAWING_H_
