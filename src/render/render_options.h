#ifndef QUILLMARK_RENDER_RENDER_OPTIONS_H_
#define QUILLMARK_RENDER_RENDER_OPTIONS_H_

// How much the renderers measure. Neither option changes a single pixel;
// both exist so that the benchmark can compare with the straightforward
// path, which measures everything every time.
struct RenderOptions {
  // Remember every measurement for the rest of the run.
  bool reuseMetrics = true;
  // Fit vertical text from one measurement per font size.
  bool uniformEmShortcut = true;
};

extern RenderOptions renderOptions;

#endif  // QUILLMARK_RENDER_RENDER_OPTIONS_H_
