#ifndef QUILLMARK_FONTS_FONT_GLYPHS_H_
#define QUILLMARK_FONTS_FONT_GLYPHS_H_

#include <memory>
#include <string>
#include <vector>

#include "fonts/font_faces.h"

// The characters of `wanted` that the font file that `fontKey`
// (FontFileKey) names has a glyph for, by its Unicode character map, in the
// order of `wanted`. Empty when the file does not open as a font or has no
// Unicode character map.
std::vector<char32_t> CharactersWithGlyphs(FontFaces* faces,
                                           const std::string& fontKey,
                                           const std::vector<char32_t>& wanted);

// The outline boxes of a font's glyphs as ImageMagick's FreeType path loads
// them (72 dpi, light hinting, no embedded bitmaps): where a character's
// ink lies, which ImageMagick's bounds, always taking in the origin, do not
// tell. The face comes from the run's FontFaces, sized through an FT_Size
// of this object's own.
class GlyphOutlineBoxes {
 public:
  GlyphOutlineBoxes(FontFaces* faces, const std::string& fontKey);
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
  std::shared_ptr<FontFace> opened_;
  FT_Size size_ = nullptr;
  int pointSize_ = 0;
};

#endif  // QUILLMARK_FONTS_FONT_GLYPHS_H_
