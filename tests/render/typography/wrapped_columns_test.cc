#include "render/typography/wrapped_columns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_metrics.h"
#include "support/layout_items.h"
#include "render/layout/vertical_layout.h"

namespace {

using Doubles = std::vector<double>;
using Strings = std::vector<std::string>;

// An item at size 20 with column width 40, top alignment, no flags.
TextInfo Item(float x, float y, float width, float height) {
  TextInfo info = ColumnItem(x, y, width, height);
  info.wrapWords = true;
  return info;
}

// With EmCell units, in the rightmost column of an area 0..200 a unit's x
// is 171, unit k's y 20(k + 1) - 4.

Layout Wrap(const TextInfo& info, const std::string& text, MetricsSource* m,
            float topInset = 0) {
  const std::vector<std::string> units = Units(text);
  return LayOutWrappedColumns(info, topInset, units, FindLineBreaks(units),
                              m);
}

// The units of each column, as strings, from the layout's x positions.
std::vector<std::string> ColumnTexts(const Layout& layout) {
  std::vector<std::string> columns;
  double x = 0;
  for (const Annotation& a : layout.annotations) {
    if (columns.empty() || a.x != x)
      columns.emplace_back();
    columns.back() += a.text;
    x = a.x;
  }
  return columns;
}

TEST(WrappedColumnsTest, ColumnDoesNotBeginWithClosingPunctuation) {
  // Five units a column. The plain layout opens column 1 with ）; the
  // word layout moves お along with it.
  FakeMetrics m(EmCell);
  TextInfo info = Item(0, 0, 200, 100);
  const std::string text = "あいうえお）かき";
  info.wrapWords = false;
  EXPECT_EQ(ColumnTexts(LayOutVertical(info, 0, Units(text), &m)),
            (Strings{"あいうえお", "）かき"}));
  info.wrapWords = true;
  const Layout layout = Wrap(info, text, &m);
  EXPECT_EQ(ColumnTexts(layout), (Strings{"あいうえ", "お）かき"}));
  EXPECT_EQ(Xs(layout), (Doubles{171, 171, 171, 171, 131, 131, 131, 131}));
  EXPECT_EQ(Ys(layout), (Doubles{16, 36, 56, 76, 16, 36, 56, 76}));
  // Nor with ー, 」 or 、; nor does one end with 「.
  EXPECT_EQ(ColumnTexts(Wrap(info, "あいうえおーー「か」、き", &m)),
            (Strings{"あいうえ", "おーー", "「か」、き"}));
}

TEST(WrappedColumnsTest, LineEndsEndTheColumnAndAreNeverDrawn) {
  FakeMetrics m(EmCell);
  const TextInfo info = Item(0, 0, 200, 100);
  Layout layout = Wrap(info, "一\n二", &m);
  EXPECT_EQ(Texts(layout), (Strings{"一", "二"}));
  EXPECT_EQ(Xs(layout), (Doubles{171, 131}));
  EXPECT_EQ(Ys(layout), (Doubles{16, 16}));
  // An empty column keeps its place; a line end at the end opens none.
  layout = Wrap(info, "一\r\n\n二\n", &m);
  EXPECT_EQ(Texts(layout), (Strings{"一", "二"}));
  EXPECT_EQ(Xs(layout), (Doubles{171, 91}));
}

TEST(WrappedColumnsTest, SpacesAtTheEndOfAColumnTakeNoCell) {
  // "abcd " fills the five cells; the column ends before "efgh" and is
  // four units high, so bottom alignment puts its top at 100 - 80.
  FakeMetrics m(EmCell);
  TextInfo info = Item(0, 0, 200, 100);
  info.alignment = 3;
  const Layout layout = Wrap(info, "abcd efgh", &m);
  EXPECT_EQ(ColumnTexts(layout), (Strings{"abcd", "efgh"}));
  EXPECT_EQ(Ys(layout), (Doubles{36, 56, 76, 96, 36, 56, 76, 96}));
}

TEST(WrappedColumnsTest, WordTallerThanTheAreaIsBrokenBetweenUnits) {
  FakeMetrics m(EmCell);
  WrappedColumns wrapped;
  const std::vector<std::string> units = Units("abcdefgh ij");
  ASSERT_TRUE(WrapColumns(Item(0, 0, 200, 100), 20, 0, units,
                          FindLineBreaks(units), &m, &wrapped));
  EXPECT_EQ(wrapped.columns.units,
            (std::vector<std::vector<size_t>>{{0, 1, 2, 3, 4}, {5, 6, 7},
                                              {9, 10}}));
  EXPECT_EQ(wrapped.columns.heights, (std::vector<int>{100, 60, 40}));
  EXPECT_TRUE(wrapped.wordBroken);
  EXPECT_FALSE(wrapped.tooTall);
}

TEST(WrappedColumnsTest, FittingPrefersASizeThatKeepsWordsWhole) {
  // Area 50 x 100. "abcdefg" stays whole from 14 down (7 x 14 = 98); two
  // columns of 14 fit. The plain layout stops at 16, breaking the word.
  TextInfo info = Item(0, 0, 50, 100);
  info.fontSize = 22;
  info.adjustToFit = true;
  FakeMetrics m(ScaledCell);
  const std::string text = "abcdefg hij";
  info.wrapWords = false;
  EXPECT_EQ(LayOutVertical(info, 0, Units(text), &m).fontSize, 16);
  info.wrapWords = true;
  const Layout layout = Wrap(info, text, &m);
  EXPECT_EQ(layout.fontSize, 14);
  EXPECT_FALSE(layout.fitFailed);
  EXPECT_EQ(ColumnTexts(layout), (Strings{"abcdefg", "hij"}));
  // Spread over the area: W = 25, left edges 25 and 0, x = 5.5 + edge.
  EXPECT_EQ(layout.annotations[0].x, 30.5);
  EXPECT_EQ(layout.annotations[7].x, 5.5);
  EXPECT_EQ(Ys(layout),
            (Doubles{10, 24, 38, 52, 66, 80, 94, 10, 24, 38}));
}

TEST(WrappedColumnsTest, MinSizeLetsColumnsRunPastTheLeftEdge) {
  // Fifty ideographs at 10: ten a column, five columns of 10 > 40.
  TextInfo info = Item(0, 0, 40, 100);
  info.adjustToFit = true;
  info.minFontSize = 10;
  FakeMetrics m(ScaledCell);
  std::string text;
  for (int i = 0; i < 50; ++i)
    text += "一";
  Layout layout = Wrap(info, text, &m);
  EXPECT_EQ(layout.fontSize, 10);
  EXPECT_TRUE(layout.fitFailed);
  ASSERT_EQ(layout.annotations.size(), 50u);
  // Columns 10 wide from the right edge, not spread: the last one at -10.
  EXPECT_EQ(layout.annotations[0].x, 30);
  EXPECT_EQ(layout.annotations[49].x, -10);

  // Without it fitting gives up: at 5, three columns of 5 > 10.
  info.minFontSize = 0;
  info.areaWidth = 10;
  layout = Wrap(info, text, &m);
  EXPECT_TRUE(layout.annotations.empty());
  EXPECT_TRUE(layout.fitFailed);
}

TEST(WrappedColumnsTest, IdeographsAloneAreLaidOutAsThePlainLayoutDoes) {
  const std::string text = "春夏秋冬山水花鳥風月雪春夏秋冬";
  for (int alignment : {1, 2, 3}) {
    for (bool fit : {false, true}) {
      for (float inset : {0.0f, 1.5f}) {
        TextInfo info = Item(3, 7, fit ? 70 : 200, 100);
        info.alignment = alignment;
        info.adjustToFit = fit;
        info.fontSize = 24;
        FakeMetrics m(ScaledCell);
        info.wrapWords = false;
        const Layout plain = LayOutVertical(info, inset, Units(text), &m);
        info.wrapWords = true;
        const Layout wrapped = Wrap(info, text, &m, inset);
        EXPECT_EQ(wrapped.fontSize, plain.fontSize);
        EXPECT_EQ(Texts(wrapped), Texts(plain));
        EXPECT_EQ(Xs(wrapped), Xs(plain));
        EXPECT_EQ(Ys(wrapped), Ys(plain));
      }
    }
  }
}

TEST(WrappedColumnsTest, UniformEmsMeasureOncePerSizeAndFallBackWhenUnequal) {
  // Fitting from 24 down to 14 as above: eleven passes. With uniform ems
  // each pass measures the empty text only; placement measures each unit.
  TextInfo info = Item(0, 0, 50, 100);
  info.fontSize = 24;
  info.adjustToFit = true;
  const std::vector<std::string> units = Units("abcdefg hij");
  const std::vector<UnitBreak> breaks = FindLineBreaks(units);
  FakeMetrics measured(ScaledCell);
  const Layout reference =
      LayOutWrappedColumns(info, 0, units, breaks, &measured, false);
  FakeMetrics uniform(ScaledCell);
  const Layout shortcut =
      LayOutWrappedColumns(info, 0, units, breaks, &uniform, true);
  EXPECT_EQ(shortcut.fontSize, 14);
  EXPECT_EQ(Texts(shortcut), Texts(reference));
  EXPECT_EQ(Xs(shortcut), Xs(reference));
  EXPECT_EQ(Ys(shortcut), Ys(reference));
  EXPECT_EQ(uniform.Count("", 20), 1);
  EXPECT_EQ(uniform.Count("a", 20), 0);
  EXPECT_EQ(uniform.Count("a", 14), 1);
  EXPECT_LT(uniform.measured.size(), measured.measured.size() / 4);

  // One unit of another em: laid out again with every unit measured.
  FakeMetrics odd(ScaledCell);
  odd.Set("h", CellMetrics(14, 30, 0, 14, 10));
  FakeMetrics oddMeasured(ScaledCell);
  oddMeasured.Set("h", CellMetrics(14, 30, 0, 14, 10));
  const Layout fallback =
      LayOutWrappedColumns(info, 0, units, breaks, &odd, true);
  const Layout all =
      LayOutWrappedColumns(info, 0, units, breaks, &oddMeasured, false);
  EXPECT_EQ(fallback.fontSize, all.fontSize);
  EXPECT_EQ(Texts(fallback), Texts(all));
  EXPECT_EQ(Xs(fallback), Xs(all));
  EXPECT_EQ(Ys(fallback), Ys(all));
}

TEST(WrappedColumnsTest, FailedMeasurementLaysOutNothing) {
  for (size_t good : {1u, 4u}) {
    FakeMetrics m(EmCell);
    m.FailAfter(good);
    const Layout layout = Wrap(Item(0, 0, 200, 100), "abc", &m);
    EXPECT_TRUE(layout.metricsFailed) << good;
    EXPECT_TRUE(layout.annotations.empty()) << good;
  }
}

// Blank text draws nothing at any size: fitting keeps the starting size,
// and nothing overflows, even in an area narrower than one column.
TEST(WrappedColumnsBlankTest, BlankTextFitsAtTheStartingSize) {
  for (const std::string text :
       {"   ", "\t", " \n ", "\n", "\xE3\x80\x80", " \t\n\xE3\x80\x80 "}) {
    FakeMetrics m(EmCell);
    TextInfo info = Item(0, 0, 10, 10);
    info.adjustToFit = true;
    Layout layout = Wrap(info, text, &m);
    EXPECT_EQ(layout.fontSize, 20) << text;
    EXPECT_TRUE(layout.overflow.empty()) << text;
    EXPECT_FALSE(layout.fitFailed) << text;
  }
}

}  // namespace
