#ifndef QUILLMARK_RENDER_MAGICK_HANDLES_H_
#define QUILLMARK_RENDER_MAGICK_HANDLES_H_

#include <MagickWand/MagickWand.h>

#include <memory>

static_assert(MagickLibVersion >= 0x700, "ImageMagick 7 is required");

// Owners for the MagickWand objects: whoever obtains one releases it.
struct MagickWandDeleter {
  void operator()(MagickWand* w) const { DestroyMagickWand(w); }
};
struct DrawingWandDeleter {
  void operator()(DrawingWand* w) const { DestroyDrawingWand(w); }
};
struct PixelWandDeleter {
  void operator()(PixelWand* w) const { DestroyPixelWand(w); }
};
struct MagickMemoryDeleter {
  void operator()(void* p) const { RelinquishMagickMemory(p); }
};

using MagickWandPtr = std::unique_ptr<MagickWand, MagickWandDeleter>;
using DrawingWandPtr = std::unique_ptr<DrawingWand, DrawingWandDeleter>;
using PixelWandPtr = std::unique_ptr<PixelWand, PixelWandDeleter>;
using MetricsArrayPtr = std::unique_ptr<double, MagickMemoryDeleter>;
using MagickStringPtr = std::unique_ptr<char, MagickMemoryDeleter>;

#endif  // QUILLMARK_RENDER_MAGICK_HANDLES_H_
