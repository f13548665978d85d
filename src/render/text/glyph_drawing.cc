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
                 double x, double y, std::vector<ColourGlyph>* colour,
                 bool turned) {
  for (const LineGlyph& g : line.glyphs) {
    if (g.invisible)
      continue;
    EngineFont* font = chain.fonts[static_cast<size_t>(g.font)];
    const GlyphShape& shape = engine->glyphs.Get(font, g.glyph);
    // The glyph's origin on the canvas; a point of its outline lies from
    // there `along` the baseline and `up` from it, in pixels.
    const double ox = turned ? x + g.y / 64.0 : x + g.x / 64.0;
    const double oy = turned ? y + g.x / 64.0 : y - g.y / 64.0;
    if (shape.colour) {
      colour->push_back({&shape.bitmap, ox, oy, pixels / shape.bitmap.ppem});
      continue;
    }
    if (shape.outline.empty())
      continue;
    // A path of its own for each glyph: ImageMagick fills a path by
    // testing every pixel of its bounds against its edges, so one path for
    // a whole line costs the line's area times its edges.
    DrawPathStart(drawing);
    const double s = static_cast<double>(pixels) / font->unitsPerEm;
    double px[3];
    double py[3];
    for (const PathStep& step : shape.outline) {
      const int points = step.op == 'C'   ? 3
                         : step.op == 'Q' ? 2
                         : step.op == 'M' || step.op == 'L' ? 1
                                                            : 0;
      for (int i = 0; i < points; ++i) {
        px[i] = turned ? ox + step.y[i] * s : ox + step.x[i] * s;
        py[i] = turned ? oy + step.x[i] * s : oy - step.y[i] * s;
      }
      switch (step.op) {
        case 'M':
          DrawPathMoveToAbsolute(drawing, px[0], py[0]);
          break;
        case 'L':
          DrawPathLineToAbsolute(drawing, px[0], py[0]);
          break;
        case 'Q':
          DrawPathCurveToQuadraticBezierAbsolute(drawing, px[0], py[0], px[1],
                                                 py[1]);
          break;
        case 'C':
          DrawPathCurveToAbsolute(drawing, px[0], py[0], px[1], py[1], px[2],
                                  py[2]);
          break;
        default:
          DrawPathClose(drawing);
          break;
      }
    }
    DrawPathFinish(drawing);
  }
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
