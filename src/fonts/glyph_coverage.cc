#include "fonts/glyph_coverage.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace {

// Faces kept open at most; past it they are all closed and opened again as
// needed, so that a job naming many fonts cannot exhaust file handles.
constexpr size_t kMaxFaces = 32;

// The code point of a unit that is one valid UTF-8 character, or -1.
long CodePoint(const std::string& unit) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(unit.data());
  const size_t n = unit.size();
  if (n == 1 && p[0] < 0x80)
    return p[0];
  long code;
  size_t length;
  long min;
  if (p[0] >= 0xC2 && p[0] <= 0xDF) {
    code = p[0] & 0x1F; length = 2; min = 0x80;
  } else if (p[0] >= 0xE0 && p[0] <= 0xEF) {
    code = p[0] & 0x0F; length = 3; min = 0x800;
  } else if (p[0] >= 0xF0 && p[0] <= 0xF4) {
    code = p[0] & 0x07; length = 4; min = 0x10000;
  } else {
    return -1;
  }
  if (n != length)
    return -1;
  for (size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80)
      return -1;
    code = (code << 6) | (p[i] & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return -1;
  return code;
}

bool IsControl(long code) {
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
    long code = CodePoint(character);
    if (code < 0 || IsControl(code))
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
