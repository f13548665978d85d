#include "render/item_drawing.h"

#include <cstdio>

#include "fonts/font_registry.h"
#include "render/magick_handles.h"
#include "render/magick_metrics.h"
#include "render/metrics_cache.h"
#include "render/render_options.h"
#include "render/renderers.h"
#include "render/split_word.h"
#include "render/stroke_shadow.h"

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

}  // namespace

int DrawItem(MagickWand* wand, const TextInfo& info, bool createCanvas,
             float topInset, float translateX, float translateY,
             ItemLayout layOut, int renderCount) {
  DrawingWandPtr drawing(NewDrawingWand());
  PixelWandPtr pixel(NewPixelWand());
  if (createCanvas) {
    PixelSetColor(pixel.get(), "none");
    MagickNewImage(wand, static_cast<size_t>(info.canvasWidth),
                   static_cast<size_t>(info.canvasHeight), pixel.get());
    MagickSetSize(wand, static_cast<size_t>(info.canvasWidth),
                  static_cast<size_t>(info.canvasHeight));
  }
  DrawTranslate(drawing.get(), translateX, translateY);
  PixelSetColor(pixel.get(), info.fillColor.c_str());
  DrawSetFillColor(drawing.get(), pixel.get());
  const std::string fontFile = GetFont(info.fontName.c_str());
  DrawSetFont(drawing.get(), fontFile.c_str());
  DrawSetFontSize(drawing.get(), static_cast<double>(info.fontSize));
  SetUpStroke(drawing.get(), pixel.get(), info);

  std::vector<std::string> units;
  splitWord(info.text, units);
  Layout layout;
  // Without an image (the canvas could not be created) nothing can be
  // measured; the driver reports the canvas.
  if (MagickGetNumberImages(wand) > 0) {
    const std::string fontKey = FontFileKey(fontFile);
    MagickMetrics magick(wand, drawing.get(), !fontKey.empty());
    CachedMetrics cached(
        &magick, &SharedMetricsCache(), fontKey,
        fontKey + '\n' + DescribeSettings(info, translateX, translateY));
    MetricsSource* metrics = &magick;
    if (renderOptions.reuseMetrics)
      metrics = &cached;
    layout = layOut(info, topInset, units, metrics);
  }
  for (const Annotation& a : layout.annotations) {
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

  for (int i = 0; i < renderCount; ++i)
    MagickDrawImage(wand, drawing.get());
  AddDropShadow(wand, pixel.get(), info);
  return layout.metricsFailed ? kRenderFontUnreadable : kRenderDone;
}
