#include "render/typography/line_breaks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_metrics.h"
#include "util/utf8.h"

namespace {

// The text with "|" where a line may end and "#" where it must, the way
// FindLineBreaks tells it unit by unit.
std::string Marked(const std::string& text) {
  const std::vector<std::string> units = Units(text);
  const std::vector<UnitBreak> breaks = FindLineBreaks(units);
  EXPECT_EQ(breaks.size(), units.size());
  std::string out;
  for (size_t i = 0; i < units.size(); ++i) {
    out += units[i];
    if (breaks[i].after == BreakAfter::kAllowed)
      out += "|";
    else if (breaks[i].after == BreakAfter::kMandatory)
      out += "#";
  }
  return out;
}

TEST(LineBreaksTest, WordsStayWholeAndSpacesStayWithTheWordBefore) {
  EXPECT_EQ(Marked("Summer Sale  now"), "Summer |Sale  |now|");
  // A German compound has no break inside; a hyphen offers one after it.
  EXPECT_EQ(Marked("Sommerschlussverkauf Presse-Konferenz"),
            "Sommerschlussverkauf |Presse-|Konferenz|");
  EXPECT_EQ(Marked("Летняя распродажа, скидки!"),
            "Летняя |распродажа, |скидки!|");
  EXPECT_EQ(Marked("Θερινές εκπτώσεις"), "Θερινές |εκπτώσεις|");
}

TEST(LineBreaksTest, ChineseBreaksBetweenCharactersButNotBeforeClosingMarks) {
  // No break before ！ 。 ） nor after （.
  EXPECT_EQ(Marked("夏季促销！今天开始。（限时）"),
            "夏|季|促|销！|今|天|开|始。|（限|时）|");
  EXPECT_EQ(Marked("你好，世界"), "你|好，|世|界|");
}

TEST(LineBreaksTest, JapaneseKeepsBracketsSmallKanaAndLongVowelMarks) {
  // No break after 「, none before 」、ー or ）.
  EXPECT_EQ(Marked("「セール」開始、ーー本日）です。"),
            "「セー|ル」|開|始、ーー|本|日）|で|す。|");
}

TEST(LineBreaksTest, LineEndsForceABreakAndAreMarked) {
  EXPECT_EQ(Marked("a\nb"), "a\n#b|");
  EXPECT_EQ(Marked("a\r\nb\rc"), "a\r\n#b\r#c|");
  // NEL, LS, PS, VT and FF.
  EXPECT_EQ(Marked("a\xC2\x85" "b\xE2\x80\xA8" "c\xE2\x80\xA9" "d\ve\ff"),
            "a\xC2\x85#b\xE2\x80\xA8#c\xE2\x80\xA9#d\v#e\f#f|");

  // Spaces: U+0020, tab, the ideographic space; line ends: CR, LF.
  const std::vector<UnitBreak> b =
      FindLineBreaks(Units("a \r\n\t\xE3\x80\x80" "b"));
  ASSERT_EQ(b.size(), 7u);
  EXPECT_FALSE(b[0].space || b[0].lineEnd);
  EXPECT_TRUE(b[1].space && !b[1].lineEnd);
  EXPECT_TRUE(b[2].lineEnd && !b[2].space);
  EXPECT_EQ(b[2].after, BreakAfter::kNever);  // CR LF is one break
  EXPECT_TRUE(b[3].lineEnd);
  EXPECT_EQ(b[3].after, BreakAfter::kMandatory);
  EXPECT_TRUE(b[4].space);
  EXPECT_TRUE(b[5].space);
  EXPECT_FALSE(b[6].space || b[6].lineEnd);
}

TEST(LineBreaksTest, InvalidUnitsCountAsOneCharacterEach) {
  // A stray continuation byte takes the letter after it into its unit, a
  // truncated sequence the space after it; an overlong form and a
  // surrogate are one unit each.
  const std::string text =
      "ab \x80" "A cd \xE6\x97 x\xC0\xAF y \xED\xA0\x80 z\xFF" "ABCDEFG";
  // Every break still lies between units, and the words stay whole.
  EXPECT_EQ(Marked(text),
            "ab |\x80" "A |cd |\xE6\x97 x\xC0\xAF |y |\xED\xA0\x80 |z\xFF"
            "ABCDEFG|");
}

TEST(LineBreaksTest, NoUnitsNoBreaks) {
  EXPECT_TRUE(FindLineBreaks({}).empty());
  EXPECT_TRUE(Segments({}).empty());
}

TEST(LineBreaksTest, SegmentsRunFromBreakToBreak) {
  const std::vector<std::string> units = Units("ab c\nd");
  const std::vector<Segment> s = Segments(FindLineBreaks(units));
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].begin, 0u);
  EXPECT_EQ(s[0].end, 3u);  // "ab "
  EXPECT_FALSE(s[0].mandatory);
  EXPECT_EQ(s[1].begin, 3u);
  EXPECT_EQ(s[1].end, 5u);  // "c\n"
  EXPECT_TRUE(s[1].mandatory);
  EXPECT_EQ(s[2].begin, 5u);
  EXPECT_EQ(s[2].end, 6u);  // "d"
  EXPECT_FALSE(s[2].mandatory);
}

TEST(CodePointsTest, UnitsDecodeOnlyWhenWellFormed) {
  EXPECT_EQ(UnitCodePoint("A"), U'A');
  EXPECT_EQ(UnitCodePoint("\xC3\xA9"), U'\u00E9');
  EXPECT_EQ(UnitCodePoint("\xE3\x80\x8C"), U'\u300C');
  EXPECT_EQ(UnitCodePoint("\xF0\x9F\x98\x80"), U'\U0001F600');
  for (const std::string bad :
       {"", "AB", "\x80" "A", "\xC0\xAF", "\xE0\x80\x80", "\xED\xA0\x80",
        "\xF4\x90\x80\x80", "\xE3\x80", "\xE3" "AB", "\xFF" "ABCDEFG"})
    EXPECT_EQ(UnitCodePoint(bad), kReplacementCharacter) << bad;
}

TEST(CodePointsTest, EncodingRoundTrips) {
  for (char32_t c : {U'A', U'\u00E9', U'\u07FF', U'\u0800', U'\uFE41',
                     U'\uFFFD', U'\U00010000', U'\U0010FFFF'})
    EXPECT_EQ(UnitCodePoint(EncodeUtf8(c)), c);
  EXPECT_EQ(EncodeUtf8(0xD800), EncodeUtf8(kReplacementCharacter));
  EXPECT_EQ(EncodeUtf8(0x110000), EncodeUtf8(kReplacementCharacter));
  // A broken unit that took a line feed in is drawn as U+FFFD.
  EXPECT_EQ(WellFormedUnit("\x80\n"), "\xEF\xBF\xBD");
  EXPECT_EQ(WellFormedUnit("\xE5\x9B\xBD"), "\xE5\x9B\xBD");
}

TEST(IsBlankTest, OnlySpacesAndLineEndsAreBlank) {
  auto blank = [](const std::vector<std::string>& units) {
    return IsBlank(FindLineBreaks(units));
  };
  EXPECT_TRUE(blank({}));
  EXPECT_TRUE(blank({" ", "\t", "\n", "\xE3\x80\x80", "\r", "\n"}));
  EXPECT_FALSE(blank({" ", "a"}));
  EXPECT_FALSE(blank({"\xFF"}));  // drawn as U+FFFD
}

}  // namespace
