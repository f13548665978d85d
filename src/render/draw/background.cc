#include "render/draw/background.h"

#include "render/magick/errors.h"
#include "render/magick/handles.h"

Status LayBackground(MagickWand* wand, const std::string& colour) {
  PixelWandPtr pixel(NewPixelWand());
  if (!pixel || PixelSetColor(pixel.get(), colour.c_str()) == MagickFalse)
    return Status();
  MagickWandPtr background(NewMagickWand());
  if (!background ||
      MagickNewImage(background.get(), MagickGetImageWidth(wand),
                     MagickGetImageHeight(wand), pixel.get()) == MagickFalse)
    return Status::Error(
        WandFailure(wand, "the background image could not be created"));
  if (MagickCompositeImage(wand, background.get(), DstOverCompositeOp,
                           MagickTrue, 0, 0) == MagickFalse)
    return Status::Error(
        WandFailure(wand, "the background could not be composited"));
  return Status();
}
