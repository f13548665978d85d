// Small inputs that once ran for minutes or hours: every canvas ends in
// time, written or stopped, and the canvases around them are written; and
// ImageMagick failures that once left a wrong image with status 0 fail their
// canvas.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

std::string Repeat(const std::string& text, size_t bytes) {
  std::string out;
  while (out.size() < bytes) out += text;
  return out;
}

TEST(BoundedWorkTest, EveryCanvasEndsInTimeAndTheOthersAreWritten) {
  // 90 distinct letters and digits.
  const std::string latin90 =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
      "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜ";
  const std::vector<std::string> bombs = {
      // Fitting from far above the area's size.
      Canvas(10, 10, "w6000.png", R"("default": "W", "font": "sans", "size": 6000,
             "area": [0, 0, 10, 10], "fill": "red", "adjustToFit": true)"),
      Canvas(700, 240, "distinct.png",
             R"("default": ")" + latin90 + R"(", "font": "sans", "size": 1000,
                "area": [20, 20, 660, 200], "fill": "red", "adjustToFit": true)"),
      // A blur far wider than the canvas, with ink in every window.
      Canvas(1, 1, "blur.png", R"("default": "█", "font": "sans", "size": 10,
             "fill": "red", "shadow": "black", "s_size": 800, "s_alpha": 0.5)"),
      // Vertical text drawn far past the canvas.
      Canvas(200, 200, "columns.png",
             R"("default": ")" + Repeat("春眠不觉晓处处闻啼鸟", 30000) +
                 R"(", "font": "cjk", "size": 20, "line_height": 24,
                "area": [10, 10, 180, 180], "fill": "red", "direction": 1)"),
      // A megabyte of lines on one baseline (no "line_height").
      Canvas(200, 60, "megabyte.png",
             R"("default": ")" + Repeat("abcdefghij", 1 << 20) +
                 R"(", "font": "sans", "size": 12, "area": [0, 0, 200, 60],
                "fill": "red")"),
  };
  std::vector<std::string> canvases = {QuickCanvas("first.png")};
  canvases.insert(canvases.end(), bombs.begin(), bombs.end());
  canvases.push_back(QuickCanvas("last.png"));

  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  dir.Write("job.json", Job(canvases));
  const auto start = std::chrono::steady_clock::now();
  RunResult run = RunQuillmark({"fonts.json", "job.json", "-timeout=3", "-jobs=2"},
                               dir.path(), 120);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // Five canvases of at most 3 s each, two at a time, and some slack.
  EXPECT_LT(seconds, 30) << run.output;

  EXPECT_TRUE(FileExists(dir.File("first.png")));
  EXPECT_TRUE(FileExists(dir.File("last.png")));
  // The columns past the canvas are left out of the drawing: quick now.
  EXPECT_TRUE(FileExists(dir.File("columns.png")));
  Lines problems = Problems(run);
  for (const char* name : {"w6000.png", "distinct.png", "blur.png", "columns.png",
                           "megabyte.png"}) {
    int stopped = 0;
    for (const std::string& line : problems)
      if (line.find(std::string("(") + name + ") stopped after 3 s") != std::string::npos)
        ++stopped;
    EXPECT_EQ(FileExists(dir.File(name)) ? 0 : 1, stopped) << name << "\n"
                                                           << run.output;
  }
  EXPECT_EQ(problems.empty() ? 0 : 1, run.exitCode);
  for (const std::string& name : dir.List())
    EXPECT_EQ(std::string::npos, name.find("quillmark-tmp")) << name;
}

TEST(BoundedWorkTest, ImageMagickFailuresFailTheirCanvas) {
  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  dir.Write("job.json", Job({
      QuickCanvas("first.png"),
      // Too little memory for the pixel cache.
      Canvas(3000, 3000, "big.png", R"("default": "A", "font": "sans", "size": 40,
             "fill": "red")"),
      // A shadow whose blurred border takes the image past the width limit.
      Canvas(16384, 10, "wide.png", R"("default": "A", "font": "sans", "size": 8,
             "fill": "red", "shadow": "black", "s_size": 10, "s_alpha": 0.5)"),
      QuickCanvas("last.png"),
  }));
  setenv("MAGICK_MEMORY_LIMIT", "8MiB", 1);
  setenv("MAGICK_MAP_LIMIT", "8MiB", 1);
  RunResult run = RunQuillmark({"fonts.json", "job.json"}, dir.path(), 60);
  unsetenv("MAGICK_MEMORY_LIMIT");
  unsetenv("MAGICK_MAP_LIMIT");
  EXPECT_EQ(1, run.exitCode);
  Lines problems = Problems(run);
  ASSERT_EQ(2u, problems.size()) << run.output;
  EXPECT_EQ(0u, problems[0].find("Quillmark : failed to write big.png: cache "
                                 "resources exhausted"))
      << problems[0];
  EXPECT_EQ(0u, problems[1].find("Quillmark : failed to write wide.png: width or "
                                 "height exceeds limit"))
      << problems[1];
  EXPECT_EQ((Lines{"first.png", "fonts.json", "job.json", "last.png"}), dir.List());
}

}  // namespace
