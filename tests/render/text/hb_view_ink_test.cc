// The ink that Quillmark draws for shaped text against the ink of
// HarfBuzz's own hb-view, for the same font, size and text: each image's
// ink cropped to its bounds, every ink pixel of one looked for within a
// pixel in the other, and the two fractions combined (F1). Catches glyphs
// placed, ordered or scaled wrongly, which exact glyph ids cannot; skipped
// without hb-view (libharfbuzz-bin) or the fonts (fonts-noto-core).

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/image_reader.h"
#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

const char kHbView[] = "/usr/bin/hb-view";
const std::string kNoto = "/usr/share/fonts/truetype/noto/";

// The pixels whose alpha is at least a half, cropped to their bounds.
struct Ink {
  int width = 0;
  int height = 0;
  std::vector<bool> on;
  bool At(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height &&
           on[static_cast<size_t>(y * width + x)];
  }
};

Ink InkOf(const RgbaImage& image) {
  Ink ink;
  const Box box = OpaqueBox(image, 0.5f);
  if (box.empty())
    return ink;
  ink.width = box.width();
  ink.height = box.height();
  ink.on.resize(static_cast<size_t>(ink.width * ink.height));
  for (int y = 0; y < ink.height; ++y)
    for (int x = 0; x < ink.width; ++x)
      ink.on[static_cast<size_t>(y * ink.width + x)] =
          image.A(box.x0 + x, box.y0 + y) >= 0.5f;
  return ink;
}

// The fraction of `a`'s ink with ink of `b` within a pixel.
double Found(const Ink& a, const Ink& b) {
  int all = 0;
  int found = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) {
      if (!a.At(x, y))
        continue;
      ++all;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx)
          near = b.At(x + dx, y + dy);
      found += near ? 1 : 0;
    }
  return all == 0 ? 0 : static_cast<double>(found) / all;
}

double F1(const Ink& ours, const Ink& theirs) {
  const double p = Found(ours, theirs);
  const double r = Found(theirs, ours);
  return p + r > 0 ? 2 * p * r / (p + r) : 0;
}

struct Sample {
  const char* name;
  const char* font;  // under kNoto
  std::string text;
};

TEST(HbViewInk, ShapedTextDrawsTheInkHbViewDraws) {
  if (access(kHbView, X_OK) != 0)
    GTEST_SKIP() << "no hb-view (libharfbuzz-bin)";
  const std::vector<Sample> samples = {
      {"arabic", "NotoSansArabic-Regular.ttf",
       "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD8\xA7\xD9\x84"
       "\xD8\xB9\xD8\xA7\xD9\x84\xD9\x85"},
      {"urdu", "NotoNastaliqUrdu-Regular.ttf",
       "\xD8\xA7\xD8\xB1\xD8\xAF\xD9\x88 \xD8\xB2\xD8\xA8\xD8\xA7\xD9\x86"},
      {"hebrew", "NotoSansHebrew-Regular.ttf",
       "\xD7\xA9\xD6\xB8\xD7\x81\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D"},
      {"devanagari", "NotoSansDevanagari-Regular.ttf",
       "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4\xE0"
       "\xA5\x87 \xE0\xA4\x95\xE0\xA5\x8D\xE0\xA4\xB7\xE0\xA4\xA4\xE0\xA5"
       "\x8D\xE0\xA4\xB0\xE0\xA4\xBF\xE0\xA4\xAF"},
      {"khmer", "NotoSansKhmer-Regular.ttf",
       "\xE1\x9E\x9F\xE1\x9E\xBD\xE1\x9E\x9F\xE1\x9F\x92\xE1\x9E\x8F\xE1"
       "\x9E\xB8"},
  };
  TempDir dir;
  std::string fonts = "{";
  std::vector<std::string> canvases;
  for (const Sample& s : samples) {
    const std::string path = kNoto + s.font;
    if (access(path.c_str(), R_OK) != 0)
      GTEST_SKIP() << "no " << path << " (fonts-noto-core)";
    fonts += std::string(fonts.size() > 1 ? "," : "") + "\"" + s.name +
             "\":\"" + path + "\"";
    canvases.push_back(Canvas(
        700, 140, dir.File(std::string(s.name) + ".png"),
        "\"default\":\"" + s.text + "\",\"font\":\"" + s.name +
            "\",\"size\":48,\"line_height\":60,\"area\":[20,20,660,100],"
            "\"fill\":\"#000000\",\"shape\":true"));
  }
  const RunResult run = RunQuillmark(
      {dir.Write("fonts.json", fonts + "}"), dir.Write("job.json", Job(canvases))});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  for (const Sample& s : samples) {
    const std::string theirs = dir.File(std::string(s.name) + "_hb.png");
    const std::string command = std::string(kHbView) +
                                " --font-size=48 --margin=0"
                                " --background=#FFFFFF00 --foreground=#000000"
                                " -o '" + theirs + "' '" + kNoto + s.font +
                                "' '" + s.text + "'";
    ASSERT_EQ(system(command.c_str()), 0) << command;
    const Ink ours = InkOf(ReadRgbaImage(dir.File(std::string(s.name) + ".png")));
    const Ink hb = InkOf(ReadRgbaImage(theirs));
    ASSERT_GT(ours.width, 0) << s.name;
    ASSERT_GT(hb.width, 0) << s.name;
    EXPECT_GE(F1(ours, hb), 0.93) << s.name;
  }
}

}  // namespace
