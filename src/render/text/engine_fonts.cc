#include "render/text/engine_fonts.h"

#include <hb-ot.h>

#include "fonts/font_file.h"

void EngineFont::SetSize(int pixels) {
  if (pixels == size)
    return;
  size = pixels;
  hb_font_set_scale(hb.get(), pixels * 64, pixels * 64);
  hb_font_set_ppem(hb.get(), static_cast<unsigned>(pixels),
                   static_cast<unsigned>(pixels));
}

bool EngineFont::HasGlyph(char32_t c) const {
  hb_codepoint_t glyph = 0;
  return hb_font_get_nominal_glyph(hb.get(), c, &glyph) && glyph != 0;
}

bool EngineFont::Covers(char32_t c) const {
  return (c == 0xFE0F && colour) || HasGlyph(c);
}

EngineFont* EngineFonts::Open(const std::string& path) {
  if (!IsReadableFontFile(path))
    return nullptr;
  const std::string key = FontFileKey(path);
  auto found = fonts_.find(key);
  if (found != fonts_.end())
    return found->second.get();
  std::unique_ptr<EngineFont>& slot = fonts_[key];  // nullptr: did not open
  if (!library_ && !libraryFailed_) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0)
      library_.reset(library);
    else
      libraryFailed_ = true;
  }
  if (!library_)
    return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library_.get(), path.c_str(), 0, &face) != 0)
    return nullptr;
  auto font = std::make_unique<EngineFont>();
  font->path = path;
  font->face.reset(face);
  hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
  if (blob == nullptr)
    return nullptr;
  hb_face_t* hbFace = hb_face_create(blob, 0);
  hb_blob_destroy(blob);
  font->hb.reset(hb_font_create(hbFace));
  hb_face_destroy(hbFace);
  hb_ot_font_set_funcs(font->hb.get());
  font->unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1000;
  font->scalable = FT_IS_SCALABLE(face);
  font->colour = FT_HAS_COLOR(face);
  if (!font->scalable && face->num_fixed_sizes <= 0)
    return nullptr;
  slot = std::move(font);
  return slot.get();
}
