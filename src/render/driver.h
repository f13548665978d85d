#ifndef QUILLMARK_RENDER_DRIVER_H_
#define QUILLMARK_RENDER_DRIVER_H_

#include <string>

#include "job/text_info.h"

// Runs a whole job: loads the font list, reads the job file and draws and
// writes every canvas in order. Returns the exit status: 0 when every canvas
// that was drawn was written, 1 when the font list gives no fonts, the job
// file does not parse, or some canvas could not be written (the others are
// still drawn). `scale` is the starting scale of every canvas.
int draw(std::string fontListPath, std::string jobFilePath, float scale);

// Renders one canvas record in one or two passes and writes its image, inside
// its own MagickWand environment. Returns false, with a log line, when the
// image was not written.
bool DrawCanvas(const TextInfo& info);

#endif  // QUILLMARK_RENDER_DRIVER_H_
