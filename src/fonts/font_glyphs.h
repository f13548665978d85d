#ifndef QUILLMARK_FONTS_FONT_GLYPHS_H_
#define QUILLMARK_FONTS_FONT_GLYPHS_H_

#include <string>
#include <vector>

// The characters of `wanted` that the font file's first face has a glyph
// for, by FreeType's character map, in the order of `wanted`. Empty when
// the path is not a readable regular file or FreeType cannot open it.
std::vector<char32_t> CharactersWithGlyphs(const std::string& fontFile,
                                           const std::vector<char32_t>& wanted);

#endif  // QUILLMARK_FONTS_FONT_GLYPHS_H_
