// A drawing drawn twice over an image, as the vertical layout draws its
// text. The second draw must give the same floats as a second draw made with
// nothing remembered: the patched ImageMagick reuses each polygon's fill and
// stroke alphas from its last draw, and that is exact only if every input of
// them is told apart. The oracle draws each shape on its own, after pushing
// the remembered polygons out with more than a thousand others drawn on an
// image of their own.
#include <MagickWand/MagickWand.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "render/magick/handles.h"

namespace {

const char kFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class TwiceDrawnTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { MagickWandGenesis(); }
  static void TearDownTestSuite() { MagickWandTerminus(); }
};

MagickWandPtr TransparentImage(size_t columns, size_t rows) {
  MagickWandPtr wand(NewMagickWand());
  PixelWandPtr none(NewPixelWand());
  PixelSetColor(none.get(), "none");
  MagickNewImage(wand.get(), columns, rows, none.get());
  return wand;
}

void SetColour(DrawingWand* drawing, bool fill, const std::string& colour) {
  PixelWandPtr pixel(NewPixelWand());
  PixelSetColor(pixel.get(), colour.c_str());
  if (fill)
    DrawSetFillColor(drawing, pixel.get());
  else
    DrawSetStrokeColor(drawing, pixel.get());
}

std::vector<float> Floats(MagickWand* wand) {
  const size_t columns = MagickGetImageWidth(wand);
  const size_t rows = MagickGetImageHeight(wand);
  std::vector<float> floats(columns * rows * 4);
  MagickExportImagePixels(wand, 0, 0, columns, rows, "RGBA", FloatPixel,
                          floats.data());
  return floats;
}

// Pushes every remembered polygon out: 1,100 small rectangles, each at a
// place of its own, filled on a scratch image.
void Forget() {
  MagickWandPtr scratch = TransparentImage(400, 300);
  DrawingWandPtr drawing(NewDrawingWand());
  SetColour(drawing.get(), true, "#808080");
  for (int i = 0; i < 1100; i++) {
    const double x = (i % 40) * 10.0 + 0.25, y = (i / 40) * 10.0 + 0.5;
    DrawRectangle(drawing.get(), x, y, x + 4.5, y + 3.5);
  }
  ASSERT_EQ(MagickDrawImage(scratch.get(), drawing.get()), MagickTrue);
}

// One shape of a drawing: a path of lines and curves, closed or open, or a
// line of text with an outline, with its own fill, stroke, width, rules and
// transform.
struct Shape {
  std::string fill, stroke;
  double width = 0;
  bool antialias = true, evenOdd = false, roundJoin = false, closed = false;
  bool turned = false, text = false;
  double dx = 0, dy = 0, angle = 0, size = 0, x = 0, y = 0;
  std::vector<double> points;  // x, y of the start, then 3 points a segment
};

// A random drawing; now and then a path comes again with the same points
// and only a thin stroke's width changed.
std::vector<Shape> RandomShapes(std::mt19937& random, size_t columns,
                                size_t rows) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<Shape> shapes;
  const int count = 1 + static_cast<int>(unit(random) * 4);
  for (int s = 0; s < count; s++) {
    Shape shape;
    shape.fill = unit(random) < 0.25 ? "none" : "#FFD54AC0";
    shape.stroke = unit(random) < 0.2 ? "none" : "#3A2A00";
    shape.width = unit(random) * 9;
    shape.antialias = unit(random) < 0.85;
    shape.evenOdd = unit(random) < 0.5;
    shape.roundJoin = unit(random) < 0.5;
    shape.turned = unit(random) < 0.3;
    shape.dx = unit(random) * columns;
    shape.dy = unit(random) * rows;
    shape.angle = unit(random) * 360;
    shape.text = unit(random) < 0.25;
    shape.size = 10 + unit(random) * 50;
    shape.x = unit(random) * columns;
    shape.y = unit(random) * rows;
    shape.closed = unit(random) < 0.7;
    // Points may lie a little off the image.
    const int segments = 2 + static_cast<int>(unit(random) * 8);
    for (int i = 0; i < 1 + 3 * segments; i++) {
      shape.points.push_back(unit(random) * columns * 1.2 - columns * 0.1);
      shape.points.push_back(unit(random) * rows * 1.2 - rows * 0.1);
    }
    shapes.push_back(shape);
    if (!shape.text && unit(random) < 0.3) {
      shape.width = 0.5 + unit(random);
      shapes.push_back(shape);
    }
  }
  return shapes;
}

void AddShape(DrawingWand* drawing, const Shape& shape) {
  PushDrawingWand(drawing);
  SetColour(drawing, true, shape.fill);
  SetColour(drawing, false, shape.stroke);
  DrawSetStrokeWidth(drawing, shape.width);
  DrawSetStrokeAntialias(drawing, shape.antialias ? MagickTrue : MagickFalse);
  DrawSetFillRule(drawing, shape.evenOdd ? EvenOddRule : NonZeroRule);
  DrawSetStrokeLineJoin(drawing, shape.roundJoin ? RoundJoin : MiterJoin);
  if (shape.turned) {
    DrawTranslate(drawing, shape.dx, shape.dy);
    DrawRotate(drawing, shape.angle);
  }
  if (shape.text) {
    DrawSetFont(drawing, kFont);
    DrawSetFontSize(drawing, shape.size);
    const auto* text = reinterpret_cast<const unsigned char*>("Qu&g@8");
    DrawAnnotation(drawing, shape.x, shape.y, text);
  } else {
    const std::vector<double>& p = shape.points;
    DrawPathStart(drawing);
    DrawPathMoveToAbsolute(drawing, p[0], p[1]);
    for (size_t i = 2, segment = 0; i + 5 < p.size(); i += 6, segment++) {
      if (segment % 3 == 2)
        DrawPathLineToAbsolute(drawing, p[i + 4], p[i + 5]);
      else
        DrawPathCurveToAbsolute(drawing, p[i], p[i + 1], p[i + 2], p[i + 3],
                                p[i + 4], p[i + 5]);
    }
    if (shape.closed) DrawPathClose(drawing);
    DrawPathFinish(drawing);
  }
  PopDrawingWand(drawing);
}

// The first float at which two images differ, or -1.
long FirstDifference(const std::vector<float>& a, const std::vector<float>& b) {
  for (size_t i = 0; i < a.size(); i++)
    if (std::memcmp(&a[i], &b[i], sizeof a[i]) != 0)
      return static_cast<long>(i);
  return a.size() == b.size() ? -1 : static_cast<long>(a.size());
}

// The whole drawing drawn twice, against each shape drawn on its own with
// everything forgotten before it, in the same order, twice.
TEST_F(TwiceDrawnTest, SecondDrawEqualsOneMadeAfterForgetting) {
  std::mt19937 random(20261209);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  size_t changed = 0, repeatedPaths = 0;
  for (int round = 0; round < 50; round++) {
    const size_t columns = 20 + static_cast<size_t>(unit(random) * 280);
    const size_t rows = 20 + static_cast<size_t>(unit(random) * 200);
    const std::vector<Shape> shapes = RandomShapes(random, columns, rows);
    for (size_t i = 1; i < shapes.size(); i++)
      if (shapes[i].points == shapes[i - 1].points) repeatedPaths++;

    DrawingWandPtr drawing(NewDrawingWand());
    for (const Shape& shape : shapes) AddShape(drawing.get(), shape);
    MagickWandPtr twice = TransparentImage(columns, rows);
    ASSERT_EQ(MagickDrawImage(twice.get(), drawing.get()), MagickTrue);
    const std::vector<float> once = Floats(twice.get());
    ASSERT_EQ(MagickDrawImage(twice.get(), drawing.get()), MagickTrue);

    MagickWandPtr forgetting = TransparentImage(columns, rows);
    for (int pass = 0; pass < 2; pass++)
      for (const Shape& shape : shapes) {
        DrawingWandPtr alone(NewDrawingWand());
        AddShape(alone.get(), shape);
        Forget();
        ASSERT_EQ(MagickDrawImage(forgetting.get(), alone.get()), MagickTrue);
      }

    const std::vector<float> got = Floats(twice.get());
    EXPECT_EQ(FirstDifference(Floats(forgetting.get()), got), -1)
        << "round " << round << ", " << columns << "x" << rows;
    if (FirstDifference(once, got) != -1) changed++;
  }
  // The second draws drew something: they deepened the first. And paths
  // with the same points and another width were met.
  EXPECT_GT(changed, 35u);
  EXPECT_GT(repeatedPaths, 5u);
}

}  // namespace
