#ifndef QUILLMARK_TESTS_SUPPORT_IMAGE_READER_H_
#define QUILLMARK_TESTS_SUPPORT_IMAGE_READER_H_

#include <string>
#include <vector>

// An image file read back with MagickWand, its pixels as RGBA floats in 0..1.
struct RgbaImage {
  bool ok = false;
  std::string format;  // ImageMagick's name, e.g. "PNG", "JPEG", "WEBP"
  int width = 0;
  int height = 0;
  std::vector<float> rgba;  // row by row, 4 values a pixel

  float R(int x, int y) const { return rgba[(y * width + x) * 4 + 0]; }
  float G(int x, int y) const { return rgba[(y * width + x) * 4 + 1]; }
  float B(int x, int y) const { return rgba[(y * width + x) * 4 + 2]; }
  float A(int x, int y) const { return rgba[(y * width + x) * 4 + 3]; }
};

RgbaImage ReadRgbaImage(const std::string& path);

// The smallest rectangle holding every pixel whose alpha is above
// `threshold`; empty (width 0) when there is none.
struct Box {
  int x0 = 0, y0 = 0, x1 = -1, y1 = -1;  // inclusive
  bool empty() const { return x1 < x0; }
  int width() const { return x1 - x0 + 1; }
  int height() const { return y1 - y0 + 1; }
};
Box OpaqueBox(const RgbaImage& image, float threshold = 0.0f);

// The number of pixels whose alpha is above `threshold`.
int CountOpaque(const RgbaImage& image, float threshold = 0.0f);

// Opaque pixels (alpha above 0.5) whose colour is clearly red, or clearly
// blue.
int CountRedDominant(const RgbaImage& image);
int CountBlueDominant(const RgbaImage& image);

// The pixels of `box` whose RGBA differ between two images of the same
// size.
int CountDifferentIn(const RgbaImage& a, const RgbaImage& b, const Box& box);

// "box x X0..X1, y Y0..Y1", or "empty box", for failure messages.
std::string Describe(const Box& b);

#endif  // QUILLMARK_TESTS_SUPPORT_IMAGE_READER_H_
