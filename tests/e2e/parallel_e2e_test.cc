// Canvases rendered side by side (-jobs), split over runs (-shard), stopped
// (-timeout) or lost with their worker: whatever the split, every image,
// every log line and the exit status are those of a run one canvas at a
// time.

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

// Ten canvases of every kind. With `duplicate`, two of them write the same
// file, the first of them slow (its shadow's blur is wide), so that it would
// finish last if the two ran side by side.
std::string MixedJob(bool duplicate = true) {
  const std::string sans =
      R"("font": "sans", "size": 40, "line_height": 44, "area": [8, 8, 224, 84])";
  return Job({
      Canvas(240, 100, "plain.png", sans + R"(, "default": "Plain", "fill": "navy")"),
      Canvas(240, 100, "dup.png", sans + R"(, "default": "First", "fill": "red",
             "shadow": "black", "s_size": 120, "s_alpha": 0.5)"),
      Canvas(240, 100, "fitted.png", sans + R"(, "default": "Fitted into the area",
             "adjustToFit": true, "fill": "#FFD54A", "stroke": "#3A2A00",
             "width": 4, "shadow": "black", "s_size": 3, "s_dist": 5,
             "s_angle": 45, "s_alpha": 0.5)"),
      Canvas(0, 100, "skipped.png", sans),
      Canvas(120, 300, "vertical.png",
             R"("font": "cjk", "size": 48, "line_height": 52, "direction": 1,
                "default": "春眠不觉晓处处闻", "area": [4, 4, 112, 292],
                "adjustToFit": true, "fill": "#B22222")"),
      Canvas(240, 100, "missing/folder.png", sans + R"(, "default": "Lost")"),
      Canvas(240, 100, duplicate ? "dup.png" : "second.png",
             sans + R"(, "default": "Second", "fill": "blue")"),
      Canvas(240, 100, "png:tiff.tif", sans + R"(, "default": "Format", "size": "x")"),
      Canvas(240, 100, "outline.webp", sans + R"(, "default": "Outline",
             "stroke": "black", "width": 3, "strokeOverFill": true, "fill": "white")"),
      Canvas(240, 100, "last.jpg", sans + R"(, "default": "Last", "fill": "green")"),
  });
}

// The bytes of every file in `dir` but the inputs, by name.
std::vector<std::pair<std::string, std::string>> Outputs(const TempDir& dir) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const std::string& name : dir.List())
    if (name != "fonts.json" && name != "job.json")
      files.push_back({name, ReadWholeFile(dir.File(name))});
  return files;
}

RunResult RunIn(const TempDir& dir, const std::string& job,
                const std::vector<std::string>& extra, int timeout = 120) {
  dir.Write("fonts.json", TestFontList());
  dir.Write("job.json", job);
  std::vector<std::string> args = {"fonts.json", "job.json"};
  args.insert(args.end(), extra.begin(), extra.end());
  return RunQuillmark(args, dir.path(), timeout);
}

TEST(ParallelRunTest, SameImagesLogAndStatusWhateverTheJobs) {
  TempDir one;
  RunResult sequential = RunIn(one, MixedJob(), {});
  ASSERT_EQ(1, sequential.exitCode) << sequential.output;  // missing/folder.png
  const auto expected = Outputs(one);
  ASSERT_EQ(7u, expected.size());
  for (const char* jobs : {"-jobs=2", "-jobs=auto", "-jobs=7"}) {
    TempDir dir;
    RunResult run = RunIn(dir, MixedJob(), {jobs});
    EXPECT_EQ(sequential.exitCode, run.exitCode) << jobs;
    EXPECT_EQ(sequential.messages, run.messages) << jobs;
    EXPECT_TRUE(expected == Outputs(dir)) << jobs << ": the images differ";
  }
  // Workers give ImageMagick fewer threads than a run one canvas at a time;
  // the thread count must not show in an image.
  for (const char* threads : {"1", "2"}) {
    setenv("MAGICK_THREAD_LIMIT", threads, 1);
    TempDir dir;
    RunIn(dir, MixedJob(), {});
    unsetenv("MAGICK_THREAD_LIMIT");
    EXPECT_TRUE(expected == Outputs(dir))
        << threads << " threads: the images differ";
  }
  // The later of the two canvases that write dup.png is the one that stays:
  // it is blue.
  TempDir alone;
  RunIn(alone, Job({Canvas(240, 100, "dup.png",
                           R"("font": "sans", "size": 40, "line_height": 44,
                              "area": [8, 8, 224, 84], "default": "Second",
                              "fill": "blue")")}),
        {});
  EXPECT_EQ(ReadWholeFile(alone.File("dup.png")), ReadWholeFile(one.File("dup.png")));
}

// Shards are separate runs: two canvases of different shards that write the
// same file race, so this job has none.
TEST(ParallelRunTest, ShardsTogetherGiveTheImagesOfOneRun) {
  TempDir one, shards;
  RunResult whole = RunIn(one, MixedJob(false), {});
  shards.Write("fonts.json", TestFontList());
  shards.Write("job.json", MixedJob(false));
  // Four shards at once with GNU parallel, as the README shows.
  const std::string command =
      "cd '" + shards.path() + "' && parallel --will-cite -j4 " QUILLMARK_BINARY
      " fonts.json job.json -shard={}/4 '>' log{}.txt ::: 0 1 2 3";
  ASSERT_EQ(1 << 8, system(command.c_str()));  // a shard with the lost canvas
  auto files = Outputs(shards);
  std::vector<std::pair<std::string, std::string>> images;
  std::string logs;
  for (auto& file : files) {
    if (file.first.rfind("log", 0) == 0)
      logs += file.second;
    else
      images.push_back(file);
  }
  EXPECT_TRUE(Outputs(one) == images);
  // The logs keep the job's canvas numbers: canvas 3 belongs to shard 3.
  EXPECT_NE(std::string::npos,
            ReadWholeFile(shards.File("log3.txt"))
                .find("Quillmark : canvas 3 skipped: \"size\" 0 x 100 is not positive"));
  EXPECT_NE(std::string::npos,
            ReadWholeFile(shards.File("log3.txt"))
                .find("Quillmark : canvas 7: \"ui\" key \"size\" ignored"));
  EXPECT_EQ(std::string::npos,
            ReadWholeFile(shards.File("log0.txt")).find("canvas 3"));
  EXPECT_EQ(whole.exitCode, 1);
}

// A canvas whose shadow blur takes many seconds: a full block inks the
// canvas's one pixel, so every window of the 1,000-pixel-wide blur holds ink
// and none of it can be skipped.
std::string SlowCanvas() {
  return Canvas(1, 1, "slow.png",
                R"("default": "█", "font": "sans", "size": 10, "fill": "red",
                   "shadow": "black", "s_size": 500, "s_alpha": 0.5, "s_dist": 2)");
}

TEST(ParallelRunTest, TimeLimitStopsASlowCanvasAndTheRunGoesOn) {
  TempDir dir;
  RunResult run = RunIn(dir, Job({QuickCanvas("first.png"), SlowCanvas(), QuickCanvas("last.png")}),
                        {"-timeout=2"}, 60);
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ((Lines{"Quillmark : canvas 1 (slow.png) stopped after 2 s"}),
            Problems(run));
  EXPECT_EQ((Lines{"first.png", "fonts.json", "job.json", "last.png"}), dir.List());
}

// The process ids of Quillmark's worker processes running in `dir`.
std::vector<pid_t> WorkersIn(const std::string& dir) {
  std::vector<pid_t> workers;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return workers;
  while (dirent* entry = readdir(proc)) {
    pid_t pid = atoi(entry->d_name);
    if (pid <= 0) continue;
    std::string base = "/proc/" + std::to_string(pid);
    char exe[4096], cwd[4096];
    ssize_t n = readlink((base + "/exe").c_str(), exe, sizeof(exe) - 1);
    ssize_t m = readlink((base + "/cwd").c_str(), cwd, sizeof(cwd) - 1);
    if (n <= 0 || m <= 0) continue;
    exe[n] = cwd[m] = '\0';
    std::ifstream stat(base + "/stat");
    std::string skip;
    pid_t parent = 0;
    stat >> skip >> skip >> skip >> parent;
    char parentExe[4096];
    ssize_t k = readlink(("/proc/" + std::to_string(parent) + "/exe").c_str(),
                         parentExe, sizeof(parentExe) - 1);
    if (k <= 0) continue;
    parentExe[k] = '\0';
    if (std::string(exe) == QUILLMARK_BINARY && dir == cwd &&
        std::string(parentExe) == QUILLMARK_BINARY)
      workers.push_back(pid);
  }
  closedir(proc);
  return workers;
}

TEST(ParallelRunTest, AWorkerThatDiesFailsOnlyItsCanvas) {
  TempDir dir;
  std::atomic<bool> killed{false};
  // Once the first image is written, the worker is on the slow canvas.
  std::thread killer([&] {
    for (int i = 0; i < 600 && !killed; ++i) {
      usleep(50000);
      if (!FileExists(dir.File("first.png"))) continue;
      for (pid_t pid : WorkersIn(dir.path())) {
        kill(pid, SIGKILL);
        killed = true;
      }
    }
  });
  RunResult run = RunIn(dir, Job({QuickCanvas("first.png"), SlowCanvas(), QuickCanvas("last.png")}),
                        {"-timeout=0"}, 120);
  killer.join();
  ASSERT_TRUE(killed);
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ((Lines{"Quillmark : canvas 1 (slow.png) not written: its worker "
                   "process ended with signal 9 (Killed)"}),
            Problems(run));
  EXPECT_EQ((Lines{"first.png", "fonts.json", "job.json", "last.png"}), dir.List());
}

TEST(ParallelRunTest, AWorkerKilledWhileWritingLeavesNoTemporaryFile) {
  TempDir dir;
  dir.Write("fonts.json", TestFontList());
  // A 36 MB BMP: its write lasts long enough for the kill to land in it.
  dir.Write("job.json",
            Job({QuickCanvas("first.png"),
                 Canvas(3000, 3000, "big.bmp", R"("default": "Ab", "font": "sans",
                                                   "size": 16, "fill": "red")"),
                 QuickCanvas("last.png")}));
  ProcessOptions options;
  options.cwd = dir.path();
  bool seen = false;
  options.whileRunning = [&](pid_t pid) {
    seen = WaitForCreation(dir.path(), ".big.bmp.quillmark-tmp-", pid);
    for (pid_t worker : WorkersIn(dir.path())) kill(worker, SIGKILL);
  };
  RunResult run = RunQuillmark({"fonts.json", "job.json", "-timeout=0"}, options);
  ASSERT_TRUE(seen) << run.output;
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ((Lines{"Quillmark : canvas 1 (big.bmp) not written: its worker "
                   "process ended with signal 9 (Killed)"}),
            Problems(run));
  // The parent removed what the worker left; the next canvas was written.
  EXPECT_EQ((Lines{"first.png", "fonts.json", "job.json", "last.png"}), dir.List());
}

}  // namespace
