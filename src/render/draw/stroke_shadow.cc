#include "render/draw/stroke_shadow.h"

#include <cmath>

#include "render/magick/errors.h"
#include "render/magick/handles.h"

// Deliberate: the shadow is composited with the operator of value 55, which
// is Overlay in every ImageMagick 7 release since 2015, not with Over. On a
// transparent canvas Overlay still shows the shadow, and existing images
// depend on exactly this look.
static_assert(OverlayCompositeOp == 55, "the shadow's compose operator moved");

void SetUpStroke(DrawingWand* drawing, PixelWand* pixel, const TextInfo& info) {
  if (info.strokeWidth > 0 && !info.strokeColor.empty()) {
    DrawSetStrokeWidth(drawing, static_cast<double>(info.strokeWidth));
    PixelSetColor(pixel, info.strokeColor.c_str());
    DrawSetStrokeColor(drawing, pixel);
  } else {
    DrawSetStrokeWidth(drawing, 0);
  }
}

ShadowOffset ComputeShadowOffset(int distance, int angleDegrees,
                                 int shadowSize) {
  // Deliberate: 3.14159, not the full pi; the offsets truncate, and a
  // fuller pi moves some shadows by a pixel.
  double angle = angleDegrees * 3.14159 / 180;
  double sine, cosine;
  sincos(angle, &sine, &cosine);
  double d = distance;
  int64_t dx = static_cast<int64_t>(d * cosine);
  int64_t dy = static_cast<int64_t>(d * sine);
  dx = -dx;
  return {dx - 2 * shadowSize, dy - 2 * shadowSize};
}

double ShadowOpacity(float shadowAlpha) {
  // Deliberate: 255 x alpha goes where ImageMagick takes a percentage, so an
  // alpha of 0.4 asks for 102%; existing shadows look as they do because of
  // it.
  return static_cast<double>(255 * shadowAlpha);
}

Status AddDropShadow(MagickWand* canvas, PixelWand* pixel,
                     const TextInfo& info) {
  if (!(info.shadowAlpha > 0 && info.shadowSize > 0))
    return Status();
  MagickWandPtr shadow(CloneMagickWand(canvas));
  if (!shadow)
    return Status::Error(WandFailure(canvas, "the canvas could not be copied"));
  PixelSetColor(pixel, info.shadowColor.c_str());
  MagickSetImageBackgroundColor(shadow.get(), pixel);
  ShadowOffset at = ComputeShadowOffset(info.shadowDistance, info.shadowAngle,
                                        info.shadowSize);
  if (MagickShadowImage(shadow.get(), ShadowOpacity(info.shadowAlpha),
                        static_cast<double>(info.shadowSize),
                        static_cast<ssize_t>(at.x),
                        static_cast<ssize_t>(at.y)) == MagickFalse)
    return Status::Error(
        WandFailure(shadow.get(), "the shadow could not be made"));
  if (MagickCompositeImage(canvas, shadow.get(), OverlayCompositeOp,
                           MagickTrue, static_cast<ssize_t>(at.x),
                           static_cast<ssize_t>(at.y)) == MagickFalse)
    return Status::Error(
        WandFailure(canvas, "the shadow could not be composited"));
  return Status();
}
