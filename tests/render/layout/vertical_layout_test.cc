#include "render/layout/vertical_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/fake_metrics.h"
#include "support/layout_items.h"

namespace {

using Doubles = std::vector<double>;
using Columns = std::vector<std::vector<size_t>>;

// An item at size 20 with column width 40, top alignment, no flags.
TextInfo Item(float x, float y, float width, float height) {
  return ColumnItem(x, y, width, height);
}

// With EmCell units, in a column W wide a unit's x is (W - 18) / 2 from the
// left edge; unit k's y is (2P + 20)(k + 1) - 4 below the column top.

// Em sizes straight from a list, for one breaking pass.
class ListEms : public EmSource {
 public:
  explicit ListEms(std::vector<EmSize> ems) : ems_(std::move(ems)) {}
  bool Get(size_t index, EmSize* out) override {
    *out = ems_.at(index);
    return true;
  }

 private:
  std::vector<EmSize> ems_;
};

Layout LayOut(const TextInfo& info, const std::string& text, FakeMetrics* m,
              float topInset = 0) {
  return LayOutVertical(info, topInset, Units(text), m);
}

// --- Positions ---

TEST(VerticalPlaceTest, WorkedExampleWithoutInset) {
  // Area 0..200 wide, 100 high: 5 units a column. Column 0's left edge is
  // 200 - 40 = 160, x = 11 + 160; column 1's is 120, x = 131.
  FakeMetrics m(EmCell);
  const Layout layout = LayOut(Item(0, 0, 200, 100), "abcdefg", &m);
  ASSERT_EQ(layout.annotations.size(), 7u);
  EXPECT_EQ(layout.annotations[0].text, "a");
  EXPECT_EQ(layout.annotations[5].text, "f");
  EXPECT_EQ(Xs(layout), (Doubles{171, 171, 171, 171, 171, 131, 131}));
  EXPECT_EQ(Ys(layout), (Doubles{16, 36, 56, 76, 96, 16, 36}));
}

TEST(VerticalPlaceTest, WorkedExampleWithInsetOneAndAHalf) {
  // Pitch 41.5: left edges 158.5 and 117. Break position 1.5 + 20 per
  // unit reaches 101.5 at the fifth: 4 units a column. y = 23(k + 1) - 4.
  FakeMetrics m(EmCell);
  const Layout layout = LayOut(Item(0, 0, 200, 100), "abcdef", &m, 1.5f);
  EXPECT_EQ(Xs(layout), (Doubles{169.5, 169.5, 169.5, 169.5, 128, 128}));
  EXPECT_EQ(Ys(layout), (Doubles{19, 42, 65, 88, 19, 42}));
}

TEST(VerticalPlaceTest, LeftEdgeIsFormedInSinglePrecision) {
  // 0.1f + 200 rounds to 200.10000610 in single; less 40 is exact; plus 11.
  // (Double arithmetic would give 171.1000000015.)
  FakeMetrics m(EmCell);
  const Layout layout = LayOut(Item(0.1f, 0, 200, 100), "a", &m);
  ASSERT_EQ(layout.annotations.size(), 1u);
  EXPECT_DOUBLE_EQ(layout.annotations[0].x, 171.10000610351562);
}

TEST(VerticalPlaceTest, UnitTallerThanAreaLeavesColumnZeroEmpty) {
  // charHeight 120 > 100: column 0 stays empty and each unit takes the
  // next slot: left edges 200 - 2 x 40 = 120, 80, 40. Columns 120 high get
  // top 0; y = 120 - (120 - 100).
  FakeMetrics m([](const std::string&, int) {
    return CellMetrics(20, 120, 1, 19, 100);
  });
  const Layout layout = LayOut(Item(0, 0, 200, 100), "abc", &m);
  EXPECT_EQ(Xs(layout), (Doubles{131, 91, 51}));
  EXPECT_EQ(Ys(layout), (Doubles{100, 100, 100}));
}

TEST(VerticalPlaceTest, ShorterLastColumnIsCentredOnItsOwnHeight) {
  // areaY 10: column 0 (5 units, 100 high) starts at 10; column 1 (2 units,
  // 40 high) at trunc(10 + (100 - 40) x 0.5) = 40.
  TextInfo info = Item(0, 10, 200, 100);
  info.alignment = 2;
  FakeMetrics m(EmCell);
  EXPECT_EQ(Ys(LayOut(info, "abcdefg", &m)),
            (Doubles{26, 46, 66, 86, 106, 56, 76}));
}

TEST(VerticalPlaceTest, WithoutFittingColumnsRunPastTheLeftEdge) {
  // Area 100..180: 15 units make 3 columns with left edges 140, 100, 60.
  FakeMetrics m(EmCell);
  const Layout layout = LayOut(Item(100, 0, 80, 100), "abcdefghijklmno", &m);
  EXPECT_EQ(layout.fontSize, 20);
  EXPECT_EQ(m.sizes, (std::vector<int>{20}));
  ASSERT_EQ(layout.annotations.size(), 15u);
  EXPECT_EQ(layout.annotations[0].x, 151);
  EXPECT_EQ(layout.annotations[5].x, 111);
  EXPECT_EQ(layout.annotations[14].x, 71);
  EXPECT_EQ(layout.annotations[14].text, "o");
  // The columns by their left edges and tops; the one that starts left of
  // the area is the text that does not fit.
  ASSERT_EQ(layout.lines.size(), 3u);
  const std::vector<std::string> texts = {"abcde", "fghij", "klmno"};
  const Doubles lefts = {140, 100, 60};
  for (size_t j = 0; j < 3; ++j) {
    EXPECT_EQ(layout.lines[j].text, texts[j]);
    EXPECT_EQ(layout.lines[j].x, lefts[j]);
    EXPECT_EQ(layout.lines[j].y, 0);
  }
  EXPECT_EQ(layout.overflow, (std::vector<std::string>{"klmno"}));
}

TEST(VerticalPlaceTest, LineFeedIsAnOrdinaryUnit) {
  FakeMetrics m(EmCell);
  const Layout layout =
      LayOut(Item(0, 0, 200, 100), "\xE4\xB8\x80\n\xE4\xBA\x8C", &m);
  ASSERT_EQ(layout.annotations.size(), 3u);
  EXPECT_EQ(layout.annotations[1].text, "\n");
  EXPECT_EQ(Xs(layout), (Doubles{171, 171, 171}));
  EXPECT_EQ(Ys(layout), (Doubles{16, 36, 56}));
}

// --- Breaking into columns ---

TEST(VerticalBreakTest, BreakCountsInsetOnceButHeightCountsItTwicePerUnit) {
  // areaY 30, area 100 high, twelve units of 20.
  const TextInfo info = Item(0, 30, 200, 100);
  FakeMetrics m(EmCell);
  ListEms ems(std::vector<EmSize>(12, EmSize{20, 20}));
  VerticalColumns columns;
  columns.width = 40;
  // P = 0: break position 30 + 5 x 20 = 130 is not past 130.
  ASSERT_TRUE(BreakColumns(info, 20, 0, 12, &m, &ems, &columns));
  EXPECT_EQ(columns.units,
            (Columns{{0, 1, 2, 3, 4}, {5, 6, 7, 8, 9}, {10, 11}}));
  EXPECT_EQ(columns.heights, (std::vector<int>{100, 100, 40}));
  EXPECT_EQ(columns.width, 40);
  // P = 2: 32 + 5 x 20 = 132 is past; each unit 24 high.
  ASSERT_TRUE(BreakColumns(info, 20, 2, 12, &m, &ems, &columns));
  EXPECT_EQ(columns.units,
            (Columns{{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}}));
  EXPECT_EQ(columns.heights, (std::vector<int>{96, 96, 96}));
}

TEST(VerticalBreakTest, FirstUnitTallerThanAreaOpensWithEmptyColumn) {
  const TextInfo info = Item(0, 0, 200, 100);
  FakeMetrics m(EmCell);
  ListEms ems(std::vector<EmSize>(3, EmSize{20, 120}));
  VerticalColumns columns;
  ASSERT_TRUE(BreakColumns(info, 20, 0, 3, &m, &ems, &columns));
  EXPECT_EQ(columns.units, (Columns{{}, {0}, {1}, {2}}));
  EXPECT_EQ(columns.heights, (std::vector<int>{0, 120, 120, 120}));
}

// --- Column tops ---

TEST(VerticalTopsTest, AlignmentWithinAreaEachColumnOnItsOwnHeight) {
  TextInfo info = Item(0, 10, 200, 100);
  const std::pair<int, int> cases[] = {{3, 14}, {2, 12}, {1, 10}, {0, 10}};
  for (const auto& [alignment, top] : cases) {
    info.alignment = alignment;
    EXPECT_EQ(ColumnTops(info, {96, 100, 130}),
              (std::vector<int>{top, 10, 10}))
        << "alignment " << alignment;
  }
  info.alignment = 2;
  EXPECT_EQ(ColumnTops(info, {96, 40, 95}), (std::vector<int>{12, 40, 12}));
}

TEST(VerticalTopsTest, TopsTruncateTowardZero) {
  TextInfo info = Item(0, -10.5f, 200, 100);
  info.alignment = 1;
  EXPECT_EQ(ColumnTops(info, {96}), (std::vector<int>{-10}));
  info.alignment = 3;  // -10.5 + 4 = -6.5
  EXPECT_EQ(ColumnTops(info, {96}), (std::vector<int>{-6}));
}

// --- Column width and fitting ---

TEST(VerticalFitTest, ShrinksUntilColumnsFitThenSpreadsThem) {
  // P = 1, area 50 wide and 100 high, ten units. Sizes 22 to 20 hold 4 a
  // column (1 + 5 x size > 100): 3 columns x (1 + size) > 50. Size 19 holds
  // 5: 2 x 20 = 40 fits. W = 50 / 2 = 25, pitch 26: left edges 24 and -2,
  // x = (25 - 19) / 2 + edge. y = 21(k + 1) - 4 from top 0.
  TextInfo info = Item(0, 0, 50, 100);
  info.fontSize = 22;
  info.adjustToFit = true;
  FakeMetrics m(ScaledCell);
  const Layout layout = LayOut(info, "abcdefghij", &m, 1);
  EXPECT_EQ(m.sizes, (std::vector<int>{22, 21, 20, 19}));
  EXPECT_EQ(layout.fontSize, 19);
  EXPECT_EQ(m.Count("a", 19), 2);  // breaking, then placing
  EXPECT_EQ(Xs(layout), (Doubles{27, 27, 27, 27, 27, 1, 1, 1, 1, 1}));
  EXPECT_EQ(Ys(layout), (Doubles{17, 38, 59, 80, 101, 17, 38, 59, 80, 101}));
}

TEST(VerticalFitTest, FittingAtStartingSizeKeepsWidthFromFont) {
  // 2 columns x (1 + 19) = 40 is not more than 40: no step. W stays 20,
  // pitch 21: left edges 19 and -2, x = (20 - 19) / 2 + edge.
  TextInfo info = Item(0, 0, 40, 100);
  info.fontSize = 19;
  info.adjustToFit = true;
  FakeMetrics m(ScaledCell);
  const Layout layout = LayOut(info, "abcdefghij", &m, 1);
  EXPECT_EQ(m.sizes, (std::vector<int>{19}));
  EXPECT_EQ(layout.fontSize, 19);
  EXPECT_EQ(layout.annotations.at(0).x, 19.5);
  EXPECT_EQ(layout.annotations.at(5).x, -1.5);
}

TEST(VerticalFitTest, TooWideAtSizeFiveDrawsNothing) {
  TextInfo info = Item(0, 0, 1, 100);
  info.fontSize = 7;
  info.adjustToFit = true;
  FakeMetrics m(ScaledCell);
  const Layout layout = LayOut(info, "ab", &m);
  EXPECT_EQ(m.sizes, (std::vector<int>{7, 6, 5}));
  EXPECT_TRUE(layout.annotations.empty());
  EXPECT_FALSE(layout.metricsFailed);
}

TEST(VerticalFitTest, IgnoreLineHeightTakesWidthFromFirstUnitWithoutShrinking) {
  // P = 1, lineHeight 40 unused: W = 1 + 18 (the first unit's charWidth,
  // not the others' 30), pitch 20. 4 units a column: left edges 10, -10;
  // x = (19 - 18) / 2 + edge. y = 22(k + 1) - 4.
  TextInfo info = Item(0, 0, 30, 100);
  info.ignoreLineHeight = true;
  FakeMetrics m([](const std::string&, int) {
    return CellMetrics(30, 20, 1, 19, 16);
  });
  m.Set("a", CellMetrics(18, 20, 1, 19, 16));
  const Layout layout = LayOut(info, "abcdef", &m, 1);
  EXPECT_EQ(m.sizes, (std::vector<int>{20}));
  EXPECT_EQ(Xs(layout), (Doubles{10.5, 10.5, 10.5, 10.5, -9.5, -9.5}));
  EXPECT_EQ(Ys(layout), (Doubles{18, 40, 62, 84, 18, 40}));
}

// --- Nothing to draw ---

TEST(VerticalLayoutTest, SizeBelowFiveAtEntryLaysOutNothing) {
  for (bool fit : {false, true}) {
    TextInfo info = Item(0, 0, 200, 100);
    info.adjustToFit = fit;
    info.fontSize = 4;
    FakeMetrics m(EmCell);
    EXPECT_TRUE(LayOut(info, "ab", &m).annotations.empty());
    EXPECT_TRUE(m.measured.empty());
    info.fontSize = 5;
    EXPECT_EQ(LayOut(info, "ab", &m).annotations.size(), 2u);
  }
}

TEST(VerticalLayoutTest, FailedMeasurementReportsAndDrawsNothing) {
  // Fails while breaking, then while placing the second unit.
  for (size_t good : {1u, 4u}) {
    FakeMetrics m(EmCell);
    m.FailAfter(good);
    const Layout layout = LayOut(Item(0, 0, 200, 100), "abc", &m);
    EXPECT_TRUE(layout.metricsFailed) << good;
    EXPECT_TRUE(layout.annotations.empty()) << good;
  }
}

}  // namespace
