// The drop shadow's blur, bit for bit. MagickShadowImage blurs its image
// with the channel mask set to alpha: the colours are copied and the alpha
// is convolved by a horizontal and then a vertical Gaussian, each sum taken
// in double precision from the kernel's last value down, with the edge
// pixels repeated past the border. The oracle below does exactly that, one
// pixel at a time, the way ImageMagick's general convolution does; the
// ImageMagick this program is built with (patched or not) must give the
// same float in every channel of every pixel.
#include <MagickWand/MagickWand.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct Pixels {
  size_t columns = 0;
  size_t rows = 0;
  std::vector<float> values;  // red, green, blue, alpha per pixel

  float& at(size_t x, size_t y, size_t channel) {
    return values[(y * columns + x) * 4 + channel];
  }
  float at(size_t x, size_t y, size_t channel) const {
    return values[(y * columns + x) * 4 + channel];
  }
};

struct ImageDeleter {
  void operator()(Image* image) const { DestroyImage(image); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

struct ExceptionDeleter {
  void operator()(ExceptionInfo* exception) const {
    DestroyExceptionInfo(exception);
  }
};

struct KernelDeleter {
  void operator()(KernelInfo* kernel) const { DestroyKernelInfo(kernel); }
};

class ShadowBlurTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { MagickWandGenesis(); }
  static void TearDownTestSuite() { MagickWandTerminus(); }

  std::unique_ptr<ExceptionInfo, ExceptionDeleter> exception_{
      AcquireExceptionInfo()};
};

// An image of red, green, blue and alpha holding exactly these floats.
ImagePtr MakeImage(const Pixels& pixels, ExceptionInfo* exception) {
  std::unique_ptr<ImageInfo, decltype(&DestroyImageInfo)> info(
      AcquireImageInfo(), DestroyImageInfo);
  ImagePtr image(AcquireImage(info.get(), exception));
  SetImageExtent(image.get(), pixels.columns, pixels.rows, exception);
  SetImageColorspace(image.get(), sRGBColorspace, exception);
  SetImageAlphaChannel(image.get(), ActivateAlphaChannel, exception);
  SetImageVirtualPixelMethod(image.get(), EdgeVirtualPixelMethod, exception);
  for (size_t y = 0; y < pixels.rows; y++) {
    Quantum* q = GetAuthenticPixels(image.get(), 0, static_cast<ssize_t>(y),
                                    pixels.columns, 1, exception);
    for (size_t x = 0; x < pixels.columns; x++) {
      SetPixelRed(image.get(), pixels.at(x, y, 0), q);
      SetPixelGreen(image.get(), pixels.at(x, y, 1), q);
      SetPixelBlue(image.get(), pixels.at(x, y, 2), q);
      SetPixelAlpha(image.get(), pixels.at(x, y, 3), q);
      q += GetPixelChannels(image.get());
    }
    SyncAuthenticPixels(image.get(), exception);
  }
  return image;
}

Pixels ReadImage(const Image* image, ExceptionInfo* exception) {
  Pixels pixels;
  pixels.columns = image->columns;
  pixels.rows = image->rows;
  pixels.values.resize(pixels.columns * pixels.rows * 4);
  const Quantum* p = GetVirtualPixels(image, 0, 0, image->columns,
                                      image->rows, exception);
  for (size_t y = 0; y < pixels.rows; y++)
    for (size_t x = 0; x < pixels.columns; x++) {
      pixels.at(x, y, 0) = GetPixelRed(image, p);
      pixels.at(x, y, 1) = GetPixelGreen(image, p);
      pixels.at(x, y, 2) = GetPixelBlue(image, p);
      pixels.at(x, y, 3) = GetPixelAlpha(image, p);
      p += GetPixelChannels(image);
    }
  return pixels;
}

// One pass of the alpha-only convolution. The kernel is one row (horizontal)
// or one column (vertical); the reflected kernel is walked from its last
// value, starting at the origin's mirror, and coordinates past the border
// take the edge pixel.
Pixels ConvolveAlpha(const Pixels& in, const KernelInfo& kernel) {
  const bool vertical = kernel.width == 1;
  const size_t taps = vertical ? kernel.height : kernel.width;
  const ssize_t mirror = static_cast<ssize_t>(taps) - 1 -
                         (vertical ? kernel.y : kernel.x);
  Pixels out = in;
  for (size_t y = 0; y < in.rows; y++)
    for (size_t x = 0; x < in.columns; x++) {
      double pixel = 0.0;  // the bias
      const MagickRealType* k = &kernel.values[taps - 1];
      for (size_t v = 0; v < taps; v++) {
        ssize_t sx = static_cast<ssize_t>(x), sy = static_cast<ssize_t>(y);
        (vertical ? sy : sx) += static_cast<ssize_t>(v) - mirror;
        sx = std::clamp<ssize_t>(sx, 0, static_cast<ssize_t>(in.columns) - 1);
        sy = std::clamp<ssize_t>(sy, 0, static_cast<ssize_t>(in.rows) - 1);
        pixel += (*k) * static_cast<double>(
                            in.at(static_cast<size_t>(sx),
                                  static_cast<size_t>(sy), 3));
        k--;
      }
      double gamma = PerceptibleReciprocal(1.0);
      if (vertical)
        gamma *= static_cast<double>(taps) / static_cast<double>(taps);
      out.at(x, y, 3) = static_cast<float>(gamma * pixel);
    }
  return out;
}

// Alpha shaped like drawn text: round blots with soft edges, and some
// regions of other kinds.
Pixels RandomImage(std::mt19937& random, int kind) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  Pixels pixels;
  pixels.columns = 1 + static_cast<size_t>(unit(random) * 120);
  pixels.rows = 1 + static_cast<size_t>(unit(random) * 90);
  if (unit(random) < 0.15) pixels.columns = 1 + random() % 4;
  if (unit(random) < 0.15) pixels.rows = 1 + random() % 4;
  pixels.values.assign(pixels.columns * pixels.rows * 4, 0.0f);
  const int blots = static_cast<int>(unit(random) * 6);
  std::vector<double> bx, by, radius;
  for (int b = 0; b < blots; b++) {
    bx.push_back(unit(random) * static_cast<double>(pixels.columns));
    by.push_back(unit(random) * static_cast<double>(pixels.rows));
    radius.push_back(1 + unit(random) * 15);
  }
  const float colour = static_cast<float>(unit(random) * QuantumRange);
  for (size_t y = 0; y < pixels.rows; y++)
    for (size_t x = 0; x < pixels.columns; x++) {
      double alpha = 0.0;
      for (int b = 0; b < blots; b++) {
        const double d = std::hypot(static_cast<double>(x) - bx[b],
                                    static_cast<double>(y) - by[b]);
        if (d < radius[b])
          alpha = QuantumRange;
        else if (d < radius[b] + 1)
          alpha = std::max(alpha, QuantumRange * (radius[b] + 1 - d));
      }
      float a = static_cast<float>(alpha);
      const double pick = unit(random);
      if (kind == 1 && pick < 0.05)
        a = static_cast<float>(unit(random) * QuantumRange);
      if (kind == 2 && pick < 0.01) a = -0.0f;
      if (kind == 2 && pick >= 0.01 && pick < 0.02) a = 1e-40f;  // denormal
      if (kind == 2 && pick >= 0.02 && pick < 0.03)
        a = static_cast<float>(-unit(random) * 100);  // HDRI allows it
      pixels.at(x, y, 0) = colour;
      pixels.at(x, y, 1) =
          kind == 0   ? colour
          : pick > 0.995 ? std::numeric_limits<float>::quiet_NaN()
                       : static_cast<float>(unit(random) * QuantumRange);
      pixels.at(x, y, 2) = kind == 2 && pick > 0.99
                               ? std::numeric_limits<float>::infinity()
                               : colour;
      pixels.at(x, y, 3) = a;
    }
  return pixels;
}

// The first place two images differ, or "" when every bit is the same.
std::string FirstDifference(const Pixels& want, const Pixels& got) {
  if (want.columns != got.columns || want.rows != got.rows)
    return "size " + std::to_string(got.columns) + "x" +
           std::to_string(got.rows);
  for (size_t y = 0; y < want.rows; y++)
    for (size_t x = 0; x < want.columns; x++)
      for (size_t c = 0; c < 4; c++) {
        const float a = want.at(x, y, c), b = got.at(x, y, c);
        if (std::memcmp(&a, &b, sizeof a) != 0)
          return "pixel " + std::to_string(x) + "," + std::to_string(y) +
                 " channel " + std::to_string(c) + ": want " +
                 std::to_string(a) + ", got " + std::to_string(b);
      }
  return "";
}

TEST_F(ShadowBlurTest, AlphaMaskedBlurEqualsTheOraclePixelForPixel) {
  std::mt19937 random(20261209);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int blank_pixels = 0, inked_pixels = 0;
  for (int round = 0; round < 240; round++) {
    const int kind = round % 3;
    const Pixels input = RandomImage(random, kind);
    const double sigma = round < 24 ? 2.0 + round % 3 : 0.4 + unit(random) * 5;

    ImagePtr image = MakeImage(input, exception_.get());
    const ChannelType mask = SetImageChannelMask(image.get(), AlphaChannel);
    ImagePtr blurred(BlurImage(image.get(), 0.0, sigma, exception_.get()));
    SetImageChannelMask(image.get(), mask);
    ASSERT_NE(blurred, nullptr);

    // The two kernels BlurImage builds for this sigma.
    char geometry[128];
    std::snprintf(geometry, sizeof geometry, "blur:0x%.20g;blur:0x%.20g+90",
                  sigma, sigma);
    std::unique_ptr<KernelInfo, KernelDeleter> kernels(
        AcquireKernelInfo(geometry, exception_.get()));
    ASSERT_NE(kernels, nullptr);
    ASSERT_NE(kernels->next, nullptr);
    ASSERT_EQ(kernels->height, 1u);
    ASSERT_EQ(kernels->next->width, 1u);
    const Pixels want =
        ConvolveAlpha(ConvolveAlpha(input, *kernels), *kernels->next);
    const Pixels got = ReadImage(blurred.get(), exception_.get());
    ASSERT_EQ(FirstDifference(want, got), "")
        << "round " << round << ", " << input.columns << "x" << input.rows
        << ", sigma " << sigma;
    for (size_t i = 3; i < want.values.size(); i += 4)
      (want.values[i] == 0.0f ? blank_pixels : inked_pixels)++;
  }
  // Both kinds of window were met: wholly transparent and with ink.
  EXPECT_GT(blank_pixels, 10000);
  EXPECT_GT(inked_pixels, 10000);
}

}  // namespace
