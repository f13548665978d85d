// Hostile input, part three: a run short of resources. Workers that cannot
// be started leave the run to those that could; an allocation that fails
// while an image is encoded fails that image instead of writing it grey.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

// Row 6: -jobs=30 under 40 file descriptors: every canvas is written by the
// workers that could be started, and the log says so once.
TEST(WorkerShortageTest, TheRunGoesOnWithTheWorkersItHas) {
  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  std::vector<std::string> canvases;
  for (int i = 0; i < 43; ++i)
    canvases.push_back(QuickCanvas("c" + std::to_string(i) + ".png"));
  dir.Write("job.json", Job(canvases));
  ProcessOptions options;
  options.cwd = dir.path();
  options.limits = {{RLIMIT_NOFILE, 40}};
  RunResult run = RunQuillmark({"fonts.json", "job.json", "-jobs=30"}, options);
  EXPECT_EQ(0, run.exitCode) << run.output;
  const Lines problems = Problems(run);
  ASSERT_EQ(1u, problems.size()) << run.output;
  EXPECT_EQ(0u, problems[0].find("Quillmark : not every worker process could "
                                 "be started ("))
      << problems[0];
  for (int i = 0; i < 43; ++i)
    EXPECT_TRUE(FileExists(dir.File("c" + std::to_string(i) + ".png"))) << i;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Row 7: under a 1500 MiB address-space limit an 8000 x 8000 canvas (1 GiB
// of pixels) is drawn, but the PNG coder's copy of it cannot be had: no
// grey image, a line with ImageMagick's reason, exit 1.
TEST(MemoryPressureTest, AFailedEncodingWritesNoImage) {
  if (kAddressSanitizer)
    GTEST_SKIP() << "AddressSanitizer does not run under an address-space limit";
  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  dir.Write("job.json",
            Job({Canvas(8000, 8000, "big.png",
                        R"("default": "Big", "font": "sans", "size": 2000,
                           "area": [0, 0, 8000, 8000], "fill": "#ff0000",
                           "stroke": "#0000ff", "width": 20)"),
                 QuickCanvas("small.png")}));
  ProcessOptions options;
  options.cwd = dir.path();
  options.limits = {{RLIMIT_AS, 1500LL << 20}};
  RunResult run = RunQuillmark({"fonts.json", "job.json", "-memory=100000"},
                               options);
  EXPECT_EQ(1, run.exitCode) << run.output;
  const Lines problems = Problems(run);
  ASSERT_EQ(1u, problems.size()) << run.output;
  EXPECT_EQ(0u, problems[0].find("Quillmark : failed to write big.png: "))
      << problems[0];
  EXPECT_FALSE(FileExists(dir.File("big.png")));
  EXPECT_TRUE(FileExists(dir.File("small.png")));
  for (const std::string& name : dir.List())
    EXPECT_EQ(std::string::npos, name.find("quillmark-tmp")) << name;
}

}  // namespace
