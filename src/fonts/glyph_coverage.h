#ifndef QUILLMARK_FONTS_GLYPH_COVERAGE_H_
#define QUILLMARK_FONTS_GLYPH_COVERAGE_H_

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fonts/font_faces.h"

// Which characters of a text a font file can draw, asked of FreeType the way
// ImageMagick asks it: face 0, the Unicode character map (else the first
// one), FT_Get_Char_Index. The faces come from the run's FontFaces; at most
// kMaxFaces fonts keep their state, past it all of it is dropped.
//
// Not thread-safe: one canvas at a time uses it.
class GlyphCoverage {
 public:
  static constexpr size_t kMaxFaces = 32;

  // Opens fonts through `faces` (the run's), or through faces of its own.
  explicit GlyphCoverage(FontFaces* faces = nullptr);
  ~GlyphCoverage();
  GlyphCoverage(const GlyphCoverage&) = delete;
  GlyphCoverage& operator=(const GlyphCoverage&) = delete;

  struct Result {
    bool opened = false;   // the font file opened as a font
    // The characters of the text without a glyph, each once, in the order
    // they first occur. Control characters and bytes that are not UTF-8 are
    // not counted: no font is expected to draw them.
    std::vector<std::string> missing;
    // A glyph that the character map names does not load, or its location
    // lies past the outlines: the font is damaged, and ImageMagick would
    // silently draw nothing for it.
    bool brokenGlyph = false;
  };

  // Checks the characters of a text, one UTF-8 character per unit, against
  // the font file that `fontKey` (FontFileKey) names, with its glyphs loaded
  // at `pointSize`.
  Result Check(const std::string& fontKey, int pointSize,
               const std::vector<std::string>& units);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

#endif  // QUILLMARK_FONTS_GLYPH_COVERAGE_H_
