// Exact measuring: a font is answered from FreeType only after its probes
// agree with ImageMagick bit for bit, everything the engine declines is
// answered by ImageMagick, and an unreadable font is measured by neither.

#include <MagickWand/MagickWand.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "render/metrics/exact_metrics.h"
#include "render/metrics/freetype_metrics.h"
#include "render/magick/handles.h"
#include "render/metrics/magick_metrics.h"
#include "fonts/font_file.h"
#include "render/metrics/metrics_cache.h"
#include "support/temp_dir.h"

namespace {

const char kSerif[] = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

bool Same(const FontMetrics& a, const FontMetrics& b) {
  return std::memcmp(&a, &b, sizeof(FontMetrics)) == 0;
}

// A canvas and a drawing with `font`, as the renderer sets them up, and
// The MagickQueryFontMetrics calls of the tests' own MagickMetrics.
uint64_t testQueries = 0;

// Every MagickQueryFontMetrics call so far: the tests' own and the probes.
uint64_t QueryCount(const ExactMetricsRun& run) {
  return testQueries + run.probeQueries();
}

// ImageMagick's own answers to compare with.
class MagickCanvas {
 public:
  explicit MagickCanvas(const std::string& font) {
    MagickWandGenesis();
    PixelWandPtr none(NewPixelWand());
    PixelSetColor(none.get(), "none");
    MagickNewImage(wand_.get(), 40, 20, none.get());
    DrawSetFont(drawing_.get(), font.c_str());
    DrawSetFontSize(drawing_.get(), 12);
  }
  MagickWand* wand() { return wand_.get(); }
  DrawingWand* drawing() { return drawing_.get(); }

  // What MagickQueryFontMetrics says for `text` at `size`, on a drawing of
  // its own.
  FontMetrics Expected(const std::string& font, int size,
                       const std::string& text) {
    DrawingWandPtr drawing(NewDrawingWand());
    DrawSetFont(drawing.get(), font.c_str());
    MagickMetrics magick(wand_.get(), drawing.get(), true, &testQueries);
    magick.SetFontSize(size);
    FontMetrics m{};
    EXPECT_TRUE(magick.Measure(text, &m)) << text;
    return m;
  }

 private:
  MagickWandPtr wand_{NewMagickWand()};
  DrawingWandPtr drawing_{NewDrawingWand()};
};

// Passes everything to a MagickMetrics and counts what it was asked.
class CountingFallback : public MetricsSource {
 public:
  CountingFallback(MagickWand* wand, DrawingWand* drawing, bool readable)
      : magick_(wand, drawing, readable, &testQueries), drawing_(drawing) {}
  void SetFontSize(int size) override {
    ++sizesSet;
    magick_.SetFontSize(size);
  }
  bool Measure(const std::string& text, FontMetrics* out) override {
    ++measured;
    return magick_.Measure(text, out);
  }
  double drawingSize() const { return DrawGetFontSize(drawing_); }

  int sizesSet = 0;
  int measured = 0;

 private:
  MagickMetrics magick_;
  DrawingWand* drawing_;
};

// An engine that adds 1/64 to the width of one text at one size (any size
// when 0), and counts how often it was asked.
class DisagreeingEngine : public FreetypeMetrics {
 public:
  DisagreeingEngine(std::string text, int size)
      : text_(std::move(text)), size_(size) {}
  bool Measure(const std::string& fontKey, int pointSize,
               const std::string& text, FontMetrics* out) override {
    ++calls;
    if (!FreetypeMetrics::Measure(fontKey, pointSize, text, out))
      return false;
    if (text == text_ && (size_ == 0 || size_ == pointSize))
      out->textW += 1.0 / 64;
    return true;
  }
  int calls = 0;

 private:
  std::string text_;
  int size_;
};

std::string BigEndian32(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
          static_cast<char>(v >> 8), static_cast<char>(v)};
}

// A font collection of two faces that are both `font` (a single TrueType
// font): a 'ttcf' header, then the font with its table offsets moved.
std::string TwoFaceCollection(const std::string& font) {
  const uint32_t shift = 12 + 2 * 4;
  std::string out = "ttcf" + BigEndian32(0x00010000) + BigEndian32(2) +
                    BigEndian32(shift) + BigEndian32(shift);
  std::string body = font;
  auto u16 = [&](size_t at) {
    return (static_cast<unsigned char>(body[at]) << 8) |
           static_cast<unsigned char>(body[at + 1]);
  };
  auto u32 = [&](size_t at) {
    return (static_cast<uint32_t>(u16(at)) << 16) | u16(at + 2);
  };
  int tables = u16(4);
  for (int i = 0; i < tables; ++i) {
    size_t at = 12 + 16 * i + 8;
    body.replace(at, 4, BigEndian32(u32(at) + shift));
  }
  return out + body;
}

TEST(ExactMetricsTest, TrustedFontIsAnsweredByFreetypeAfterItsProbes) {
  MagickCanvas canvas(QUILLMARK_TEST_SANS);
  CountingFallback fallback(canvas.wand(), canvas.drawing(), true);
  ExactMetricsRun run;
  ASSERT_TRUE(run.engine().usable()) << run.engine().unusableReason();
  ExactMetrics exact(&run, &fallback, canvas.wand(),
                     FontFileKey(QUILLMARK_TEST_SANS));

  exact.SetFontSize(37);
  EXPECT_EQ(1, fallback.sizesSet);  // the drawing needs the size too
  EXPECT_EQ(37, fallback.drawingSize());
  uint64_t before = QueryCount(run);
  FontMetrics m;
  ASSERT_TRUE(exact.Measure("Wavy AV", &m));
  // Every probe text at the first size and at 11, through ImageMagick.
  EXPECT_EQ(2 * ExactProbeTexts().size(), QueryCount(run) - before);
  EXPECT_EQ(1, run.trustedFonts());
  EXPECT_EQ(0, fallback.measured);

  before = QueryCount(run);
  const std::vector<std::pair<int, std::string>> asked = {
      {37, "Wavy AV"}, {12, "\xE5\x9B\xBD x"}, {150, "fi\tT."}, {5, ""}};
  for (const auto& [size, text] : asked) {
    exact.SetFontSize(size);
    ASSERT_TRUE(exact.Measure(text, &m));
    EXPECT_TRUE(Same(canvas.Expected(QUILLMARK_TEST_SANS, size, text), m))
        << size << " " << text;
  }
  // Only the comparisons above asked ImageMagick.
  EXPECT_EQ(asked.size(), QueryCount(run) - before);
  EXPECT_EQ(0, fallback.measured);
}

TEST(ExactMetricsTest, DeclinedInputsAreAnsweredByImageMagick) {
  TempDir dir;
  const std::string collection = dir.Write(
      "two.ttc", TwoFaceCollection(ReadWholeFile(QUILLMARK_TEST_SANS)));
  MagickCanvas canvas(collection);
  CountingFallback fallback(canvas.wand(), canvas.drawing(), true);
  ExactMetricsRun run;
  ExactMetrics exact(&run, &fallback, canvas.wand(), FontFileKey(collection));

  // A collection: the engine declines it outright, so the probes fail.
  FontMetrics m;
  EXPECT_FALSE(run.engine().Measure(FontFileKey(collection), 20, "AV", &m));
  exact.SetFontSize(20);
  ASSERT_TRUE(exact.Measure("AV", &m));
  EXPECT_TRUE(Same(canvas.Expected(collection, 20, "AV"), m));
  EXPECT_EQ(1, run.distrustedFonts());
  EXPECT_EQ(1, fallback.measured);
  // ImageMagick reads the first face, which is DejaVu Sans itself.
  EXPECT_TRUE(Same(canvas.Expected(QUILLMARK_TEST_SANS, 20, "AV"), m));

  // A trusted font at a size or with a text the engine does not take.
  MagickCanvas sans(QUILLMARK_TEST_SANS);
  CountingFallback sansFallback(sans.wand(), sans.drawing(), true);
  ExactMetrics trusted(&run, &sansFallback, sans.wand(),
                       FontFileKey(QUILLMARK_TEST_SANS));
  trusted.SetFontSize(FreetypeMetrics::kMaxPointSize + 1);
  ASSERT_TRUE(trusted.Measure("Ag", &m));
  EXPECT_TRUE(Same(
      sans.Expected(QUILLMARK_TEST_SANS, FreetypeMetrics::kMaxPointSize + 1,
                    "Ag"),
      m));
  EXPECT_EQ(1, run.trustedFonts() + run.distrustedFonts());  // no verdict yet
  // Over the engine's text bound (few characters, ImageMagick is slow).
  std::string longText;
  while (longText.size() <= FreetypeMetrics::kMaxTextBytes)
    longText += "\xF0\x9F\x98\x80";
  trusted.SetFontSize(4);
  ASSERT_TRUE(trusted.Measure(longText, &m));
  EXPECT_EQ(2, run.trustedFonts() + run.distrustedFonts());
  EXPECT_EQ(2, sansFallback.measured);
  ASSERT_TRUE(trusted.Measure("short", &m));
  EXPECT_EQ(2, sansFallback.measured);
}

TEST(ExactMetricsTest, OneDifferentProbeHandsTheFontToImageMagick) {
  // At the second probe size only, and in the Latin-1 probe only.
  for (int size : {0, kExactProbeSecondSize}) {
    MagickCanvas canvas(QUILLMARK_TEST_SANS);
    CountingFallback fallback(canvas.wand(), canvas.drawing(), true);
    auto engine = std::make_unique<DisagreeingEngine>("\xFF" "AVAf\xED", size);
    DisagreeingEngine* disagreeing = engine.get();
    ExactMetricsRun run(std::move(engine));
    ExactMetrics exact(&run, &fallback, canvas.wand(),
                       FontFileKey(QUILLMARK_TEST_SANS));
    exact.SetFontSize(30);
    FontMetrics m;
    ASSERT_TRUE(exact.Measure("Quillmark", &m));
    EXPECT_EQ(1, run.distrustedFonts());
    int callsAfterProbes = disagreeing->calls;

    uint64_t before = QueryCount(run);
    for (int s : {30, 11, 64}) {
      exact.SetFontSize(s);
      ASSERT_TRUE(exact.Measure("Quillmark", &m));
      EXPECT_TRUE(Same(canvas.Expected(QUILLMARK_TEST_SANS, s, "Quillmark"), m));
    }
    EXPECT_EQ(6u, QueryCount(run) - before);  // 3 answers, 3 comparisons
    EXPECT_EQ(callsAfterProbes, disagreeing->calls);
    EXPECT_EQ(4, fallback.measured);
  }
}

TEST(ExactMetricsTest, TrustIsPerFontFile) {
  // A disagreement outside the probes is not seen: the trusted font's
  // answers do come from the engine, and the verdict of one font file says
  // nothing about another.
  MagickCanvas canvas(QUILLMARK_TEST_SANS);
  CountingFallback fallback(canvas.wand(), canvas.drawing(), true);
  ExactMetricsRun run(std::make_unique<DisagreeingEngine>("zz", 0));
  ExactMetrics exact(&run, &fallback, canvas.wand(),
                     FontFileKey(QUILLMARK_TEST_SANS));
  exact.SetFontSize(20);
  FontMetrics m;
  ASSERT_TRUE(exact.Measure("zz", &m));
  FontMetrics truth = canvas.Expected(QUILLMARK_TEST_SANS, 20, "zz");
  EXPECT_EQ(truth.textW + 1.0 / 64, m.textW);

  MagickCanvas serif(kSerif);
  CountingFallback serifFallback(serif.wand(), serif.drawing(), true);
  ExactMetrics other(&run, &serifFallback, serif.wand(), FontFileKey(kSerif));
  other.SetFontSize(20);
  ASSERT_TRUE(other.Measure("Serif", &m));
  EXPECT_EQ(2, run.trustedFonts());
  EXPECT_TRUE(Same(serif.Expected(kSerif, 20, "Serif"), m));
}

TEST(ExactMetricsTest, UnreadableFontIsMeasuredByNeither) {
  MagickCanvas canvas("/nonexistent/font.ttf");
  CountingFallback fallback(canvas.wand(), canvas.drawing(), false);
  auto engine = std::make_unique<DisagreeingEngine>("", 0);
  DisagreeingEngine* counted = engine.get();
  ExactMetricsRun run(std::move(engine));
  ExactMetrics exact(&run, &fallback, canvas.wand(),
                     FontFileKey("/nonexistent/font.ttf"));
  exact.SetFontSize(12);
  uint64_t before = QueryCount(run);
  FontMetrics m;
  EXPECT_FALSE(exact.Measure("A", &m));
  EXPECT_EQ(before, QueryCount(run));
  EXPECT_EQ(0, counted->calls);
  EXPECT_EQ(0, fallback.measured);
  EXPECT_EQ(1, fallback.sizesSet);
}

TEST(FreetypeMetricsTest, AFontFileReplacedDuringTheRunIsMeasuredAnew) {
  TempDir dir;
  const std::string path =
      dir.Write("font.ttf", ReadWholeFile(QUILLMARK_TEST_SANS));
  const std::string sansKey = FontFileKey(path);
  FreetypeMetrics engine;
  MagickCanvas canvas(path);
  FontMetrics m;
  ASSERT_TRUE(engine.Measure(sansKey, 24, "Replace", &m));
  EXPECT_TRUE(Same(canvas.Expected(path, 24, "Replace"), m));

  // Written anew (new size and modification time): the old key no longer
  // names the file there, the new one measures the new content.
  const std::string replacement = dir.File("replacement.ttf");
  {
    std::string serif = ReadWholeFile(kSerif);
    dir.Write("replacement.ttf", serif);
    ASSERT_EQ(0, rename(replacement.c_str(), path.c_str()));
  }
  const std::string serifKey = FontFileKey(path);
  ASSERT_NE(sansKey, serifKey);
  FontMetrics stale;
  // Cached, the old face still answers for the old key...
  ASSERT_TRUE(engine.Measure(sansKey, 24, "Replace", &stale));
  EXPECT_TRUE(Same(m, stale));
  // ...but is never opened for it again, nor confused with the new one.
  ASSERT_TRUE(engine.Measure(serifKey, 24, "Replace", &m));
  EXPECT_TRUE(Same(canvas.Expected(path, 24, "Replace"), m));
  EXPECT_TRUE(Same(canvas.Expected(kSerif, 24, "Replace"), m));
  FreetypeMetrics fresh;
  EXPECT_FALSE(fresh.Measure(sansKey, 24, "Replace", &m));
}

TEST(FreetypeMetricsTest, StaysExactWhenItsCachesAreEmptied) {
  // More sizes of one font than are kept: the sizes are dropped and made
  // again, and the answers do not change. A text is read up to its first
  // NUL, as ImageMagick reads it.
  FreetypeMetrics engine;
  const std::string key = FontFileKey(QUILLMARK_TEST_SANS);
  MagickCanvas canvas(QUILLMARK_TEST_SANS);
  const std::string text("To\xC3\xA9\0hidden", 10);
  FontMetrics m;
  for (int size = 1; size <= static_cast<int>(
                              FreetypeMetrics::kMaxSizesPerFont) + 40;
       ++size) {
    ASSERT_TRUE(engine.Measure(key, size, text, &m));
    if (size % 41 == 0 || size == 1) {
      EXPECT_TRUE(Same(canvas.Expected(QUILLMARK_TEST_SANS, size, text), m))
          << size;
    }
  }
  // Three glyphs a size, for the sizes made since the drop.
  EXPECT_GT(engine.cachedGlyphs(), 0u);
  EXPECT_LT(engine.cachedGlyphs(), 3 * FreetypeMetrics::kMaxSizesPerFont);
}

TEST(FreetypeMetricsTest, ReproducesOnlyTheTextPathItWasCheckedAgainst) {
  const char delegates[] = " fontconfig freetype jpeg png tiff webp zlib";
  EXPECT_TRUE(MagickTextPathReproduced(
      "ImageMagick 7.1.1-43 Q16-HDRI x86_64 22550 https://imagemagick.org",
      delegates));
  EXPECT_TRUE(MagickTextPathReproduced("ImageMagick 7.1.2-0 Q8", delegates));
  EXPECT_TRUE(MagickTextPathReproduced("ImageMagick 7.1.2-29 Q16", delegates));
  for (const char* version :
       {"ImageMagick 7.1.1-42 Q16", "ImageMagick 7.1.2-30 Q16",
        "ImageMagick 7.1.0-62 Q16", "ImageMagick 7.2.0-0 Q16",
        "ImageMagick 6.9.12-98 Q16", "GraphicsMagick 1.3", ""})
    EXPECT_FALSE(MagickTextPathReproduced(version, delegates)) << version;
  EXPECT_FALSE(MagickTextPathReproduced("ImageMagick 7.1.1-43 Q16",
                                        " freetype png raqm zlib"));
  EXPECT_FALSE(MagickTextPathReproduced("ImageMagick 7.1.1-43 Q16",
                                        " fontconfig png zlib"));
  EXPECT_FALSE(MagickTextPathReproduced(nullptr, delegates));
  // This process's ImageMagick is one of them.
  EXPECT_TRUE(FreetypeMetrics().usable());
}

}  // namespace
