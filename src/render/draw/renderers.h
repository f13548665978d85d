#ifndef QUILLMARK_RENDER_DRAW_RENDERERS_H_
#define QUILLMARK_RENDER_DRAW_RENDERERS_H_

#include <MagickWand/MagickWand.h>

#include <string>

#include "job/text_info.h"
#include "render/draw/item_drawing.h"
#include "render/draw/render_context.h"

// What a renderer call reports.
constexpr int kRenderDone = 0;
// The font gave no metrics: nothing was laid out, and the image must not be
// passed off as the item's.
constexpr int kRenderFontUnreadable = 1;

// Draws `info`'s text item onto the wand's current image: in horizontal
// lines, and in vertical columns from right to left. With `createCanvas`,
// a transparent image of the canvas size is added first. `topInset` pads
// the top of the area (and, vertically, every cell); the translation shifts
// everything the call draws. Each call measures afresh: nothing carries over
// from one call to the next.
int drawHorizontalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                        float topInset, float translateX, float translateY);
int drawVerticalTexts(MagickWand* wand, TextInfo info, bool createCanvas,
                      float topInset, float translateX, float translateY);

// The renderer calls that the canvas makes: horizontal when `direction` is
// 0, vertical otherwise, with the item drawn in `fontFile`, measuring
// through the run's context and reporting what was laid out.
void DrawHorizontalItem(MagickWand* wand, const TextInfo& info,
                        const std::string& fontFile, const RendererCall& call,
                        RenderContext* context, ItemResult* result);
void DrawVerticalItem(MagickWand* wand, const TextInfo& info,
                      const std::string& fontFile, const RendererCall& call,
                      RenderContext* context, ItemResult* result);

// One of the two above, called the way the documented renderer functions
// are: with the font that GetFont names and a context of its own, reporting
// kRenderDone or kRenderFontUnreadable.
using ItemDrawer = void (*)(MagickWand* wand, const TextInfo& info,
                            const std::string& fontFile,
                            const RendererCall& call, RenderContext* context,
                            ItemResult* result);
int CallRenderer(ItemDrawer draw, MagickWand* wand, const TextInfo& info,
                 const RendererCall& call);

#endif  // QUILLMARK_RENDER_DRAW_RENDERERS_H_
