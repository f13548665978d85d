#include "fonts/font_glyphs.h"

std::vector<char32_t> CharactersWithGlyphs(
    FontFaces* faces, const std::string& fontKey,
    const std::vector<char32_t>& wanted) {
  std::vector<char32_t> found;
  std::shared_ptr<FontFace> opened = faces->Open(fontKey);
  if (!opened)
    return found;
  FT_Face face = opened->face();
  // FreeType selects only a Unicode map by itself; the faces fall back to
  // the first map, which does not answer for Unicode characters.
  if (face->charmap == nullptr ||
      face->charmap->encoding != FT_ENCODING_UNICODE)
    return found;
  for (char32_t c : wanted)
    if (FT_Get_Char_Index(face, static_cast<FT_ULong>(c)) != 0)
      found.push_back(c);
  return found;
}
