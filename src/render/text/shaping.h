#ifndef QUILLMARK_RENDER_TEXT_SHAPING_H_
#define QUILLMARK_RENDER_TEXT_SHAPING_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/text/engine_fonts.h"
#include "render/text/itemize.h"

// One glyph as HarfBuzz gives it for a run, in 26.6 pixels: its cluster is
// the byte offset in the shaped text where its characters start.
struct RunGlyph {
  uint32_t glyph;
  uint32_t cluster;
  int32_t xAdvance;
  int32_t yAdvance;
  int32_t xOffset;
  int32_t yOffset;
};

// Shapes bytes [begin, end) of `text` with `font` at `pixels` per em, the
// rest of the text as context: direction from the bidi level, the run's
// script (an ICU UScriptCode), and `language` (BCP 47) when it is not
// empty. Glyphs come in HarfBuzz's order (visual order for a right-to-left
// run). `vertical` shapes top to bottom instead, whatever the level, so
// that the font's vertical forms and metrics apply; positions are then from
// each glyph's vertical origin (the top centre of its em box).
std::vector<RunGlyph> ShapeRun(EngineFont* font, int pixels,
                               const std::string& text, const TextRun& run,
                               const std::string& language,
                               bool vertical = false);

// A glyph of a shaped line: where its origin lies from the line's origin
// (26.6 pixels, y up), and which font of the chain draws it.
struct LineGlyph {
  int font;
  uint32_t glyph;
  uint32_t cluster;  // byte offset in the line's text
  int32_t x;
  int32_t y;
  int32_t advance;   // along the line: rightwards, or downwards if vertical
  bool invisible;    // a control character: takes no room, not drawn
};

// A run of a shaped line: its text, font and where it starts.
struct LineRun {
  size_t begin;  // bytes of the line's text
  size_t end;
  int font;
  int32_t x;     // 26.6 pixels from the line's origin
  int32_t width;
};

// A line shaped for display: runs in visual order, left to right; or a
// vertical one, runs in text order from the top down, its origin the first
// glyph's vertical origin. A run's x is then its distance down the column.
struct ShapedLine {
  std::vector<LineGlyph> glyphs;
  std::vector<LineRun> runs;
  int32_t width = 0;  // 26.6 pixels: the advance of the whole line
};

// Shapes every run of `item` with its font of `fonts` (the chain, none of
// them null) and lays the runs out left to right in display order, or with
// `vertical` top to bottom in text order.
ShapedLine ShapeLine(const Itemized& item,
                     const std::vector<EngineFont*>& fonts, int pixels,
                     const std::string& language, bool vertical = false);

#endif  // QUILLMARK_RENDER_TEXT_SHAPING_H_
