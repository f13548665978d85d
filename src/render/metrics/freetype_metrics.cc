#include "render/metrics/freetype_metrics.h"

#include <MagickWand/MagickWand.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_GLYPH_H
#include FT_OUTLINE_H
#include FT_SIZES_H

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "fonts/font_file.h"

// The arithmetic below follows ImageMagick 7.1.1-43's RenderFreetype
// (MagickCore/annotate.c) with rendering off and without raqm, and the
// FreeType 2.12 code it calls; the names in comments are theirs.

namespace {

// ImageMagick's load flags with rendering off and antialiasing on.
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT;

// Glyph positions past this (26.6) are declined: FreeType's FT_MulFix on
// x86-64 truncates to 32 bits, so the transform of the glyph origin would
// wrap near 2^31.
constexpr FT_Pos kMaxPen = FT_Pos{1} << 30;

// ImageMagick's FreeType allocator refuses requests above its
// max-memory-request policy, which is at least 16 MiB; a glyph bitmap larger
// than that may fail there and not here.
constexpr FT_Pos kMaxBitmapBytes = FT_Pos{16} << 20;

// The gray rasterizer keeps its cells in a 16 KiB pool and splits bands down
// to one row, so a row fails only with more than about 680 cells; a row has
// at most (clip width + 1) cells. Up to this width (times 4 for the
// oversampled overlap rendering) rasterizing cannot fail and is skipped.
constexpr FT_Pos kSafeRasterWidth = 512;

// --- ImageMagick's UTF-8 reader (MagickCore/token-private.h) --------------

struct UtfInfo {
  int codeMask, codeValue, utfMask, utfValue;
};
constexpr UtfInfo kUtfInfo[6] = {
    {0x80, 0x00, 0x000007f, 0x0000000}, {0xE0, 0xC0, 0x00007ff, 0x0000080},
    {0xF0, 0xE0, 0x000ffff, 0x0000800}, {0xF8, 0xF0, 0x01fffff, 0x0010000},
    {0xFC, 0xF8, 0x03fffff, 0x0200000}, {0xFE, 0xFC, 0x7ffffff, 0x4000000},
};

// GetNextUTFCode: the code at `text` and its length, -1 when invalid. Reads
// no further than the NUL byte that ends `text`.
int NextUtfCode(const unsigned char* text, unsigned* octets) {
  *octets = 1;
  int code = *text++;
  int unicode = code;
  for (int i = 0; i < 6; ++i) {
    if ((code & kUtfInfo[i].codeMask) == kUtfInfo[i].codeValue) {
      unicode &= kUtfInfo[i].utfMask;
      if (unicode < kUtfInfo[i].utfValue)
        break;
      *octets = static_cast<unsigned>(i + 1);
      return unicode;
    }
    int c = (*text++ ^ 0x80) & 0xff;
    if ((c & 0xc0) != 0)
      break;
    if (unicode > 0x10FFFF)
      break;
    unicode = (unicode << 6) | c;
  }
  return -1;
}

// The code points ImageMagick lays out for `text`: its UTF-8 codes, or,
// when any sequence is invalid, every byte read as Latin-1.
void DecodeLikeMagick(const char* text, std::vector<uint32_t>* codes) {
  codes->clear();
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  unsigned octets;
  for (int code; (code = NextUtfCode(p, &octets)) != 0; p += octets) {
    if (code < 0) {
      codes->clear();
      for (p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        codes->push_back(*p);
      return;
    }
    codes->push_back(static_cast<uint32_t>(code));
  }
}

// --- Fonts, sizes and glyphs ----------------------------------------------

struct Glyph {
  bool loaded = false;  // FT_Load_Glyph succeeded: the advance is known
  bool usable = false;  // a valid outline: the box and the rules below hold
  bool hasPoints = false;
  bool hasContours = false;
  bool overlap = false;  // FT_OUTLINE_OVERLAP: the oversampled rasterizer
  FT_Vector advance{0, 0};
  FT_BBox bbox{0, 0, 0, 0};  // FT_Outline_Get_BBox
  FT_BBox cbox{0, 0, 0, 0};  // FT_Outline_Get_CBox, at pen position 0
};

struct Size {
  FT_Size size = nullptr;
  FontMetrics start{};  // what a text with no glyphs measures
  std::unordered_map<FT_UInt, Glyph> glyphs;
  // Whether a wide glyph rasterizes, by (glyph, pen x & 63, pen y & 63).
  std::unordered_map<uint64_t, bool> wideRaster;
};

struct Font {
  bool usable = false;
  std::shared_ptr<FontFace> opened;  // holds `face` open
  FT_Face face = nullptr;
  bool hasKerning = false;
  bool noFirstGlyph = false;  // FT_Get_First_Char gave glyph 0
  FT_UInt spaceGlyph = 0;     // what a missing glyph is measured with
  std::unordered_map<int, std::unique_ptr<Size>> sizes;
};

template <typename T>
bool IsNegative(T value) {
  if constexpr (std::is_signed_v<T>)
    return value < 0;
  else
    return false;
}

int NoOpMoveOrLine(const FT_Vector*, void*) { return 0; }
int NoOpConic(const FT_Vector*, const FT_Vector*, void*) { return 0; }
int NoOpCubic(const FT_Vector*, const FT_Vector*, const FT_Vector*, void*) {
  return 0;
}

// Whether FT_Get_Glyph copies `outline` and the rasterizer walks it without
// an error of its own (FT_Outline_New's and FT_Outline_Decompose's checks).
bool OutlineIsValid(const FT_Outline& outline) {
  // FreeType 2.13 made the counts unsigned; 2.12 has them signed.
  if (IsNegative(outline.n_points) || IsNegative(outline.n_contours) ||
      outline.n_contours > outline.n_points)
    return false;
  if (outline.n_contours == 0)
    return outline.n_points == 0;
  if (!outline.contours || !outline.points || !outline.tags ||
      outline.n_points != outline.contours[outline.n_contours - 1] + 1)
    return false;
  static const FT_Outline_Funcs kWalk = {NoOpMoveOrLine, NoOpMoveOrLine,
                                         NoOpConic, NoOpCubic, 0, 0};
  FT_Outline copy = outline;
  return FT_Outline_Decompose(&copy, &kWalk, nullptr) == 0;
}

// What FT_Glyph_To_Bitmap does with a glyph at a pen position.
enum class Bitmap { kMade, kFails, kUnknown };

}  // namespace

struct FreetypeMetrics::State {
  std::unique_ptr<FontFaces> ownFaces;  // when none were handed over
  FontFaces* faces = nullptr;
  std::string unusableReason;
  std::unordered_map<std::string, std::unique_ptr<Font>> fonts;
  size_t glyphCount = 0;
  std::vector<uint32_t> codes;
  struct Grapheme {
    FT_UInt index;
    FT_Pos advanceX;
    FT_Pos advanceY;
  };
  std::vector<Grapheme> graphemes;

  ~State() { DropFonts(); }

  void DropSizes(Font* font) {
    for (auto& entry : font->sizes) {
      glyphCount -= entry.second->glyphs.size();
      if (entry.second->size)
        FT_Done_Size(entry.second->size);
    }
    font->sizes.clear();
  }

  void Close(Font* font) {
    DropSizes(font);
    font->face = nullptr;
    font->opened.reset();
  }

  void DropFonts() {
    for (auto& entry : fonts)
      Close(entry.second.get());
    fonts.clear();
  }

  void DropGlyphs() {
    for (auto& font : fonts)
      for (auto& size : font.second->sizes) {
        size.second->glyphs.clear();
        size.second->wideRaster.clear();
      }
    glyphCount = 0;
  }

  Font* FontFor(const std::string& key);
  void OpenFont(const std::string& key, Font* font);
  Size* SizeFor(Font* font, int pointSize);
  const Glyph& GlyphFor(Font* font, Size* size, FT_UInt id);
  Bitmap BitmapAt(Font* font, Size* size, FT_UInt id, const Glyph& glyph,
                  FT_Vector origin);
};

Font* FreetypeMetrics::State::FontFor(const std::string& key) {
  auto known = fonts.find(key);
  if (known != fonts.end())
    return known->second->usable ? known->second.get() : nullptr;
  if (fonts.size() >= kMaxFonts)
    DropFonts();
  auto font = std::make_unique<Font>();
  OpenFont(key, font.get());
  if (!font->usable)
    Close(font.get());  // the verdict stays, the face goes
  Font* opened = font.get();
  fonts.emplace(key, std::move(font));
  return opened->usable ? opened : nullptr;
}

void FreetypeMetrics::State::OpenFont(const std::string& key, Font* font) {
  const std::string path = FontPathOfKey(key);
  // ImageMagick gives these first characters a meaning of their own.
  if (path.empty() || path[0] == '@' || path[0] == '-' || path[0] == '^')
    return;
  font->opened = faces->Open(key);
  if (!font->opened)
    return;
  font->face = font->opened->face();
  FT_Face face = font->face;
  if (face->num_faces != 1 || !FT_IS_SCALABLE(face))
    return;
  FT_UInt first = 0;
  FT_Get_First_Char(face, &first);
  font->noFirstGlyph = first == 0;
  font->hasKerning = FT_HAS_KERNING(face);
  font->spaceGlyph = FT_Get_Char_Index(face, ' ');
  font->usable = true;
}

Size* FreetypeMetrics::State::SizeFor(Font* font, int pointSize) {
  auto known = font->sizes.find(pointSize);
  if (known != font->sizes.end()) {
    if (!known->second->size)
      return nullptr;
    FT_Activate_Size(known->second->size);
    return known->second.get();
  }
  if (font->sizes.size() >= kMaxSizesPerFont)
    DropSizes(font);
  auto size = std::make_unique<Size>();
  Size* made = size.get();
  font->sizes.emplace(pointSize, std::move(size));
  FT_Face face = font->face;
  FT_Size ftSize;
  if (FT_New_Size(face, &ftSize) != 0)
    return nullptr;
  FT_Activate_Size(ftSize);
  FT_F26Dot6 scaled = static_cast<FT_F26Dot6>(64.0 * pointSize);
  if (FT_Set_Char_Size(face, scaled, scaled, 72, 72) != 0) {
    FT_Done_Size(ftSize);
    return nullptr;
  }
  made->size = ftSize;
  const FT_Size_Metrics& m = face->size->metrics;
  FontMetrics& s = made->start;
  s.charWidth = m.x_ppem;
  s.charHeight = m.y_ppem;
  s.ascender = static_cast<double>(m.ascender) / 64.0;
  s.descender = static_cast<double>(m.descender) / 64.0;
  if (m.ascender == 0) {  // ImageMagick's fix for broken fonts
    s.ascender = m.y_ppem;
    if (m.descender == 0)
      s.descender = m.y_ppem / -3.5;
  }
  s.textW = 0;
  s.textH = static_cast<double>(m.height) / 64.0;
  s.maxHori = 0.0;
  if (m.max_advance > MagickEpsilon)
    s.maxHori = static_cast<double>(m.max_advance) / 64.0;
  s.bx1 = 0.0;
  s.by1 = s.descender;
  s.bx2 = s.ascender + s.descender;
  s.by2 = s.ascender + s.descender;
  s.originX = 0;
  s.originY = 0;
  return made;
}

const Glyph& FreetypeMetrics::State::GlyphFor(Font* font, Size* size,
                                              FT_UInt id) {
  auto known = size->glyphs.find(id);
  if (known != size->glyphs.end())
    return known->second;
  Glyph& glyph = size->glyphs[id];
  ++glyphCount;
  FT_Face face = font->face;
  if (FT_Load_Glyph(face, id, kLoadFlags) != 0)
    return glyph;
  FT_GlyphSlot slot = face->glyph;
  glyph.loaded = true;
  glyph.advance = slot->advance;
  const FT_Outline& outline = slot->outline;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE || !OutlineIsValid(outline))
    return glyph;
  FT_Outline copy = outline;
  if (FT_Outline_Get_BBox(&copy, &glyph.bbox) != 0)
    return glyph;
  FT_Outline_Get_CBox(&copy, &glyph.cbox);
  glyph.hasPoints = outline.n_points > 0;
  glyph.hasContours = outline.n_contours > 0;
  glyph.overlap = (outline.flags & FT_OUTLINE_OVERLAP) != 0;
  glyph.usable = true;
  return glyph;
}

// FT_Glyph_To_Bitmap after the glyph was moved to `origin`, from the cached
// control box: ft_glyphslot_preset_bitmap's pixel box and its range, then
// ft_smooth_render's and ft_smooth_raster_overlap's checks. Only a glyph too
// wide to be sure of the rasterizer is rendered, once per sub-pixel phase.
Bitmap FreetypeMetrics::State::BitmapAt(Font* font, Size* size, FT_UInt id,
                                        const Glyph& glyph, FT_Vector origin) {
  // An outline without points has an empty control box wherever it is.
  if (!glyph.hasPoints)
    return Bitmap::kMade;
  const FT_Pos xMin = glyph.cbox.xMin + origin.x;
  const FT_Pos yMin = glyph.cbox.yMin + origin.y;
  const FT_Pos xMax = glyph.cbox.xMax + origin.x;
  const FT_Pos yMax = glyph.cbox.yMax + origin.y;
  const FT_Pos left = xMin >> 6;
  const FT_Pos bottom = yMin >> 6;
  const FT_Pos right = (xMax >> 6) + (((xMax & 63) + 63) >> 6);
  const FT_Pos top = (yMax >> 6) + (((yMax & 63) + 63) >> 6);
  if (left < -0x8000 || right > 0x7FFF || bottom < -0x8000 || top > 0x7FFF)
    return Bitmap::kFails;  // Raster_Overflow
  const FT_Pos width = right - left;
  const FT_Pos rows = top - bottom;
  if (width == 0 || rows == 0)
    return Bitmap::kMade;  // nothing to rasterize
  if (width * rows > kMaxBitmapBytes)
    return Bitmap::kUnknown;
  if (glyph.overlap && width * 4 > 0x7FFF)
    return Bitmap::kFails;  // too wide for 16-bit spans
  if (!glyph.hasContours)
    return Bitmap::kMade;
  if ((glyph.overlap ? width * 4 : width) <= kSafeRasterWidth)
    return Bitmap::kMade;

  // The rasterizer sees the outline relative to its bitmap, which a whole
  // pixel of pen movement does not change.
  const uint64_t phase = (static_cast<uint64_t>(id) << 12) |
                         static_cast<uint64_t>((origin.x & 63) << 6) |
                         static_cast<uint64_t>(origin.y & 63);
  auto known = size->wideRaster.find(phase);
  if (known != size->wideRaster.end())
    return known->second ? Bitmap::kMade : Bitmap::kFails;
  FT_Glyph image;
  if (FT_Load_Glyph(font->face, id, kLoadFlags) != 0 ||
      FT_Get_Glyph(font->face->glyph, &image) != 0)
    return Bitmap::kUnknown;
  const FT_Matrix identity = {65536L, 0L, 0L, 65536L};
  FT_Glyph_Transform(image, &identity, &origin);
  FT_Error error = FT_Glyph_To_Bitmap(&image, FT_RENDER_MODE_NORMAL, nullptr, 1);
  FT_Done_Glyph(image);
  if (error != 0 && error != FT_Err_Raster_Overflow)
    return Bitmap::kUnknown;  // e.g. out of memory here, not there
  size->wideRaster[phase] = error == 0;
  return error == 0 ? Bitmap::kMade : Bitmap::kFails;
}

FreetypeMetrics::FreetypeMetrics(FontFaces* faces) : state_(new State) {
  if (faces == nullptr) {
    state_->ownFaces = std::make_unique<FontFaces>();
    faces = state_->ownFaces.get();
  }
  state_->faces = faces;
  if (!MagickTextPathReproduced(GetMagickVersion(nullptr),
                                GetMagickDelegates())) {
    state_->unusableReason =
        std::string("ImageMagick ") + GetMagickVersion(nullptr) +
        " with delegates '" + GetMagickDelegates() + "'";
    return;
  }
  if (!faces->started()) {
    state_->unusableReason = "FreeType did not start";
    return;
  }
  FT_Int major = 0, minor = 0, patch = 0;
  FT_Library_Version(faces->library(), &major, &minor, &patch);
  // Modelled on 2.12 (Debian 12); 2.13 (Debian 13) gives the same numbers
  // on the differential test's fonts and texts. The probes still check each
  // font at run time.
  if (major != 2 || minor < 12 || minor > 13)
    state_->unusableReason = "FreeType " + std::to_string(major) + '.' +
                             std::to_string(minor) + '.' +
                             std::to_string(patch);
}

FreetypeMetrics::~FreetypeMetrics() = default;

bool FreetypeMetrics::usable() const {
  return state_->faces->started() && state_->unusableReason.empty();
}

const std::string& FreetypeMetrics::unusableReason() const {
  return state_->unusableReason;
}

size_t FreetypeMetrics::cachedGlyphs() const { return state_->glyphCount; }

bool FreetypeMetrics::Measure(const std::string& fontKey, int pointSize,
                              const std::string& text, FontMetrics* out) {
  State& s = *state_;
  if (!usable() || !AcceptsSize(pointSize))
    return false;
  const char* chars = text.c_str();
  if (strlen(chars) > kMaxTextBytes)
    return false;
  if (s.glyphCount > kMaxGlyphs)
    s.DropGlyphs();
  Font* font = s.FontFor(fontKey);
  if (!font)
    return false;
  Size* size = s.SizeFor(font, pointSize);
  if (!size)
    return false;
  FontMetrics m = size->start;
  if (*chars == '\0' || font->noFirstGlyph) {
    *out = m;
    return true;
  }
  FT_Face face = font->face;

  // ComplexTextLayout: glyph indexes and advances, kerning added to the
  // advance before a pair.
  DecodeLikeMagick(chars, &s.codes);
  s.graphemes.clear();
  FT_UInt last = 0;
  for (uint32_t code : s.codes) {
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (index != 0 && last != 0 && font->hasKerning) {
      FT_Vector kerning;
      if (FT_Get_Kerning(face, last, index, FT_KERNING_DEFAULT, &kerning) == 0)
        s.graphemes.back().advanceX += static_cast<FT_Pos>(1.0 * kerning.x);
    }
    const Glyph& glyph = s.GlyphFor(font, size, index);
    if (!glyph.loaded)
      return false;
    s.graphemes.push_back({index, glyph.advance.x, glyph.advance.y});
    last = index;
  }

  // The glyph loop of RenderFreetype, bounds in mixed units as there.
  FT_Vector origin = {0, 0};
  double width = 0;
  double originX = 0, originY = 0;
  const size_t lastCharacter = s.graphemes.size() - 1;
  for (size_t i = 0; i < s.graphemes.size(); ++i) {
    const State::Grapheme& g = s.graphemes[i];
    FT_UInt id = g.index != 0 ? g.index : font->spaceGlyph;
    const Glyph& glyph = s.GlyphFor(font, size, id);
    if (!glyph.usable)
      return false;
    const FT_BBox& b = glyph.bbox;
    if (b.xMin < m.bx1 && b.xMin != 0)
      m.bx1 = static_cast<double>(b.xMin);
    if (b.yMin < m.by1 && b.yMin != 0)
      m.by1 = static_cast<double>(b.yMin);
    if (b.xMax > m.bx2 && b.xMax != 0)
      m.bx2 = static_cast<double>(b.xMax);
    if (b.yMax > m.by2 && b.yMax != 0)
      m.by2 = static_cast<double>(b.yMax);
    if (origin.x > kMaxPen || origin.x < -kMaxPen || origin.y > kMaxPen ||
        origin.y < -kMaxPen)
      return false;
    Bitmap bitmap = s.BitmapAt(font, size, id, glyph, origin);
    if (bitmap == Bitmap::kUnknown)
      return false;
    if (bitmap == Bitmap::kFails)
      continue;  // ImageMagick skips the glyph, advance and all
    if (i == lastCharacter)
      origin.x += g.advanceX > b.xMax ? g.advanceX : b.xMax;
    else
      origin.x += g.advanceX;
    origin.y += g.advanceY;
    originX = static_cast<double>(origin.x);
    originY = static_cast<double>(origin.y);
    if (originX > width)
      width = originX;
  }
  m.bx1 /= 64.0;
  m.by1 /= 64.0;
  m.bx2 /= 64.0;
  m.by2 /= 64.0;
  m.originX = originX / 64.0;
  m.originY = originY / 64.0;
  m.textW = std::ceil(width / 64.0);
  *out = m;
  return true;
}

bool MagickTextPathReproduced(const char* versionText, const char* delegates) {
  int major, minor, micro, patch;
  if (!versionText || !delegates ||
      std::sscanf(versionText, "ImageMagick %d.%d.%d-%d", &major, &minor,
                  &micro, &patch) != 4)
    return false;
  if (major != 7 || minor != 1)
    return false;
  const bool inRange = (micro == 1 && patch >= 43) ||
                       (micro == 2 && patch <= 29);
  if (!inRange)
    return false;
  bool freetype = false, raqm = false;
  std::istringstream words(delegates);
  for (std::string word; words >> word;) {
    freetype |= word == "freetype";
    raqm |= word == "raqm";
  }
  return freetype && !raqm;
}
