#ifndef QUILLMARK_FONTS_FONT_GLYPHS_H_
#define QUILLMARK_FONTS_FONT_GLYPHS_H_

#include <string>
#include <vector>

// The characters of `wanted` that the font file's first face has a glyph
// for, by FreeType's character map, in the order of `wanted`. Empty when
// the path is not a readable regular file or FreeType cannot open it.
std::vector<char32_t> CharactersWithGlyphs(const std::string& fontFile,
                                           const std::vector<char32_t>& wanted);

// The outline boxes of a font's glyphs as ImageMagick's FreeType path loads
// them (72 dpi, light hinting, no embedded bitmaps): where a character's
// ink lies, which ImageMagick's bounds, always taking in the origin, do not
// tell. One face is opened for the object's life.
class GlyphOutlineBoxes {
 public:
  explicit GlyphOutlineBoxes(const std::string& fontFile);
  ~GlyphOutlineBoxes();
  GlyphOutlineBoxes(const GlyphOutlineBoxes&) = delete;
  GlyphOutlineBoxes& operator=(const GlyphOutlineBoxes&) = delete;

  // The box of the glyph of `c` at `pointSize`, in pixels from its origin,
  // y up, in *x1 .. *y2; *empty when it has no outline (a space, or no
  // glyph: ImageMagick draws a space then). False when the font or the
  // glyph could not be loaded.
  bool Box(char32_t c, int pointSize, double* x1, double* y1, double* x2,
           double* y2, bool* empty);

 private:
  struct State;
  State* state_;
};

#endif  // QUILLMARK_FONTS_FONT_GLYPHS_H_
