#include "render/item_drawing.h"

#include <cstdio>

#include "fonts/font_registry.h"
#include "render/render_options.h"
#include "render/stroke_shadow.h"

namespace {

// The settings of the drawing wand that the font and size do not cover, as
// BeginItem sets them. Floats are written exactly.
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

ItemDrawing BeginItem(MagickWand* wand, const TextInfo& info,
                      bool createCanvas, float translateX, float translateY) {
  ItemDrawing item;
  item.drawing.reset(NewDrawingWand());
  item.pixel.reset(NewPixelWand());
  DrawingWand* drawing = item.drawing.get();
  PixelWand* pixel = item.pixel.get();
  if (createCanvas) {
    PixelSetColor(pixel, "none");
    MagickNewImage(wand, static_cast<size_t>(info.canvasWidth),
                   static_cast<size_t>(info.canvasHeight), pixel);
    MagickSetSize(wand, static_cast<size_t>(info.canvasWidth),
                  static_cast<size_t>(info.canvasHeight));
  }
  item.hasImage = MagickGetNumberImages(wand) > 0;
  item.settings = DescribeSettings(info, translateX, translateY);
  DrawTranslate(drawing, translateX, translateY);
  PixelSetColor(pixel, info.fillColor.c_str());
  DrawSetFillColor(drawing, pixel);
  item.fontFile = GetFont(info.fontName.c_str());
  DrawSetFont(drawing, item.fontFile.c_str());
  DrawSetFontSize(drawing, static_cast<double>(info.fontSize));
  SetUpStroke(drawing, pixel, info);
  return item;
}

ItemMetrics::ItemMetrics(MagickWand* wand, const ItemDrawing& item)
    : ItemMetrics(wand, item, FontFileKey(item.fontFile)) {}

ItemMetrics::ItemMetrics(MagickWand* wand, const ItemDrawing& item,
                         const std::string& fontKey)
    : magick_(wand, item.drawing.get(), item.fontFile),
      cached_(&magick_, &SharedMetricsCache(), fontKey,
              fontKey + '\n' + item.settings),
      source_(renderOptions.reuseMetrics ? static_cast<MetricsSource*>(&cached_)
                                         : &magick_) {}

void Annotate(const ItemDrawing& item, const Layout& layout) {
  for (const Annotation& a : layout.annotations)
    DrawAnnotation(item.drawing.get(), a.x, a.y,
                   reinterpret_cast<const unsigned char*>(a.text.c_str()));
}

void FinishItem(MagickWand* wand, const ItemDrawing& item,
                const TextInfo& info, int renderCount) {
  for (int i = 0; i < renderCount; ++i)
    MagickDrawImage(wand, item.drawing.get());
  AddDropShadow(wand, item.pixel.get(), info);
}
