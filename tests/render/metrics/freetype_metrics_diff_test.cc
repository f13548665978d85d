// The FreeType engine against MagickQueryFontMetrics itself, bit for bit in
// all 13 numbers: every printable ASCII character, CJK and its punctuation,
// emoji, diacritics, whitespace, the empty text, invalid UTF-8, kerning
// lines, random lines and lines wide enough for FreeType to refuse glyphs,
// spread over point sizes 1 to 1000. Not one difference is allowed, and the
// engine must answer every one of them itself.

#include <MagickWand/MagickWand.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "render/metrics/freetype_metrics.h"
#include "render/magick/handles.h"
#include "render/metrics/magick_metrics.h"
#include "fonts/font_file.h"
#include "render/metrics/metrics_cache.h"
#include "util/utf8.h"

namespace {

std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof(hex), "\\x%02X", c);
      out += hex;
    }
  }
  return out.size() > 200 ? out.substr(0, 200) + "...(" +
                                std::to_string(text.size()) + " bytes)"
                          : out;
}

std::string Numbers(const FontMetrics& m) {
  const double* v = &m.charWidth;
  std::string out;
  for (int i = 0; i < 13; ++i) {
    char number[40];
    std::snprintf(number, sizeof(number), "%s%.17g", i ? " " : "", v[i]);
    out += number;
  }
  return out;
}

// Code points that the texts below draw from.
std::vector<uint32_t> CjkCodes() {
  std::vector<uint32_t> codes;
  for (uint32_t c = 0x4E00; c < 0x9FA5; c += 53) codes.push_back(c);  // ~390
  const uint32_t common[] = {0x4E00, 0x4E2D, 0x56FD, 0x65E5, 0x672C, 0x8A9E,
                             0x6587, 0x5B57, 0x6F22, 0x9AD8, 0x9F8D, 0x9F98};
  codes.insert(codes.end(), std::begin(common), std::end(common));
  for (uint32_t c = 0x3041; c < 0x3097; c += 3) codes.push_back(c);  // kana
  for (uint32_t c = 0x30A1; c < 0x30F7; c += 3) codes.push_back(c);
  for (uint32_t c = 0xAC00; c < 0xD7A3; c += 997) codes.push_back(c);  // hangul
  return codes;
}

std::vector<uint32_t> CjkPunctuation() {
  std::vector<uint32_t> codes;
  for (uint32_t c = 0x3000; c <= 0x303F; ++c) codes.push_back(c);
  for (uint32_t c = 0xFF01; c <= 0xFF20; ++c) codes.push_back(c);
  codes.push_back(0x30FB);
  codes.push_back(0x30FC);
  return codes;
}

std::vector<uint32_t> Emoji() {
  return {0x1F600, 0x1F602, 0x1F44D, 0x1F389, 0x1F680, 0x2764, 0x2600,
          0x2705,  0x1F1EF, 0x1F1F5, 0x1F468, 0x200D,  0x1F469, 0xFE0F};
}

std::vector<uint32_t> Diacritics() {
  std::vector<uint32_t> codes;
  for (uint32_t c = 0xC0; c <= 0x17F; ++c) codes.push_back(c);
  for (uint32_t c = 0x300; c <= 0x36F; c += 5) codes.push_back(c);  // combining
  for (uint32_t c = 0x1EA0; c <= 0x1EF9; c += 7) codes.push_back(c);
  return codes;
}

// Every text of the comparison, each measured at one or more sizes.
std::vector<std::string> Texts() {
  std::vector<std::string> texts;
  for (int c = 0x20; c < 0x7F; ++c) texts.push_back(std::string(1, char(c)));
  for (uint32_t c : CjkCodes()) texts.push_back(EncodeUtf8(c));
  for (uint32_t c : CjkPunctuation()) texts.push_back(EncodeUtf8(c));
  for (uint32_t c : Emoji()) texts.push_back(EncodeUtf8(c));
  for (uint32_t c : Diacritics()) texts.push_back(EncodeUtf8(c));
  const char* fixed[] = {
      "", " ", "\t", "\n", "  ", " \n ", "a\tb", "a\nb", "\r\n",
      // Invalid UTF-8, read as Latin-1 as a whole.
      "\xFF", "\xFF" "AVAf\xED", "\xC3(", "a\x80" "b", "\xC0\x80",
      "\xE4\xB8", "\xF8\x88\x80\x80\x80", "\xFE\xFF", "caf\xE9 \xE0 la",
      "\xE6\xBC\xA2\xFF",
      // Accepted by ImageMagick's reader although not Unicode.
      "\xED\xA0\x80", "A\xF4\x90\x80\x80" "B", "\xF7\xBF\xBF\xBF",
      // Kerning pairs and ligature candidates.
      "AV", "AVAWAY", "To Ty Yo Wa", "LT L' P. F, V. r.", "fi fl ffi ffl",
      "AV To fi \xC3\xA9 Ty L' \xE5\x9B\xBD\xF0\x9F\x98\x80\tg| ",
      "W\xD7\x90.f\xC4\x8F", "\xD7\x90", "\xD7\x90W",
      "Typography AWAY from Vault: 12,345.67 yd",
      "e\xCC\x81 a\xCC\x8A o\xCC\x88", "\xE2\x80\x8B", "\xC2\xA0\xC2\xA0",
      "\xE3\x80\x80\xE3\x80\x81\xE3\x80\x82", "\xEF\xBB\xBF" "BOM",
  };
  for (const char* t : fixed) texts.push_back(t);

  // Random lines from a fixed seed: words of ASCII, diacritics, CJK,
  // punctuation and emoji, now and then an invalid byte.
  std::mt19937 random(20240611);
  const std::vector<uint32_t> cjk = CjkCodes(), punct = CjkPunctuation(),
                              emoji = Emoji(), marks = Diacritics();
  auto pick = [&](const std::vector<uint32_t>& from) {
    return from[random() % from.size()];
  };
  for (int line = 0; line < 320; ++line) {
    std::string text;
    int length = 1 + static_cast<int>(random() % 70);
    for (int i = 0; i < length; ++i) {
      int kind = static_cast<int>(random() % 100);
      if (kind < 55)
        text += static_cast<char>(0x21 + random() % 94);
      else if (kind < 68)
        text += ' ';
      else if (kind < 78)
        text += EncodeUtf8(pick(marks));
      else if (kind < 90)
        text += EncodeUtf8(pick(cjk));
      else if (kind < 95)
        text += EncodeUtf8(pick(punct));
      else if (kind < 98)
        text += EncodeUtf8(pick(emoji));
      else if (line % 4 == 0)
        text += static_cast<char>(0x80 + random() % 128);
      else
        text += '\t';
    }
    texts.push_back(text);
  }
  return texts;
}

// Point sizes 1 to 200 and a few up to 1000.
std::vector<int> Sizes() {
  std::vector<int> sizes;
  for (int s = 1; s <= 200; ++s) sizes.push_back(s);
  for (int s : {233, 256, 300, 377, 400, 500, 512, 640, 700, 800, 999, 1000})
    sizes.push_back(s);
  return sizes;
}

// Lines far wider than 32,767 pixels at the sizes given: past that x,
// FreeType refuses to make a bitmap and ImageMagick skips the glyph.
struct WideLine {
  std::string text;
  std::vector<int> sizes;
};

std::vector<WideLine> WideLines() {
  std::string ws, cjk, mixed, spacesThenW;
  for (int i = 0; i < 800; ++i) ws += "W ";
  for (int i = 0; i < 400; ++i) cjk += EncodeUtf8(0x6F22) + EncodeUtf8(0x3001);
  for (int i = 0; i < 300; ++i) mixed += "Av\xC3\xA9 " + EncodeUtf8(0x56FD);
  spacesThenW = std::string(3000, ' ') + "WAV";
  // At size 2 an 'l' advances by one pixel, so the first glyph refused ends
  // exactly one pixel past the limit.
  return {{std::string(34000, 'l'), {2}},
          {ws, {5, 60, 100, 150, 200, 500, 1000}},
          {cjk, {40, 100, 333, 1000}},
          {mixed, {50, 120, 700}},
          {spacesThenW, {20, 100, 1000}}};
}

const char kDejaVuSans[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char kDejaVuSerif[] = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
const char kDejaVuSansMono[] =
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
const char kDejaVuSansBold[] =
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char kDroidFallback[] =
    "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";

// A transparent image of one pixel, to measure on.
MagickWandPtr OnePixelCanvas() {
  MagickWandGenesis();
  MagickWandPtr wand(NewMagickWand());
  PixelWandPtr none(NewPixelWand());
  PixelSetColor(none.get(), "none");
  EXPECT_EQ(MagickTrue, MagickNewImage(wand.get(), 1, 1, none.get()));
  return wand;
}

// Comparisons of the engine with ImageMagick; the first few declines and
// differences are reported as failures.
struct Tally {
  int comparisons = 0, differences = 0, declined = 0;

  void Compare(MagickMetrics* magick, FreetypeMetrics* engine,
               const std::string& path, int size, const std::string& text) {
    FontMetrics expected, actual;
    magick->SetFontSize(size);
    ASSERT_TRUE(magick->Measure(text, &expected));
    ++comparisons;
    if (!engine->Measure(FontFileKey(path), size, text, &actual)) {
      if (++declined <= 5)
        ADD_FAILURE() << "declined: " << path << " size " << size << " \""
                      << Escaped(text) << '"';
      return;
    }
    if (std::memcmp(&expected, &actual, sizeof(FontMetrics)) != 0 &&
        ++differences <= 10)
      ADD_FAILURE() << path << " size " << size << " \"" << Escaped(text)
                    << "\"\n  ImageMagick: " << Numbers(expected)
                    << "\n  FreeType:    " << Numbers(actual);
  }

  void Expect() const {
    std::printf("%d comparisons, %d differences, %d declined\n", comparisons,
                differences, declined);
    EXPECT_EQ(0, differences);
    EXPECT_EQ(0, declined);
  }
};

// Compares the engine with ImageMagick for the font at `path`, every text
// coming up `rounds` times at different sizes, then every size with the
// first `extras` of the texts that exercise the most rules.
void CompareWithImageMagick(const std::string& path, size_t rounds,
                            size_t extras) {
  ASSERT_FALSE(FontFileKey(path).empty()) << path << " is missing";
  MagickWandPtr wand = OnePixelCanvas();
  DrawingWandPtr drawing(NewDrawingWand());
  DrawSetFont(drawing.get(), path.c_str());
  MagickMetrics magick(wand.get(), drawing.get(), true);
  FreetypeMetrics engine;
  ASSERT_TRUE(engine.usable()) << engine.unusableReason();

  // Round robin: text t at sizes[(t + round * stride) % n], so every text
  // and every size comes up, in an order that switches size all the time.
  Tally tally;
  const std::vector<std::string> texts = Texts();
  const std::vector<int> sizes = Sizes();
  const size_t stride = 71;
  for (size_t round = 0; round < rounds; ++round)
    for (size_t t = 0; t < texts.size(); ++t)
      tally.Compare(&magick, &engine, path,
                    sizes[(t + round * stride) % sizes.size()], texts[t]);
  // Each size once more with the texts that exercise the most rules.
  const char* rich[] = {
      "AV To fi \xC3\xA9 Ty L' \xE5\x9B\xBD\xF0\x9F\x98\x80\tg| ", "",
      "\xFF" "AVAf\xED"};
  for (int size : sizes)
    for (size_t i = 0; i < extras && i < 3; ++i)
      tally.Compare(&magick, &engine, path, size, rich[i]);
  for (const WideLine& line : WideLines())
    for (int size : line.sizes)
      tally.Compare(&magick, &engine, path, size, line.text);
  tally.Expect();
}

// One engine for all fonts, texts and sizes in a shuffled order, so that
// faces, sizes and glyph caches take turns as in a run with many fonts.
TEST(FreetypeInterleavedTest, AllFontsThroughOneEngine) {
  MagickWandPtr wand = OnePixelCanvas();
  const char* paths[] = {kDejaVuSans, kDejaVuSerif, kDejaVuSansMono,
                         kDejaVuSansBold, kDroidFallback};
  std::vector<DrawingWandPtr> drawings;
  for (const char* path : paths) {
    drawings.emplace_back(NewDrawingWand());
    DrawSetFont(drawings.back().get(), path);
  }
  FreetypeMetrics engine;
  ASSERT_TRUE(engine.usable()) << engine.unusableReason();

  const std::vector<std::string> texts = Texts();
  const std::vector<int> sizes = Sizes();
  std::mt19937 random(7);
  Tally tally;
  for (int i = 0; i < 1500; ++i) {
    size_t font = random() % 5;
    // Mostly DejaVu: ImageMagick is slow with the large CJK font.
    if (font == 4 && random() % 2 == 0)
      font = random() % 4;
    const std::string& text = texts[random() % texts.size()];
    int size = sizes[random() % sizes.size()];
    MagickMetrics magick(wand.get(), drawings[font].get(), true);
    tally.Compare(&magick, &engine, paths[font], size, text);
  }
  tally.Expect();
}

TEST(FreetypeDifferentialTest, DejaVuSans) {
  CompareWithImageMagick(kDejaVuSans, 2, 3);
}

TEST(FreetypeDifferentialTest, DejaVuSerif) {
  CompareWithImageMagick(kDejaVuSerif, 2, 3);
}

TEST(FreetypeDifferentialTest, DejaVuSansMono) {
  CompareWithImageMagick(kDejaVuSansMono, 2, 3);
}

TEST(FreetypeDifferentialTest, DejaVuSansBold) {
  CompareWithImageMagick(kDejaVuSansBold, 2, 3);
}

// ImageMagick takes five times as long per text with this large font: each
// text once, which the round robin spreads over every size.
TEST(FreetypeDifferentialTest, DroidSansFallback) {
  CompareWithImageMagick(kDroidFallback, 1, 0);
}

}  // namespace
