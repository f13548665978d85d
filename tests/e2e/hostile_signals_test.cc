// Hostile input, part three: a run stopped by SIGTERM, SIGINT or SIGHUP
// logs every canvas, leaves no temporary file, and ends with 128 + the
// signal; a rename that fails removes its temporary file and says so.

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

// A canvas whose shadow blur takes far longer than the quick canvases (a
// full block inks the canvas's one pixel, so no window of the blur is
// empty): with two workers, the other one writes them all meanwhile.
std::string SlowCanvas() {
  return Canvas(1, 1, "slow.png",
                R"("default": "█", "font": "sans", "size": 10, "fill": "red",
                   "shadow": "black", "s_size": 500, "s_alpha": 0.5)");
}

bool NoTemporaryFile(const TempDir& dir) {
  for (const std::string& name : dir.List())
    if (name.find("quillmark-tmp") != std::string::npos)
      return false;
  return true;
}

// The names in `folder`, sorted.
Lines Entries(const std::string& folder) {
  Lines names;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
        names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

class StopSignalTest : public ::testing::TestWithParam<int> {};

// Row 4: SIGNAME after four canvases were written while canvas 0 still
// runs: the four are logged in job order, canvas 0 gets its line, the
// report's temporary file is removed, and the exit status is 128 + the
// signal.
TEST_P(StopSignalTest, StoppedRunLogsEveryCanvasAndLeavesNoTemporaryFile) {
  const int signal = GetParam();
  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  dir.Write("job.json",
            Job({SlowCanvas(), QuickCanvas("a.png"), QuickCanvas("b.png"),
                 QuickCanvas("c.png"), QuickCanvas("d.png")}));
  bool sent = false;
  ProcessOptions options;
  options.cwd = dir.path();
  options.timeoutSeconds = 120;
  options.whileRunning = [&](pid_t pid) {
    for (int i = 0; i < 1200 && !sent; ++i) {
      usleep(50000);
      if (FileExists(dir.File("d.png"))) {
        kill(pid, signal);
        sent = true;
      }
    }
  };
  RunResult run = RunQuillmark({"fonts.json", "job.json", "-jobs=2",
                                "-timeout=0", "-report=report.jsonl"},
                               options);
  ASSERT_TRUE(sent);
  EXPECT_EQ(128 + signal, run.exitCode) << run.output;
  const std::string name = signal == SIGTERM  ? "SIGTERM"
                           : signal == SIGINT ? "SIGINT"
                                              : "SIGHUP";
  EXPECT_EQ((Lines{"Quillmark : canvas 0 (slow.png) not written: the run "
                   "was stopped by " + name}),
            Problems(run));
  EXPECT_TRUE(NoTemporaryFile(dir));
  EXPECT_FALSE(FileExists(dir.File("report.jsonl")));
  EXPECT_FALSE(FileExists(dir.File("slow.png")));
  EXPECT_EQ((Lines{"a.png", "b.png", "c.png", "d.png", "fonts.json",
                   "job.json"}),
            dir.List());
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignalTest,
                         ::testing::Values(SIGTERM, SIGINT, SIGHUP));

// Row 4: a signal while a worker writes an image: its temporary file goes.
TEST(StopSignalWriteTest, AStopDuringAWriteLeavesNoTemporaryFile) {
  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  // A 36 MB BMP: its write lasts long enough for the signal to land in it.
  dir.Write("job.json",
            Job({Canvas(3000, 3000, "big.bmp",
                        R"("default": "Ab", "font": "sans", "size": 16,
                           "fill": "red")")}));
  bool sent = false;
  ProcessOptions options;
  options.cwd = dir.path();
  options.whileRunning = [&](pid_t pid) {
    sent = WaitForCreation(dir.path(), ".big.bmp.quillmark-tmp-", pid) &&
           kill(pid, SIGTERM) == 0;
  };
  RunResult run = RunQuillmark({"fonts.json", "job.json"}, options);
  if (!sent)
    GTEST_SKIP() << "the write ended before the signal";
  EXPECT_EQ(128 + SIGTERM, run.exitCode) << run.output;
  EXPECT_TRUE(NoTemporaryFile(dir));
}

// Row 5: a folder where files can be created but not renamed over (chattr
// +a): the old image stays, no temporary file is left, and the line says
// that it could not be replaced.
TEST(ReplaceTest, AFolderThatForbidsRenamingKeepsTheOldImageAndNoTemporary) {
  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  ASSERT_EQ(0, mkdir(dir.File("locked").c_str(), 0755));
  dir.Write("locked/a.png", "old");
  dir.Write("job.json", Job({QuickCanvas("locked/a.png"), QuickCanvas("b.png")}));
  const std::string locked = dir.File("locked");
  if (std::system(("chattr +a '" + locked + "' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "chattr +a is not available here";
  RunResult first = RunQuillmark({"fonts.json", "job.json"}, dir.path(), 60);
  RunResult second = RunQuillmark({"fonts.json", "job.json"}, dir.path(), 60);
  const std::string kept = ReadWholeFile(locked + "/a.png");
  const Lines entries = Entries(locked);
  std::system(("chattr -a '" + locked + "'").c_str());
  EXPECT_EQ("old", kept);
  // Only the old image in the folder: no temporary file of either run.
  EXPECT_EQ((Lines{"a.png"}), entries);
  for (const RunResult& run : {first, second}) {
    EXPECT_EQ(1, run.exitCode);
    EXPECT_EQ((Lines{"Quillmark : failed to write locked/a.png: cannot "
                     "replace it: Operation not permitted"}),
              Problems(run));
  }
  EXPECT_TRUE(FileExists(dir.File("b.png")));
}

}  // namespace
