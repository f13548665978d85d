// One job that shows every kind of problem, run plain, with -report, with
// -strict and with -dry-run: the log and exit status of a plain run stay as
// they were, the report says what happened to each canvas, -strict fails the
// run while still writing the images, and a dry run writes no image but
// reports the same.

#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/font_files.h"
#include "support/job_text.h"
#include "support/render_fixture.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

const char kStyle[] = R"("fill": "#202020", "font": "sans")";

// The canvases, by index:
//  0 horizontal text cut at the bottom of its area
//  1 vertical text that runs past the left edge of its area
//  2 an unknown font name: the fallback is Droid Sans Fallback, without Latin
//  3 an emoji that DejaVu Sans lacks (it has some, such as U+1F600)
//  4 colours that do not parse, unknown keys, a member of the wrong type
//  5 a canvas skipped for its size
//  6 an element that is no canvas
//  7 an output in a folder that does not exist
//  8 a clean canvas
std::string ProblemJob() {
  return Job({
      Canvas(200, 60, "cut.png",
             std::string(kStyle) + R"(, "default": "one two three four five six",
                 "size": 20, "line_height": 24, "area": [0, 0, 200, 30])"),
      Canvas(60, 120, "left.png",
             R"("fill": "#202020", "font": "cjk", "default": "春眠不觉晓处处闻啼鸟",
                 "size": 20, "line_height": 24, "area": [30, 0, 30, 60],
                 "direction": 1)"),
      Canvas(120, 40, "fallback.png",
             R"("fill": "#202020", "font": "Sans-Blod", "default": "Hello",
                 "size": 20, "line_height": 24, "area": [0, 0, 120, 40])"),
      Canvas(120, 40, "emoji.png",
             std::string(kStyle) + R"(, "default": "Hi 🍕", "size": 20,
                 "line_height": 24, "area": [0, 0, 120, 40])"),
      R"({"size": [120, 40], "output": "colours.png", "sizes": 3, "ui": {
            "default": "Ab", "font": "sans", "size": "48", "fontsize": 30,
            "fill": "goldish", "stroke": "#00000", "width": 2,
            "area": [0, 0, 120, 40], "line_height": 24}})",
      Canvas(0, 10, "skipped.png", kStyle),
      "42",
      Canvas(60, 30, "missing/folder.png", std::string(kStyle) +
             R"(, "default": "A", "size": 16, "area": [0, 0, 60, 30])"),
      Canvas(120, 40, "clean.png", std::string(kStyle) + R"(, "default": "Ok",
             "size": 20, "line_height": 24, "area": [4, 4, 112, 32])"),
  });
}

const Lines kPlainProblems = {
    "Quillmark : canvas 4: \"ui\" key \"size\" ignored: not a whole number in "
    "the 32-bit range",
    "Quillmark : canvas 4: \"ui\" key \"fill\" ignored: not a colour",
    "Quillmark : canvas 4: \"ui\" key \"stroke\" ignored: not a colour",
    "Quillmark : canvas 5 skipped: \"size\" 0 x 10 is not positive",
    "Quillmark : failed to write missing/folder.png: No such file or directory",
};

// Runs a command and returns its exit status and output.
int RunCommand(const std::string& command, std::string* output) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), pipe)) > 0) output->append(buf, n);
  return pclose(pipe);
}

// Each line of the report as a Python dict's repr of the fields `fields`,
// after validating every line against the published schema.
std::string ValidateAndShow(const std::string& report,
                            const std::string& fields) {
  const std::string script =
      "import json, sys, jsonschema\n"
      "schema = json.load(open(sys.argv[1]))\n"
      "jsonschema.Draft202012Validator.check_schema(schema)\n"
      "for text in open(sys.argv[2], encoding='utf-8', errors='surrogateescape'):\n"
      "    line = json.loads(text)\n"
      "    jsonschema.validate(line, schema, cls=jsonschema.Draft202012Validator)\n"
      "    print({k: line[k] for k in sys.argv[3].split(',')})\n";
  std::string output;
  int status = RunCommand("/usr/bin/python3 -c \"" + script + "\" " +
                              QUILLMARK_SOURCE_DIR "/docs/report.schema.json " +
                              report + " " + fields + " 2>&1",
                          &output);
  EXPECT_EQ(0, status) << output;
  return output;
}

class OutcomeTest : public RenderFixture {
 protected:
  RunResult RunWith(const std::vector<std::string>& extra) {
    dir_.Write("fonts.json", TestFontList());
    dir_.Write("job.json", ProblemJob());
    std::vector<std::string> args = {"fonts.json", "job.json"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunQuillmark(args, dir_.path(), 120);
  }
  std::vector<std::string> Images() const {
    std::vector<std::string> names;
    for (const std::string& name : dir_.List())
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0)
        names.push_back(name);
    return names;
  }
};

TEST_F(OutcomeTest, PlainRunKeepsItsLogAndStatus) {
  RunResult run = RunWith({});
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ(kPlainProblems, Problems(run));
  EXPECT_EQ((Lines{"clean.png", "colours.png", "cut.png", "emoji.png",
                   "fallback.png", "left.png"}),
            Images());
}

TEST_F(OutcomeTest, ReportSaysWhatHappenedToEveryCanvas) {
  RunResult run = RunWith({"-report=report.jsonl"});
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ(kPlainProblems, Problems(run));
  // No temporary report is left behind.
  for (const std::string& name : dir_.List())
    EXPECT_EQ(std::string::npos, name.find("quillmark-tmp")) << name;

  const std::string shown = ValidateAndShow(
      dir_.File("report.jsonl"),
      "canvas,status,font_fallback,overflow,missing_glyphs,bad_colours,"
      "unknown_keys");
  const Lines expected = {
      "{'canvas': 0, 'status': 'written', 'font_fallback': False, 'overflow': "
      "['five six'], 'missing_glyphs': [], 'bad_colours': [], "
      "'unknown_keys': {'ui': [], 'canvas': []}}",
      "{'canvas': 1, 'status': 'written', 'font_fallback': False, 'overflow': "
      "['觉晓处', '处闻啼', '鸟'], 'missing_glyphs': [], 'bad_colours': [], "
      "'unknown_keys': {'ui': [], 'canvas': []}}",
      "{'canvas': 2, 'status': 'written', 'font_fallback': True, 'overflow': "
      "[], 'missing_glyphs': ['H', 'e', 'l', 'o'], 'bad_colours': [], "
      "'unknown_keys': {'ui': [], 'canvas': []}}",
      "{'canvas': 3, 'status': 'written', 'font_fallback': False, 'overflow': "
      "[], 'missing_glyphs': ['🍕'], 'bad_colours': [], 'unknown_keys': "
      "{'ui': [], 'canvas': []}}",
      "{'canvas': 4, 'status': 'written', 'font_fallback': False, 'overflow': "
      "['Ab'], 'missing_glyphs': [], 'bad_colours': [{'key': 'fill', 'value': "
      "'goldish'}, {'key': 'stroke', 'value': '#00000'}], 'unknown_keys': "
      "{'ui': ['fontsize'], 'canvas': ['sizes']}}",
      "{'canvas': 5, 'status': 'skipped', 'font_fallback': None, 'overflow': "
      "[], 'missing_glyphs': [], 'bad_colours': [], 'unknown_keys': {'ui': "
      "[], 'canvas': []}}",
      "{'canvas': 6, 'status': 'skipped', 'font_fallback': None, 'overflow': "
      "[], 'missing_glyphs': [], 'bad_colours': [], 'unknown_keys': {'ui': "
      "[], 'canvas': []}}",
      "{'canvas': 7, 'status': 'failed', 'font_fallback': False, 'overflow': "
      "[], 'missing_glyphs': [], 'bad_colours': [], 'unknown_keys': {'ui': "
      "[], 'canvas': []}}",
      "{'canvas': 8, 'status': 'written', 'font_fallback': False, 'overflow': "
      "[], 'missing_glyphs': [], 'bad_colours': [], 'unknown_keys': {'ui': "
      "[], 'canvas': []}}",
  };
  Lines lines;
  size_t start = 0;
  while (start < shown.size()) {
    size_t end = shown.find('\n', start);
    lines.push_back(shown.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_EQ(expected, lines);

  // The details that the table above leaves out. Canvas 4's "size" is
  // ignored, so its text is laid out at no size.
  const std::string details = ValidateAndShow(
      dir_.File("report.jsonl"), "output,reason,font_size,lines,ignored");
  EXPECT_NE(std::string::npos,
            details.find("'output': 'cut.png', 'reason': None, 'font_size': "
                         "20, 'lines': [{'text': 'one two three four ', 'x': 0, 'y': 15}]"))
      << details;
  EXPECT_NE(std::string::npos,
            details.find("'reason': '\"size\" 0 x 10 is not positive'"))
      << details;
  EXPECT_NE(std::string::npos,
            details.find("'reason': 'failed to write missing/folder.png: No "
                         "such file or directory'"))
      << details;
  EXPECT_NE(std::string::npos,
            details.find("'ignored': [{'key': 'size', 'why': 'not a whole "
                         "number in the 32-bit range'}]"))
      << details;
}

TEST_F(OutcomeTest, StrictFailsTheRunButWritesTheImages) {
  RunResult run = RunWith({"-strict"});
  EXPECT_EQ(1, run.exitCode);
  Lines strict;
  for (const std::string& line : Problems(run))
    if (std::find(kPlainProblems.begin(), kPlainProblems.end(), line) ==
        kPlainProblems.end())
      strict.push_back(line);
  EXPECT_EQ((Lines{
                "Quillmark : canvas 0 (cut.png): text does not fit the area: "
                "\"five six\"",
                "Quillmark : canvas 1 (left.png): text does not fit the area: "
                "\"觉晓处\", \"处闻啼\", \"鸟\"",
                "Quillmark : canvas 2 (fallback.png): font \"Sans-Blod\" is not "
                "in the font list; \"" QUILLMARK_TEST_CJK "\" was used",
                "Quillmark : canvas 2 (fallback.png): no glyph in \"" QUILLMARK_TEST_CJK
                "\" for \"H\", \"e\", \"l\", \"o\"",
                "Quillmark : canvas 3 (emoji.png): no glyph in \"" QUILLMARK_TEST_SANS
                "\" for \"🍕\"",
                "Quillmark : canvas 4 (colours.png): text does not fit the area: "
                "\"Ab\"",
                "Quillmark : canvas 4 (colours.png): unknown key \"fontsize\" in "
                "\"ui\"",
                "Quillmark : canvas 4 (colours.png): unknown key \"sizes\" in the "
                "canvas",
                "Quillmark : canvas 4 (colours.png): colour \"goldish\" of "
                "\"fill\" does not parse",
                "Quillmark : canvas 4 (colours.png): colour \"#00000\" of "
                "\"stroke\" does not parse",
                "Quillmark : canvas 4 (colours.png): \"ui\" key \"size\" "
                "ignored: not a whole number in the 32-bit range",
                "Quillmark : canvas 5 not drawn: \"size\" 0 x 10 is not positive",
                "Quillmark : canvas 6 not drawn: not a canvas: it needs a "
                "\"size\" array, a \"ui\" object and an \"output\" string",
            }),
            strict);
  EXPECT_EQ((Lines{"clean.png", "colours.png", "cut.png", "emoji.png",
                   "fallback.png", "left.png"}),
            Images());
}

TEST_F(OutcomeTest, DryRunWritesNoImageAndReportsTheSame) {
  RunResult real = RunWith({"-report=real.jsonl"});
  for (const std::string& name : Images()) remove(dir_.File(name).c_str());
  RunResult dry = RunWith({"-report=dry.jsonl", "-dry-run"});
  EXPECT_EQ(real.exitCode, dry.exitCode);
  EXPECT_EQ(Problems(real), Problems(dry));
  EXPECT_EQ(Lines{}, Images());
  const std::string fields =
      "canvas,output,status,reason,direction,font,font_file,font_fallback,"
      "font_size,lines,overflow,missing_glyphs,bad_colours,ignored,"
      "unknown_keys";
  EXPECT_EQ(ValidateAndShow(dir_.File("real.jsonl"), fields),
            ValidateAndShow(dir_.File("dry.jsonl"), fields));
}

TEST_F(OutcomeTest, AReportThatCannotBeWrittenFailsTheRun) {
  dir_.Write("fonts.json", TestFontList());
  dir_.Write("job.json", Job({Canvas(60, 30, "a.png", std::string(kStyle) +
                                     R"(, "default": "A", "size": 16)")}));
  RunResult run = RunQuillmark({"fonts.json", "job.json", "-report=no/r.jsonl"},
                               dir_.path(), 60);
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ((Lines{"Quillmark : failed to write the report no/r.jsonl: No such "
                   "file or directory"}),
            Problems(run));
  EXPECT_TRUE(FileExists(dir_.File("a.png")));
}

TEST_F(OutcomeTest, AFontWhoseGlyphsDoNotLoadIsUnreadable) {
  for (FontDamage damage : {FontDamage::kGlyfOverwritten,
                            FontDamage::kLocaOverwritten, FontDamage::kGlyfCut}) {
    TempDir dir;
    const std::string damaged = DamagedFontCopy(dir, damage);
    dir.Write("fonts.json", "{\"sans\": \"" QUILLMARK_TEST_SANS "\", \"damaged\": \"" +
                                damaged + "\"}");
    dir.Write("job.json",
              Job({Canvas(60, 30, "a.png", R"("default": "A", "font": "damaged",
                                             "size": 16, "fill": "red")"),
                   Canvas(60, 30, "b.png", std::string(kStyle) +
                                               R"(, "default": "B", "size": 16)")}));
    RunResult run = RunQuillmark({"fonts.json", "job.json"}, dir.path(), 60);
    const int which = static_cast<int>(damage);
    EXPECT_EQ(1, run.exitCode) << which;
    EXPECT_EQ((Lines{"Quillmark : unable to read font " + damaged}), Problems(run))
        << which;
    EXPECT_FALSE(FileExists(dir.File("a.png"))) << which;
    EXPECT_TRUE(FileExists(dir.File("b.png"))) << which;
  }
}

}  // namespace
