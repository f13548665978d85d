#include "fonts/font_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <type_traits>

namespace {

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryPtr =
    std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

// Opening a FIFO or a device would block or read forever.
bool IsReadableRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(path.c_str(), R_OK) == 0;
}

}  // namespace

std::vector<char32_t> CharactersWithGlyphs(
    const std::string& fontFile, const std::vector<char32_t>& wanted) {
  std::vector<char32_t> found;
  if (!IsReadableRegularFile(fontFile))
    return found;
  FT_Library rawLibrary = nullptr;
  if (FT_Init_FreeType(&rawLibrary) != 0)
    return found;
  LibraryPtr library(rawLibrary);
  FT_Face rawFace = nullptr;
  if (FT_New_Face(library.get(), fontFile.c_str(), 0, &rawFace) != 0)
    return found;
  FacePtr face(rawFace);  // released before the library
  for (char32_t c : wanted)
    if (FT_Get_Char_Index(face.get(), static_cast<FT_ULong>(c)) != 0)
      found.push_back(c);
  return found;
}

struct GlyphOutlineBoxes::State {
  LibraryPtr library;
  FacePtr face;  // released before the library
  int pointSize = 0;
};

GlyphOutlineBoxes::GlyphOutlineBoxes(const std::string& fontFile)
    : state_(new State) {
  if (!IsReadableRegularFile(fontFile))
    return;
  FT_Library rawLibrary = nullptr;
  if (FT_Init_FreeType(&rawLibrary) != 0)
    return;
  state_->library.reset(rawLibrary);
  FT_Face rawFace = nullptr;
  if (FT_New_Face(rawLibrary, fontFile.c_str(), 0, &rawFace) == 0)
    state_->face.reset(rawFace);
}

GlyphOutlineBoxes::~GlyphOutlineBoxes() {
  state_->face.reset();
  delete state_;
}

bool GlyphOutlineBoxes::Box(char32_t c, int pointSize, double* x1,
                            double* y1, double* x2, double* y2,
                            bool* empty) {
  FT_Face face = state_->face.get();
  if (face == nullptr || pointSize <= 0)
    return false;
  if (state_->pointSize != pointSize) {
    const FT_F26Dot6 scaled = static_cast<FT_F26Dot6>(64.0 * pointSize);
    if (FT_Set_Char_Size(face, scaled, scaled, 72, 72) != 0)
      return false;
    state_->pointSize = pointSize;
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
