#include "render/draw/item_drawing.h"

#include <cmath>
#include <cstdio>

#include "fonts/font_file.h"
#include "render/magick/errors.h"
#include "render/layout/split_word.h"
#include "render/draw/stroke_shadow.h"

namespace {

// The settings of the drawing wand that the font and size do not cover, as
// the set-up gives them. Floats are written exactly.
std::string DescribeSettings(const TextInfo& info, float translateX,
                             float translateY) {
  char numbers[96];
  bool stroked = info.strokeWidth > 0 && !info.strokeColor.empty();
  snprintf(numbers, sizeof(numbers), "%a %a %a", translateX, translateY,
           stroked ? info.strokeWidth : 0.0f);
  std::string text = numbers;
  text += '\n' + info.fillColor + '\n';
  if (stroked)
    text += info.strokeColor;
  return text;
}

// True when no ink of `a` can reach the canvas: its measured box, moved by
// the call's translation and widened by twice the font size and the outline
// (hinting, antialiasing and the stroke all stay well inside that), lies
// wholly outside the canvas.
bool OffCanvas(const Annotation& a, const TextInfo& info,
               const RendererCall& call, int fontSize) {
  if (!a.bounded)
    return false;
  const double margin = 2.0 * fontSize + std::fabs(info.strokeWidth) + 4;
  return a.right + call.translateX + margin < 0 ||
         a.left + call.translateX - margin > info.canvasWidth ||
         a.bottom + call.translateY + margin < 0 ||
         a.top + call.translateY - margin > info.canvasHeight;
}

}  // namespace

ItemMetrics::ItemMetrics(MagickWand* wand, DrawingWand* drawing,
                         const TextInfo& info, const RendererCall& call,
                         const std::string& fontFile, RenderContext* context)
    : readable_(IsReadableFontFile(fontFile)),
      fontKey_(readable_ ? FontFileKey(fontFile) : ""),
      magick_(wand, drawing, readable_, &context->magickQueries),
      exact_(&context->exact, &magick_, wand, fontKey_),
      cached_(context->options.exactMetrics
                  ? static_cast<MetricsSource*>(&exact_)
                  : &magick_,
              &context->metricsCache, fontKey_,
              fontKey_ + '\n' +
                  DescribeSettings(info, call.translateX, call.translateY)) {
  source_ = &magick_;
  if (context->options.exactMetrics)
    source_ = &exact_;
  if (context->options.reuseMetrics)
    source_ = &cached_;
}

bool StartItem(MagickWand* wand, const TextInfo& info,
               const std::string& fontFile, const RendererCall& call,
               RenderContext* context, ItemSetup* setup, ItemResult* result) {
  const bool layoutOnly = context->options.layoutOnly;
  setup->drawing.reset(NewDrawingWand());
  setup->pixel.reset(NewPixelWand());
  DrawingWand* drawing = setup->drawing.get();
  PixelWand* pixel = setup->pixel.get();
  if (call.createCanvas) {
    PixelSetColor(pixel, "none");
    // Measurements do not depend on the canvas: a dry run makes it tiny.
    const size_t width = layoutOnly ? 1 : static_cast<size_t>(info.canvasWidth);
    const size_t height =
        layoutOnly ? 1 : static_cast<size_t>(info.canvasHeight);
    if (MagickNewImage(wand, width, height, pixel) == MagickFalse) {
      result->magick = Status::Error(
          WandFailure(wand, "the canvas image could not be created"));
      return false;
    }
    MagickSetSize(wand, width, height);
  }
  DrawTranslate(drawing, call.translateX, call.translateY);
  PixelSetColor(pixel, info.fillColor.c_str());
  DrawSetFillColor(drawing, pixel);
  DrawSetFont(drawing, fontFile.c_str());
  DrawSetFontSize(drawing, static_cast<double>(info.fontSize));
  SetUpStroke(drawing, pixel, info);

  // Without an image nothing can be measured.
  if (MagickGetNumberImages(wand) == 0) {
    result->magick =
        Status::Error(WandFailure(wand, "the wand holds no image"));
    return false;
  }
  splitWord(info.text, setup->units);
  setup->metrics = std::make_unique<ItemMetrics>(wand, drawing, info, call,
                                                 fontFile, context);
  return true;
}

void FinishItem(MagickWand* wand, ItemSetup* setup, const TextInfo& info,
                const RendererCall& call, int renderCount,
                RenderContext* context, Layout layout, ItemResult* result) {
  result->layout = std::move(layout);
  result->fontUnreadable = result->layout.metricsFailed;
  if (context->options.layoutOnly)
    return;
  DrawingWand* drawing = setup->drawing.get();
  const bool skipOffCanvas = context->options.skipOffCanvas;
  for (const Annotation& a : result->layout.annotations) {
    if (skipOffCanvas && OffCanvas(a, info, call, result->layout.fontSize)) {
      ++context->offCanvasSkipped;
      continue;
    }
    const auto* text = reinterpret_cast<const unsigned char*>(a.text.c_str());
    if (!a.turned) {
      DrawAnnotation(drawing, a.x, a.y, text);
      continue;
    }
    // Turned clockwise about its origin, in a graphic context of its own.
    PushDrawingWand(drawing);
    DrawTranslate(drawing, a.x, a.y);
    DrawRotate(drawing, 90);
    DrawAnnotation(drawing, 0, 0, text);
    PopDrawingWand(drawing);
  }
  for (int i = 0; i < renderCount; ++i) {
    if (MagickDrawImage(wand, drawing) == MagickFalse) {
      result->magick =
          Status::Error(WandFailure(wand, "the text could not be drawn"));
      return;
    }
  }
  result->magick = AddDropShadow(wand, setup->pixel.get(), info);
}
