#include "render/stroke_shadow.h"

#include <cmath>

#include "render/magick_errors.h"
#include "render/magick_handles.h"

// The shadow is composited with the operator of value 55, which is Overlay
// in every ImageMagick 7 release since 2015.
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
  return static_cast<double>(255 * shadowAlpha);
}

bool AddDropShadow(MagickWand* canvas, PixelWand* pixel, const TextInfo& info,
                   std::string* failure) {
  if (!(info.shadowAlpha > 0 && info.shadowSize > 0))
    return true;
  MagickWandPtr shadow(CloneMagickWand(canvas));
  if (!shadow) {
    *failure = WandFailure(canvas, "the canvas could not be copied");
    return false;
  }
  PixelSetColor(pixel, info.shadowColor.c_str());
  MagickSetImageBackgroundColor(shadow.get(), pixel);
  ShadowOffset at = ComputeShadowOffset(info.shadowDistance, info.shadowAngle,
                                        info.shadowSize);
  if (MagickShadowImage(shadow.get(), ShadowOpacity(info.shadowAlpha),
                        static_cast<double>(info.shadowSize),
                        static_cast<ssize_t>(at.x),
                        static_cast<ssize_t>(at.y)) == MagickFalse) {
    *failure = WandFailure(shadow.get(), "the shadow could not be made");
    return false;
  }
  if (MagickCompositeImage(canvas, shadow.get(), OverlayCompositeOp,
                           MagickTrue, static_cast<ssize_t>(at.x),
                           static_cast<ssize_t>(at.y)) == MagickFalse) {
    *failure = WandFailure(canvas, "the shadow could not be composited");
    return false;
  }
  return true;
}
