// Hostile input, part three: what a run reads and its report are never
// written over, and the report's path is guarded as an image's is.

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

// A folder with a copy of DejaVu Sans, a font list naming the copy and a
// job file, so that nothing outside the folder could be harmed.
class InputsRun : public ::testing::Test {
 protected:
  void SetUp() override {
    font_ = dir_.Write("font.ttf", ReadWholeFile(QUILLMARK_TEST_SANS));
    dir_.Write("fonts.json", "{\"sans\": \"" + font_ + "\"}");
  }

  RunResult Run(const std::vector<std::string>& outputs,
                const std::vector<std::string>& extra = {}) {
    std::vector<std::string> canvases;
    for (const std::string& output : outputs)
      canvases.push_back(QuickCanvas(output));
    job_ = Job(canvases);
    dir_.Write("job.json", job_);
    std::vector<std::string> args = {"fonts.json", "job.json"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunQuillmark(args, dir_.path(), 60);
  }

  void ExpectInputsUntouched() {
    EXPECT_EQ(ReadWholeFile(QUILLMARK_TEST_SANS), ReadWholeFile(font_));
    EXPECT_EQ("{\"sans\": \"" + font_ + "\"}",
              ReadWholeFile(dir_.File("fonts.json")));
    EXPECT_EQ(job_, ReadWholeFile(dir_.File("job.json")));
  }

  TempDir dir_;
  std::string font_;
  std::string job_;
};

// Row 1: a canvas whose output is the font list, the job file or a font (by
// any name: a format prefix, "..", a hard link) is refused.
TEST_F(InputsRun, AnOutputThatIsAnInputIsRefused) {
  ASSERT_EQ(0, mkdir(dir_.File("sub").c_str(), 0755));
  ASSERT_EQ(0, link(font_.c_str(), dir_.File("hard.png").c_str()));
  RunResult run = Run({"png:fonts.json", "png:job.json", "png:" + font_,
                       "png:sub/../font.ttf", "hard.png", "fine.png"});
  EXPECT_EQ(1, run.exitCode) << run.output;
  const std::string tail = ": it is an input of this run";
  EXPECT_EQ((Lines{"Quillmark : failed to write png:fonts.json" + tail,
                   "Quillmark : failed to write png:job.json" + tail,
                   "Quillmark : failed to write png:" + font_ + tail,
                   "Quillmark : failed to write png:sub/../font.ttf" + tail,
                   "Quillmark : failed to write hard.png" + tail}),
            Problems(run));
  ExpectInputsUntouched();
  EXPECT_TRUE(FileExists(dir_.File("fine.png")));
  // The dry run refuses them alike.
  RunResult dry = Run({"png:job.json", "fine.png"}, {"-dry-run"});
  EXPECT_EQ(1, dry.exitCode);
  EXPECT_EQ((Lines{"Quillmark : failed to write png:job.json" + tail}),
            Problems(dry));
  ExpectInputsUntouched();
}

// Row 2: the report is refused where an image would be, and over an input.
TEST_F(InputsRun, TheReportIsGuardedLikeAnImage) {
  ASSERT_EQ(0, mkfifo(dir_.File("fifo").c_str(), 0644));
  dir_.Write("target.txt", "target");
  ASSERT_EQ(0, symlink("target.txt", dir_.File("link.jsonl").c_str()));
  ASSERT_EQ(0, symlink("nowhere", dir_.File("dangling.jsonl").c_str()));
  ASSERT_EQ(0, mkdir(dir_.File("folder").c_str(), 0755));
  struct Case {
    std::string report;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"job.json", "it is an input of this run"},
      {"fonts.json", "it is an input of this run"},
      {"font.ttf", "it is an input of this run"},
      {"fifo", "it exists and is not a regular file"},
      {"folder", "it exists and is not a regular file"},
      {"link.jsonl", "it is a symbolic link"},
      {"dangling.jsonl", "it is a symbolic link"},
      {"/proc/self/report.jsonl", "it is under /proc, where no image belongs"},
  };
  for (const Case& c : cases) {
    RunResult run = Run({"a.png"}, {"-report=" + c.report});
    EXPECT_EQ(1, run.exitCode) << c.report;
    EXPECT_EQ((Lines{"Quillmark : failed to write the report " + c.report +
                     ": " + c.reason}),
              Problems(run))
        << c.report;
    ExpectInputsUntouched();
  }
  EXPECT_EQ("target", ReadWholeFile(dir_.File("target.txt")));
  struct stat info;
  ASSERT_EQ(0, lstat(dir_.File("fifo").c_str(), &info));
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  ASSERT_EQ(0, lstat(dir_.File("link.jsonl").c_str(), &info));
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_FALSE(FileExists(dir_.File("nowhere")));
  for (const std::string& name : dir_.List())
    EXPECT_EQ(std::string::npos, name.find("quillmark-tmp")) << name;
}

// Row 2: an output that is the report's path is refused, and the report is
// written.
TEST_F(InputsRun, AnOutputThatIsTheReportIsRefused) {
  RunResult run = Run({"a.png", "./report.png", "b.png"},
                      {"-report=report.png"});
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ((Lines{"Quillmark : failed to write ./report.png: it is the "
                   "report of this run"}),
            Problems(run));
  const Lines report = SplitLines(ReadWholeFile(dir_.File("report.png")));
  ASSERT_EQ(3u, report.size());
  EXPECT_NE(std::string::npos, report[1].find("\"status\":\"failed\""));
  EXPECT_TRUE(FileExists(dir_.File("a.png")));
  EXPECT_TRUE(FileExists(dir_.File("b.png")));
}

}  // namespace
