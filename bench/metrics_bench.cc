// Times font measurements through ImageMagick (MagickQueryFontMetrics) and
// through the FreeType engine, and checks on the way that both give the
// same numbers. Not a test: run it by hand.
//
//   metrics_bench [repeats]
//
// For DejaVu Sans and Droid Sans Fallback:
//   - one character, ImageMagick: each query opens and reads the font;
//   - one character, engine, new glyphs: each character measured for the
//     first time at that size (face and size already open);
//   - one character, engine, warm: the same characters again;
//   - a 60-character line, the same three ways;
//   - a fitting pass: the horizontal layout of a paragraph fitted from 48 pt
//     down through the run's measurement cache (empty each time), measured
//     by MagickMetrics and by ExactMetrics with a new run (font opened,
//     probes measured, every glyph new) and with a warm run.

#include <MagickWand/MagickWand.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fonts/font_file.h"
#include "render/metrics/exact_metrics.h"
#include "render/metrics/freetype_metrics.h"
#include "render/layout/horizontal_layout.h"
#include "render/magick/handles.h"
#include "render/metrics/magick_metrics.h"
#include "render/metrics/metrics_cache.h"
#include "render/layout/split_word.h"
#include "util/utf8.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Font {
  const char* name;
  const char* path;
  std::vector<std::string> characters;  // distinct, one glyph each
  std::string line;                     // 60 characters
  std::string paragraph;
};

std::vector<Font> Fonts() {
  Font sans{"DejaVu Sans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
            {}, "", ""};
  for (int c = 0x21; c < 0x7F; ++c) sans.characters.push_back(EncodeUtf8(c));
  for (int c = 0xC0; c < 0x180; ++c) sans.characters.push_back(EncodeUtf8(c));
  sans.line = "Typography AWAY from Vault: 12,345.67 yd, fine \"quotes\" ok.";
  sans.paragraph =
      "The quick brown fox jumps over the lazy dog while twelve wizards "
      "box jovially; Vault AWAY from typography.";
  Font cjk{"Droid Sans Fallback",
           "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf",
           {}, "", ""};
  for (int c = 0x4E00; cjk.characters.size() < 300; c += 37)
    cjk.characters.push_back(EncodeUtf8(c));
  for (int i = 0; i < 60; ++i) cjk.line += cjk.characters[(i * 7) % 300];
  for (int i = 0; i < 40; ++i)
    cjk.paragraph +=
        cjk.characters[(i * 11) % 300] + (i % 9 == 8 ? "\xE3\x80\x82" : "");
  return {sans, cjk};
}

struct Timing {
  double magick = 0, engineNew = 0, engineWarm = 0;
  int queries = 0;
};

// Measures each text at each of `sizes`: ImageMagick, then the engine with
// glyphs new at that size, then again warm. Counts differing answers.
Timing TimeQueries(const Font& font, const std::vector<std::string>& texts,
                   const std::vector<int>& sizes, MagickWand* wand,
                   int* differences) {
  Timing t;
  const std::string key = FontFileKey(font.path);
  DrawingWandPtr drawing(NewDrawingWand());
  DrawSetFont(drawing.get(), font.path);
  MagickMetrics magick(wand, drawing.get(), true);
  FreetypeMetrics engine;
  FontMetrics warmUp;
  engine.Measure(key, 1, "", &warmUp);  // the face, opened once per run
  std::vector<FontMetrics> expected;
  auto start = Clock::now();
  for (int size : sizes) {
    magick.SetFontSize(size);
    for (const std::string& text : texts) {
      FontMetrics m;
      magick.Measure(text, &m);
      expected.push_back(m);
    }
  }
  t.magick = Seconds(start);
  for (double* total : {&t.engineNew, &t.engineWarm}) {
    size_t i = 0;
    start = Clock::now();
    for (int size : sizes)
      for (const std::string& text : texts) {
        FontMetrics m;
        if (!engine.Measure(key, size, text, &m) ||
            std::memcmp(&m, &expected[i], sizeof(m)) != 0)
          ++*differences;
        ++i;
      }
    *total = Seconds(start);
  }
  t.queries = static_cast<int>(expected.size());
  return t;
}

// One horizontal layout of the paragraph, fitted from 48 pt down, through
// a run cache of its own as the renderer measures.
double TimeFitting(const Font& font, MagickWand* wand, ExactMetricsRun* run,
                   uint64_t* magickQueries, Layout* layout) {
  TextInfo info;
  info.text = font.paragraph;
  info.areaX = 10;
  info.areaY = 10;
  info.areaWidth = 300;
  info.areaHeight = 100;
  info.fontSize = 48;
  info.lineHeight = 52;
  info.alignment = 2;
  info.adjustToFit = true;
  std::vector<std::string> units;
  splitWord(info.text, units);
  DrawingWandPtr drawing(NewDrawingWand());
  DrawSetFont(drawing.get(), font.path);
  DrawSetFontSize(drawing.get(), info.fontSize);
  uint64_t queries = 0;
  MagickMetrics magick(wand, drawing.get(), true, &queries);
  ExactMetrics exact(run, &magick, wand, FontFileKey(font.path));
  MetricsSource* measure = run ? static_cast<MetricsSource*>(&exact) : &magick;
  MetricsCache cache;
  const std::string key = FontFileKey(font.path);
  CachedMetrics cached(measure, &cache, key, key);
  const uint64_t probesBefore = run ? run->probeQueries() : 0;
  auto start = Clock::now();
  *layout = LayOutHorizontal(info, 0, units, &cached);
  double seconds = Seconds(start);
  *magickQueries = queries + (run ? run->probeQueries() - probesBefore : 0);
  return seconds;
}

bool SameLayout(const Layout& a, const Layout& b) {
  if (a.fontSize != b.fontSize || a.annotations.size() != b.annotations.size())
    return false;
  for (size_t i = 0; i < a.annotations.size(); ++i)
    if (a.annotations[i].text != b.annotations[i].text ||
        std::memcmp(&a.annotations[i].x, &b.annotations[i].x, sizeof(double)) ||
        std::memcmp(&a.annotations[i].y, &b.annotations[i].y, sizeof(double)))
      return false;
  return true;
}

void Row(const char* what, double magick, int magickCount, double engine,
         int engineCount) {
  double perMagick = magick / magickCount * 1e6;
  double perEngine = engine / engineCount * 1e6;
  std::printf("  %-44s %10.1f us %10.2f us %9.0fx\n", what, perMagick,
              perEngine, perMagick / perEngine);
}

}  // namespace

int main(int argc, char** argv) {
  int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  MagickWandGenesis();
  MagickWandPtr wand(NewMagickWand());
  PixelWandPtr none(NewPixelWand());
  PixelSetColor(none.get(), "none");
  MagickNewImage(wand.get(), 400, 200, none.get());
  if (!FreetypeMetrics().usable()) {
    std::printf("engine unusable: %s\n",
                FreetypeMetrics().unusableReason().c_str());
    return 1;
  }
  int differences = 0;
  std::printf("%-46s %13s %13s %10s\n", "per query", "ImageMagick", "engine",
              "speed-up");
  for (const Font& font : Fonts()) {
    std::printf("%s\n", font.name);
    Timing one = TimeQueries(font, font.characters, {16, 48}, wand.get(),
                             &differences);
    Row("one character, new glyph", one.magick, one.queries, one.engineNew,
        one.queries);
    Row("one character, warm", one.magick, one.queries, one.engineWarm,
        one.queries);
    std::vector<int> lineSizes;
    for (int s = 10; s < 10 + 8 * repeats; ++s) lineSizes.push_back(s);
    Timing line = TimeQueries(font, {font.line}, lineSizes, wand.get(),
                              &differences);
    Row("60-character line, new glyphs", line.magick, line.queries,
        line.engineNew, line.queries);
    Row("60-character line, warm", line.magick, line.queries, line.engineWarm,
        line.queries);

    double magickFit = 0, coldFit = 0, warmFit = 0;
    uint64_t magickQueries = 0, coldQueries = 0, warmQueries = 0;
    ExactMetricsRun warmRun;
    Layout reference, layout;
    TimeFitting(font, wand.get(), &warmRun, &warmQueries, &layout);  // warm up
    for (int r = 0; r < repeats; ++r) {
      magickFit += TimeFitting(font, wand.get(), nullptr, &magickQueries,
                               &reference);
      ExactMetricsRun coldRun;
      coldFit += TimeFitting(font, wand.get(), &coldRun, &coldQueries, &layout);
      differences += !SameLayout(reference, layout);
      warmFit += TimeFitting(font, wand.get(), &warmRun, &warmQueries, &layout);
      differences += !SameLayout(reference, layout);
    }
    std::printf("  fitting pass 48 -> %d pt: ImageMagick %.1f ms (%llu "
                "queries)\n    exact, new run %.1f ms (%llu ImageMagick "
                "queries: the probes), %.0fx\n    exact, warm run %.2f ms, "
                "%.0fx\n",
                reference.fontSize, magickFit / repeats * 1e3,
                static_cast<unsigned long long>(magickQueries),
                coldFit / repeats * 1e3,
                static_cast<unsigned long long>(coldQueries),
                magickFit / coldFit, warmFit / repeats * 1e3,
                magickFit / warmFit);
  }
  std::printf("differences: %d\n", differences);
  return differences == 0 ? 0 : 1;
}
