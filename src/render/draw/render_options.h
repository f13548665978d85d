#ifndef QUILLMARK_RENDER_DRAW_RENDER_OPTIONS_H_
#define QUILLMARK_RENDER_DRAW_RENDER_OPTIONS_H_

#include "render/output/write_checks.h"

// How a canvas is rendered. The first four change no pixel: they exist so
// that the benchmark can compare with the straightforward path, which asks
// ImageMagick for every measurement every time and draws everything.
struct RenderOptions {
  // Compute ImageMagick's metrics with FreeType, for the fonts whose probes
  // show the same numbers both ways.
  bool exactMetrics = true;
  // Remember every measurement for the rest of the run.
  bool reuseMetrics = true;
  // Fit vertical text from one measurement per font size.
  bool uniformEmShortcut = true;
  // Leave out the annotations whose ink cannot reach the canvas (vertical
  // columns far past its edge).
  bool skipOffCanvas = true;
  // Lay out only: no drawing, no shadow and no image written (a dry run);
  // the layout and the fitting are those of a real run.
  bool layoutOnly = false;
  // ImageMagick's thread limit inside a canvas; 0 leaves its default.
  int magickThreads = 0;
  // What no output may be written over: the run's inputs and its report.
  ProtectedFiles protectedFiles;
  // zlib's level (0 to 9) for PNG outputs; -1 leaves ImageMagick's default,
  // and with it the bytes of a run without the argument.
  int pngCompression = -1;
};

#endif  // QUILLMARK_RENDER_DRAW_RENDER_OPTIONS_H_
