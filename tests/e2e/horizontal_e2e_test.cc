// End-to-end tests of horizontal text: the built binary renders job files
// with DejaVu Sans, and the written images are read back and measured.
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

namespace {

// Pixels with any coverage outside the rectangle [x0, x1) x [y0, y1).
int CountOpaqueOutside(const RgbaImage& image, int x0, int y0, int x1, int y1) {
  int count = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if ((x < x0 || x >= x1 || y < y0 || y >= y1) && image.A(x, y) > 0)
        ++count;
  return count;
}

// Separate blobs of pixels with alpha above `threshold`, 8-connected.
int CountBlobs(const RgbaImage& image, float threshold) {
  std::vector<char> seen(static_cast<size_t>(image.width) * image.height, 0);
  int blobs = 0;
  std::vector<int> stack;
  for (int start = 0; start < image.width * image.height; ++start) {
    if (seen[start] || image.A(start % image.width, start / image.width) <= threshold)
      continue;
    ++blobs;
    seen[start] = 1;
    stack.push_back(start);
    while (!stack.empty()) {
      int p = stack.back();
      stack.pop_back();
      int px = p % image.width, py = p / image.width;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          int x = px + dx, y = py + dy;
          if (x < 0 || y < 0 || x >= image.width || y >= image.height) continue;
          int q = y * image.width + x;
          if (!seen[q] && image.A(x, y) > threshold) {
            seen[q] = 1;
            stack.push_back(q);
          }
        }
    }
  }
  return blobs;
}

class HorizontalRenderTest : public RenderFixture {};

// Red DejaVu Sans text without outline or shadow.
std::string PlainUi(const std::string& text, int size, const Area& area,
                    const std::string& extra = "") {
  return "\"default\":\"" + text + "\",\"font\":\"sans\",\"size\":" +
         std::to_string(size) + ",\"line_height\":" +
         std::to_string(size * 5 / 4) + ",\"fill\":\"#FF0000\",\"area\":" +
         AreaJson(area) + extra;
}

TEST_F(HorizontalRenderTest, ExtensionChoosesFormatAndImageHasCanvasSize) {
  const Area area{20, 20, 180, 50};
  RunResult run = Render(Job({
      Canvas(240, 100, "text.png", PlainUi("Quill 42", 32, area)),
      Canvas(230, 90, "text.jpg", PlainUi("Quill 42", 32, area)),
      Canvas(220, 80, "text.webp", PlainUi("Quill 42", 32, area)),
  }));
  ExpectCleanRun(run);

  struct Expected { const char* name; const char* format; int width, height; };
  for (const Expected& e : {Expected{"text.png", "PNG", 240, 100},
                            Expected{"text.jpg", "JPEG", 230, 90},
                            Expected{"text.webp", "WEBP", 220, 80}}) {
    SCOPED_TRACE(e.name);
    RgbaImage image = Image(e.name);
    EXPECT_EQ(e.format, image.format);
    EXPECT_EQ(e.width, image.width);
    EXPECT_EQ(e.height, image.height);
  }

  // The formats with transparency keep everything around the text clear; a
  // glyph's anti-aliased edge may touch the pixel next to the area.
  for (const char* name : {"text.png", "text.webp"}) {
    SCOPED_TRACE(name);
    RgbaImage image = Image(name);
    if (!image.ok) continue;
    EXPECT_GT(CountOpaque(image, 0.5f), 200);
    EXPECT_EQ(0, CountOpaqueOutside(image, area.x - 1, area.y - 1,
                                    area.right() + 1, area.bottom() + 1));
  }

  // JPEG has no alpha, but the red text must be there, inside the area.
  RgbaImage jpeg = Image("text.jpg");
  if (jpeg.ok) {
    int red = 0, redOutside = 0;
    for (int y = 0; y < jpeg.height; ++y)
      for (int x = 0; x < jpeg.width; ++x)
        if (jpeg.R(x, y) > 0.6f && jpeg.G(x, y) < 0.3f && jpeg.B(x, y) < 0.3f) {
          ++red;
          if (x < area.x - 2 || x >= area.right() + 2 || y < area.y - 2 ||
              y >= area.bottom() + 2)
            ++redOutside;
        }
    EXPECT_GT(red, 100);
    EXPECT_EQ(0, redOutside);
  }
}

TEST_F(HorizontalRenderTest, WrappedLinesWithThinOutlineStayInsideTheArea) {
  // Too wide for one line: the units break into three lines of the area's
  // width, and the area is tall enough for all of them.
  const Area area{30, 15, 200, 100};
  RunResult run = Render(Job({Canvas(
      260, 130, "wrapped.png",
      PlainUi("Pack my box with five dozen jugs", 24, area,
              ",\"stroke\":\"#0000FF\",\"width\":2,"
              "\"strokeOverFill\":true"))}));
  ExpectCleanRun(run);
  RgbaImage image = Image("wrapped.png");
  ASSERT_TRUE(image.ok);

  Box box = OpaqueBox(image);
  ExpectInside(box, area, 2);  // half the outline, one pixel of anti-aliasing
  // Three lines 30 pixels apart, not one long line cut at the edge.
  EXPECT_GT(box.height(), 2 * 30) << Describe(box);
  // The first line starts at the top of the area.
  EXPECT_LE(box.y0, area.y + 2) << Describe(box);
}

TEST_F(HorizontalRenderTest, AlignmentPlacesTheLineLeftCentredOrRight) {
  const Area area{20, 20, 260, 60};
  RunResult run = Render(Job({
      Canvas(300, 100, "left.png", PlainUi("Hello", 32, area, ",\"align\":0")),
      Canvas(300, 100, "centre.png", PlainUi("Hello", 32, area, ",\"align\":2")),
      Canvas(300, 100, "right.png", PlainUi("Hello", 32, area, ",\"align\":1")),
      Canvas(300, 100, "default.png", PlainUi("Hello", 32, area)),
  }));
  ExpectCleanRun(run);
  Box left = OpaqueBox(Image("left.png"));
  Box centre = OpaqueBox(Image("centre.png"));
  Box right = OpaqueBox(Image("right.png"));
  Box byDefault = OpaqueBox(Image("default.png"));
  ASSERT_FALSE(left.empty() || centre.empty() || right.empty() || byDefault.empty());

  // The same line, moved along x only (sub-pixel positions may cost a pixel).
  for (const Box* b : {&centre, &right, &byDefault}) {
    EXPECT_NEAR(left.width(), b->width(), 1) << Describe(*b);
    EXPECT_EQ(left.y0, b->y0) << Describe(*b);
    EXPECT_EQ(left.y1, b->y1) << Describe(*b);
  }
  // The glyphs' side bearings keep the ink a few pixels off the edges.
  EXPECT_GE(left.x0, area.x) << Describe(left);
  EXPECT_LE(left.x0, area.x + 5) << Describe(left);
  EXPECT_LE(right.x1 + 1, area.right()) << Describe(right);
  EXPECT_GE(right.x1 + 1, area.right() - 5) << Describe(right);
  const double areaMiddle = area.x + area.width / 2.0;
  EXPECT_NEAR(areaMiddle, (centre.x0 + centre.x1 + 1) / 2.0, 2.5) << Describe(centre);
  EXPECT_NEAR(left.x0, byDefault.x0, 1) << Describe(byDefault);
  // The top of the text sits at the top of the area.
  EXPECT_GE(left.y0, area.y);
  EXPECT_LE(left.y0, area.y + 2);
}

TEST_F(HorizontalRenderTest, DropShadowGoesLeftAtZeroDegreesAndDownAtNinety) {
  const Area area{60, 30, 200, 60};
  // Distance 16 and blur 2: the shadow lies 16 pixels off the text; its
  // blurred edge reaches a few pixels further in every direction.
  const std::string shadow =
      ",\"shadow\":\"#000000\",\"s_size\":2,\"s_dist\":16,\"s_alpha\":0.8";
  RunResult run = Render(Job({
      Canvas(300, 130, "plain.png", PlainUi("Shade", 32, area)),
      Canvas(300, 130, "angle0.png", PlainUi("Shade", 32, area, shadow + ",\"s_angle\":0")),
      Canvas(300, 130, "angle90.png", PlainUi("Shade", 32, area, shadow + ",\"s_angle\":90")),
      // A shadow needs both a size and an alpha above 0.
      Canvas(300, 130, "noalpha.png",
             PlainUi("Shade", 32, area,
                     ",\"shadow\":\"#000000\",\"s_size\":2,\"s_dist\":16,\"s_alpha\":0")),
  }));
  ExpectCleanRun(run);
  RgbaImage plain = Image("plain.png");
  RgbaImage angle0 = Image("angle0.png");
  RgbaImage angle90 = Image("angle90.png");
  Box text = OpaqueBox(plain);
  ASSERT_FALSE(text.empty());

  Box box0 = OpaqueBox(angle0);
  EXPECT_LE(box0.x0, text.x0 - 14) << "no shadow left of the text: " << Describe(box0);
  EXPECT_LE(box0.y1, text.y1 + 8) << "shadow below the text: " << Describe(box0);
  EXPECT_GE(box0.x1, text.x1 - 1) << Describe(box0);

  Box box90 = OpaqueBox(angle90);
  EXPECT_GE(box90.y1, text.y1 + 14) << "no shadow below the text: " << Describe(box90);
  EXPECT_GE(box90.x0, text.x0 - 8) << "shadow left of the text: " << Describe(box90);
  EXPECT_GE(box90.y0, text.y0 - 8) << Describe(box90);

  // The shadow adds pixels; without alpha the image is the plain one.
  EXPECT_GT(CountOpaque(angle0), CountOpaque(plain) + 100);
  EXPECT_GT(CountOpaque(angle90), CountOpaque(plain) + 100);
  RgbaImage noAlpha = Image("noalpha.png");
  EXPECT_TRUE(plain.rgba == noAlpha.rgba) << "s_alpha 0 still changed the image";
}

TEST_F(HorizontalRenderTest, FillShowsOverOutlineUnlessOutlineIsDrawnOverIt) {
  // A thick blue outline reaches far into the red glyphs: drawn over the
  // fill it hides the fill, drawn under it the fill shows inside the strokes.
  const Area area{20, 20, 260, 80};
  const std::string outline = ",\"stroke\":\"#0000FF\",\"width\":8";
  RunResult run = Render(Job({
      Canvas(300, 120, "under.png",
             PlainUi("Hello", 48, area, outline + ",\"strokeOverFill\":false")),
      Canvas(300, 120, "over.png",
             PlainUi("Hello", 48, area, outline + ",\"strokeOverFill\":true")),
  }));
  ExpectCleanRun(run);
  RgbaImage under = Image("under.png");
  RgbaImage over = Image("over.png");
  const int underOpaque = CountOpaque(under, 0.5f);
  const int overOpaque = CountOpaque(over, 0.5f);
  ASSERT_GT(underOpaque, 1000);
  ASSERT_GT(overOpaque, 1000);

  const int underRed = CountRedDominant(under), underBlue = CountBlueDominant(under);
  const int overRed = CountRedDominant(over), overBlue = CountBlueDominant(over);
  // Outline under the fill: a red core in every stroke, a blue rim around.
  EXPECT_GT(underRed, underOpaque / 4) << "red " << underRed << ", blue " << underBlue;
  EXPECT_GT(underBlue, underOpaque / 4) << "red " << underRed << ", blue " << underBlue;
  // Outline over the fill: blue all through, hardly a red pixel.
  EXPECT_LT(overRed, overOpaque / 50) << "red " << overRed << ", blue " << overBlue;
  EXPECT_GT(overBlue, overOpaque * 9 / 10) << "red " << overRed << ", blue " << overBlue;
  // Both have the same outline, so the same outer shape (within the half
  // pixel by which the fill is drawn again lower).
  Box underBox = OpaqueBox(under), overBox = OpaqueBox(over);
  EXPECT_NEAR(underBox.x0, overBox.x0, 1);
  EXPECT_NEAR(underBox.x1, overBox.x1, 1);
  EXPECT_NEAR(underBox.y0, overBox.y0, 1);
  EXPECT_NEAR(underBox.y1, overBox.y1, 1);
}

TEST_F(HorizontalRenderTest, AdjustToFitShrinksLongTextIntoTheArea) {
  // Forty letters H, apart, so that each one is a blob of its own. At size
  // 40 they need seven lines; the area holds two of them.
  std::string text;
  for (int i = 0; i < 40; ++i) text += i ? " H" : "H";
  const Area area{10, 10, 280, 100};
  // The outline lies under the fill, so both passes fit, and it pads the top
  // by half its width.
  const std::string styled =
      ",\"stroke\":\"#0000FF\",\"width\":2,\"strokeOverFill\":false";
  RunResult run = Render(Job({
      Canvas(300, 130, "fitted.png",
             PlainUi(text, 40, area, styled + ",\"adjustToFit\":true")),
      Canvas(300, 130, "cut.png", PlainUi(text, 40, area, styled)),
  }));
  ExpectCleanRun(run);
  RgbaImage fitted = Image("fitted.png");
  RgbaImage cut = Image("cut.png");
  ASSERT_TRUE(fitted.ok && cut.ok);

  // Half the outline width, plus one pixel of anti-aliasing.
  const int slack = 2;
  ExpectInside(OpaqueBox(fitted), area, slack);
  // Every letter that the fitting placed is drawn, the last line as well.
  EXPECT_EQ(40, CountBlobs(fitted, 0.25f));

  // Without fitting the letters keep their size and the lines below the
  // area are cut: fewer, taller letters.
  EXPECT_LT(CountBlobs(cut, 0.25f), 20);
  Box cutBox = OpaqueBox(cut);
  EXPECT_LE(cutBox.y1, area.bottom() - 1 + slack) << Describe(cutBox);
}

TEST_F(HorizontalRenderTest, CanvasWithoutTextIsTransparentImageOfItsSize) {
  RunResult run = Render(Job({Canvas(
      123, 45, "blank.png",
      "\"font\":\"sans\",\"size\":30,\"fill\":\"#FF0000\",\"area\":[0,0,123,45],"
      "\"stroke\":\"#0000FF\",\"width\":4,\"shadow\":\"#000000\",\"s_size\":2,"
      "\"s_dist\":5,\"s_alpha\":1")}));
  ExpectCleanRun(run);
  RgbaImage image = Image("blank.png");
  ASSERT_TRUE(image.ok);
  EXPECT_EQ("PNG", image.format);
  EXPECT_EQ(123, image.width);
  EXPECT_EQ(45, image.height);
  EXPECT_EQ(0, CountOpaque(image));
}

}  // namespace
