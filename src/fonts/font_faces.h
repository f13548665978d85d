#ifndef QUILLMARK_FONTS_FONT_FACES_H_
#define QUILLMARK_FONTS_FONT_FACES_H_

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <memory>
#include <string>

// One open font file: FreeType's face 0 of it, read through a descriptor of
// its own, with the Unicode character map selected (else the first one), as
// ImageMagick selects it. It stays open while anyone holds it.
class FontFace {
 public:
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  FT_Face face() const { return face_; }

 private:
  friend class FontFaces;
  struct Library;
  FontFace() = default;

  std::shared_ptr<Library> library_;  // outlives the face
  int fd_ = -1;
  FT_StreamRec stream_{};
  FT_Face face_ = nullptr;
};

// The run's FreeType library and the font files it has open, by font key
// (FontFileKey): one home for the faces that the exact metrics, the glyph
// check and the vertical forms read.
//
// A key is opened once. Opening reads nothing but a regular file, and only
// the one the key was made for: a file replaced since has another key. At
// most kMaxFaces stay open; past it the cache lets go of them all and opens
// again as asked, so a job naming many fonts cannot exhaust file handles.
//
// Not thread-safe: one canvas at a time uses it.
class FontFaces {
 public:
  static constexpr size_t kMaxFaces = 32;

  FontFaces();
  ~FontFaces();
  FontFaces(const FontFaces&) = delete;
  FontFaces& operator=(const FontFaces&) = delete;

  // Whether FreeType started.
  bool started() const { return library_ != nullptr; }
  FT_Library library() const;

  // The face of the file that `fontKey` names; nullptr when it is not that
  // file, not a regular file, or no font. The verdict is kept with the key.
  std::shared_ptr<FontFace> Open(const std::string& fontKey);

 private:
  std::shared_ptr<FontFace::Library> library_;
  std::map<std::string, std::shared_ptr<FontFace>> faces_;
};

#endif  // QUILLMARK_FONTS_FONT_FACES_H_
