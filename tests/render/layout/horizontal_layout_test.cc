#include "render/layout/horizontal_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_metrics.h"
#include "support/layout_items.h"

namespace {

using Strings = std::vector<std::string>;
using Doubles = std::vector<double>;

// An item at size 20 with line height 30, start alignment, no flags.
TextInfo Item(float x, float y, float width, float height) {
  return LineItem(x, y, width, height);
}

// Every byte `unitWidth` wide; a line is as wide as its units together.
FakeMetrics::Rule Uniform(double unitWidth, double textH, double by2) {
  return [=](const std::string& text, int) {
    return LineMetrics(unitWidth * text.size(), textH, by2);
  };
}

Layout LayOut(const TextInfo& info, const std::string& text, FakeMetrics* m,
              float topInset = 0) {
  return LayOutHorizontal(info, topInset, Units(text), m);
}

// --- Breaking units into lines (area 100..300 wide unless stated) ---

TEST(HorizontalBreakTest, FirstUnitWiderThanAreaLeavesFirstLineEmpty) {
  TextInfo info = Item(100, 10, 200, 1000);
  info.ignoreLineHeight = true;  // advance = textH of the first unit, 23.7
  FakeMetrics m(Uniform(10, 50, 15));
  m.Set("W", LineMetrics(250, 23.7, 15));
  const Layout layout = LayOut(info, "Wab", &m);
  // First baseline ceil(10 + 15) = 25. "W" runs to 350 > 300: the empty
  // line closes at 25 and "W" opens line 1 at trunc(23.7 + 25) = 48. "a"
  // cannot join it (360 > 300), so "ab" is line 2 at trunc(47.4 + 25) = 72.
  EXPECT_EQ(Texts(layout), (Strings{"", "W", "ab"}));
  EXPECT_EQ(Ys(layout), (Doubles{25, 48, 72}));
  for (const Annotation& a : layout.annotations)
    EXPECT_EQ(a.x, 100);
}

TEST(HorizontalBreakTest, LaterUnitWiderThanAreaStandsAlone) {
  FakeMetrics m(Uniform(10, 50, 15));
  m.Set("W", LineMetrics(250, 50, 15));
  const Layout layout = LayOut(Item(100, 0, 200, 1000), "abWcd", &m);
  EXPECT_EQ(Texts(layout), (Strings{"ab", "W", "cd"}));
  EXPECT_EQ(Ys(layout), (Doubles{15, 45, 75}));
}

// Units 50 wide: four fill the 200 exactly and stay on the line (the break
// needs the running width strictly past the right edge).
TEST(HorizontalBreakTest, BlanksAndLineFeedsAreOrdinaryUnits) {
  FakeMetrics m(Uniform(50, 50, 15));
  const TextInfo info = Item(100, 0, 200, 1000);
  EXPECT_EQ(Texts(LayOut(info, "abc d", &m)), (Strings{"abc ", "d"}));
  EXPECT_EQ(Texts(LayOut(info, "abcd e", &m)), (Strings{"abcd", " e"}));
  EXPECT_EQ(Texts(LayOut(info, "ab\ncd", &m)), (Strings{"ab\nc", "d"}));
  EXPECT_EQ(Texts(LayOut(info, "a\n\nb", &m)), (Strings{"a\n\nb"}));
}

// With areaX 100, every line of more than one unit holds at most 200 of
// width, and no line could have taken the unit that opens the next.
TEST(HorizontalBreakTest, LinesHoldAtMostTheAreaWidthAndBreakOnlyWhenPast) {
  auto width = [](char c) {
    return 5.0 + (static_cast<unsigned char>(c) * 37) % 90;
  };
  FakeMetrics m([&](const std::string& text, int) {
    double w = 0;
    for (char c : text)
      w += width(c);
    return LineMetrics(w, 30, 15);
  });
  const TextInfo info = Item(100, 0, 200, 1000);
  for (const std::string text :
       {"the quick brown fox jumps over the lazy dog",
        "AAAAAAAAAAAAAAAAAAAAAAAAA", "zyxwvutsrqponmlkjihgfedcba 0123456789"}) {
    HorizontalLines lines;
    ASSERT_TRUE(BreakLines(info, 20, 0, Units(text), &m, &lines));
    ASSERT_EQ(lines.baselines.size(), lines.text.size());
    std::string joined;
    for (size_t i = 0; i < lines.text.size(); ++i) {
      const std::string& line = lines.text[i];
      double sum = 0;
      for (char c : line)
        sum += width(c);
      if (line.size() > 1) {
        EXPECT_LE(sum, 200) << text << " line " << i;
      }
      if (i + 1 < lines.text.size()) {
        EXPECT_GT(sum + width(lines.text[i + 1][0]), 200)
            << text << " line " << i;
      }
      joined += line;
    }
    EXPECT_EQ(joined, text);
    EXPECT_GT(lines.text.size(), 2u) << text;
  }
}

TEST(HorizontalBreakTest, RightEdgeIsSummedInSinglePrecision) {
  // 100.1f + 200.2f rounds to 300.2999878 in single, while the running
  // width 100.1f + 200.2f in double is 300.2999954: a unit exactly as wide
  // as the area is past the edge and opens a second line.
  FakeMetrics m(Uniform(static_cast<double>(200.2f), 50, 15));
  const Layout layout = LayOut(Item(100.1f, 0, 200.2f, 1000), "a", &m);
  EXPECT_EQ(Texts(layout), (Strings{"", "a"}));
}

// --- Baselines and line advance ---

TEST(HorizontalBaselineTest, FirstBaselineIsHighestCeilingMeasuredSoFar) {
  // Units 150 wide: every unit but the first closes a line. Top 5 + 0.5.
  FakeMetrics m(Uniform(150, 50, 10));
  m.Set("C", LineMetrics(150, 50, 30));
  const Layout layout = LayOut(Item(100, 5, 200, 1000), "abCd", &m, 0.5f);
  // "a": ceil(15.5) = 16, closed by "b" at 16. "C" raises it to
  // ceil(35.5) = 36 before it closes "b": 30 + 36. Then 60 + 36, 90 + 36.
  EXPECT_EQ(Texts(layout), (Strings{"a", "b", "C", "d"}));
  EXPECT_EQ(Ys(layout), (Doubles{16, 66, 96, 126}));
}

TEST(HorizontalBaselineTest, FirstBaselineNeverBelowZero) {
  // Top -500 + by2 20 is negative for every unit.
  FakeMetrics m(Uniform(150, 50, 20));
  EXPECT_EQ(Ys(LayOut(Item(100, -500, 200, 600), "abc", &m)),
            (Doubles{0, 30, 60}));
}

TEST(HorizontalBaselineTest, LineAdvanceFromFirstUnitOnlyWhenFlagged) {
  // Three lines of one unit; first baseline ceil(0 + 10) = 10. The first
  // unit's textH is 17.25, the others' 40; lineHeight 30.
  FakeMetrics m(Uniform(150, 40, 10));
  m.Set("a", LineMetrics(150, 17.25, 10));
  TextInfo plain = Item(100, 0, 200, 1000);
  EXPECT_EQ(Ys(LayOut(plain, "abc", &m)), (Doubles{10, 40, 70}));
  TextInfo ignore = plain;
  ignore.ignoreLineHeight = true;  // 10, trunc(27.25), trunc(44.5)
  EXPECT_EQ(Ys(LayOut(ignore, "abc", &m)), (Doubles{10, 27, 44}));
  TextInfo fit = plain;
  fit.adjustToFit = true;  // fits at once: 3 x 17.25 <= 1000
  EXPECT_EQ(Ys(LayOut(fit, "abc", &m)), (Doubles{10, 27, 44}));
}

TEST(HorizontalBaselineTest, BaselineSummedInSinglePrecision) {
  // First baseline ceil(990 + 10) = 1000; advance 24.999998 (a float just
  // below 25). index x advance + 1000 rounds up to 1025 and 1050 in single
  // precision, where double would give 1024 and 1049.
  TextInfo info = Item(100, 990, 200, 1000);
  info.ignoreLineHeight = true;
  FakeMetrics m(Uniform(200, 24.999998092651367, 10));
  EXPECT_EQ(Ys(LayOut(info, "abc", &m)), (Doubles{1000, 1025, 1050}));
}

// --- Fitting ---

TEST(HorizontalFitTest, StepsDownOneSizeAtATimeUntilLinesFit) {
  TextInfo info = Item(0, 0, 100, 30);
  info.adjustToFit = true;
  FakeMetrics m(ScaledLine);
  const Layout layout = LayOut(info, "aaaaaaaaaa", &m);
  // Sizes 20..17 put 5 units on a line: 2 lines x size > 30. 16 takes 6
  // (96): 2 x 16 = 32 > 30. 15 takes 6 (90): 2 x 15 = 30 fits.
  EXPECT_EQ(m.sizes, (std::vector<int>{20, 19, 18, 17, 16, 15}));
  for (int size = 20; size >= 15; --size)
    EXPECT_EQ(m.Count("a", size), 10) << "size " << size;
  EXPECT_EQ(layout.fontSize, 15);
  EXPECT_EQ(Texts(layout), (Strings{"aaaaaa", "aaaa"}));
  // First baseline ceil(11.25) = 12; advance 15 (textH at size 15).
  EXPECT_EQ(Ys(layout), (Doubles{12, 27}));
}

TEST(HorizontalFitTest, TooTallAtSizeFiveDrawsNothing) {
  TextInfo info = Item(0, 0, 100, 1);
  info.fontSize = 7;
  info.adjustToFit = true;
  FakeMetrics m(ScaledLine);
  const Layout layout = LayOut(info, "aa", &m);
  EXPECT_EQ(m.sizes, (std::vector<int>{7, 6, 5}));
  EXPECT_TRUE(layout.annotations.empty());
  EXPECT_FALSE(layout.metricsFailed);
}

TEST(HorizontalFitTest, SizeBelowFiveAtEntryLaysOutNothing) {
  for (bool fit : {false, true}) {
    TextInfo info = Item(0, 0, 100, 100);
    info.adjustToFit = fit;
    info.fontSize = 4;
    FakeMetrics m(ScaledLine);
    EXPECT_TRUE(LayOut(info, "ab", &m).annotations.empty());
    EXPECT_TRUE(m.measured.empty());
    info.fontSize = 5;
    EXPECT_EQ(Texts(LayOut(info, "ab", &m)), (Strings{"ab"}));
  }
}

// Three one-unit lines, textH 2 x size: 3 x 2 x size > 100 down to size 17;
// size 16 fits (96). The advance becomes 100 / 3 = 33.333332 in single, and
// with an inset of 1 the third line would end at 101 > 100; all the same,
// every fitted line is drawn. Baselines stay those of the pass: by2 16,
// advance 32.
TEST(HorizontalFitTest, EveryLineTheFittingAcceptedIsDrawn) {
  TextInfo info = Item(0, 0, 100, 100);
  info.adjustToFit = true;
  FakeMetrics m([](const std::string& text, int size) {
    return LineMetrics(100.0 * text.size(), 2.0 * size, size);
  });
  const Layout flush = LayOut(info, "abc", &m, 0);
  EXPECT_EQ(flush.fontSize, 16);
  EXPECT_EQ(Texts(flush), (Strings{"a", "b", "c"}));
  EXPECT_EQ(Ys(flush), (Doubles{16, 48, 80}));
  const Layout inset = LayOut(info, "abc", &m, 1);
  EXPECT_EQ(inset.fontSize, 16);
  EXPECT_EQ(Texts(inset), (Strings{"a", "b", "c"}));
  EXPECT_EQ(Ys(inset), (Doubles{17, 49, 81}));
}

// --- Stop test without fitting: line i is drawn while
// topInset + areaY + (i + 1) x advance <= areaY + areaHeight ---

TEST(HorizontalStopTest, LinesPastTheAreaAreCut) {
  FakeMetrics m(Uniform(200, 50, 15));  // one unit per line
  const TextInfo info = Item(100, 10, 200, 90);  // bottom 100, advance 30
  // 40, 70, 100 pass (the last exactly); 130 does not.
  const Layout three = LayOut(info, "abcde", &m, 0);
  EXPECT_EQ(Texts(three), (Strings{"a", "b", "c"}));
  // The lines drawn, as annotated, and the cut ones, for the report.
  ASSERT_EQ(three.lines.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(three.lines[i].text, three.annotations[i].text);
    EXPECT_EQ(three.lines[i].x, three.annotations[i].x);
    EXPECT_EQ(three.lines[i].y, three.annotations[i].y);
  }
  EXPECT_EQ(three.overflow, (Strings{"d", "e"}));
  // 41, 71, then 101 > 100.
  const Layout two = LayOut(info, "abcde", &m, 1);
  EXPECT_EQ(Texts(two), (Strings{"a", "b"}));
  EXPECT_EQ(two.overflow, (Strings{"c", "d", "e"}));
  // 10 + 30 > 30: not even the first line.
  EXPECT_TRUE(LayOut(Item(100, 10, 200, 20), "abcde", &m).annotations.empty());
}

TEST(HorizontalStopTest, ZeroLineHeightOverprintsEveryLine) {
  TextInfo info = Item(100, 0, 200, 5);
  info.lineHeight = 0;
  FakeMetrics m(Uniform(200, 50, 10));
  // Inset 5: every y is 5 <= 5; all four lines at ceil(5 + 10) = 15.
  EXPECT_EQ(Ys(LayOut(info, "abcd", &m, 5)), (Doubles{15, 15, 15, 15}));
  EXPECT_TRUE(LayOut(info, "abcd", &m, 6).annotations.empty());
}

// --- Alignment, from the whole line's own width ---

TEST(HorizontalAlignTest, PlacesLineByItsMeasuredWidth) {
  FakeMetrics m(Uniform(10, 30, 15));
  m.Set("abc", LineMetrics(45.5, 30, 15));  // not the units' 30
  TextInfo info = Item(100, 0, 200, 1000);
  const std::pair<int, double> cases[] = {
      {3, 100 + (200 - 45.5)}, {2, 100 + (200 - 45.5) * 0.5},
      {1, 100}, {0, 100}, {4, 100}};
  for (const auto& [alignment, x] : cases) {
    info.alignment = alignment;
    const Layout layout = LayOut(info, "abc", &m);
    ASSERT_EQ(layout.annotations.size(), 1u);
    EXPECT_EQ(layout.annotations[0].x, x) << "alignment " << alignment;
  }
}

TEST(HorizontalAlignTest, LineWiderThanAreaStartsAtLeftEdge) {
  FakeMetrics m(Uniform(10, 30, 15));
  m.Set("abc", LineMetrics(210, 30, 15));  // the units sum to 30 only
  m.Set("W", LineMetrics(250, 30, 15));
  TextInfo info = Item(100, 0, 200, 1000);
  for (int alignment : {2, 3}) {
    info.alignment = alignment;
    EXPECT_EQ(LayOut(info, "abc", &m).annotations.at(0).x, 100);
    EXPECT_EQ(LayOut(info, "W", &m).annotations.at(1).x, 100);
  }
}

// --- Nothing to draw ---

TEST(HorizontalLayoutTest, EmptyTextDrawsNothing) {
  FakeMetrics m(Uniform(10, 30, 15));
  const Layout layout = LayOut(Item(100, 0, 200, 1000), "", &m);
  EXPECT_TRUE(layout.annotations.empty());
  EXPECT_FALSE(layout.metricsFailed);
}

TEST(HorizontalLayoutTest, FailedMeasurementReportsAndDrawsNothing) {
  // Units 100 wide: lines "ab" and "cd".
  for (const char* failing : {"c", "cd"}) {
    FakeMetrics m(Uniform(100, 30, 15));
    m.FailOn(failing);
    const Layout layout = LayOut(Item(100, 0, 200, 1000), "abcd", &m);
    EXPECT_TRUE(layout.metricsFailed) << failing;
    EXPECT_TRUE(layout.annotations.empty()) << failing;
  }
}

}  // namespace
