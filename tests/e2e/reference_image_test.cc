// Pixel-exact check of a fixed job against reference images.
//
// The job below is rendered by the built binary and every pixel of every
// image is compared with the PNGs under tests/e2e/reference/, with no
// tolerance at all. Any change of a glyph position, of the font size that
// fitting picks, of the outline, the second fill pass or the drop shadow
// shows up here, even where the looser end-to-end tests let it pass.
//
// The references are only valid for the ImageMagick release and the font
// files they were made with: ImageMagick 7.1.1-43 (Q16 HDRI, as
// scripts/bootstrap pins it) and the DejaVu Sans and Droid Sans Fallback
// files of Debian 12 (fonts-dejavu-core 2.37-6, fonts-droid-fallback
// 1:6.0.1r16-1.1). With another ImageMagick or other font files the test is
// skipped, and its message says which of them differs.
//
// Regenerating the references:
//
//   QUILLMARK_UPDATE_REFERENCE=1 ctest --test-dir <build> -R ReferenceImageTest
//
// (or run the reference_image_test program with that variable set). The test
// then renders the job, writes the images over the files in the source
// tree's tests/e2e/reference/ and reports itself skipped. Look at the new
// images before committing them.
//
// Regenerating is legitimate only
//   - when a change deliberately alters what is drawn (layout, outline,
//     shadow), and the new images have been looked at and show what the
//     change intends; or
//   - when the pinned ImageMagick release or font packages change; then the
//     constants below (version, font sizes and hashes) change with them, in
//     the same commit.
// Never regenerate to make a failing comparison pass without knowing why the
// pixels moved: a difference nobody intended is a fault to find.

#include <MagickWand/MagickWand.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/image_reader.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

// What the references were made with.
const char kPinnedImageMagick[] = "7.1.1-43";
struct PinnedFont {
  const char* path;
  size_t size;
  uint64_t fnv1a64;
};
const PinnedFont kPinnedFonts[] = {
    {QUILLMARK_TEST_SANS, 759720, 0xadadfef763426946ULL},
    {QUILLMARK_TEST_CJK, 4033420, 0x368e3bc6ff405d5dULL},
};

const char kReferenceDir[] = QUILLMARK_SOURCE_DIR "/tests/e2e/reference";

// The images the job writes; each has a reference of the same name.
const char* const kImages[] = {"horizontal.png", "vertical.png", "fitted.png"};

// 1. A centred horizontal line with a thick outline under the fill (two
//    passes) and a drop shadow at 45 degrees.
// 2. Vertical CJK text in two columns, centred one by one, with a thin
//    outline over the fill and a shadow thrown to the left.
// 3. A right-aligned paragraph that adjustToFit shrinks into its area.
const char kJob[] = R"([
  {"size": [300, 120], "output": "horizontal.png",
   "ui": {"default": "Quillmark 7", "font": "sans", "size": 44,
          "line_height": 52, "align": 2, "area": [10, 20, 280, 80],
          "fill": "#FFD200", "stroke": "#1A1A80", "width": 4,
          "strokeOverFill": false, "shadow": "#000000", "s_size": 3,
          "s_dist": 6, "s_angle": 45, "s_alpha": 0.6}},
  {"size": [160, 240], "output": "vertical.png",
   "ui": {"default": "\u6625\u590f\u79cb\u51ac\u5c71\u6c34\u82b1\u9ce5\u98a8",
          "font": "cjk", "size": 30, "line_height": 44, "align": 2,
          "area": [10, 10, 140, 220], "direction": 1, "fill": "#C00000",
          "stroke": "#400000", "width": 1, "strokeOverFill": true,
          "shadow": "#303030", "s_size": 2, "s_dist": 5, "s_angle": 0,
          "s_alpha": 0.5}},
  {"size": [200, 100], "output": "fitted.png",
   "ui": {"default": "Pack my box with five dozen liquor jugs", "font": "sans",
          "size": 30, "align": 1, "area": [10, 10, 180, 80],
          "fill": "#0060C0", "adjustToFit": true}}
]
)";

uint64_t Fnv1a64(const std::string& bytes) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string Hex(uint64_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << value;
  return out.str();
}

// Empty when the environment is the pinned one, else what differs.
std::string EnvironmentDifference() {
  size_t depth = 0;
  const std::string version = MagickGetVersion(&depth);
  if (version.find(kPinnedImageMagick) == std::string::npos)
    return "ImageMagick is \"" + version + "\", the references were made with " +
           kPinnedImageMagick;
  for (const PinnedFont& font : kPinnedFonts) {
    const std::string bytes = ReadWholeFile(font.path);
    const uint64_t hash = Fnv1a64(bytes);
    if (bytes.size() != font.size || hash != font.fnv1a64)
      return std::string("font file ") + font.path + " has " +
             std::to_string(bytes.size()) + " bytes and FNV-1a " + Hex(hash) +
             ", the references were made with " + std::to_string(font.size) +
             " bytes and " + Hex(font.fnv1a64);
  }
  return "";
}

bool UpdateRequested() {
  const char* value = getenv("QUILLMARK_UPDATE_REFERENCE");
  return value && std::string(value) == "1";
}

TEST(ReferenceImageTest, FixedJobMatchesTheReferencesPixelForPixel) {
  const std::string difference = EnvironmentDifference();
  if (!difference.empty())
    GTEST_SKIP() << "references do not apply here: " << difference;

  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  dir.Write("job.json", kJob);
  RunResult run = RunQuillmark({"fonts.json", "job.json"}, dir.path(), 60);
  ASSERT_EQ(0, run.exitCode) << run.output;

  if (UpdateRequested()) {
    mkdir(kReferenceDir, 0755);
    for (const char* name : kImages) {
      const std::string target = std::string(kReferenceDir) + "/" + name;
      std::ofstream out(target, std::ios::binary);
      out << ReadWholeFile(dir.File(name));
      ASSERT_TRUE(out.good()) << "could not write " << target;
    }
    GTEST_SKIP() << "references rewritten in " << kReferenceDir;
  }

  for (const char* name : kImages) {
    SCOPED_TRACE(name);
    const RgbaImage actual = ReadRgbaImage(dir.File(name));
    const RgbaImage expected = ReadRgbaImage(std::string(kReferenceDir) + "/" + name);
    ASSERT_TRUE(actual.ok) << "the job's image could not be read";
    ASSERT_TRUE(expected.ok) << "the reference could not be read";
    ASSERT_EQ(expected.width, actual.width);
    ASSERT_EQ(expected.height, actual.height);
    EXPECT_GT(CountOpaque(expected, 0.5f), 300) << "the reference shows no text";
    // Both come from 16-bit samples, so equal samples give equal floats.
    int differing = 0;
    std::string first;
    for (int y = 0; y < actual.height; ++y)
      for (int x = 0; x < actual.width; ++x) {
        const float got[4] = {actual.R(x, y), actual.G(x, y), actual.B(x, y), actual.A(x, y)};
        const float want[4] = {expected.R(x, y), expected.G(x, y), expected.B(x, y),
                               expected.A(x, y)};
        if (got[0] == want[0] && got[1] == want[1] && got[2] == want[2] &&
            got[3] == want[3])
          continue;
        if (differing++ == 0) {
          std::ostringstream where;
          where << "first at (" << x << ", " << y << "): RGBA " << got[0] << " "
                << got[1] << " " << got[2] << " " << got[3] << ", reference "
                << want[0] << " " << want[1] << " " << want[2] << " " << want[3];
          first = where.str();
        }
      }
    EXPECT_EQ(0, differing) << "pixels differ from the reference; " << first;
  }
}

}  // namespace
