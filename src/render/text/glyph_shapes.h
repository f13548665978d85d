#ifndef QUILLMARK_RENDER_TEXT_GLYPH_SHAPES_H_
#define QUILLMARK_RENDER_TEXT_GLYPH_SHAPES_H_

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "render/text/engine_fonts.h"

// One step of a glyph's outline in font units, y up: 'M' move, 'L' line,
// 'Q' quadratic curve (control point, end), 'C' cubic curve (two control
// points, end), 'Z' close.
struct PathStep {
  char op;
  float x[3];
  float y[3];
};

// A colour glyph as FreeType renders it with FT_LOAD_COLOR: RGBA, not
// premultiplied, at `ppem` pixels per em (the largest strike's, for a font
// of bitmaps; a fixed size, for COLR), placed from the glyph's origin. It
// is scaled to the run's size when drawn.
struct ColourBitmap {
  int width = 0;
  int height = 0;
  int left = 0;  // pixels right of the origin
  int top = 0;   // pixels above the baseline
  double ppem = 0;
  std::vector<unsigned char> rgba;
};

struct GlyphShape {
  std::vector<PathStep> outline;
  bool colour = false;  // drawn from `bitmap`, not from `outline`
  ColourBitmap bitmap;
};

// The glyphs the engine has loaded in this run, each once. Not
// thread-safe.
class GlyphShapes {
 public:
  const GlyphShape& Get(EngineFont* font, uint32_t glyph);

 private:
  std::map<std::pair<const EngineFont*, uint32_t>, GlyphShape> shapes_;
};

#endif  // QUILLMARK_RENDER_TEXT_GLYPH_SHAPES_H_
