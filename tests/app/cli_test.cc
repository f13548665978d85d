// Runs the built Quillmark binary and checks its log lines and exit status.

#include <MagickWand/MagickWand.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

const char kUsage[] =
    "Quillmark : invalid arguments, use: ./Quillmark /path/to/font_list.json "
    "/path/to/config_content.json";
const char kFontsFatal[] = "Quillmark : empty font_list.json or parse error";
const char kJobFatal[] = "Quillmark : empty text json or parse error";


// The first line of every run with two paths: the image library's version
// text and number.
std::string VersionLine() {
  size_t number = 0;
  const char* text = MagickGetVersion(&number);
  return std::string(text) + ", " + std::to_string(static_cast<int>(number));
}

std::string SettingsLine(int adjustToFit, int ignoreLineHeight) {
  return "quillmark global setting: ajustToFit: " + std::to_string(adjustToFit) +
         ", ignoreLineHeight: " + std::to_string(ignoreLineHeight);
}

// The two lines that every run with two paths starts with.
Lines StartLines(int adjustToFit = 0, int ignoreLineHeight = 0) {
  return {VersionLine(), SettingsLine(adjustToFit, ignoreLineHeight)};
}

Lines Concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A folder with a valid font list and a job file, for runs that get past the
// font list.
class CliTest : public ::testing::Test {
 protected:
  std::string WriteJob(const std::string& text) {
    return dir_.Write("job.json", text);
  }
  TempDir dir_;
  std::string fonts_ = dir_.Write("fonts.json", TestFontList());
};

TEST(UsageTest, FewerThanTwoPathsPrintOnlyTheUsageLine) {
  for (const Lines& args : {Lines{}, Lines{"fonts.json"}}) {
    RunResult r = RunQuillmark(args);
    EXPECT_EQ(1, r.exitCode) << args.size();
    ASSERT_EQ(1u, r.lines.size()) << r.output;
    EXPECT_TRUE(HasLogPrefix(r.lines[0])) << r.lines[0];
    EXPECT_EQ(kUsage, r.messages[0]);
    EXPECT_EQ("", r.errors);
  }
}

TEST_F(CliTest, TwoPathsLogVersionAndSettingsWithPrefix) {
  std::string job = WriteJob("[]");
  RunResult r = RunQuillmark({fonts_, job});
  EXPECT_EQ(0, r.exitCode);
  EXPECT_EQ(StartLines(), r.messages);
  ASSERT_EQ(2u, r.lines.size());
  for (const std::string& line : r.lines) EXPECT_TRUE(HasLogPrefix(line)) << line;
  // The version text is ImageMagick 7's, followed by its number in decimal.
  const std::string& version = r.messages[0];
  size_t comma = version.rfind(", ");
  EXPECT_EQ(0u, version.find("ImageMagick 7.")) << version;
  ASSERT_NE(std::string::npos, comma) << version;
  EXPECT_EQ(std::string::npos, version.find_first_not_of("0123456789", comma + 2))
      << version;
  EXPECT_EQ("", r.errors);
}

TEST_F(CliTest, FlagsAreReadExactlyFromTheThirdArgumentOn) {
  // An argument that starts with '-' and is none of Quillmark's is said, with
  // the closest one when one is close; it sets nothing.
  struct Case { Lines flags; int adjustToFit; int ignoreLineHeight; Lines notes; };
  auto typo = [](const std::string& arg, const std::string& meant) {
    return "Quillmark : argument \"" + arg + "\" not recognised (did you mean " +
           meant + "?)";
  };
  const std::vector<Case> cases = {
      {{"-adjustToFit"}, 1, 0, {}},
      {{"-ignoreLineHeight"}, 0, 1, {}},
      {{"-adjustToFit", "-ignoreLineHeight"}, 1, 1, {}},
      {{"-ignoreLineHeight", "extra", "-adjustToFit", "-adjustToFit"}, 1, 1, {}},
      {{"-AdjustToFit"}, 0, 0, {typo("-AdjustToFit", "-adjustToFit")}},
      {{"adjustToFit"}, 0, 0, {}},
      {{"--adjustToFit"}, 0, 0, {typo("--adjustToFit", "-adjustToFit")}},
      {{"-adjustToFit=1"}, 0, 0, {typo("-adjustToFit=1", "-adjustToFit")}},
      {{"-adjustToFi"}, 0, 0, {typo("-adjustToFi", "-adjustToFit")}},
      {{"-adjustToFit "}, 0, 0, {typo("-adjustToFit ", "-adjustToFit")}},
      {{"-ignorelineheight", ""}, 0, 0,
       {typo("-ignorelineheight", "-ignoreLineHeight")}},
      {{"-"}, 0, 0, {"Quillmark : argument \"-\" not recognised"}},
  };
  std::string job = WriteJob("[]");
  for (const Case& k : cases) {
    RunResult r = RunQuillmark(Concat({fonts_, job}, k.flags));
    std::string shown = k.flags.empty() ? "" : k.flags[0];
    EXPECT_EQ(0, r.exitCode) << shown;
    EXPECT_EQ(Concat(StartLines(k.adjustToFit, k.ignoreLineHeight), k.notes),
              r.messages)
        << shown;
  }
}

TEST_F(CliTest, MistypedArgumentsAreSaidAndFailAStrictRunBeforeAnyCanvas) {
  TempDir out;
  std::string job = WriteJob(R"([{"size": [40, 20], "output": ")" +
                             out.File("a.png") +
                             R"(", "ui": {"default": "A", "font": "sans",
                                "size": 12, "fill": "black"}}])");
  const std::string dryrun =
      "Quillmark : argument \"-dryrun\" not recognised (did you mean -dry-run?)";
  RunResult lax = RunQuillmark({fonts_, job, "-dryrun", "--jobs=2"});
  EXPECT_EQ(0, lax.exitCode);
  EXPECT_EQ(Concat(StartLines(),
                   {dryrun, "Quillmark : argument \"--jobs=2\" not recognised "
                            "(did you mean -jobs=2?)"}),
            lax.messages);
  EXPECT_EQ(Lines{"a.png"}, out.List());  // the run went on: it was drawn

  std::remove(out.File("a.png").c_str());
  RunResult strict = RunQuillmark({fonts_, job, "-dryrun", "-strict"});
  EXPECT_EQ(1, strict.exitCode);
  EXPECT_EQ(Concat(StartLines(), {dryrun}), strict.messages);
  EXPECT_TRUE(out.List().empty());
}

TEST_F(CliTest, ANewArgumentWithABadValueRendersNothing) {
  TempDir out;
  std::string job = WriteJob(R"([{"size": [40, 20], "output": ")" +
                             out.File("a.png") +
                             R"(", "ui": {"default": "A", "font": "sans",
                                "size": 12, "fill": "black"}}])");
  for (const char* arg : {"-shard=3/2", "-jobs=x", "-timeout=-1",
                          "-memory=abc", "-jobs", "-wrap=line", "-valign=3",
                          "-png-compression=10"}) {
    RunResult r = RunQuillmark({fonts_, job, arg});
    EXPECT_EQ(1, r.exitCode) << arg;
    EXPECT_EQ(Concat(StartLines(), {std::string("Quillmark : argument ") + arg +
                                    ": its value cannot be used"}),
              r.messages);
    EXPECT_TRUE(out.List().empty()) << arg;
  }
}

TEST(InformationTest, HelpAndVersionAreTheOnlyArgument) {
  for (const char* arg : {"--help", "-h"}) {
    RunResult help = RunQuillmark({arg});
    EXPECT_EQ(0, help.exitCode) << arg;
    EXPECT_EQ(0u, help.output.find("usage: Quillmark FONT_LIST.json JOB.json"));
    for (const char* named : {"-adjustToFit", "-ignoreLineHeight", "-jobs=N",
                              "-shard=I/N", "-memory=MiB", "-timeout=SECONDS",
                              "-report=PATH", "-strict", "-dry-run",
                              "-wrap=word", "-valign=N", "-vertical-forms",
                              "-progress", "-shape",
                              "--version", "README.md"})
      EXPECT_NE(std::string::npos, help.output.find(named)) << named;
  }
  RunResult version = RunQuillmark({"--version"});
  EXPECT_EQ(0, version.exitCode);
  Lines lines = SplitLines(version.output);
  ASSERT_EQ(4u, lines.size()) << version.output;
  EXPECT_EQ(0u, lines[0].find("Quillmark "));
  EXPECT_EQ(MagickGetVersion(nullptr), lines[1]);
  EXPECT_EQ(0u, lines[2].find("FreeType 2."));
  EXPECT_EQ(0u, lines[3].find("ICU "));
  // Beside the paths it is an argument like any other.
  EXPECT_EQ(1, RunQuillmark({"--help", "fonts.json"}).exitCode);
}

TEST_F(CliTest, FlagGivenFirstIsTakenAsTheFontListPath) {
  std::string job = WriteJob("[]");
  RunResult r = RunQuillmark({"-adjustToFit", fonts_, job}, dir_.path());
  EXPECT_EQ(1, r.exitCode);
  EXPECT_EQ(Concat(StartLines(0, 0),
                   {"File not exist -adjustToFit", kFontsFatal}),
            r.messages);
}

TEST_F(CliTest, MissingFontListStopsBeforeTheJobIsOpened) {
  std::string fonts = dir_.File("no-fonts.json");
  std::string job = dir_.File("no-job.json");  // would log a line if opened
  RunResult r = RunQuillmark({fonts, job, "-ignoreLineHeight"});
  EXPECT_EQ(1, r.exitCode);
  EXPECT_EQ(Concat(StartLines(0, 1), {"File not exist " + fonts, kFontsFatal}),
            r.messages);
}

TEST_F(CliTest, FontListWithoutUsableFontsIsFatal) {
  // Which texts give no fonts, and the lines that say why, is the font
  // registry's and the JSON reader's to test: here one that does not parse
  // and one without a member.
  std::string job = dir_.File("no-job.json");
  std::string fonts = dir_.File("fonts.json");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "Quillmark : " + fonts +
               ": parse error at byte 0: The document is empty."},
      {"{}", ""},
  };
  for (const auto& [text, why] : cases) {
    dir_.Write("fonts.json", text);
    RunResult r = RunQuillmark({fonts, job});
    EXPECT_EQ(1, r.exitCode) << text;
    Lines expected = StartLines();
    if (!why.empty()) expected.push_back(why);
    expected.push_back(kFontsFatal);
    EXPECT_EQ(expected, r.messages) << text;
  }
}

TEST_F(CliTest, FontListWhoseMembersAreAllLeftOutIsFatal) {
  std::string fonts =
      dir_.Write("fonts.json", R"({"sans": 1, "mono": "@/etc/fonts.txt"})");
  RunResult r = RunQuillmark({fonts, WriteJob("[]")});
  EXPECT_EQ(1, r.exitCode);
  EXPECT_EQ(Concat(StartLines(),
                   {"Quillmark : font \"sans\" left out: its value is not a "
                    "string",
                    "Quillmark : font \"mono\" left out: its path begins with "
                    "'@', '-' or '^'",
                    kFontsFatal}),
            r.messages);
}

TEST_F(CliTest, MissingJobFileIsFatal) {
  std::string job = dir_.File("no-job.json");
  RunResult r = RunQuillmark({fonts_, job});
  EXPECT_EQ(1, r.exitCode);
  EXPECT_EQ(Concat(StartLines(), {"File not exist " + job, kJobFatal}),
            r.messages);
}

TEST_F(CliTest, JobFileThatIsNotAJsonArrayIsFatal) {
  // Which texts are no job is the job reader's to test, and where a parse
  // error lies the JSON reader's: here one that does not parse, the error
  // counted in the file after a byte-order mark and a lone surrogate, and
  // one whose root is no array. No canvas of either is drawn.
  const std::string job = dir_.File("job.json");
  const std::string canvas = R"({"size": [10, 10], "output": "a.png", "ui": {}})";
  const std::string broken = "\xEF\xBB\xBF[" + canvas + R"(, "\ud800 \q"])";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {broken, ": parse error at byte " + std::to_string(broken.find("\\q")) +
                   ": Invalid escape character in string."},
      {canvas, ": the root is not an array"},
  };
  for (const auto& [text, why] : cases) {
    WriteJob(text);
    RunResult r = RunQuillmark({fonts_, job}, dir_.path());
    EXPECT_EQ(1, r.exitCode) << text;
    EXPECT_EQ(Concat(StartLines(), {"Quillmark : " + job + why, kJobFatal}),
              r.messages);
    EXPECT_EQ((Lines{"fonts.json", "job.json"}), dir_.List());
  }
}

TEST_F(CliTest, DeeplyNestedValuesAreReadLikeAnyOther) {
  // Nesting deep enough to exhaust an 8 MiB stack if anything that reads
  // the files recursed.
  const int kDeep = 1000000;
  const std::string deep = std::string(kDeep, '[') + std::string(kDeep, ']');
  dir_.Write("fonts.json",
             "{\"deep\": " + deep + ", \"sans\": \"" QUILLMARK_TEST_SANS "\"}");
  WriteJob("[" + deep + R"(, {"size": [40, 20], "output": "a.png",
           "ui": {"default": "A", "font": "sans", "size": 12, "deep": )" +
           deep + "}}]");
  RunResult r = RunQuillmark({"fonts.json", "job.json", "-strict"}, dir_.path());
  EXPECT_EQ(1, r.exitCode);  // for the unknown key
  EXPECT_EQ(Concat(StartLines(),
                   {"Quillmark : font \"deep\" left out: its value is not a string",
                    "Quillmark : canvas 0 not drawn: not a canvas: it needs a "
                    "\"size\" array, a \"ui\" object and an \"output\" string",
                    "Quillmark : canvas 1 (a.png): unknown key \"deep\" in \"ui\""}),
            r.messages);
  EXPECT_EQ((Lines{"a.png", "fonts.json", "job.json"}), dir_.List());
}

TEST_F(CliTest, JobWithoutACanvasToDrawEndsWithStatusZero) {
  // An empty array, and one whose elements are all skipped. The relative
  // paths are taken from the working directory.
  for (const std::string text :
       {" \r\n[ ]\r\n", R"([1, {"size": [10, 10], "output": 2, "ui": {}},
                              {"size": [10, 10], "output": "x.png"}])"}) {
    WriteJob(text);
    RunResult r = RunQuillmark({"fonts.json", "job.json"}, dir_.path());
    EXPECT_EQ(0, r.exitCode) << text;
    EXPECT_EQ(StartLines(), r.messages) << text;
    EXPECT_EQ((Lines{"fonts.json", "job.json"}), dir_.List());
  }
}

TEST_F(CliTest, SkippedCanvasesDoNotDisturbTheOthersOrTheStatus) {
  TempDir out;
  auto canvas = [](const std::string& output, const std::string& ui) {
    return R"({"size": [40, 20], "output": )" + output + R"(, "ui": )" + ui +
           "}";
  };
  const std::string ui = R"({"default": "A", "font": "sans", "size": 12,
                             "fill": "black"})";
  std::string job = WriteJob(
      "[" + canvas("\"" + out.File("a.png") + "\"", ui) + ", " +
      canvas("5", ui) + ", " +
      canvas("\"" + out.File("b.png") + "\"", "[]") + ", 7, " +
      R"({"size": [0, 20], "output": ")" + out.File("c.png") +
      R"(", "ui": {}}, )" +
      canvas("\"" + out.File("d.png") + "\"", ui) + "]");
  RunResult r = RunQuillmark({fonts_, job});
  EXPECT_EQ(0, r.exitCode) << r.output;
  EXPECT_EQ(Concat(StartLines(),
                   {"Quillmark : canvas 4 skipped: \"size\" 0 x 20 is not "
                    "positive"}),
            r.messages);
  EXPECT_EQ((Lines{"a.png", "d.png"}), out.List());
}

}  // namespace
