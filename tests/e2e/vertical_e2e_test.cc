// End-to-end tests of vertical text: the built binary renders job files
// with Droid Sans Fallback (CJK), and the written images are read back and
// measured. Columns run top to bottom, the first one at the right edge of the
// area, the next ones to its left.
//
// Each test runs the binary once on a job of several canvases that differ in
// one option, so that the images can be compared with each other.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/image_reader.h"
#include "support/job_text.h"
#include "support/render_fixture.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

// A red vertical item in the CJK font, columns `columnWidth` apart.
std::string VerticalUi(const std::string& text, int size, int columnWidth,
                       const Area& area, const std::string& extra = "") {
  return "\"default\":\"" + text + "\",\"font\":\"cjk\",\"size\":" +
         std::to_string(size) + ",\"line_height\":" +
         std::to_string(columnWidth) +
         ",\"fill\":\"#FF0000\",\"direction\":1,\"area\":" + AreaJson(area) +
         extra;
}

// 春夏秋冬山水花鳥風月雪
const char kSeasons[] =
    "\xE6\x98\xA5\xE5\xA4\x8F\xE7\xA7\x8B\xE5\x86\xAC\xE5\xB1\xB1\xE6\xB0\xB4"
    "\xE8\x8A\xB1\xE9\xB3\xA5\xE9\xA2\xA8\xE6\x9C\x88\xE9\x9B\xAA";
// The first n characters of kSeasons (three bytes each).
std::string Seasons(int n) { return std::string(kSeasons, 3 * n); }

class VerticalRenderTest : public RenderFixture {};

const Area kArea{20, 20, 120, 200};
const int kColumn = 36;  // column width ("line_height") of the 28-pixel font

TEST_F(VerticalRenderTest, ColumnsRunDownFromTheTopRightThenContinueLeftward) {
  RunResult run = Render(Job({
      Canvas(160, 240, "short.png", VerticalUi(Seasons(3), 28, kColumn, kArea)),
      // Eleven characters need a second column: about seven fit in 200 pixels.
      Canvas(160, 240, "long.png", VerticalUi(Seasons(11), 28, kColumn, kArea)),
  }));
  ExpectCleanRun(run);
  RgbaImage shortImage = Image("short.png");
  RgbaImage longImage = Image("long.png");
  ASSERT_TRUE(shortImage.ok && longImage.ok);
  EXPECT_EQ(160, shortImage.width);
  EXPECT_EQ(240, shortImage.height);

  // One column in the rightmost column slot, starting at the top.
  Box one = OpaqueBox(shortImage);
  ASSERT_FALSE(one.empty());
  EXPECT_LE(one.x1 + 1, kArea.right()) << Describe(one);
  EXPECT_GT(one.x1 + 1, kArea.right() - kColumn / 3) << Describe(one);
  EXPECT_GE(one.x0, kArea.right() - kColumn) << Describe(one);
  EXPECT_GE(one.y0, kArea.y) << Describe(one);
  EXPECT_LE(one.y0, kArea.y + 3) << Describe(one);
  // Three characters one below the other.
  EXPECT_GT(one.height(), 5 * one.width() / 2) << Describe(one);

  // The longer text fills the first column down to the bottom of the area
  // and goes on in a second column to its left, also from the top.
  Box two = OpaqueBox(longImage);
  ASSERT_FALSE(two.empty());
  EXPECT_NEAR(one.x1, two.x1, 1) << Describe(two);
  EXPECT_EQ(one.y0, two.y0) << Describe(two);
  EXPECT_LE(two.x0, one.x0 - kColumn + 6) << Describe(two);
  EXPECT_GE(two.x0, kArea.right() - 2 * kColumn) << Describe(two);
  EXPECT_GT(two.y1, one.y1 + 2 * 28) << Describe(two);
  EXPECT_LE(two.y1 + 1, kArea.bottom()) << Describe(two);
  // Its first three characters are those of the short text, drawn at the
  // same places.
  EXPECT_EQ(0, CountDifferentIn(shortImage, longImage, one));
}

TEST_F(VerticalRenderTest, AlignmentPlacesAShortColumnAtTheBottomOrInTheMiddle) {
  RunResult run = Render(Job({
      Canvas(160, 240, "top.png", VerticalUi(Seasons(2), 28, kColumn, kArea)),
      Canvas(160, 240, "bottom.png",
             VerticalUi(Seasons(2), 28, kColumn, kArea, ",\"align\":1")),
      Canvas(160, 240, "middle.png",
             VerticalUi(Seasons(2), 28, kColumn, kArea, ",\"align\":2")),
  }));
  ExpectCleanRun(run);
  Box top = OpaqueBox(Image("top.png"));
  Box bottom = OpaqueBox(Image("bottom.png"));
  Box middle = OpaqueBox(Image("middle.png"));
  ASSERT_FALSE(top.empty() || bottom.empty() || middle.empty());

  EXPECT_LE(top.y0, kArea.y + 3) << Describe(top);
  // The same column, moved along y only.
  for (const Box* b : {&bottom, &middle}) {
    EXPECT_EQ(top.x0, b->x0) << Describe(*b);
    EXPECT_EQ(top.x1, b->x1) << Describe(*b);
    EXPECT_NEAR(top.height(), b->height(), 1) << Describe(*b);
  }
  EXPECT_LE(bottom.y1 + 1, kArea.bottom()) << Describe(bottom);
  EXPECT_GE(bottom.y1 + 1, kArea.bottom() - 6) << Describe(bottom);
  EXPECT_GT(bottom.y0, kArea.y + kArea.height / 2) << Describe(bottom);
  const double areaMiddle = kArea.y + kArea.height / 2.0;
  EXPECT_NEAR(areaMiddle, (middle.y0 + middle.y1 + 1) / 2.0, 4) << Describe(middle);
}

TEST_F(VerticalRenderTest, AdjustToFitKeepsEveryColumnInsideTheArea) {
  // Twenty-two characters at size 40 need more columns of 44 pixels than
  // the area's 120 pixels hold; without outline nothing pads the cells.
  const std::string text = Seasons(11) + Seasons(11);
  RunResult run = Render(Job({
      Canvas(160, 240, "fitted.png",
             VerticalUi(text, 40, 44, kArea, ",\"adjustToFit\":true")),
      Canvas(160, 240, "unfitted.png", VerticalUi(text, 40, 44, kArea)),
  }));
  ExpectCleanRun(run);
  Box fitted = OpaqueBox(Image("fitted.png"));
  Box unfitted = OpaqueBox(Image("unfitted.png"));
  ASSERT_FALSE(fitted.empty() || unfitted.empty());

  EXPECT_GE(fitted.x0, kArea.x - 1) << Describe(fitted);
  EXPECT_LE(fitted.x1 + 1, kArea.right() + 1) << Describe(fitted);
  EXPECT_GE(fitted.y0, kArea.y - 2) << Describe(fitted);
  EXPECT_LE(fitted.y1 + 1, kArea.bottom() + 2) << Describe(fitted);
  // The columns are spread over the area's width.
  EXPECT_GT(fitted.width(), kArea.width * 3 / 4) << Describe(fitted);

  // Without fitting the same text runs out of the area to the left.
  EXPECT_LT(unfitted.x0, kArea.x - 10) << Describe(unfitted);
}

TEST_F(VerticalRenderTest, OutlineUnderFillAndDropShadowAreDrawn) {
  const std::string outline = ",\"stroke\":\"#0000FF\",\"width\":4";
  const std::string shadow =
      ",\"shadow\":\"#000000\",\"s_size\":2,\"s_dist\":16,\"s_angle\":0,"
      "\"s_alpha\":0.8";
  RunResult run = Render(Job({
      Canvas(160, 240, "under.png",
             VerticalUi(Seasons(4), 28, 40, kArea, outline)),
      Canvas(160, 240, "shadow.png",
             VerticalUi(Seasons(4), 28, 40, kArea, outline + shadow)),
      Canvas(160, 240, "over.png",
             VerticalUi(Seasons(4), 28, 40, kArea,
                        outline + ",\"strokeOverFill\":true")),
  }));
  ExpectCleanRun(run);
  RgbaImage under = Image("under.png");
  RgbaImage withShadow = Image("shadow.png");
  RgbaImage over = Image("over.png");
  ASSERT_TRUE(under.ok && withShadow.ok && over.ok);

  // The outline covers the thin strokes of the glyphs; only the second pass
  // brings the red fill back over it.
  const int underOpaque = CountOpaque(under, 0.5f);
  const int overOpaque = CountOpaque(over, 0.5f);
  ASSERT_GT(underOpaque, 500);
  ASSERT_GT(overOpaque, 500);
  EXPECT_GT(CountRedDominant(under), underOpaque / 8);
  EXPECT_GT(CountBlueDominant(under), underOpaque / 4);
  EXPECT_LT(CountRedDominant(over), overOpaque / 50);

  // The shadow, thrown to the left, shows beyond the text and its outline.
  Box text = OpaqueBox(under);
  Box shadowBox = OpaqueBox(withShadow);
  ASSERT_FALSE(text.empty());
  EXPECT_LE(shadowBox.x0, text.x0 - 14) << Describe(text) << "; " << Describe(shadowBox);
  EXPECT_GT(CountOpaque(withShadow), CountOpaque(under) + 200);
  // The text on top is still the two-pass one: red inside the outline.
  EXPECT_GT(CountRedDominant(withShadow), underOpaque / 10);
}

}  // namespace
