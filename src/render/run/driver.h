#ifndef QUILLMARK_RENDER_RUN_DRIVER_H_
#define QUILLMARK_RENDER_RUN_DRIVER_H_

#include <string>

#include "render/draw/render_context.h"
#include "render/run/run_options.h"

// Runs a whole job: loads the font list, reads the job file, and draws and
// writes every canvas, logging what happened to each in job order. Returns
// the exit status: 0 when every canvas that was drawn was written, 1 when
// the font list gives no fonts, the job file does not parse, or some canvas
// could not be written (the others are still drawn). `scale` is the starting
// scale of every canvas.
//
// With `options.jobs` at 0 the canvases are rendered in this process with
// `context`, and no time limit applies; otherwise in that many worker
// processes, each with a context of its own that renders as `context` says.
int RunJob(const std::string& fontListPath, const std::string& jobFilePath,
           float scale, const RunOptions& options, RenderContext* context);

// RunJob with the options of a run without arguments.
int draw(std::string fontListPath, std::string jobFilePath, float scale);

#endif  // QUILLMARK_RENDER_RUN_DRIVER_H_
