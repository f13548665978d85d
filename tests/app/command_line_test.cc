#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Parsed {
  RunOptions options;
  std::vector<std::string> problems;
  std::vector<std::string> unknown;
};

Parsed Parse(std::vector<const char*> extra, int cores = 6) {
  std::vector<const char*> argv = {"Quillmark", "fonts.json", "job.json"};
  argv.insert(argv.end(), extra.begin(), extra.end());
  Parsed parsed;
  ReadRunOptions(static_cast<int>(argv.size()), argv.data(), cores,
                 &parsed.options, &parsed.problems, &parsed.unknown);
  return parsed;
}

TEST(RunOptionsTest, WithoutArgumentsARunIsOneCanvasAtATime) {
  Parsed p = Parse({"-adjustToFit", "jobs=3", "-Jobs=3", "-strictly",
                    "-progres"});
  EXPECT_EQ(1, p.options.jobs);
  EXPECT_EQ(0, p.options.shardIndex);
  EXPECT_EQ(1, p.options.shardCount);
  EXPECT_EQ(0u, p.options.memoryBudgetBytes);
  EXPECT_EQ(60, p.options.timeoutSeconds);
  EXPECT_EQ("", p.options.reportPath);
  EXPECT_FALSE(p.options.strict);
  EXPECT_FALSE(p.options.dryRun);
  EXPECT_FALSE(p.options.progress);
  EXPECT_FALSE(p.options.defaults.wrapWords);
  EXPECT_EQ(0, p.options.defaults.blockAlign);
  EXPECT_FALSE(p.options.defaults.verticalForms);
  EXPECT_FALSE(p.options.defaults.shapeText);
  EXPECT_TRUE(p.problems.empty());
  EXPECT_EQ((std::vector<std::string>{
                "argument \"-Jobs=3\" not recognised (did you mean -jobs=3?)",
                "argument \"-strictly\" not recognised (did you mean -strict?)",
                "argument \"-progres\" not recognised (did you mean "
                "-progress?)"}),
            p.unknown);
}

TEST(RunOptionsTest, ReadsEveryArgumentFromTheThirdOn) {
  Parsed p = Parse({"-jobs=3", "-shard=2/5", "-memory=512", "-timeout=0",
                    "-report=out/r.jsonl", "-strict", "-dry-run",
                    "-wrap=word", "-valign=2", "-vertical-forms",
                    "-progress", "-shape", "-png-compression=0"});
  EXPECT_EQ(3, p.options.jobs);
  EXPECT_EQ(2, p.options.shardIndex);
  EXPECT_EQ(5, p.options.shardCount);
  EXPECT_EQ(uint64_t{512} << 20, p.options.memoryBudgetBytes);
  EXPECT_EQ(0, p.options.timeoutSeconds);
  EXPECT_EQ("out/r.jsonl", p.options.reportPath);
  EXPECT_TRUE(p.options.strict);
  EXPECT_TRUE(p.options.dryRun);
  EXPECT_TRUE(p.options.progress);
  EXPECT_TRUE(p.options.defaults.wrapWords);
  EXPECT_EQ(2, p.options.defaults.blockAlign);
  EXPECT_TRUE(p.options.defaults.verticalForms);
  EXPECT_TRUE(p.options.defaults.shapeText);
  EXPECT_EQ(0, p.options.pngCompression);
  EXPECT_TRUE(p.problems.empty());
  EXPECT_TRUE(p.unknown.empty());
  EXPECT_EQ(6, Parse({"-jobs=auto"}).options.jobs);
  EXPECT_EQ(1, Parse({"-jobs=auto"}, 0).options.jobs);
  EXPECT_EQ(-1, Parse({}).options.pngCompression);
  EXPECT_EQ(9, Parse({"-png-compression=9"}).options.pngCompression);
}

TEST(RunOptionsTest, ValuesThatCannotBeUsedAreLeftOutWithAProblem) {
  for (const char* arg :
       {"-jobs=0", "-jobs=-2", "-jobs=2x", "-jobs=", "-jobs=99999999999999999999",
        "-shard=4/4", "-shard=1", "-shard=/2", "-shard=1/0", "-shard=-1/2",
        "-memory=0", "-timeout=-1", "-timeout= 5", "-report=", "-jobs",
        "-wrap=", "-wrap=words", "-valign=3", "-valign=-1",
        "-png-compression=10", "-png-compression=-1", "-png-compression=",
        "-png-compression=5x", "-png-compression"}) {
    Parsed p = Parse({arg});
    ASSERT_EQ(1u, p.problems.size()) << arg;
    EXPECT_EQ(std::string("argument ") + arg + ": its value cannot be used",
              p.problems[0]);
    EXPECT_EQ(1, p.options.jobs) << arg;
    EXPECT_EQ(1, p.options.shardCount) << arg;
    EXPECT_EQ(60, p.options.timeoutSeconds) << arg;
    EXPECT_EQ(-1, p.options.pngCompression) << arg;
  }
}

}  // namespace
