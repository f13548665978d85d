#ifndef QUILLMARK_RENDER_TEXT_TEXT_ENGINE_H_
#define QUILLMARK_RENDER_TEXT_TEXT_ENGINE_H_

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "render/text/engine_fonts.h"
#include "render/text/glyph_shapes.h"
#include "render/text/itemize.h"
#include "render/text/shaping.h"

// What the text engine keeps for the rest of the run: the open fonts, the
// loaded glyphs and the shaped lines. One per run (each worker process has
// its own copy), passed down; not thread-safe.
struct TextEngine {
  EngineFonts faces;
  GlyphShapes glyphs;
  std::map<std::string, ShapedLine> lines;  // by ShapeText's key
  size_t lineBytes = 0;                     // what `lines` holds, roughly
};

// The fonts an item draws with: its "font" first, then its "fallback"
// fonts, each opened once; files that do not open as fonts are left out.
struct FontChain {
  std::vector<EngineFont*> fonts;
  std::vector<std::string> names;  // the font list's name of each
  bool primaryOpened = false;  // the item's own font opened
  std::string key;             // the files, for the caches
};

// `fonts` holds (name, file) pairs, the item's "font" first.
FontChain OpenChain(
    TextEngine* engine,
    const std::vector<std::pair<std::string, std::string>>& fonts);

// How an item's text is shaped, besides its font chain.
struct ShapeSettings {
  ParagraphDirection direction = ParagraphDirection::kFromText;
  std::string language;
  bool vertical = false;  // shaped top to bottom, for a column
};

// `text` itemized with `chain`'s coverage.
Itemized ItemizeText(const FontChain& chain, const std::string& text,
                     ParagraphDirection direction);

// `text` itemized and shaped as one line at `pixels` per em, kept for the
// run. `chain` must hold at least one font.
const ShapedLine& ShapeText(TextEngine* engine, const FontChain& chain,
                            const ShapeSettings& settings, int pixels,
                            const std::string& text);

// `line` (a line of a paragraph, as LineOfParagraph cuts it) shaped at
// `pixels` per em, kept for the run.
const ShapedLine& ShapeItemizedLine(TextEngine* engine, const FontChain& chain,
                                    const ShapeSettings& settings, int pixels,
                                    const Itemized& line);

#endif  // QUILLMARK_RENDER_TEXT_TEXT_ENGINE_H_
