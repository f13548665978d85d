#include "render/text/glyph_drawing.h"

#include <cmath>

#include "render/magick/errors.h"
#include "render/magick/handles.h"

namespace {

// The largest colour glyph side composited, in pixels.
constexpr double kMaxColourSide = 8192;

}  // namespace

void AddLinePath(DrawingWand* drawing, TextEngine* engine,
                 const FontChain& chain, const ShapedLine& line, int pixels,
                 double x, double y, std::vector<ColourGlyph>* colour) {
  bool started = false;
  for (const LineGlyph& g : line.glyphs) {
    if (g.invisible)
      continue;
    EngineFont* font = chain.fonts[static_cast<size_t>(g.font)];
    const GlyphShape& shape = engine->glyphs.Get(font, g.glyph);
    const double ox = x + g.x / 64.0;
    const double oy = y - g.y / 64.0;
    if (shape.colour) {
      colour->push_back({&shape.bitmap, ox, oy, pixels / shape.bitmap.ppem});
      continue;
    }
    if (shape.outline.empty())
      continue;
    if (!started) {
      DrawPathStart(drawing);
      started = true;
    }
    const double s = static_cast<double>(pixels) / font->unitsPerEm;
    auto px = [&](float v) { return ox + v * s; };
    auto py = [&](float v) { return oy - v * s; };
    for (const PathStep& step : shape.outline) {
      switch (step.op) {
        case 'M':
          DrawPathMoveToAbsolute(drawing, px(step.x[0]), py(step.y[0]));
          break;
        case 'L':
          DrawPathLineToAbsolute(drawing, px(step.x[0]), py(step.y[0]));
          break;
        case 'Q':
          DrawPathCurveToQuadraticBezierAbsolute(
              drawing, px(step.x[0]), py(step.y[0]), px(step.x[1]),
              py(step.y[1]));
          break;
        case 'C':
          DrawPathCurveToAbsolute(drawing, px(step.x[0]), py(step.y[0]),
                                  px(step.x[1]), py(step.y[1]),
                                  px(step.x[2]), py(step.y[2]));
          break;
        default:
          DrawPathClose(drawing);
          break;
      }
    }
  }
  if (started)
    DrawPathFinish(drawing);
}

bool CompositeColourGlyphs(MagickWand* canvas,
                           const std::vector<ColourGlyph>& glyphs, double dx,
                           double dy, std::string* failure) {
  for (const ColourGlyph& g : glyphs) {
    const ColourBitmap& b = *g.bitmap;
    const double width = std::round(b.width * g.scale);
    const double height = std::round(b.height * g.scale);
    if (!(width >= 1 && height >= 1 && width <= kMaxColourSide &&
          height <= kMaxColourSide))
      continue;
    const double left = g.x + dx + b.left * g.scale;
    const double top = g.y + dy - b.top * g.scale;
    if (!(std::fabs(left) < 1e9 && std::fabs(top) < 1e9))
      continue;
    MagickWandPtr glyph(NewMagickWand());
    if (!glyph ||
        MagickConstituteImage(glyph.get(), static_cast<size_t>(b.width),
                              static_cast<size_t>(b.height), "RGBA",
                              CharPixel, b.rgba.data()) == MagickFalse ||
        MagickResizeImage(glyph.get(), static_cast<size_t>(width),
                          static_cast<size_t>(height),
                          TriangleFilter) == MagickFalse) {
      *failure = WandFailure(glyph ? glyph.get() : canvas,
                             "a colour glyph could not be made");
      return false;
    }
    if (MagickCompositeImage(canvas, glyph.get(), OverCompositeOp, MagickTrue,
                             static_cast<ssize_t>(std::lround(left)),
                             static_cast<ssize_t>(std::lround(top))) ==
        MagickFalse) {
      *failure = WandFailure(canvas, "a colour glyph could not be drawn");
      return false;
    }
  }
  return true;
}
