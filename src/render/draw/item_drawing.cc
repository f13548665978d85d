#include "render/draw/item_drawing.h"

#include <cmath>
#include <cstdio>

#include "fonts/font_file.h"
#include "fonts/font_registry.h"
#include "render/metrics/exact_metrics.h"
#include "render/magick/errors.h"
#include "render/magick/handles.h"
#include "render/metrics/magick_metrics.h"
#include "render/metrics/metrics_cache.h"
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

// Lays the units out, measuring through the context.
Layout LayOutUnits(MagickWand* wand, DrawingWand* drawing,
                   const TextInfo& info, const RendererCall& call,
                   const std::string& fontFile, ItemLayout layOut,
                   RenderContext* context) {
  std::vector<std::string> units;
  splitWord(info.text, units);
  // Nothing measures a font that is not a readable regular file.
  const bool readable = IsReadableFontFile(fontFile);
  const std::string fontKey = readable ? FontFileKey(fontFile) : "";
  MagickMetrics magick(wand, drawing, readable, &context->magickQueries);
  ExactMetrics exact(&context->exact, &magick, wand, fontKey);
  MetricsSource* measure = &magick;
  if (context->options.exactMetrics)
    measure = &exact;
  CachedMetrics cached(
      measure, &context->metricsCache, fontKey,
      fontKey + '\n' +
          DescribeSettings(info, call.translateX, call.translateY));
  MetricsSource* metrics = measure;
  if (context->options.reuseMetrics)
    metrics = &cached;
  return layOut(info, call.topInset, units, metrics, context->options);
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

void DrawItem(MagickWand* wand, const TextInfo& info, const RendererCall& call,
              ItemLayout layOut, int renderCount, RenderContext* context,
              ItemResult* result) {
  const bool layoutOnly = context->options.layoutOnly;
  DrawingWandPtr drawing(NewDrawingWand());
  PixelWandPtr pixel(NewPixelWand());
  if (call.createCanvas) {
    PixelSetColor(pixel.get(), "none");
    // Measurements do not depend on the canvas: a dry run makes it tiny.
    const size_t width = layoutOnly ? 1 : static_cast<size_t>(info.canvasWidth);
    const size_t height =
        layoutOnly ? 1 : static_cast<size_t>(info.canvasHeight);
    if (MagickNewImage(wand, width, height, pixel.get()) == MagickFalse) {
      result->magickFailure =
          WandFailure(wand, "the canvas image could not be created");
      return;
    }
    MagickSetSize(wand, width, height);
  }
  DrawTranslate(drawing.get(), call.translateX, call.translateY);
  PixelSetColor(pixel.get(), info.fillColor.c_str());
  DrawSetFillColor(drawing.get(), pixel.get());
  const std::string fontFile = GetFont(info.fontName.c_str());
  DrawSetFont(drawing.get(), fontFile.c_str());
  DrawSetFontSize(drawing.get(), static_cast<double>(info.fontSize));
  SetUpStroke(drawing.get(), pixel.get(), info);

  // Without an image nothing can be measured.
  if (MagickGetNumberImages(wand) == 0) {
    result->magickFailure = WandFailure(wand, "the wand holds no image");
    return;
  }
  result->layout = LayOutUnits(wand, drawing.get(), info, call, fontFile,
                               layOut, context);
  result->fontUnreadable = result->layout.metricsFailed;
  if (layoutOnly)
    return;

  const bool skipOffCanvas = context->options.skipOffCanvas;
  for (const Annotation& a : result->layout.annotations) {
    if (skipOffCanvas && OffCanvas(a, info, call, result->layout.fontSize)) {
      ++context->offCanvasSkipped;
      continue;
    }
    const auto* text = reinterpret_cast<const unsigned char*>(a.text.c_str());
    if (!a.turned) {
      DrawAnnotation(drawing.get(), a.x, a.y, text);
      continue;
    }
    // Turned clockwise about its origin, in a graphic context of its own.
    PushDrawingWand(drawing.get());
    DrawTranslate(drawing.get(), a.x, a.y);
    DrawRotate(drawing.get(), 90);
    DrawAnnotation(drawing.get(), 0, 0, text);
    PopDrawingWand(drawing.get());
  }
  for (int i = 0; i < renderCount; ++i) {
    if (MagickDrawImage(wand, drawing.get()) == MagickFalse) {
      result->magickFailure = WandFailure(wand, "the text could not be drawn");
      return;
    }
  }
  std::string shadowFailure;
  if (!AddDropShadow(wand, pixel.get(), info, &shadowFailure))
    result->magickFailure = shadowFailure;
}
