#ifndef QUILLMARK_RENDER_DRAW_BACKGROUND_H_
#define QUILLMARK_RENDER_DRAW_BACKGROUND_H_

#include <MagickWand/MagickWand.h>

#include <string>

#include "util/status.h"

// Lays `colour` under everything drawn on the wand's current image, once
// the text, its outline and its shadow are there (so the shadow is the
// text's, not the canvas's). A colour that ImageMagick cannot parse lays
// nothing: the canvas reports it among its bad colours. An error, with
// ImageMagick's account, when a step failed.
Status LayBackground(MagickWand* wand, const std::string& colour);

#endif  // QUILLMARK_RENDER_DRAW_BACKGROUND_H_
