#include "fonts/font_glyphs.h"

#include FT_OUTLINE_H
#include FT_SIZES_H

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

GlyphOutlineBoxes::GlyphOutlineBoxes(FontFaces* faces,
                                     const std::string& fontKey)
    : opened_(faces->Open(fontKey)) {
  if (opened_ && FT_New_Size(opened_->face(), &size_) != 0)
    size_ = nullptr;
}

GlyphOutlineBoxes::~GlyphOutlineBoxes() {
  if (size_ != nullptr)
    FT_Done_Size(size_);
}

bool GlyphOutlineBoxes::Box(char32_t c, int pointSize, double* x1,
                            double* y1, double* x2, double* y2,
                            bool* empty) {
  if (size_ == nullptr || pointSize <= 0)
    return false;
  FT_Face face = opened_->face();
  // Others size the shared face through sizes of their own.
  if (FT_Activate_Size(size_) != 0)
    return false;
  if (pointSize_ != pointSize) {
    const FT_F26Dot6 scaled = static_cast<FT_F26Dot6>(64.0 * pointSize);
    if (FT_Set_Char_Size(face, scaled, scaled, 72, 72) != 0)
      return false;
    pointSize_ = pointSize;
  }
  const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(c));
  *empty = true;
  if (index == 0)
    return true;
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) !=
      0)
    return false;
  const FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE || slot->outline.n_points == 0)
    return true;
  FT_BBox box;
  FT_Outline_Get_CBox(&slot->outline, &box);
  *x1 = static_cast<double>(box.xMin) / 64.0;
  *y1 = static_cast<double>(box.yMin) / 64.0;
  *x2 = static_cast<double>(box.xMax) / 64.0;
  *y2 = static_cast<double>(box.yMax) / 64.0;
  *empty = false;
  return true;
}
