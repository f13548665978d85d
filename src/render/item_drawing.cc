#include "render/item_drawing.h"

#include "fonts/font_registry.h"
#include "render/stroke_shadow.h"

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
  DrawTranslate(drawing, translateX, translateY);
  PixelSetColor(pixel, info.fillColor.c_str());
  DrawSetFillColor(drawing, pixel);
  item.fontFile = GetFont(info.fontName.c_str());
  DrawSetFont(drawing, item.fontFile.c_str());
  DrawSetFontSize(drawing, static_cast<double>(info.fontSize));
  SetUpStroke(drawing, pixel, info);
  return item;
}

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
