// Hostile input, part three: text. Wrapped text keeps every character
// after an invalid byte, blank text fits, vertical "valign" places the
// ink, strict lines are cut between characters.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/image_reader.h"
#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kFffd = "\xEF\xBF\xBD";

std::string WrappedUi(const std::string& text, const std::string& extra = "") {
  return R"("default": ")" + text +
         R"(", "font": "sans", "size": 20, "area": [2, 2, 396, 56],
            "fill": "red", "wrap": "word")" + extra;
}

RunResult RunIn(const TempDir& dir, const std::vector<std::string>& canvases,
                const std::vector<std::string>& extra = {}) {
  dir.Write("fonts.json", TestFontList());
  dir.Write("job.json", Job(canvases));
  std::vector<std::string> args = {"fonts.json", "job.json",
                                   "-report=report.jsonl"};
  args.insert(args.end(), extra.begin(), extra.end());
  return RunQuillmark(args, dir.path(), 60);
}

// Row 8: each invalid byte is one U+FFFD, and what follows stays: in the
// image (the same pixels as the text with U+FFFD written out) and in the
// report.
TEST(HostileTextTest, WrappedTextKeepsTheCharactersAfterAnInvalidByte) {
  TempDir dir;
  RunResult run = RunIn(
      dir, {Canvas(400, 60, "cafe.png", WrappedUi("caf\xE9 au lait")),
            Canvas(400, 60, "cafe_ok.png", WrappedUi("caf" + kFffd + " au lait")),
            Canvas(400, 60, "abcd.png", WrappedUi("ab\xFF" "cd ef")),
            Canvas(400, 60, "abcd_ok.png", WrappedUi("ab" + kFffd + "cd ef"))});
  EXPECT_EQ(0, run.exitCode) << run.output;
  const Lines report = SplitLines(ReadWholeFile(dir.File("report.jsonl")));
  ASSERT_EQ(4u, report.size());
  EXPECT_NE(std::string::npos,
            report[0].find("\"text\":\"caf" + kFffd + " au lait\""))
      << report[0];
  EXPECT_NE(std::string::npos,
            report[2].find("\"text\":\"ab" + kFffd + "cd ef\""))
      << report[2];
  for (const char* name : {"cafe", "abcd"}) {
    const RgbaImage got = ReadRgbaImage(dir.File(std::string(name) + ".png"));
    const RgbaImage want =
        ReadRgbaImage(dir.File(std::string(name) + "_ok.png"));
    ASSERT_TRUE(got.ok && want.ok);
    EXPECT_GT(CountOpaque(want), 0);
    EXPECT_EQ(0, CountDifferentIn(got, want, {0, 0, 399, 59})) << name;
  }
}

// Row 9: blank text with "wrap" and fitting, in an area lower than a line:
// the starting size, no overflow, no strict problem.
TEST(HostileTextTest, BlankTextFitsAtTheStartingSize) {
  TempDir dir;
  std::vector<std::string> canvases;
  const std::vector<std::string> blanks = {"   ", "\\t", " \\n ",
                                           "\xE3\x80\x80"};
  for (int direction : {0, 1})
    for (size_t i = 0; i < blanks.size(); ++i)
      canvases.push_back(Canvas(
          100, 100, "b" + std::to_string(direction) + std::to_string(i) + ".png",
          R"("default": ")" + blanks[i] +
              R"(", "font": "cjk", "size": 40, "line_height": 48,
                 "area": [10, 10, 30, 30], "fill": "red", "wrap": "word",
                 "adjustToFit": true, "direction": )" +
              std::to_string(direction)));
  RunResult run = RunIn(dir, canvases, {"-strict"});
  EXPECT_EQ(0, run.exitCode) << run.output;
  EXPECT_TRUE(Problems(run).empty()) << run.output;
  for (const std::string& line :
       SplitLines(ReadWholeFile(dir.File("report.jsonl")))) {
    EXPECT_NE(std::string::npos, line.find("\"font_size\":40,")) << line;
    EXPECT_NE(std::string::npos, line.find("\"overflow\":[]")) << line;
  }
}

// Row 11: a strict line that shortens a long text cuts it between
// characters: no escaped byte of a broken UTF-8 sequence. No size shows
// the text, so the whole of it is what does not fit.
TEST(HostileTextTest, StrictLinesCutBetweenCharacters) {
  TempDir dir;
  std::string text = "a";  // one byte first: byte 120 is inside an é
  for (int i = 0; i < 80; ++i)
    text += "\xC3\xA9";
  RunResult run = RunIn(
      dir, {Canvas(60, 30, "cut.png",
                   R"("default": ")" + text +
                       R"(", "font": "sans", "size": 20, "area": [0, 0, 1, 1],
                          "fill": "red", "adjustToFit": true)")},
      {"-strict"});
  EXPECT_EQ(1, run.exitCode);
  const Lines problems = Problems(run);
  ASSERT_EQ(1u, problems.size()) << run.output;
  EXPECT_NE(std::string::npos, problems[0].find("text does not fit the area"));
  EXPECT_EQ(std::string::npos, problems[0].find("\\x")) << problems[0];
  EXPECT_NE(std::string::npos, problems[0].find("\xC3\xA9...\""))
      << problems[0];
}

// Row 10: vertical "valign" measures the glyphs' ink: 1 leaves as much at
// the left edge as 0 leaves at the right one, and 2 puts the ink's middle
// within 1 px of the area's middle; also for turned units (ー) and Latin
// letters with wide side bearings.
TEST(HostileTextTest, VerticalValignPlacesTheInk) {
  struct Case {
    std::string text, font, extra;
    int size;
  };
  const std::vector<Case> cases = {
      {"\u6625\u7720\u4e0d\u89c9\u6653\u5904\u5904", "cjk", "", 100},
      {"ilil", "sans", "", 100},
      {"\u30fc\u30fc\u30fc", "cjk",
       R"(, "vertical_forms": true, "wrap": "word")", 100}};
  TempDir dir;
  std::vector<std::string> canvases;
  for (size_t i = 0; i < cases.size(); ++i)
    for (int valign : {0, 1, 2})
      canvases.push_back(Canvas(
          600, 400, "v" + std::to_string(i) + std::to_string(valign) + ".png",
          R"("default": ")" + cases[i].text + R"(", "font": ")" +
              cases[i].font + R"(", "size": )" +
              std::to_string(cases[i].size) +
              R"(, "line_height": 120, "area": [20, 20, 560, 360],
                 "fill": "red", "direction": 1, "valign": )" +
              std::to_string(valign) + cases[i].extra));
  RunResult run = RunIn(dir, canvases);
  ASSERT_EQ(0, run.exitCode) << run.output;
  for (size_t i = 0; i < cases.size(); ++i) {
    Box box[3];
    for (int valign : {0, 1, 2}) {
      box[valign] = OpaqueBox(ReadRgbaImage(
          dir.File("v" + std::to_string(i) + std::to_string(valign) + ".png")));
      ASSERT_FALSE(box[valign].empty()) << i;
    }
    const int rightGapOf0 = 579 - box[0].x1;
    const int leftGapOf1 = box[1].x0 - 20;
    EXPECT_LE(std::abs(leftGapOf1 - rightGapOf0), 1)
        << i << ": " << Describe(box[0]) << " / " << Describe(box[1]);
    const double middle = (box[2].x0 + box[2].x1 + 1) / 2.0;
    EXPECT_LE(std::abs(middle - 300.0), 1.0) << i << ": " << Describe(box[2]);
  }
}

}  // namespace
