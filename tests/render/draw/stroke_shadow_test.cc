#include "render/draw/stroke_shadow.h"

#include <gtest/gtest.h>

namespace {

struct OffsetCase {
  int distance;
  int angle;
  int64_t x;
  int64_t y;
};

// dx = -trunc(d cos a), dy = trunc(d sin a) with a = angle x 3.14159 / 180,
// then both less 2 x size. The cut 3.14159 leaves cos 90 a hair above 0 and
// sin 90, cos 360 a hair below 1 (so 9, not 10); truncation toward zero
// turns -7.07 into -7 at 135 and 225.
TEST(ShadowOffsetTest, DistanceAlongAngleTruncatedMirroredAndMovedBack) {
  const OffsetCase cases[] = {
      {10, 0, -14, -4},   {10, 45, -11, 3},   {10, 90, -4, 5},
      {10, 135, 3, 3},    {10, 180, 5, -4},   {10, 225, 3, -11},
      {10, 270, -4, -13}, {10, 315, -11, -11}, {10, 360, -13, -4},
      {5, 0, -9, -4},     {5, 90, -4, 0},     {5, 180, 0, -4},
  };
  for (const OffsetCase& c : cases) {
    const ShadowOffset at = ComputeShadowOffset(c.distance, c.angle, 2);
    EXPECT_EQ(at.x, c.x) << "distance " << c.distance << " angle " << c.angle;
    EXPECT_EQ(at.y, c.y) << "distance " << c.distance << " angle " << c.angle;
  }
}

TEST(ShadowOffsetTest, BlurSizeMovesBothAxesBackByTwiceItsValue) {
  // Distance 0: only the blur term is left.
  const ShadowOffset at = ComputeShadowOffset(0, 33, 7);
  EXPECT_EQ(at.x, -14);
  EXPECT_EQ(at.y, -14);
}

TEST(ShadowOpacityTest, TwoHundredFiftyFiveTimesAlphaInSinglePrecision) {
  EXPECT_EQ(ShadowOpacity(0.5f), 127.5);
  EXPECT_EQ(ShadowOpacity(1.0f), 255.0);
  // 255 x 0.1f is 25.50000038 in double but rounds to 25.5 in single.
  EXPECT_EQ(ShadowOpacity(0.1f), 25.5);
}

}  // namespace
