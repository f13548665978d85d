#ifndef QUILLMARK_FONTS_FONT_GLYPHS_H_
#define QUILLMARK_FONTS_FONT_GLYPHS_H_

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

#endif  // QUILLMARK_FONTS_FONT_GLYPHS_H_
