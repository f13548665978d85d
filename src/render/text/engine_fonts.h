#ifndef QUILLMARK_RENDER_TEXT_ENGINE_FONTS_H_
#define QUILLMARK_RENDER_TEXT_ENGINE_FONTS_H_

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <map>
#include <memory>
#include <string>

// Owners for the FreeType and HarfBuzz objects of the text engine.
struct FtLibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FtFaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct HbFontDeleter {
  void operator()(hb_font_t* font) const { hb_font_destroy(font); }
};
struct HbBufferDeleter {
  void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};
using FtLibraryPtr = std::unique_ptr<FT_LibraryRec_, FtLibraryDeleter>;
using FtFacePtr = std::unique_ptr<FT_FaceRec_, FtFaceDeleter>;
using HbFontPtr = std::unique_ptr<hb_font_t, HbFontDeleter>;
using HbBufferPtr = std::unique_ptr<hb_buffer_t, HbBufferDeleter>;

// One font file as the engine keeps it open: a FreeType face for outlines
// and colour bitmaps, a HarfBuzz font (OpenType functions, read from the
// same file) for the character map and for shaping. A collection gives its
// first face.
struct EngineFont {
  std::string path;
  FtFacePtr face;
  HbFontPtr hb;
  int unitsPerEm = 1000;
  bool scalable = true;  // false: bitmap strikes only (a colour emoji font)
  bool colour = false;   // colour glyphs (CBDT/CBLC, sbix, COLR)
  int size = 0;          // the pixel size `hb` is scaled to

  // Scales `hb` to `pixels` per em: positions then come in 26.6 pixels.
  void SetSize(int pixels);
  bool HasGlyph(char32_t c) const;
  // HasGlyph, but a colour font covers U+FE0F (emoji presentation) even
  // without a glyph for it: the sequence it ends is the colour font's.
  bool Covers(char32_t c) const;
};

// The fonts the engine has opened in this run, by file (replaced files
// open anew). Not thread-safe.
class EngineFonts {
 public:
  // The font of `path`, opened on first use; nullptr when it does not open
  // as a font.
  EngineFont* Open(const std::string& path);

 private:
  FtLibraryPtr library_;
  bool libraryFailed_ = false;
  std::map<std::string, std::unique_ptr<EngineFont>> fonts_;  // by file key
};

#endif  // QUILLMARK_RENDER_TEXT_ENGINE_FONTS_H_
