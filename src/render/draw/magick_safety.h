#ifndef QUILLMARK_RENDER_DRAW_MAGICK_SAFETY_H_
#define QUILLMARK_RENDER_DRAW_MAGICK_SAFETY_H_

// Restricts ImageMagick to what Quillmark needs: the image formats it writes,
// no delegates (external programs), no special paths ("-", "fd:", "@", "|"),
// canvases of at most kMaxCanvasSide pixels a side, and no pixel cache on
// disk. MagickWandTerminus forgets all of it, so it is applied after every
// MagickWandGenesis. `threads` above 0 limits ImageMagick's threads, so that
// canvases rendered side by side do not oversubscribe the cores. Returns
// false when ImageMagick refused the policy.
bool ApplyMagickSafety(int threads);

#endif  // QUILLMARK_RENDER_DRAW_MAGICK_SAFETY_H_
