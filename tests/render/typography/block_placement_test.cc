#include "render/typography/block_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_metrics.h"
#include "support/layout_items.h"
#include "render/layout/horizontal_layout.h"
#include "render/layout/vertical_layout.h"

namespace {

// A layout of `annotations` at `fontSize`.
Layout Placed(std::vector<Annotation> annotations, int fontSize) {
  Layout layout;
  layout.annotations = std::move(annotations);
  layout.fontSize = fontSize;
  return layout;
}

using Doubles = std::vector<double>;
using Strings = std::vector<std::string>;

TextInfo Item(float x, float y, float width, float height, int direction) {
  return direction == 0 ? LineItem(x, y, width, height)
                        : ColumnItem(x, y, width, height);
}

// Lines: every byte 10 wide, ink from 15 above the baseline to 5 below.
FontMetrics Line(const std::string& text, int) {
  FontMetrics m = LineMetrics(10.0 * text.size(), 50, 15);
  m.by1 = -5;
  return m;
}

Layout Aligned(const TextInfo& info, const Layout& layout, MetricsSource* m) {
  Layout moved = layout;
  EXPECT_TRUE(AlignBlock(info, m, &moved));
  return moved;
}

TEST(AlignBlockTest, HorizontalBlockMovesDownByWholePixels) {
  // Area 10..210 high. Baselines 25 and 55: ink 10..60, its middle 35,
  // the area's 110.
  TextInfo info = Item(0, 10, 1000, 200, 0);
  FakeMetrics m(Line);
  m.Set("",  LineMetrics(0, 50, 999));  // never asked for
  const Layout layout = Placed({{0, 25, "ab"}, {0, 55, "cd"}}, 20);
  info.blockAlign = 0;
  EXPECT_EQ(Ys(Aligned(info, layout, &m)), (Doubles{25, 55}));
  EXPECT_TRUE(m.measured.empty());
  // Centred: ink 85..135.
  info.blockAlign = 2;
  EXPECT_EQ(Ys(Aligned(info, layout, &m)), (Doubles{100, 130}));
  EXPECT_EQ(m.sizes, (std::vector<int>{20}));
  // Mirrored: ink 160..210, as far from the bottom as it was from the top.
  info.blockAlign = 1;
  EXPECT_EQ(Ys(Aligned(info, layout, &m)), (Doubles{175, 205}));
  // Half pixels are dropped: middle 110.5, offset 75.5.
  info.areaHeight = 201;
  info.blockAlign = 2;
  EXPECT_EQ(Ys(Aligned(info, layout, &m)), (Doubles{100, 130}));
  // Only x stays as it was.
  EXPECT_EQ(Xs(Aligned(info, layout, &m)), (Doubles{0, 0}));
}

TEST(AlignBlockTest, BlockThatFillsTheAreaStaysPut) {
  // Ink 10..60 in an area 10..50: its middle is already below the area's.
  TextInfo info = Item(0, 10, 1000, 40, 0);
  FakeMetrics m(Line);
  const Layout layout = Placed({{0, 25, "ab"}, {0, 55, "cd"}}, 20);
  for (int blockAlign : {1, 2}) {
    info.blockAlign = blockAlign;
    EXPECT_EQ(Ys(Aligned(info, layout, &m)), (Doubles{25, 55}));
  }
}

TEST(AlignBlockTest, VerticalBlockMovesLeft) {
  // One column at x 171 in the area 0..200: ink 172..190, middle 181.
  TextInfo info = Item(0, 0, 200, 100, 1);
  FakeMetrics m(EmCell);
  const Layout layout = Placed({{171, 16, "a"}, {171, 36, "b"}}, 20);
  info.blockAlign = 2;  // offset -81: ink 91..109
  Layout moved = Aligned(info, layout, &m);
  EXPECT_EQ(Xs(moved), (Doubles{90, 90}));
  EXPECT_EQ(Ys(moved), (Doubles{16, 36}));
  info.blockAlign = 1;  // ink 10..28, 10 from the left edge as from the right
  EXPECT_EQ(Xs(Aligned(info, layout, &m)), (Doubles{9, 9}));

  // A turned unit's ink lies across the column from by1 to by2.
  FontMetrics turned = EmCell("t", 20);
  turned.by1 = 2;
  turned.by2 = 12;
  m.Set("t", turned);
  Layout withTurned = Placed({{174, 0, "t"}}, 20);
  withTurned.annotations[0].turned = true;
  info.blockAlign = 2;  // ink 176..186, middle 181
  EXPECT_EQ(Xs(Aligned(info, withTurned, &m)), (Doubles{93}));
}

TEST(AlignBlockTest, NothingToMoveWithoutText) {
  TextInfo info = Item(0, 0, 200, 100, 0);
  info.blockAlign = 2;
  FakeMetrics m(Line);
  Layout empty;
  EXPECT_TRUE(AlignBlock(info, &m, &empty));
  Layout failed = Placed({{0, 10, "a"}}, 20);
  failed.metricsFailed = true;
  EXPECT_TRUE(AlignBlock(info, &m, &failed));
  EXPECT_EQ(Ys(failed), (Doubles{10}));
  EXPECT_TRUE(m.measured.empty());
  m.FailOn("a");
  Layout layout = Placed({{0, 10, "a"}}, 20);
  EXPECT_FALSE(AlignBlock(info, &m, &layout));
}

// --- The smallest size around the plain layouts ---

Layout Horizontal(const TextInfo& info, const std::string& text,
                  MetricsSource* m) {
  const std::vector<std::string> units = Units(text);
  return LayOutWithSmallestSize(info, [&](const TextInfo& item) {
    return LayOutHorizontal(item, 0, units, m);
  });
}

TEST(SmallestSizeTest, FittingThatStopsAboveTheSmallestSizeIsUnchanged) {
  // Ten units of `size` in 100 x 30 fit at 15 (see the horizontal layout).
  TextInfo info = Item(0, 0, 100, 30, 0);
  info.adjustToFit = true;
  FakeMetrics m(ScaledLine);
  const Layout plain = LayOutHorizontal(info, 0, Units("aaaaaaaaaa"), &m);
  for (int smallest : {5, 15}) {
    info.minFontSize = smallest;
    const Layout layout = Horizontal(info, "aaaaaaaaaa", &m);
    EXPECT_EQ(layout.fontSize, 15);
    EXPECT_FALSE(layout.fitFailed);
    EXPECT_EQ(Texts(layout), Texts(plain));
    EXPECT_EQ(Ys(layout), Ys(plain));
  }
}

TEST(SmallestSizeTest, HorizontalTextLaidOutAtTheSmallestSizeIsCut) {
  // At 16: six units a line (96), two lines of 16 > 30. Laid out at 16 as
  // without fitting, the advance 16: the second line ends at 32 > 30.
  TextInfo info = Item(0, 0, 100, 30, 0);
  info.adjustToFit = true;
  info.minFontSize = 16;
  FakeMetrics m(ScaledLine);
  const Layout layout = Horizontal(info, "aaaaaaaaaa", &m);
  EXPECT_EQ(layout.fontSize, 16);
  EXPECT_TRUE(layout.fitFailed);
  EXPECT_EQ(Texts(layout), (Strings{"aaaaaa"}));
  EXPECT_EQ(Ys(layout), (Doubles{12}));
  EXPECT_EQ(m.sizes.back(), 16);

  // Without it fitting gives up at 5, as ever.
  info.minFontSize = 0;
  info.areaHeight = 1;
  const Layout none = Horizontal(info, "aa", &m);
  EXPECT_TRUE(none.annotations.empty());
  EXPECT_TRUE(none.fitFailed);
}

TEST(SmallestSizeTest, VerticalColumnsAtTheSmallestSizeRunPastTheLeftEdge) {
  // Ten units an em of `size` in 30 x 100: at 12, eight a column, two
  // columns of 12 + 12 <= 30 would fit; at the smallest size 20 five a
  // column make two columns of 40 > 30. Laid out at 20 from the first
  // unit's width 20: left edges 10 and -10.
  TextInfo info = Item(0, 0, 30, 100, 1);
  info.adjustToFit = true;
  info.minFontSize = 20;
  FakeMetrics m(ScaledCell);
  const std::vector<std::string> units = Units("abcdefghij");
  const Layout layout = LayOutWithSmallestSize(info, [&](const TextInfo& item) {
    return LayOutVertical(item, 0, units, &m);
  });
  EXPECT_EQ(layout.fontSize, 20);
  EXPECT_TRUE(layout.fitFailed);
  ASSERT_EQ(layout.annotations.size(), 10u);
  EXPECT_EQ(layout.annotations[0].x, 10);
  EXPECT_EQ(layout.annotations[5].x, -10);
}

}  // namespace
