#ifndef QUILLMARK_RENDER_METRICS_FREETYPE_METRICS_H_
#define QUILLMARK_RENDER_METRICS_FREETYPE_METRICS_H_

#include <memory>
#include <string>

#include "fonts/font_faces.h"
#include "render/metrics/font_metrics.h"

// The numbers of MagickQueryFontMetrics computed with FreeType directly.
//
// ImageMagick opens the font file, reads its tables and loads every glyph
// again for each measurement. This keeps the library, each font file's face,
// one size object per point size and the glyphs' advances and boxes for the
// whole run, and repeats ImageMagick's arithmetic (non-raqm text path,
// rendering off) on them, to the bit.
//
// It answers only what it reproduces exactly and declines the rest, which
// the caller then measures with ImageMagick: a font collection, a font
// without scalable outlines, a glyph that does not load as a valid outline,
// a point size outside [1, kMaxPointSize], a text over kMaxTextBytes, a pen
// so far out that FreeType's fixed-point arithmetic would wrap, a glyph
// bitmap over 16 MiB (ImageMagick's allocator may refuse it), and every
// measurement when the ImageMagick or FreeType of this process is not one
// whose text path was read (see usable()).
//
// The answers hold for a drawing that sets nothing but the font, the size,
// colours, stroke and translation: text kerning, interword spacing, a text
// encoding, a density, antialiasing off or the image property type:hinting
// change ImageMagick's numbers and are not reproduced.
//
// Memory stays bounded whatever the job: past kMaxGlyphs cached glyphs,
// kMaxSizesPerFont sizes of one font or kMaxFonts fonts, the cache concerned
// is emptied and filled again.
//
// Not thread-safe: faces, sizes and the glyph cache change as it measures.
class FreetypeMetrics {
 public:
  static constexpr int kMaxPointSize = 1000;
  static constexpr size_t kMaxTextBytes = 64 * 1024;
  static constexpr size_t kMaxGlyphs = size_t{1} << 17;
  static constexpr size_t kMaxSizesPerFont = 128;
  static constexpr size_t kMaxFonts = 32;

  // Opens fonts through `faces` (the run's), or through faces of its own.
  explicit FreetypeMetrics(FontFaces* faces = nullptr);
  virtual ~FreetypeMetrics();
  FreetypeMetrics(const FreetypeMetrics&) = delete;
  FreetypeMetrics& operator=(const FreetypeMetrics&) = delete;

  // Whether this process's ImageMagick and FreeType measure the way this
  // class reproduces. When false, Measure declines everything and
  // unusableReason() says why.
  bool usable() const;
  const std::string& unusableReason() const;

  // Whether `pointSize` is one that Measure may answer for.
  static bool AcceptsSize(int pointSize) {
    return pointSize >= 1 && pointSize <= kMaxPointSize;
  }

  // Measures `text` (up to its first NUL byte, as a C string) in the font
  // file that `fontKey` names at `pointSize`, as MagickQueryFontMetrics
  // would. `fontKey` is FontFileKey(path) (fonts/font_file.h): when
  // the file found at the path is no longer that one, nothing is measured.
  // False when it declines; `out` is then unspecified. Virtual only so that
  // tests can make it disagree.
  virtual bool Measure(const std::string& fontKey, int pointSize,
                       const std::string& text, FontMetrics* out);

  // How many glyphs are cached now, over all fonts and sizes.
  size_t cachedGlyphs() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Whether ImageMagick's text measuring, given its version text (as
// GetMagickVersion gives it) and delegate list (GetMagickDelegates), is the
// one FreetypeMetrics reproduces: a build with freetype and without raqm, of
// a version from 7.1.1-43 to 7.1.2-29, in which that path did not change.
bool MagickTextPathReproduced(const char* versionText, const char* delegates);

#endif  // QUILLMARK_RENDER_METRICS_FREETYPE_METRICS_H_
