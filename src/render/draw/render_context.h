#ifndef QUILLMARK_RENDER_DRAW_RENDER_CONTEXT_H_
#define QUILLMARK_RENDER_DRAW_RENDER_CONTEXT_H_

#include <cstdint>

#include "fonts/font_faces.h"
#include "fonts/glyph_coverage.h"
#include "render/metrics/exact_metrics.h"
#include "render/metrics/metrics_cache.h"
#include "render/draw/render_options.h"
#include "render/text/text_engine.h"

// Everything that outlives one canvas: how much to measure, the
// measurements kept for the rest of the run, the fonts FreeType keeps open
// (for exact metrics and for the glyph check), and the count of queries that
// reached ImageMagick. The driver creates one per run (each worker process
// has its own copy) and passes it down; nothing else holds run-wide state.
//
// Not thread-safe: one canvas at a time uses it.
struct RenderContext {
  RenderOptions options;
  // The font files FreeType has open, for the exact metrics, the glyph check
  // and the vertical forms.
  FontFaces faces;
  MetricsCache metricsCache;
  ExactMetricsRun exact{&faces};
  GlyphCoverage glyphs{&faces};
  // The text engine's fonts, glyphs and shaped lines ("shape").
  TextEngine text;
  // MagickQueryFontMetrics calls made for this context, the exact metrics'
  // probes aside (exact.probeQueries()).
  uint64_t magickQueries = 0;
  // Annotations left out because they cannot reach the canvas.
  uint64_t offCanvasSkipped = 0;
};

#endif  // QUILLMARK_RENDER_DRAW_RENDER_CONTEXT_H_
