#ifndef QUILLMARK_RENDER_RUN_RENDER_CANVAS_H_
#define QUILLMARK_RENDER_RUN_RENDER_CANVAS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/outcome/outcome.h"
#include "render/draw/render_context.h"

// One canvas to render: its record, the colour keys its job gave and the
// font file its font name resolved to. It holds all that rendering needs: a
// worker process is handed nothing else.
struct CanvasJob {
  TextInfo info;
  std::vector<std::string> colourKeys;
  std::string fontFile;
  std::vector<std::string> fallbackFiles;  // one for each "fallback" name
};

// Renders one canvas inside its own MagickWand environment: a first pass
// that creates the canvas and draws fill, outline and shadow, a second pass
// that draws the fill again over an outline that lies under it, then the
// image written to the canvas's output. With the context's `layoutOnly`, only
// the first pass's layout happens.
RenderReport RenderCanvas(const CanvasJob& job, RenderContext* context);

// A generous estimate of the most memory that rendering `info` takes at
// once: the canvas in four float channels, the copy and the blurred border
// image of the shadow, and the encoded image.
uint64_t EstimateCanvasBytes(const TextInfo& info);

#endif  // QUILLMARK_RENDER_RUN_RENDER_CANVAS_H_
