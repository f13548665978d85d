#include "fonts/glyph_coverage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fonts/font_file.h"
#include "support/font_files.h"
#include "support/temp_dir.h"

namespace {

using Strings = std::vector<std::string>;

GlyphCoverage::Result Check(GlyphCoverage* coverage, const std::string& path,
                            const Strings& units) {
  return coverage->Check(FontFileKey(path), 20, units);
}

TEST(GlyphCoverageTest, NamesEachCharacterTheFontLacksOnce) {
  GlyphCoverage coverage;
  GlyphCoverage::Result sans =
      Check(&coverage, QUILLMARK_TEST_SANS,
            {"H", "i", " ", "\xF0\x9F\x8D\x95", "\n", "\t", "\xE0\xB8\x81",
             "\xF0\x9F\x8D\x95", "\xFF", "\x80" "A"});
  EXPECT_TRUE(sans.opened);
  EXPECT_FALSE(sans.brokenGlyph);
  // The pizza and Thai ko kai; not the line feed, the tab or the bytes that
  // are not UTF-8.
  EXPECT_EQ((Strings{"\xF0\x9F\x8D\x95", "\xE0\xB8\x81"}), sans.missing);

  GlyphCoverage::Result cjk =
      Check(&coverage, QUILLMARK_TEST_CJK, {"\xE6\x98\xA5", "A", "b", "A"});
  EXPECT_EQ((Strings{"A", "b"}), cjk.missing);
}

TEST(GlyphCoverageTest, AGlyphThatDoesNotLoadMarksTheFontBroken) {
  TempDir dir;
  GlyphCoverage coverage;
  GlyphCoverage::Result damaged = Check(&coverage, DamagedFontCopy(dir), {"A"});
  EXPECT_TRUE(damaged.opened);
  EXPECT_TRUE(damaged.brokenGlyph);
  // Locations past the end of the outlines: FreeType loads the glyph as an
  // empty one, without an error.
  TempDir other;
  GlyphCoverage::Result located = Check(
      &coverage, DamagedFontCopy(other, FontDamage::kLocaOverwritten), {"A"});
  EXPECT_TRUE(located.opened);
  EXPECT_TRUE(located.brokenGlyph);
  EXPECT_FALSE(Check(&coverage, dir.Write("text.ttf", "not a font"), {"A"}).opened);
}

}  // namespace
