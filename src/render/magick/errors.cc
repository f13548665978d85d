#include "render/magick/errors.h"

#include "render/magick/handles.h"

std::string WandFailure(MagickWand* wand, const char* fallback) {
  ExceptionType severity;
  MagickStringPtr text(MagickGetException(wand, &severity));
  return text && *text ? text.get() : fallback;
}

std::string WandErrorText(MagickWand* wand) {
  if (MagickGetExceptionType(wand) < ErrorException)
    return "";
  return WandFailure(wand, "ImageMagick reported an error");
}
