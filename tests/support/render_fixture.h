#ifndef QUILLMARK_TESTS_SUPPORT_RENDER_FIXTURE_H_
#define QUILLMARK_TESTS_SUPPORT_RENDER_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/image_reader.h"
#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

// A folder of its own for each end-to-end rendering test.
class RenderFixture : public ::testing::Test {
 protected:
  // Runs the binary on `job` in the test's folder (relative outputs land
  // there) with the test fonts: "sans" is DejaVu Sans, "cjk" Droid Sans
  // Fallback.
  RunResult Render(const std::string& job) {
    dir_.Write("fonts.json", TestFontList());
    dir_.Write("job.json", job);
    return RunQuillmark({"fonts.json", "job.json"}, dir_.path(), 60);
  }

  RgbaImage Image(const std::string& name) const {
    RgbaImage image = ReadRgbaImage(dir_.File(name));
    EXPECT_TRUE(image.ok) << name << " could not be read back";
    return image;
  }

  // Every canvas was written: status 0 and no problem reported.
  static void ExpectCleanRun(const RunResult& run) {
    EXPECT_EQ(0, run.exitCode) << run.output;
    EXPECT_EQ(std::vector<std::string>{}, Problems(run));
  }

  // The ink of `box` lies in `area`, grown by `slack` pixels on every side.
  static void ExpectInside(const Box& box, const Area& area, int slack) {
    EXPECT_FALSE(box.empty());
    EXPECT_GE(box.x0, area.x - slack) << Describe(box);
    EXPECT_LT(box.x1, area.right() + slack) << Describe(box);
    EXPECT_GE(box.y0, area.y - slack) << Describe(box);
    EXPECT_LT(box.y1, area.bottom() + slack) << Describe(box);
  }

  TempDir dir_;
};

#endif  // QUILLMARK_TESTS_SUPPORT_RENDER_FIXTURE_H_
