#include "fonts/glyph_coverage.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>

#include "util/utf8.h"

namespace {

bool IsControl(char32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

// The glyph locations of a TrueType font ("loca", as byte offsets into
// "glyf"), and the length of "glyf"; empty for other fonts.
struct GlyphLocations {
  std::vector<FT_ULong> offsets;
  FT_ULong glyfLength = 0;
};

GlyphLocations ReadGlyphLocations(FT_Face face) {
  GlyphLocations result;
  const TT_Header* head =
      static_cast<const TT_Header*>(FT_Get_Sfnt_Table(face, FT_SFNT_HEAD));
  FT_ULong locaLength = 0;
  if (head == nullptr ||
      FT_Load_Sfnt_Table(face, TTAG_glyf, 0, nullptr,
                         &result.glyfLength) != 0 ||
      FT_Load_Sfnt_Table(face, TTAG_loca, 0, nullptr, &locaLength) != 0)
    return result;
  const int entry = head->Index_To_Loc_Format != 0 ? 4 : 2;
  // FreeType reads at most 0x10000 entries.
  locaLength = std::min<FT_ULong>(locaLength, FT_ULong{0x10000} * entry);
  std::vector<FT_Byte> loca(locaLength);
  if (locaLength == 0 ||
      FT_Load_Sfnt_Table(face, TTAG_loca, 0, loca.data(), &locaLength) != 0)
    return result;
  for (size_t at = 0; at + entry <= loca.size(); at += entry)
    result.offsets.push_back(
        entry == 4 ? FT_ULong{loca[at]} << 24 | FT_ULong{loca[at + 1]} << 16 |
                         FT_ULong{loca[at + 2]} << 8 | loca[at + 3]
                   : (FT_ULong{loca[at]} << 8 | loca[at + 1]) * 2);
  return result;
}

// Whether FreeType finds the location of `glyph` broken: it then loads the
// glyph as an empty one without an error, and nothing is drawn for it. Its
// rule (tt_face_get_location): the glyph's start, or its end unless it is
// the last glyph, lies past the end of "glyf".
bool LocationIsBroken(const GlyphLocations& locations, FT_UInt glyph) {
  const std::vector<FT_ULong>& at = locations.offsets;
  if (glyph >= at.size())
    return false;
  if (at[glyph] > locations.glyfLength)
    return true;
  return glyph + 1 < at.size() && at[glyph + 1] > locations.glyfLength &&
         glyph + 2 != at.size();
}

}  // namespace

struct GlyphCoverage::State {
  std::unique_ptr<FontFaces> ownFaces;  // when none were handed over
  FontFaces* faces = nullptr;
  struct Face {
    std::shared_ptr<FontFace> opened;  // null: not a font
    FT_Size size = nullptr;  // this check's own, beside the metrics' sizes
    GlyphLocations locations;
    std::set<FT_UInt> loaded;  // glyphs known to load
  };
  std::map<std::string, Face> faces_;  // by font key

  ~State() { Close(); }
  void Close() {
    for (auto& entry : faces_)
      if (entry.second.size != nullptr)
        FT_Done_Size(entry.second.size);
    faces_.clear();
  }
};

GlyphCoverage::GlyphCoverage(FontFaces* faces) : state_(new State) {
  if (faces == nullptr) {
    state_->ownFaces = std::make_unique<FontFaces>();
    faces = state_->ownFaces.get();
  }
  state_->faces = faces;
}
GlyphCoverage::~GlyphCoverage() = default;

GlyphCoverage::Result GlyphCoverage::Check(const std::string& fontKey,
                                           int pointSize,
                                           const std::vector<std::string>& units) {
  Result result;
  State& s = *state_;
  if (s.faces_.size() >= kMaxFaces && s.faces_.count(fontKey) == 0)
    s.Close();
  auto found = s.faces_.find(fontKey);
  if (found == s.faces_.end()) {
    State::Face opened;
    opened.opened = s.faces->Open(fontKey);
    if (opened.opened) {
      opened.locations = ReadGlyphLocations(opened.opened->face());
      if (FT_New_Size(opened.opened->face(), &opened.size) != 0)
        opened.size = nullptr;
    }
    found = s.faces_.emplace(fontKey, std::move(opened)).first;
  }
  State::Face& face = found->second;
  if (!face.opened)
    return result;
  result.opened = true;
  FT_Face ftFace = face.opened->face();
  const bool sized =
      pointSize > 0 && face.size != nullptr &&
      FT_Activate_Size(face.size) == 0 &&
      FT_Set_Char_Size(ftFace, static_cast<FT_F26Dot6>(64.0 * pointSize),
                       static_cast<FT_F26Dot6>(64.0 * pointSize), 72, 72) == 0;
  for (const std::string& character : units) {
    const char32_t code = UnitCodePoint(character);
    // A unit that is not one well-formed character decodes to U+FFFD.
    if ((code == kReplacementCharacter && character != EncodeUtf8(code)) ||
        IsControl(code))
      continue;
    FT_UInt glyph = FT_Get_Char_Index(ftFace, static_cast<FT_ULong>(code));
    if (glyph == 0) {
      if (std::find(result.missing.begin(), result.missing.end(), character) ==
          result.missing.end())
        result.missing.push_back(character);
      continue;
    }
    if (!sized || face.loaded.count(glyph) != 0)
      continue;
    if (LocationIsBroken(face.locations, glyph) ||
        FT_Load_Glyph(ftFace, glyph,
                      FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0)
      result.brokenGlyph = true;
    else
      face.loaded.insert(glyph);
  }
  return result;
}
