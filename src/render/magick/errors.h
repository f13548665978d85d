#ifndef QUILLMARK_RENDER_MAGICK_ERRORS_H_
#define QUILLMARK_RENDER_MAGICK_ERRORS_H_

#include <MagickWand/MagickWand.h>

#include <string>

// ImageMagick's account of the wand's last failure, or `fallback` when it
// gives none.
std::string WandFailure(MagickWand* wand, const char* fallback);

// ImageMagick's text of an error (not a warning) that the wand holds; empty
// when it holds none.
std::string WandErrorText(MagickWand* wand);

#endif  // QUILLMARK_RENDER_MAGICK_ERRORS_H_
