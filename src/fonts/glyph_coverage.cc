#include "fonts/glyph_coverage.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "util/utf8.h"

namespace {

// Faces kept open at most; past it they are all closed and opened again as
// needed, so that a job naming many fonts cannot exhaust file handles.
constexpr size_t kMaxFaces = 32;

bool IsControl(char32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

}  // namespace

struct GlyphCoverage::State {
  FT_Library library = nullptr;
  struct Face {
    FT_Face face = nullptr;
    std::set<FT_UInt> loaded;  // glyphs known to load
  };
  std::map<std::string, Face> faces;  // by font key

  ~State() { Close(); }
  void Close() {
    for (auto& entry : faces)
      if (entry.second.face != nullptr)
        FT_Done_Face(entry.second.face);
    faces.clear();
    if (library != nullptr)
      FT_Done_FreeType(library);
    library = nullptr;
  }
};

GlyphCoverage::GlyphCoverage() : state_(new State) {}
GlyphCoverage::~GlyphCoverage() = default;

GlyphCoverage::Result GlyphCoverage::Check(const std::string& fontKey,
                                           const std::string& path,
                                           int pointSize,
                                           const std::vector<std::string>& units) {
  Result result;
  State& s = *state_;
  if (s.faces.size() >= kMaxFaces && s.faces.count(fontKey) == 0)
    s.Close();
  if (s.library == nullptr && FT_Init_FreeType(&s.library) != 0) {
    s.library = nullptr;
    return result;
  }
  auto found = s.faces.find(fontKey);
  if (found == s.faces.end()) {
    State::Face opened;
    if (FT_New_Face(s.library, path.c_str(), 0, &opened.face) != 0)
      opened.face = nullptr;
    found = s.faces.emplace(fontKey, opened).first;
  }
  State::Face& face = found->second;
  if (face.face == nullptr)
    return result;
  result.opened = true;
  if (FT_Select_Charmap(face.face, FT_ENCODING_UNICODE) != 0 &&
      face.face->num_charmaps > 0)
    FT_Set_Charmap(face.face, face.face->charmaps[0]);
  const bool sized =
      pointSize > 0 &&
      FT_Set_Char_Size(face.face, static_cast<FT_F26Dot6>(64.0 * pointSize),
                       static_cast<FT_F26Dot6>(64.0 * pointSize), 72, 72) == 0;
  for (const std::string& character : units) {
    const char32_t code = UnitCodePoint(character);
    // A unit that is not one well-formed character decodes to U+FFFD.
    if ((code == kReplacementCharacter && character != EncodeUtf8(code)) ||
        IsControl(code))
      continue;
    FT_UInt glyph = FT_Get_Char_Index(face.face, static_cast<FT_ULong>(code));
    if (glyph == 0) {
      if (std::find(result.missing.begin(), result.missing.end(), character) ==
          result.missing.end())
        result.missing.push_back(character);
      continue;
    }
    if (!sized || face.loaded.count(glyph) != 0)
      continue;
    if (FT_Load_Glyph(face.face, glyph,
                      FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0)
      result.brokenGlyph = true;
    else
      face.loaded.insert(glyph);
  }
  return result;
}
