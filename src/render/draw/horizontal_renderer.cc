#include "fonts/font_registry.h"
#include "render/draw/renderers.h"
#include "render/layout/horizontal_layout.h"
#include "render/typography/typography.h"

void DrawHorizontalItem(MagickWand* wand, const TextInfo& info,
                        const std::string& fontFile, const RendererCall& call,
                        RenderContext* context, ItemResult* result) {
  ItemSetup setup;
  if (!StartItem(wand, info, fontFile, call, context, &setup, result))
    return;
  MetricsSource* metrics = setup.metrics->source();
  Layout layout =
      UsesTypography(info)
          ? LayOutLinesTypeset(info, call.topInset, setup.units, metrics)
          : LayOutHorizontal(info, call.topInset, setup.units, metrics);
  FinishItem(wand, &setup, info, call, 1, context, std::move(layout), result);
}

int CallRenderer(ItemDrawer draw, MagickWand* wand, const TextInfo& info,
                 const RendererCall& call) {
  RenderContext context;
  ItemResult result;
  draw(wand, info, GetFont(info.fontName.c_str()), call, &context, &result);
  return result.fontUnreadable ? kRenderFontUnreadable : kRenderDone;
}

int drawHorizontalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                        float topInset, float translateX, float translateY) {
  return CallRenderer(DrawHorizontalItem, wand, info,
                      {createCanvas, topInset, translateX, translateY});
}
