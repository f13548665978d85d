#include "fonts/font_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
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
