#include "render/draw/shaped_renderer.h"

#include "render/draw/stroke_shadow.h"
#include "render/magick/errors.h"
#include "render/magick/handles.h"

void DrawShapedItem(MagickWand* wand, const TextInfo& info,
                    const FontChainFiles& files, const RendererCall& call,
                    RenderContext* context, ItemResult* result,
                    ShapedFindings* findings) {
  const bool layoutOnly = context->options.layoutOnly;
  DrawingWandPtr drawing(NewDrawingWand());
  PixelWandPtr pixel(NewPixelWand());
  if (call.createCanvas) {
    PixelSetColor(pixel.get(), "none");
    const size_t width = layoutOnly ? 1 : static_cast<size_t>(info.canvasWidth);
    const size_t height =
        layoutOnly ? 1 : static_cast<size_t>(info.canvasHeight);
    if (MagickNewImage(wand, width, height, pixel.get()) == MagickFalse) {
      result->magick = Status::Error(
          WandFailure(wand, "the canvas image could not be created"));
      return;
    }
    MagickSetSize(wand, width, height);
  }
  DrawTranslate(drawing.get(), call.translateX, call.translateY);
  PixelSetColor(pixel.get(), info.fillColor.c_str());
  DrawSetFillColor(drawing.get(), pixel.get());
  SetUpStroke(drawing.get(), pixel.get(), info);
  // Glyph outlines are filled by the nonzero rule and stroked with round
  // joins, as ImageMagick strokes the outlines of the glyphs it draws.
  DrawSetFillRule(drawing.get(), NonZeroRule);
  DrawSetStrokeLineJoin(drawing.get(), RoundJoin);
  if (MagickGetNumberImages(wand) == 0) {
    result->magick =
        Status::Error(WandFailure(wand, "the wand holds no image"));
    return;
  }

  TextEngine* engine = &context->text;
  const FontChain chain = OpenChain(engine, files);
  if (!chain.primaryOpened) {
    result->layout.metricsFailed = true;
    result->fontUnreadable = true;
    return;
  }
  std::vector<ColourGlyph> colour;
  const ShapedTarget target{layoutOnly ? nullptr : drawing.get(), &colour};
  if (info.direction == 0)
    AddShapedLines(info, call.topInset, engine, chain, result, findings,
                   target);
  else
    AddShapedColumns(info, call.topInset, engine, chain, result, findings,
                     target);
  if (layoutOnly)
    return;
  if (MagickDrawImage(wand, drawing.get()) == MagickFalse) {
    result->magick =
        Status::Error(WandFailure(wand, "the text could not be drawn"));
    return;
  }
  // Colour glyphs have no outline: the pass that draws the fill again over
  // the outline leaves them as the first pass drew them.
  std::string colourFailure;
  if (call.createCanvas &&
      !CompositeColourGlyphs(wand, colour, call.translateX, call.translateY,
                             &colourFailure)) {
    result->magick = Status::Error(colourFailure);
    return;
  }
  result->magick = AddDropShadow(wand, pixel.get(), info);
}
