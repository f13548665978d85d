// The production pipeline's switches, run by the binary: the progress line
// and summary on standard error, the job-wide "-shape".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

using Args = std::vector<std::string>;

// Two canvases written (one with an unknown key), one skipped, one that
// fails (its folder is missing), one more written.
std::string MixedJob() {
  return Job({QuickCanvas("a.png"),
              Canvas(60, 30, "b.png",
                     R"("default": "Cd", "font": "sans", "size": 16,
                        "area": [2, 2, 56, 26], "fill": "red",
                        "colour": "blue")"),
              Canvas(0, 30, "skipped.png", R"("default": "x")"),
              QuickCanvas("no/such/folder/c.png"), QuickCanvas("d.png")});
}

// What standard error says last: the summary, its seconds replaced by S.
std::string SummaryOf(const std::string& errors) {
  std::vector<std::string> lines = SplitLines(errors);
  if (lines.empty())
    return "";
  // " in 12.3 s;" becomes " in S s;".
  std::string summary = lines.back();
  const size_t in = summary.find(" in ");
  const size_t end = summary.find(" s;", in == std::string::npos ? 0 : in);
  if (in == std::string::npos || end == std::string::npos)
    return summary;
  const std::string seconds = summary.substr(in + 4, end - in - 4);
  const bool number =
      !seconds.empty() &&
      seconds.find_first_not_of("0123456789.") == std::string::npos;
  return number ? summary.replace(in + 4, end - in - 4, "S") : summary;
}

class PipelineTest : public ::testing::Test {
 protected:
  RunResult Run(const Args& extra) {
    Args args = {fonts_, job_};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunQuillmark(args, dir_.path());
  }
  TempDir dir_;
  std::string fonts_ = dir_.Write("fonts.json", TestFontList());
  std::string job_ = dir_.Write("job.json", MixedJob());
};

TEST_F(PipelineTest, ProgressSummaryCountsTheRunAndLeavesTheLogAsItIs) {
  const RunResult plain = Run({});
  EXPECT_EQ(1, plain.exitCode);
  EXPECT_EQ("", plain.errors);  // no terminal, no -progress: nothing new
  const std::string image = ReadWholeFile(dir_.File("a.png"));
  for (const Args& jobs : {Args{}, Args{"-jobs=2"}}) {
    Args args = jobs;
    args.push_back("-progress");
    const RunResult shown = Run(args);
    const std::string how = jobs.empty() ? "one worker" : jobs[0];
    EXPECT_EQ(plain.exitCode, shown.exitCode) << how;
    EXPECT_EQ(plain.messages, shown.messages) << how;
    EXPECT_EQ(image, ReadWholeFile(dir_.File("a.png"))) << how;
    EXPECT_EQ("Quillmark: 3 written, 1 skipped, 1 failed in S s; "
              "problems: 1 unknown key",
              SummaryOf(shown.errors))
        << how << ": " << shown.errors;
    // The line is drawn over itself and ends with every canvas done.
    const std::vector<std::string> lines = SplitLines(shown.errors);
    ASSERT_EQ(2u, lines.size()) << shown.errors;
    EXPECT_EQ(0u, lines[0].find("\rQuillmark: "));
    const std::string last = lines[0].substr(lines[0].rfind('\r'));
    EXPECT_EQ(0u, last.find("\rQuillmark: 5/5 canvases, 1 failed, ")) << last;
  }
}

TEST_F(PipelineTest, ProgressOfAShardCountsItsOwnCanvases) {
  // Canvases 0, 2 and 4: written, skipped, written; 1 and 3 are the other
  // shard's.
  const RunResult even = Run({"-shard=0/2", "-progress"});
  EXPECT_EQ(0, even.exitCode);
  EXPECT_EQ("Quillmark: 2 written, 1 skipped, 0 failed in S s; "
            "problems: none",
            SummaryOf(even.errors));
  EXPECT_NE(std::string::npos, even.errors.find("\rQuillmark: 3/3 canvases"));
  const RunResult odd = Run({"-shard=1/2", "-progress"});
  EXPECT_EQ(1, odd.exitCode);
  EXPECT_EQ("Quillmark: 1 written, 0 skipped, 1 failed in S s; "
            "problems: 1 unknown key",
            SummaryOf(odd.errors));
}

}  // namespace

namespace {

// "-shape" draws what the canvases' own "shape": true draws, vertical text
// included, and "shape": false overrides it.
TEST(JobWideShapeTest, EqualsTheCanvasKeyAndYieldsToIt) {
  // Hebrew, right to left: the engine reorders it, ImageMagick does not.
  const std::string hebrew =
      R"("default": "abc \u05e9\u05dc\u05d5\u05dd", "font": "sans",
         "size": 24, "fill": "black", "area": [4, 4, 232, 52])";
  const std::string column =
      R"("default": "春眠", "font": "cjk", "size": 30, "direction": 1,
         "fill": "black", "area": [0, 0, 60, 100])";
  TempDir dir;
  const std::string fonts = dir.Write("fonts.json", TestFontList());
  const std::string keyed = dir.Write(
      "keyed.json",
      Job({Canvas(240, 60, "rtl.png", hebrew + R"(, "shape": true)"),
           Canvas(240, 60, "off.png", hebrew + R"(, "shape": false)"),
           Canvas(60, 100, "column.png", column + R"(, "shape": true)")}));
  const std::string bare = dir.Write(
      "bare.json",
      Job({Canvas(240, 60, "rtl.png", hebrew),
           Canvas(240, 60, "off.png", hebrew + R"(, "shape": false)"),
           Canvas(60, 100, "column.png", column)}));
  TempDir byKeys, bySwitch, plain;
  const RunResult a =
      RunQuillmark({fonts, keyed, "-report=r.jsonl", "-strict"}, byKeys.path());
  const RunResult b = RunQuillmark(
      {fonts, bare, "-report=r.jsonl", "-strict", "-shape"}, bySwitch.path());
  const RunResult c = RunQuillmark({fonts, bare}, plain.path());
  EXPECT_EQ(0, a.exitCode) << a.output;
  EXPECT_EQ(0, b.exitCode) << b.output;
  EXPECT_EQ(a.messages, b.messages);
  for (const char* name : {"rtl.png", "off.png", "column.png"}) {
    EXPECT_FALSE(ReadWholeFile(byKeys.File(name)).empty()) << name;
    EXPECT_EQ(ReadWholeFile(byKeys.File(name)),
              ReadWholeFile(bySwitch.File(name)))
        << name;
  }
  EXPECT_EQ(ReportWithoutSeconds(ReadWholeFile(byKeys.File("r.jsonl"))),
            ReportWithoutSeconds(ReadWholeFile(bySwitch.File("r.jsonl"))));
  // The switch is what made the difference.
  EXPECT_NE(ReadWholeFile(plain.File("rtl.png")),
            ReadWholeFile(bySwitch.File("rtl.png")));
  EXPECT_EQ(ReadWholeFile(plain.File("off.png")),
            ReadWholeFile(bySwitch.File("off.png")));
}

}  // namespace
