// The shaped layout over made-up metrics: the paragraph's direction turns
// "align" around, and line breaks fall between clusters only.

#include "render/text/shaped_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_metrics.h"

namespace {

TextInfo Item(int alignment) {
  TextInfo info;
  info.areaX = 100;
  info.areaY = 0;
  info.areaWidth = 200;
  info.areaHeight = 100;
  info.fontSize = 20;
  info.lineHeight = 30;
  info.alignment = alignment;
  return info;
}

// Every unit 10 wide; a line as wide as its bytes times 10.
FakeMetrics TenPerByte() {
  return FakeMetrics([](const std::string& text, int) {
    return LineMetrics(10.0 * text.size(), 24, 16);
  });
}

TEST(ShapedLayout, StartAndEndFollowTheParagraphDirection) {
  const std::vector<std::string> clusters = {"a", "b", "c"};
  struct Case {
    int alignment;
    bool rtl;
    double x;
  } cases[] = {
      {kAlignStart, false, 100}, {kAlignStart, true, 270},
      {kAlignEnd, false, 270},   {kAlignEnd, true, 100},
      {kAlignCentre, true, 185}, {kAlignCentre, false, 185},
  };
  for (const Case& c : cases) {
    FakeMetrics metrics = TenPerByte();
    const Layout layout =
        LayOutShapedLines(Item(c.alignment), c.rtl, 0, clusters, &metrics);
    ASSERT_EQ(layout.annotations.size(), 1u);
    EXPECT_EQ(layout.annotations[0].x, c.x)
        << "alignment " << c.alignment << " rtl " << c.rtl;
    EXPECT_EQ(layout.annotations[0].text, "abc");
  }
}

TEST(ShapedLayout, LinesBreakBetweenClustersNeverInside) {
  // Four clusters of 7 bytes (70 wide each) in an area 200 wide: two to a
  // line.
  const std::string e = "e\xCC\x81\xCC\x81\xCC\x81";  // 7 bytes
  const std::vector<std::string> clusters = {e, e, e, e};
  FakeMetrics metrics = TenPerByte();
  const Layout layout =
      LayOutShapedLines(Item(kAlignStart), false, 0, clusters, &metrics);
  ASSERT_EQ(layout.annotations.size(), 2u);
  EXPECT_EQ(layout.annotations[0].text, e + e);
  EXPECT_EQ(layout.annotations[1].text, e + e);
}

TEST(ShapedLayout, ClusterBreaksTakeTheBreakAfterTheirLastCharacter) {
  const std::vector<std::string> clusters = {"a", "e\xCC\x81", " ", "b",
                                             "\r\n", "c"};
  const std::vector<UnitBreak> breaks = ClusterBreaks(clusters);
  ASSERT_EQ(breaks.size(), clusters.size());
  EXPECT_EQ(breaks[0].after, BreakAfter::kNever);
  EXPECT_EQ(breaks[1].after, BreakAfter::kNever);
  EXPECT_EQ(breaks[2].after, BreakAfter::kAllowed);
  EXPECT_TRUE(breaks[2].space);
  EXPECT_EQ(breaks[4].after, BreakAfter::kMandatory);
  EXPECT_TRUE(breaks[4].lineEnd);
  EXPECT_FALSE(breaks[3].lineEnd);
}

TEST(ShapedLayout, WrappedWordsMoveWholeToTheNextLine) {
  TextInfo info = Item(kAlignStart);
  info.wrapWords = true;
  std::vector<std::string> clusters;
  // "abc " and a word of 18 letters: 220 together, more than the area's
  // 200.
  for (const char* c : {"a", "b", "c", " "})
    clusters.push_back(c);
  for (char c = 'd'; c <= 'u'; ++c)
    clusters.push_back(std::string(1, c));
  FakeMetrics metrics = TenPerByte();
  const Layout layout = LayOutShapedLines(info, false, 0, clusters, &metrics);
  ASSERT_EQ(layout.annotations.size(), 2u);
  EXPECT_EQ(layout.annotations[0].text, "abc");
  EXPECT_EQ(layout.annotations[1].text, "defghijklmnopqrstu");
}

}  // namespace
