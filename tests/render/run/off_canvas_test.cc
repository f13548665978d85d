// Annotations that cannot reach the canvas are left out of the drawing, and
// the images stay byte for byte what drawing them gives.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "render/run/driver.h"
#include "support/captured_log.h"
#include "support/job_text.h"
#include "support/temp_dir.h"

namespace {

std::string ManyCharacters(int count) {
  const char* const kCjk[] = {"春", "眠", "不", "觉", "晓", "处", "闻", "啼", "鸟"};
  std::string text;
  for (int i = 0; i < count; ++i) text += kCjk[i % 9];
  return text;
}

// Renders `job` in this process, with or without leaving out what cannot
// reach the canvas; returns the bytes of `outputs`.
std::vector<std::string> Render(const TempDir& dir, const std::string& job,
                                bool skipOffCanvas,
                                const std::vector<std::string>& outputs,
                                uint64_t* skipped) {
  const std::string fonts = dir.Write("fonts.json", TestFontList());
  const std::string jobPath = dir.Write("job.json", job);
  RenderContext context;
  context.options.skipOffCanvas = skipOffCanvas;
  RunOptions inProcess;
  inProcess.jobs = 0;
  char previous[4096];
  EXPECT_TRUE(getcwd(previous, sizeof(previous)) != nullptr);
  EXPECT_EQ(0, chdir(dir.path().c_str()));
  CapturedLog(  // kept out of the test's output
      [&] { EXPECT_EQ(0, RunJob(fonts, jobPath, 1.0f, inProcess, &context)); });
  EXPECT_EQ(0, chdir(previous));
  *skipped = context.offCanvasSkipped;
  std::vector<std::string> bytes;
  for (const std::string& name : outputs) bytes.push_back(ReadWholeFile(dir.File(name)));
  return bytes;
}

TEST(OffCanvasTest, ColumnsPastTheCanvasAreLeftOutAndChangeNoByte) {
  const std::string job = Job({
      // Columns run far past the left edge.
      Canvas(200, 200, "left.png",
             R"("font": "cjk", "size": 40, "line_height": 44, "direction": 1,
                "area": [10, 10, 180, 180], "fill": "#B22222",
                "default": ")" + ManyCharacters(150) + "\""),
      // A column from far above the canvas to far below it, outlined under
      // the fill, with a shadow, bottom-aligned.
      Canvas(120, 160, "tall.png",
             R"("font": "cjk", "size": 30, "line_height": 34, "direction": 1,
                "area": [0, -2000, 120, 4200], "align": 1, "fill": "white",
                "stroke": "black", "width": 6, "shadow": "black", "s_size": 3,
                "s_dist": 4, "s_alpha": 0.6, "default": ")" +
                 ManyCharacters(100) + "\""),
  });
  const std::vector<std::string> outputs = {"left.png", "tall.png"};
  TempDir drawn, skipping;
  uint64_t none = 0, skipped = 0;
  std::vector<std::string> all = Render(drawn, job, false, outputs, &none);
  std::vector<std::string> some = Render(skipping, job, true, outputs, &skipped);
  EXPECT_EQ(0u, none);
  EXPECT_GT(skipped, 150u);  // most of the 250 units, twice for "tall"
  for (size_t i = 0; i < outputs.size(); ++i) {
    EXPECT_FALSE(all[i].empty()) << outputs[i];
    EXPECT_TRUE(all[i] == some[i]) << outputs[i] << " differs";
  }
}

}  // namespace
