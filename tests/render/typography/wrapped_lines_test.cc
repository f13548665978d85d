#include "render/typography/wrapped_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_metrics.h"
#include "support/layout_items.h"
#include "render/layout/horizontal_layout.h"

namespace {

using Strings = std::vector<std::string>;
using Doubles = std::vector<double>;

// An item at size 20 with line height 30, start alignment, no flags.
TextInfo Item(float x, float y, float width, float height) {
  TextInfo info = LineItem(x, y, width, height);
  info.wrapWords = true;
  return info;
}

// Characters in a UTF-8 text.
size_t Chars(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text)
    n += (c & 0xC0) != 0x80;
  return n;
}

// Every character `width` wide, whatever the size.
FakeMetrics::Rule Fixed(double width, double textH = 50, double by2 = 15) {
  return [=](const std::string& text, int) {
    return LineMetrics(width * Chars(text), textH, by2);
  };
}

// Every character half the size wide; textH 1.5 x size, by2 0.75 x size.
FontMetrics HalfEm(const std::string& text, int size) {
  return LineMetrics(0.5 * size * Chars(text), 1.5 * size, 0.75 * size);
}

// The texts of the lines that WrapLines found.
Strings LineTexts(const WrappedLines& wrapped) {
  Strings texts;
  for (const auto& line : wrapped.lines)
    texts.push_back(line.text);
  return texts;
}

Layout Wrap(const TextInfo& info, const std::string& text, MetricsSource* m,
            float topInset = 0) {
  const std::vector<std::string> units = Units(text);
  return LayOutWrappedLines(info, topInset, units, FindLineBreaks(units), m);
}

// --- Breaking between words ---

TEST(WrappedLinesTest, LinesEndBetweenWordsOnly) {
  // Ten characters of 10 fit the 100.
  FakeMetrics m(Fixed(10));
  const TextInfo info = Item(100, 10, 100, 1000);
  const Layout layout = Wrap(info, "Summer Sale now on", &m);
  EXPECT_EQ(Texts(layout), (Strings{"Summer", "Sale now", "on"}));
  // First baseline ceil(10 + 15); then one line height apart.
  EXPECT_EQ(Ys(layout), (Doubles{25, 55, 85}));
  EXPECT_EQ(Xs(layout), (Doubles{100, 100, 100}));
  // The plain layout breaks inside words.
  EXPECT_EQ(Texts(LayOutHorizontal(info, 0, Units("Summer Sale now on"), &m)),
            (Strings{"Summer Sal", "e now on"}));

  // German, Russian: whole words; a hyphen offers a break after it.
  EXPECT_EQ(Texts(Wrap(info, "Große Presse-Konferenz", &m)),
            (Strings{"Große", "Presse-", "Konferenz"}));
  EXPECT_EQ(Texts(Wrap(info, "Летняя распродажа", &m)),
            (Strings{"Летняя", "распродажа"}));
}

TEST(WrappedLinesTest, LinesAreMeasuredWhole) {
  // "AV" kerned is narrower than its letters together: with the letters
  // 60 wide, only the whole line's 100 lets "AV AV" share a line.
  FakeMetrics m(Fixed(30));
  m.Set("AV AV", LineMetrics(100, 50, 15));
  const Layout layout = Wrap(Item(0, 0, 100, 1000), "AV AV", &m);
  EXPECT_EQ(Texts(layout), (Strings{"AV AV"}));
}

TEST(WrappedLinesTest, ChineseLineDoesNotBeginWithClosingPunctuation) {
  // Four characters a line. The plain layout starts a line with ！.
  FakeMetrics m(Fixed(10));
  const TextInfo info = Item(0, 0, 40, 1000);
  const std::string text = "夏季促销！今天开始";
  EXPECT_EQ(Texts(LayOutHorizontal(info, 0, Units(text), &m)),
            (Strings{"夏季促销", "！今天开", "始"}));
  EXPECT_EQ(Texts(Wrap(info, text, &m)), (Strings{"夏季促", "销！今天", "开始"}));
  // Nor a Japanese line with 」 or ー, nor does one end with 「.
  EXPECT_EQ(Texts(Wrap(info, "「セール」本日", &m)),
            (Strings{"「セー", "ル」本日"}));
}

TEST(WrappedLinesTest, WordWiderThanTheAreaIsBrokenBetweenCharacters) {
  FakeMetrics m(Fixed(10));
  WrappedLines lines;
  const TextInfo info = Item(0, 0, 100, 1000);
  const std::vector<std::string> units =
      Units("Sommerschlussverkauf ist da");
  ASSERT_TRUE(
      WrapLines(info, 20, units, FindLineBreaks(units), &m, &lines));
  ASSERT_EQ(LineTexts(lines), (Strings{"Sommerschl", "ussverkauf", "ist da"}));
  EXPECT_DOUBLE_EQ(lines.lines[0].metrics.textW, 100);
  EXPECT_TRUE(lines.wordBroken);
  EXPECT_FALSE(lines.tooWide);

  // A character wider than the area stands alone on its line.
  FakeMetrics wideW([](const std::string& text, int) {
    double w = 0;
    for (char c : text)
      w += c == 'W' ? 250 : 10;
    return LineMetrics(w, 50, 15);
  });
  const std::vector<std::string> wide = Units("aWb c");
  ASSERT_TRUE(
      WrapLines(info, 20, wide, FindLineBreaks(wide), &wideW, &lines));
  EXPECT_EQ(LineTexts(lines), (Strings{"a", "W", "b c"}));
  EXPECT_TRUE(lines.wordBroken);
  EXPECT_TRUE(lines.tooWide);
}

TEST(WrappedLinesTest, LongTextWithoutBreaksIsNotMeasuredWholeForEveryLine) {
  // 400 characters, no break opportunity, 10 a line: doubling and halving
  // measures prefixes up to twice a line, and the rest of the text whole
  // only once it is short (32 units at most).
  FakeMetrics m(Fixed(10));
  const std::string text(400, 'x');
  const Layout layout = Wrap(Item(0, 0, 100, 100000), text, &m);
  ASSERT_EQ(layout.annotations.size(), 40u);
  for (const auto& [measured, size] : m.measured)
    EXPECT_LE(measured.size(), 32u);
  EXPECT_LT(m.measured.size(), 40u * 10);
}

// --- Spaces and line ends ---

TEST(WrappedLinesTest, TrailingSpacesAreNeitherDrawnNorMeasured) {
  FakeMetrics m(Fixed(10));
  // "abcde " is 60 with its space; without it the word fits the 50.
  TextInfo info = Item(100, 0, 50, 1000);
  EXPECT_EQ(Texts(Wrap(info, "abcde   fg  ", &m)), (Strings{"abcde", "fg"}));
  // Alignment uses the width without the spaces: 20 of 50.
  info.alignment = 3;
  EXPECT_EQ(Xs(Wrap(info, "ab   cd", &m)), (Doubles{130, 130}));
  info.alignment = 2;
  EXPECT_EQ(Xs(Wrap(info, "ab   cde", &m)), (Doubles{115, 110}));
  // Spaces at the start of the text stay.
  info.alignment = 1;
  EXPECT_EQ(Texts(Wrap(info, "  ab", &m)), (Strings{"  ab"}));
  for (const auto& [measured, size] : m.measured)
    EXPECT_NE(measured.back(), ' ') << measured;
}

TEST(WrappedLinesTest, LineEndsEndTheLineAndAreNeverDrawn) {
  FakeMetrics m(Fixed(10));
  const TextInfo info = Item(0, 0, 1000, 1000);
  // Baselines 15, 45, 75...; an empty line keeps its place.
  Layout layout = Wrap(info, "ab\ncd", &m);
  EXPECT_EQ(Texts(layout), (Strings{"ab", "cd"}));
  EXPECT_EQ(Ys(layout), (Doubles{15, 45}));
  layout = Wrap(info, "a\n\nb", &m);
  EXPECT_EQ(Texts(layout), (Strings{"a", "b"}));
  EXPECT_EQ(Ys(layout), (Doubles{15, 75}));
  // CR LF, CR, NEL, LS, PS; a space before a line end is dropped.
  layout = Wrap(info, "a \r\nb\rc\xC2\x85" "d\xE2\x80\xA8" "e\xE2\x80\xA9" "f",
                &m);
  EXPECT_EQ(Texts(layout), (Strings{"a", "b", "c", "d", "e", "f"}));
  // A line end at the end opens no further line.
  EXPECT_EQ(Texts(Wrap(info, "a\n", &m)), (Strings{"a"}));
  for (const auto& [measured, size] : m.measured)
    EXPECT_EQ(measured.find_first_of("\r\n"), std::string::npos);
}

// --- Fitting ---

TEST(WrappedLinesTest, FittingPrefersASizeThatKeepsWordsWhole) {
  // 20 characters need 10 x size <= 100: size 10. The plain layout keeps
  // size 20 with the word broken over two lines.
  TextInfo info = Item(0, 0, 100, 100);
  info.adjustToFit = true;
  FakeMetrics m(HalfEm);
  const std::string text = "Sommerschlussverkauf";
  EXPECT_EQ(LayOutHorizontal(info, 0, Units(text), &m).fontSize, 20);
  const Layout layout = Wrap(info, text, &m);
  EXPECT_EQ(layout.fontSize, 10);
  EXPECT_FALSE(layout.fitFailed);
  EXPECT_EQ(Texts(layout), (Strings{text}));
  EXPECT_EQ(Ys(layout), (Doubles{8}));  // ceil(7.5)
}

TEST(WrappedLinesTest, WithoutAWholeWordSizeTheFirstFittingSizeIsUsed) {
  // 27 characters never fit 60 whole. Size 17: 7 a line (59.5), four
  // lines of 25.5 = 102 > 100. Size 16: 7 a line, 4 x 24 = 96.
  TextInfo info = Item(0, 0, 60, 100);
  info.adjustToFit = true;
  FakeMetrics m(HalfEm);
  const Layout layout = Wrap(info, "Sommerschlussverkaufsaktion", &m);
  EXPECT_EQ(layout.fontSize, 16);
  EXPECT_FALSE(layout.fitFailed);
  EXPECT_EQ(Texts(layout),
            (Strings{"Sommers", "chlussv", "erkaufs", "aktion"}));
  EXPECT_EQ(Ys(layout), (Doubles{12, 36, 60, 84}));
  // The size that was drawn was the last one set.
  EXPECT_EQ(m.sizes.back(), 16);
}

TEST(WrappedLinesTest, MinSizeStopsFittingAndCutsLinesBelowTheArea) {
  // At 12 "aa bb" fills the 30; three lines of 18 do not fit the 40.
  TextInfo info = Item(0, 0, 30, 40);
  info.adjustToFit = true;
  info.minFontSize = 12;
  FakeMetrics m(HalfEm);
  Layout layout = Wrap(info, "aa bb cc dd ee", &m);
  EXPECT_EQ(layout.fontSize, 12);
  EXPECT_TRUE(layout.fitFailed);
  EXPECT_EQ(m.sizes.back(), 12);
  // Baselines 9, 27; the third line's advance ends at 54 > 40.
  EXPECT_EQ(Texts(layout), (Strings{"aa bb", "cc dd"}));
  EXPECT_EQ(Ys(layout), (Doubles{9, 27}));

  // Without it, fitting goes down to 5 and gives up: no text.
  info.minFontSize = 0;
  info.areaHeight = 10;
  layout = Wrap(info, "aa bb cc dd ee", &m);
  EXPECT_TRUE(layout.annotations.empty());
  EXPECT_TRUE(layout.fitFailed);
  EXPECT_LT(layout.fontSize, 5);

  // A min size above the item's size: one pass at the item's size.
  info.minFontSize = 40;
  info.areaHeight = 1000;
  m.sizes.clear();
  layout = Wrap(info, "aa bb", &m);
  EXPECT_EQ(m.sizes, (std::vector<int>{20}));
  EXPECT_EQ(layout.fontSize, 20);
  EXPECT_EQ(Texts(layout), (Strings{"aa", "bb"}));
}

// --- Agreement with the plain layout ---

TEST(WrappedLinesTest, IdeographsAloneAreLaidOutAsThePlainLayoutDoes) {
  // Every character is a break opportunity, so lines end where the plain
  // layout ends them, with the same baselines and alignment.
  const std::string text = "春夏秋冬山水花鳥風月雪";
  for (int alignment : {1, 2, 3}) {
    for (bool fit : {false, true}) {
      TextInfo info = Item(7, 3, 55, fit ? 60 : 1000);
      info.alignment = alignment;
      info.adjustToFit = fit;
      info.wrapWords = false;
      FakeMetrics m(HalfEm);
      const Layout plain = LayOutHorizontal(info, 1.5f, Units(text), &m);
      info.wrapWords = true;
      const Layout wrapped = Wrap(info, text, &m, 1.5f);
      EXPECT_EQ(wrapped.fontSize, plain.fontSize);
      EXPECT_EQ(Texts(wrapped), Texts(plain));
      EXPECT_EQ(Xs(wrapped), Xs(plain));
      EXPECT_EQ(Ys(wrapped), Ys(plain));
    }
  }
}

TEST(WrappedLinesTest, FailedMeasurementLaysOutNothing) {
  FakeMetrics m(Fixed(10));
  m.FailOn("Summer");
  const Layout layout = Wrap(Item(0, 0, 100, 1000), "Summer Sale", &m);
  EXPECT_TRUE(layout.metricsFailed);
  EXPECT_TRUE(layout.annotations.empty());
}

// --- Blank text ---

// Spaces, a tab, line feeds and ideographic spaces draw nothing at any
// size: fitting keeps the starting size, and nothing overflows, even in an
// area lower than one line.
TEST(WrappedLinesBlankTest, BlankTextFitsAtTheStartingSize) {
  for (const std::string text :
       {"   ", "\t", " \n ", "\n", "\xE3\x80\x80", " \t\n\xE3\x80\x80 "}) {
    FakeMetrics m(Fixed(10));
    TextInfo info = Item(0, 0, 30, 10);
    info.adjustToFit = true;
    Layout layout = Wrap(info, text, &m);
    EXPECT_EQ(layout.fontSize, 20) << text;
    EXPECT_TRUE(layout.overflow.empty()) << text;
    EXPECT_FALSE(layout.fitFailed) << text;
    EXPECT_TRUE(layout.annotations.empty()) << text;
  }
}
}  // namespace
