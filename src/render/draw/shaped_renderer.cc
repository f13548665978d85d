#include "render/draw/shaped_renderer.h"

#include "render/draw/stroke_shadow.h"
#include "render/magick/errors.h"
#include "render/magick/handles.h"
#include "render/text/engine_metrics.h"
#include "render/text/glyph_drawing.h"
#include "render/text/shaped_layout.h"

namespace {

ParagraphDirection Requested(const TextInfo& info) {
  if (info.bidi == kBidiLtr)
    return ParagraphDirection::kLtr;
  if (info.bidi == kBidiRtl)
    return ParagraphDirection::kRtl;
  return ParagraphDirection::kFromText;
}

}  // namespace

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
  const Itemized paragraph = ItemizeText(chain, info.text, Requested(info));
  std::vector<std::string> clusters;
  for (const TextCluster& c : paragraph.clusters)
    clusters.push_back(paragraph.text.substr(c.begin, c.end - c.begin));
  ShapeSettings settings;
  settings.direction =
      paragraph.rtl ? ParagraphDirection::kRtl : ParagraphDirection::kLtr;
  settings.language = info.language;
  EngineMetrics metrics(engine, chain, settings, clusters);
  result->layout = LayOutShapedLines(info, paragraph.rtl, call.topInset,
                                     clusters, &metrics);
  const int pixels = result->layout.fontSize;
  const std::vector<EngineFont*>& fonts = chain.fonts;
  findings->missingGlyphs = MissingCharacters(
      paragraph, static_cast<int>(fonts.size()),
      [&fonts](int font, char32_t c) {
        return fonts[static_cast<size_t>(font)]->Covers(c);
      });

  std::vector<ColourGlyph> colour;
  for (const Annotation& a : result->layout.annotations) {
    const ShapedLine& line = ShapeText(engine, chain, settings, pixels, a.text);
    std::vector<PlacedRun> runs;
    for (const LineRun& run : line.runs)
      runs.push_back({a.text.substr(run.begin, run.end - run.begin),
                      chain.names[static_cast<size_t>(run.font)],
                      a.x + run.x / 64.0, a.y});
    findings->runs.push_back(std::move(runs));
    if (!layoutOnly)
      AddLinePath(drawing.get(), engine, chain, line, pixels, a.x, a.y,
                  &colour);
  }
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
