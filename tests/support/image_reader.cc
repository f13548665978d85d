#include "support/image_reader.h"

#include "render/magick/handles.h"

RgbaImage ReadRgbaImage(const std::string& path) {
  RgbaImage image;
  MagickWandGenesis();
  MagickWandPtr wand(NewMagickWand());
  if (MagickReadImage(wand.get(), path.c_str()) == MagickTrue) {
    image.ok = true;
    image.width = static_cast<int>(MagickGetImageWidth(wand.get()));
    image.height = static_cast<int>(MagickGetImageHeight(wand.get()));
    MagickStringPtr format(MagickGetImageFormat(wand.get()));
    image.format = format ? format.get() : "";
    image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
    MagickExportImagePixels(wand.get(), 0, 0, image.width, image.height, "RGBA",
                            FloatPixel, image.rgba.data());
  }
  return image;
}

Box OpaqueBox(const RgbaImage& image, float threshold) {
  Box box;
  box.x0 = image.width;
  box.y0 = image.height;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (image.A(x, y) > threshold) {
        if (x < box.x0) box.x0 = x;
        if (y < box.y0) box.y0 = y;
        if (x > box.x1) box.x1 = x;
        if (y > box.y1) box.y1 = y;
      }
  if (box.x1 < 0) box = Box();
  return box;
}

namespace {

// The number of pixels (x, y) for which `test` holds.
template <typename Test>
int CountPixels(const RgbaImage& image, Test test) {
  int count = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (test(x, y)) ++count;
  return count;
}

}  // namespace

int CountOpaque(const RgbaImage& image, float threshold) {
  return CountPixels(image, [&](int x, int y) { return image.A(x, y) > threshold; });
}

int CountRedDominant(const RgbaImage& image) {
  return CountPixels(image, [&](int x, int y) {
    return image.A(x, y) > 0.5f && image.R(x, y) > image.B(x, y) + 0.3f;
  });
}

int CountBlueDominant(const RgbaImage& image) {
  return CountPixels(image, [&](int x, int y) {
    return image.A(x, y) > 0.5f && image.B(x, y) > image.R(x, y) + 0.3f;
  });
}

int CountDifferentIn(const RgbaImage& a, const RgbaImage& b, const Box& box) {
  int count = 0;
  for (int y = box.y0; y <= box.y1; ++y)
    for (int x = box.x0; x <= box.x1; ++x)
      if (a.R(x, y) != b.R(x, y) || a.G(x, y) != b.G(x, y) ||
          a.B(x, y) != b.B(x, y) || a.A(x, y) != b.A(x, y))
        ++count;
  return count;
}

std::string Describe(const Box& b) {
  if (b.empty()) return "empty box";
  return "box x " + std::to_string(b.x0) + ".." + std::to_string(b.x1) +
         ", y " + std::to_string(b.y0) + ".." + std::to_string(b.y1);
}
