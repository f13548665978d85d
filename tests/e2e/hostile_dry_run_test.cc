// Hostile input, part three: a dry run finds every write that the real run
// would fail, and ends with the real run's exit status.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

// "Quillmark : failed to write PATH" of each problem line, without reason.
Lines FailedPaths(const RunResult& run) {
  Lines paths;
  for (const std::string& line : Problems(run)) {
    const std::string start = "Quillmark : failed to write ";
    if (line.compare(0, start.size(), start) != 0) {
      paths.push_back(line);
      continue;
    }
    const size_t colon = line.rfind(": ");
    paths.push_back(line.substr(0, colon));
  }
  return paths;
}

// Row 3: each failing output of the real run fails the dry run too, for
// the same reason, and both end with 1; the good canvases pass both.
TEST(DryRunTest, FailsWhereTheRealRunFails) {
  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  ASSERT_EQ(0, symlink("elsewhere.png", dir.File("link.png").c_str()));
  ASSERT_EQ(0, mkdir(dir.File("folder.png").c_str(), 0755));
  ASSERT_EQ(0, mkfifo(dir.File("fifo.png").c_str(), 0644));
  const std::string shadow =
      R"("default": "A", "font": "sans", "size": 10, "fill": "red",
         "shadow": "black", "s_size": 2, "s_alpha": 0.5)";
  const std::vector<std::string> canvases = {
      QuickCanvas("first.png"),
      QuickCanvas("link.png"),
      QuickCanvas("folder.png"),
      QuickCanvas("fifo.png"),
      QuickCanvas("/dev/quillmark-dry-run.png"),
      QuickCanvas("png:/dev/stdout"),
      QuickCanvas("/proc/self/quillmark.png"),
      QuickCanvas(std::string(300, 'n') + ".png"),
      QuickCanvas("missing/a.png"),
      // The shadow's image has a border of floor(2 x 2 + 0.5) = 4 and its
      // blur a kernel 17 wide: 16361 + 8 + 16 is past ImageMagick's 16384
      // a side, 16360 + 8 + 16 is not.
      Canvas(16361, 1, "shadow.png", shadow),
      Canvas(16360, 1, "fits.png", shadow),
      // Past the limit by its border alone.
      Canvas(16380, 1, "border.png", shadow),
      QuickCanvas("last.png")};
  dir.Write("job.json", Job(canvases));
  RunResult dry = RunQuillmark({"fonts.json", "job.json", "-dry-run"},
                               dir.path(), 120);
  EXPECT_EQ(1, dry.exitCode) << dry.output;
  const Lines expected = {
      "Quillmark : failed to write link.png",
      "Quillmark : failed to write folder.png",
      "Quillmark : failed to write fifo.png",
      "Quillmark : failed to write /dev/quillmark-dry-run.png",
      "Quillmark : failed to write png:/dev/stdout",
      "Quillmark : failed to write /proc/self/quillmark.png",
      "Quillmark : failed to write " + std::string(300, 'n') + ".png",
      "Quillmark : failed to write missing/a.png",
      "Quillmark : failed to write shadow.png",
      "Quillmark : failed to write border.png"};
  EXPECT_EQ(expected, FailedPaths(dry));
  // Nothing written by the dry run.
  EXPECT_FALSE(FileExists(dir.File("first.png")));
  EXPECT_FALSE(FileExists(dir.File("fits.png")));

  RunResult real = RunQuillmark({"fonts.json", "job.json"}, dir.path(), 120);
  EXPECT_EQ(dry.exitCode, real.exitCode);
  EXPECT_EQ(expected, FailedPaths(real));
  // The reasons are the same but for ImageMagick's location of the shadow's.
  const Lines dryProblems = Problems(dry);
  const Lines realProblems = Problems(real);
  ASSERT_EQ(dryProblems.size(), realProblems.size());
  for (size_t i = 0; i + 2 < dryProblems.size(); ++i)
    EXPECT_EQ(dryProblems[i], realProblems[i]);
  for (size_t i = dryProblems.size() - 2; i < dryProblems.size(); ++i)
    EXPECT_EQ(0u, realProblems[i].find(dryProblems[i])) << realProblems[i];
  EXPECT_TRUE(FileExists(dir.File("first.png")));
  EXPECT_TRUE(FileExists(dir.File("fits.png")));
  EXPECT_TRUE(FileExists(dir.File("last.png")));
}

// Row 3: a dry run of a job whose writes all pass ends with 0.
TEST(DryRunTest, PassesWhereTheRealRunPasses) {
  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  dir.Write("old.png", "old");
  dir.Write("job.json", Job({QuickCanvas("a.png"), QuickCanvas("old.png")}));
  RunResult dry = RunQuillmark({"fonts.json", "job.json", "-dry-run"},
                               dir.path(), 60);
  EXPECT_EQ(0, dry.exitCode) << dry.output;
  EXPECT_TRUE(Problems(dry).empty());
  EXPECT_EQ("old", ReadWholeFile(dir.File("old.png")));
}

}  // namespace
