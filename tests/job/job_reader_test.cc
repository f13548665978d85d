#include "job/job_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_quillmark.h"

namespace {

// The outcome of reading one canvas.
struct Canvas {
  bool read = false;                  // false: skipped
  TextInfo info;
  std::vector<std::string> messages;  // log lines, without their prefix
};

// Reads `canvasJson`, a single canvas, as element `index` of a job.
Canvas ReadJson(const std::string& canvasJson, Setting flags = {},
                float scale = 1.0f, int index = 0) {
  Canvas result;
  rapidjson::Document doc;
  bool parsed = ParseJob("[" + canvasJson + "]", &doc);
  EXPECT_TRUE(parsed) << canvasJson;
  if (!parsed) return result;
  CanvasRead read = ReadCanvas(doc[0], flags, scale);
  result.read = read.drawable();
  result.info = read.info;
  result.messages = ReadingMessages(index, read);
  return result;
}

// A valid 100 x 50 canvas whose "ui" object holds `uiMembers`.
Canvas ReadUi(const std::string& uiMembers, Setting flags = {},
              float scale = 1.0f, int index = 0) {
  return ReadJson(R"({"size": [100, 50], "output": "out.png", "ui": {)" +
                      uiMembers + "}}",
                  flags, scale, index);
}

using Lines = std::vector<std::string>;

std::string Ignored(int index, const std::string& key, const std::string& why) {
  return "Quillmark : canvas " + std::to_string(index) + ": \"ui\" key \"" +
         key + "\" ignored: " + why;
}

std::string BeyondLimit(int index, const std::string& key) {
  return "Quillmark : canvas " + std::to_string(index) + " skipped: \"" + key +
         "\" gives a value beyond the limit of 16384";
}

const char kNotInt[] = "not a whole number in the 32-bit range";

// --- Parsing the job text ---------------------------------------------------

TEST(ParseJobTest, AcceptsOnlyAStrictJsonArray) {
  rapidjson::Document doc;
  EXPECT_TRUE(ParseJob("[]", &doc));
  EXPECT_TRUE(ParseJob(" \t\r\n[ {}, 1 ]\r\n ", &doc));
  EXPECT_EQ(2u, doc.Size());
  // A byte-order mark at the start is skipped.
  EXPECT_TRUE(ParseJob("\xEF\xBB\xBF[1]", &doc));
  EXPECT_EQ(1u, doc.Size());

  const std::vector<std::string> rejected = {
      "", "  \n", "{}", "{\"size\": [1, 1]}", "1", "\"[]\"", "null", "true",
      "[", "[1,]", "[] []", "[] x", "\xEF\xBB\xBF", "\xEF\xBB\xBF\xEF\xBB\xBF[]",
      " \xEF\xBB\xBF[]", "// job\n[]", "/* */[]", "[] // job", "[NaN]",
      "[Infinity]", "['a']",
  };
  for (const std::string& text : rejected)
    EXPECT_FALSE(ParseJob(text, &doc)) << text;
}

TEST(ParseJobTest, ANulByteEndsTheText) {
  rapidjson::Document doc;
  EXPECT_TRUE(ParseJob(std::string("[]\0 garbage", 11), &doc));
  EXPECT_FALSE(ParseJob(std::string("[\0]", 3), &doc));
}

// --- The skip rule ------------------------------------------------------------

TEST(SkipRuleTest, MissingOrMistypedCanvasMembersSkipSilently) {
  const std::vector<std::string> canvases = {
      R"({"output": "a.png", "ui": {}})",
      R"({"size": {"w": 1, "h": 1}, "output": "a.png", "ui": {}})",
      R"({"size": "100x50", "output": "a.png", "ui": {}})",
      R"({"size": 100, "output": "a.png", "ui": {}})",
      R"({"size": null, "output": "a.png", "ui": {}})",
      R"({"size": [100, 50], "output": "a.png"})",
      R"({"size": [100, 50], "output": "a.png", "ui": []})",
      R"({"size": [100, 50], "output": "a.png", "ui": "x"})",
      R"({"size": [100, 50], "output": "a.png", "ui": null})",
      R"({"size": [100, 50], "ui": {}})",
      R"({"size": [100, 50], "output": 5, "ui": {}})",
      R"({"size": [100, 50], "output": ["a.png"], "ui": {}})",
      R"({"size": [100, 50], "output": null, "ui": {}})",
      // Names match exactly and case-sensitively.
      R"({"Size": [100, 50], "output": "a.png", "ui": {}})",
      R"({"size": [100, 50], "Output": "a.png", "ui": {}})",
      R"({"size": [100, 50], "output": "a.png", "UI": {}})",
      R"({"size\u0000x": [100, 50], "output": "a.png", "ui": {}})",
      // The first member of a name counts, even when a later one would do.
      R"({"size": 1, "size": [100, 50], "output": "a.png", "ui": {}})",
      R"({"size": [100, 50], "output": 1, "output": "a.png", "ui": {}})",
      R"({"size": [100, 50], "output": "a.png", "ui": [], "ui": {}})",
      // Elements that are not objects.
      "1", "\"canvas\"", "null", "true", "[]",
      R"([{"size": [100, 50], "output": "a.png", "ui": {}}])",
  };
  for (const std::string& json : canvases) {
    Canvas c = ReadJson(json);
    EXPECT_FALSE(c.read) << json;
    EXPECT_TRUE(c.messages.empty()) << json;
  }
}

TEST(SkipRuleTest, FirstOutputAndUiCount) {
  Canvas c = ReadJson(R"({"size": [100, 50], "output": "first.png",
                          "ui": {"default": "one"}, "output": "second.png",
                          "ui": {"default": "two"}, "size": [1, 1]})");
  ASSERT_TRUE(c.read);
  EXPECT_EQ("first.png", c.info.outputPath);
  EXPECT_EQ("one", c.info.text);
  EXPECT_EQ(100, c.info.canvasWidth);
}

TEST(SkipRuleTest, OutputEndsAtAnEscapedNul) {
  Canvas c = ReadJson(
      R"({"size": [100, 50], "output": "a.png\u0000.svg", "ui": {}})");
  ASSERT_TRUE(c.read);
  EXPECT_EQ("a.png", c.info.outputPath);
}

TEST(SkipRuleTest, CanvasSizeNeedsTwoWholeNumbers) {
  const std::string line =
      "Quillmark : canvas 4 skipped: \"size\" needs two whole numbers in the "
      "32-bit range";
  for (const std::string size :
       {"[]", "[100]", "[\"100\", 50]", "[100, null]", "[100.5, 50]",
        "[100, 2147483648]", "[-2147483649, 50]", "[[100], 50]"}) {
    Canvas c = ReadJson(R"({"size": )" + size +
                            R"(, "output": "a.png", "ui": {}})",
                        Setting{}, 1.0f, 4);
    EXPECT_FALSE(c.read) << size;
    EXPECT_EQ(Lines{line}, c.messages) << size;
  }
}

TEST(SkipRuleTest, CanvasSizeTakesWholeNumbersAndTheFirstTwoElements) {
  Canvas c = ReadJson(
      R"({"size": [100.0, 5e1, 7, "x"], "output": "a.png", "ui": {}})");
  ASSERT_TRUE(c.read);
  EXPECT_EQ(100, c.info.canvasWidth);
  EXPECT_EQ(50, c.info.canvasHeight);
  EXPECT_TRUE(c.messages.empty());
}

TEST(SkipRuleTest, CanvasSizeMustBePositive) {
  struct Case { const char* size; const char* line; };
  for (const Case& k : {
           Case{"[0, 10]", "\"size\" 0 x 10 is not positive"},
           Case{"[10, 0]", "\"size\" 10 x 0 is not positive"},
           Case{"[-5, 10]", "\"size\" -5 x 10 is not positive"},
           Case{"[10, -2147483648]", "\"size\" 10 x -2147483648 is not positive"},
       }) {
    Canvas c = ReadJson(std::string(R"({"size": )") + k.size +
                            R"(, "output": "a.png", "ui": {}})",
                        Setting{}, 1.0f, 2);
    EXPECT_FALSE(c.read) << k.size;
    EXPECT_EQ(Lines{std::string("Quillmark : canvas 2 skipped: ") + k.line},
              c.messages);
  }
}

TEST(SkipRuleTest, CanvasSideIsLimitedTo16384) {
  Canvas edge = ReadJson(
      R"({"size": [16384, 16384], "output": "a.png", "ui": {}})");
  EXPECT_TRUE(edge.read);
  EXPECT_TRUE(edge.messages.empty());

  struct Case { const char* size; const char* shown; };
  for (const Case& k : {Case{"[16385, 1]", "16385 x 1"},
                        Case{"[1, 16385]", "1 x 16385"},
                        Case{"[2147483647, 2147483647]",
                             "2147483647 x 2147483647"}}) {
    Canvas c = ReadJson(std::string(R"({"size": )") + k.size +
                            R"(, "output": "a.png", "ui": {}})",
                        Setting{}, 1.0f, 1);
    EXPECT_FALSE(c.read) << k.size;
    EXPECT_EQ(Lines{std::string("Quillmark : canvas 1 skipped: \"size\" ") +
                    k.shown + " is larger than the limit of 16384 pixels a side"},
              c.messages);
  }
}

// --- The "ui" keys --------------------------------------------------------------

TEST(UiKeysTest, EveryKeySetsItsField) {
  Canvas c = ReadJson(R"json({
    "size": [1080, 360], "output": "out/banner.png",
    "ui": {
      "default": "Summer Sale", "font": "heading", "size": 96,
      "line_height": 110, "align": 2, "area": [40, -40, 1000, 280],
      "fill": "#FFFFFF", "stroke": "#000000", "width": 6,
      "strokeOverFill": true, "shadow": "rgba(0,0,0,0.5)", "s_size": 4,
      "s_dist": -6, "s_angle": 405, "s_alpha": 0.6, "adjustToFit": true,
      "ignoreLineHeight": true, "scale": 1.0, "direction": -1,
      "unknown": [1, 2], "Default": "not me"
    }})json");
  ASSERT_TRUE(c.read);
  EXPECT_TRUE(c.messages.empty());
  const TextInfo& t = c.info;
  EXPECT_EQ("Summer Sale", t.text);
  EXPECT_EQ("out/banner.png", t.outputPath);
  EXPECT_EQ(1080, t.canvasWidth);
  EXPECT_EQ(360, t.canvasHeight);
  EXPECT_EQ(40.0f, t.areaX);
  EXPECT_EQ(-40.0f, t.areaY);
  EXPECT_EQ(1000.0f, t.areaWidth);
  EXPECT_EQ(280.0f, t.areaHeight);
  EXPECT_EQ("heading", t.fontName);
  EXPECT_EQ(96, t.fontSize);
  EXPECT_EQ(2, t.alignment);
  EXPECT_EQ(110, t.lineHeight);
  EXPECT_EQ("#FFFFFF", t.fillColor);
  EXPECT_EQ(4, t.shadowSize);
  EXPECT_EQ("rgba(0,0,0,0.5)", t.shadowColor);
  EXPECT_EQ(-6, t.shadowDistance);
  EXPECT_EQ(405, t.shadowAngle);
  EXPECT_EQ(0.6f, t.shadowAlpha);
  EXPECT_EQ(6.0f, t.strokeWidth);
  EXPECT_TRUE(t.strokeOverFill);
  EXPECT_EQ("#000000", t.strokeColor);
  EXPECT_TRUE(t.ignoreLineHeight);
  EXPECT_TRUE(t.adjustToFit);
  EXPECT_EQ(1.0f, t.scale);
  EXPECT_EQ(-1, t.direction);
}

TEST(UiKeysTest, LastOccurrenceOfAKeyWins) {
  Canvas c = ReadUi(R"("default": "first", "fill": "red", "default": "second",
                       "area": [1, 2, 3, 4], "area": [5, 6, 7, 8],
                       "strokeOverFill": true, "strokeOverFill": false,
                       "fill": "blue")");
  ASSERT_TRUE(c.read);
  EXPECT_EQ("second", c.info.text);
  EXPECT_EQ("blue", c.info.fillColor);
  EXPECT_EQ(5.0f, c.info.areaX);
  EXPECT_EQ(8.0f, c.info.areaHeight);
  EXPECT_FALSE(c.info.strokeOverFill);
}

TEST(UiKeysTest, KeysMatchExactly) {
  Canvas c = ReadUi(R"("Size": 40, "SIZE": 40, "size ": 40, "size\u0000x": 40,
                       "Default": "no", "Align": 1, "adjusttofit": true,
                       "Scale": 2)",
                    Setting{}, 1.0f);
  ASSERT_TRUE(c.read);
  EXPECT_TRUE(c.messages.empty());
  EXPECT_EQ(0, c.info.fontSize);
  EXPECT_EQ("", c.info.text);
  EXPECT_EQ(0, c.info.alignment);
  EXPECT_FALSE(c.info.adjustToFit);
  EXPECT_EQ(1.0f, c.info.scale);
}

TEST(UiKeysTest, AlignmentCodesAreMapped) {
  struct Case { int align; int alignment; };
  for (const Case& k : {Case{0, 1}, Case{1, 3}, Case{2, 2}, Case{3, 1},
                        Case{7, 1}, Case{-1, 1}}) {
    Canvas c = ReadUi("\"align\": " + std::to_string(k.align));
    ASSERT_TRUE(c.read);
    EXPECT_EQ(k.alignment, c.info.alignment) << "align " << k.align;
  }
}

TEST(UiKeysTest, StringsEndAtAnEscapedNul) {
  Canvas c = ReadUi(R"("default": "Hello\u0000 world", "font": "Sans\u0000Bold",
                       "fill": "red\u0000x", "shadow": "\u0000black",
                       "stroke": "blue\u0000")");
  ASSERT_TRUE(c.read);
  EXPECT_EQ("Hello", c.info.text);
  EXPECT_EQ("Sans", c.info.fontName);
  EXPECT_EQ("red", c.info.fillColor);
  EXPECT_EQ("", c.info.shadowColor);
  EXPECT_EQ("blue", c.info.strokeColor);
}

TEST(UiKeysTest, NumbersForFloatFieldsMayBeIntegers) {
  Canvas c = ReadUi(R"("s_alpha": 1, "scale": 2, "size": 10)");
  ASSERT_TRUE(c.read);
  EXPECT_EQ(1.0f, c.info.shadowAlpha);
  EXPECT_EQ(2.0f, c.info.scale);
}

// --- Scaling ----------------------------------------------------------------------

TEST(ScaleTest, SizesAreScaledInSinglePrecisionAndTruncatedTowardZero) {
  struct Case {
    const char* ui;
    float driverScale;
    int fontSize, lineHeight;
    float scale;
  };
  for (const Case& k : {
           // 100 x 0.29 is 28.999... in double precision, exactly 29 in float.
           Case{R"("size": 100, "scale": 0.29)", 1, 29, 0, 0.29f},
           Case{R"("scale": 0.29, "size": 100)", 1, 29, 0, 0.29f},
           Case{R"("scale": 2, "size": 10)", 1, 20, 0, 2},
           // One scale gives the same result wherever it stands.
           Case{R"("size": 48, "line_height": 60, "scale": 1.5)", 1, 72, 90, 1.5f},
           Case{R"("scale": 1.5, "size": 48, "line_height": 60)", 1, 72, 90, 1.5f},
           Case{R"("size": 48, "scale": 1.5, "line_height": 60)", 1, 72, 90, 1.5f},
           // Each scale truncates the current values: 30 x 1.5 = 45, x 0.5 =
           // 22.5 -> 22; 31 x 1.5 = 46.5 -> 46, x 0.5 = 23.
           Case{R"("size": 30, "line_height": 31, "scale": 1.5, "scale": 0.5)",
                1, 22, 23, 0.5f},
           // A later scale replaces the factor for the sizes after it.
           Case{R"("scale": 2, "scale": 3, "size": 10)", 1, 30, 0, 3},
           Case{R"("size": -7, "line_height": 7, "scale": 1.5)", 1, -10, 10, 1.5f},
           // Sizes start from the driver's scale.
           Case{R"("size": 45, "line_height": 21)", 0.5f, 22, 10, 0.5f},
       }) {
    Canvas c = ReadUi(k.ui, Setting{}, k.driverScale);
    ASSERT_TRUE(c.read) << k.ui;
    EXPECT_EQ(k.fontSize, c.info.fontSize) << k.ui;
    EXPECT_EQ(k.lineHeight, c.info.lineHeight) << k.ui;
    EXPECT_EQ(k.scale, c.info.scale) << k.ui;
  }
}

TEST(ScaleTest, TouchesOnlyFontSizeAndLineHeight) {
  Canvas c = ReadUi(R"("area": [10, 20, 30, 40], "width": 3, "s_size": 4,
                       "s_dist": 5, "s_angle": 6, "s_alpha": 0.5,
                       "scale": 2)");
  ASSERT_TRUE(c.read);
  EXPECT_EQ(100, c.info.canvasWidth);
  EXPECT_EQ(10.0f, c.info.areaX);
  EXPECT_EQ(40.0f, c.info.areaHeight);
  EXPECT_EQ(3.0f, c.info.strokeWidth);
  EXPECT_EQ(4, c.info.shadowSize);
  EXPECT_EQ(5, c.info.shadowDistance);
  EXPECT_EQ(6, c.info.shadowAngle);
  EXPECT_EQ(0.5f, c.info.shadowAlpha);
}

// --- Boolean options and the command-line flags ---------------------------------

TEST(BooleanKeysTest, KeysOverrideTheCommandLineFlagsPerCanvas) {
  Canvas kept = ReadUi("", Setting{false, true});
  EXPECT_FALSE(kept.info.adjustToFit);
  EXPECT_TRUE(kept.info.ignoreLineHeight);

  Canvas off = ReadUi(R"("adjustToFit": false, "ignoreLineHeight": false)",
                      Setting{true, true});
  EXPECT_FALSE(off.info.adjustToFit);
  EXPECT_FALSE(off.info.ignoreLineHeight);

  Canvas on = ReadUi(R"("adjustToFit": true, "ignoreLineHeight": true,
                        "strokeOverFill": true)");
  EXPECT_TRUE(on.info.adjustToFit);
  EXPECT_TRUE(on.info.ignoreLineHeight);
  EXPECT_TRUE(on.info.strokeOverFill);
}

TEST(BooleanKeysTest, AnyValueButTrueGivesFalseWithoutALine) {
  for (const std::string value :
       {"1", "\"true\"", "null", "0", "[true]", "{}", "\"\""}) {
    Canvas c = ReadUi("\"adjustToFit\": " + value + ", \"ignoreLineHeight\": " +
                          value + ", \"strokeOverFill\": " + value,
                      Setting{true, true});
    ASSERT_TRUE(c.read) << value;
    EXPECT_FALSE(c.info.adjustToFit) << value;
    EXPECT_FALSE(c.info.ignoreLineHeight) << value;
    EXPECT_FALSE(c.info.strokeOverFill) << value;
    EXPECT_TRUE(c.messages.empty()) << value;
  }
}

// --- Values of the wrong type or range --------------------------------------

TEST(WrongValuesTest, MistypedMembersAreIgnoredWithALineAndTheRestUsed) {
  Canvas c = ReadUi(R"("default": 5, "font": "Sans", "size": "48",
                       "fill": null, "line_height": 60, "align": true,
                       "shadow": ["black"], "s_size": "4", "s_dist": 3,
                       "s_angle": null, "s_alpha": "0.5", "stroke": {},
                       "width": "2", "scale": "2", "direction": "1",
                       "area": "1 2 3 4")",
                    Setting{}, 1.0f, 7);
  ASSERT_TRUE(c.read);
  EXPECT_EQ((Lines{
                Ignored(7, "default", "not a string"),
                Ignored(7, "size", kNotInt),
                Ignored(7, "fill", "not a string"),
                Ignored(7, "align", kNotInt),
                Ignored(7, "shadow", "not a string"),
                Ignored(7, "s_size", kNotInt),
                Ignored(7, "s_angle", kNotInt),
                Ignored(7, "s_alpha", "not a number"),
                Ignored(7, "stroke", "not a string"),
                Ignored(7, "width", kNotInt),
                Ignored(7, "scale", "not a number"),
                Ignored(7, "direction", kNotInt),
                Ignored(7, "area", "not four whole numbers in the 32-bit range"),
            }),
            c.messages);
  EXPECT_EQ("Sans", c.info.fontName);
  EXPECT_EQ(60, c.info.lineHeight);
  EXPECT_EQ(3, c.info.shadowDistance);
  EXPECT_EQ(1.0f, c.info.scale);
  EXPECT_EQ(0, c.info.fontSize);
  EXPECT_EQ(0, c.info.direction);
}

TEST(WrongValuesTest, IgnoredMemberKeepsTheEarlierValue) {
  Canvas c = ReadUi(R"("default": "kept", "default": 1, "size": 40,
                       "size": 40.5, "area": [1, 2, 3, 4], "area": [9, 9],
                       "scale": 2, "scale": null)");
  ASSERT_TRUE(c.read);
  EXPECT_EQ("kept", c.info.text);
  EXPECT_EQ(80, c.info.fontSize);
  EXPECT_EQ(2.0f, c.info.scale);
  EXPECT_EQ(1.0f, c.info.areaX);
  EXPECT_EQ(4.0f, c.info.areaHeight);
  EXPECT_EQ(4u, c.messages.size());
}

TEST(WrongValuesTest, IntegerKeysTakeWholeValuedNumbersOnly) {
  Canvas whole = ReadUi(R"("size": 48.0, "s_angle": 4.5e1, "width": -2.0,
                           "direction": 1E0, "area": [1.0, 2, 3e0, 40.00])");
  ASSERT_TRUE(whole.read);
  EXPECT_TRUE(whole.messages.empty());
  EXPECT_EQ(48, whole.info.fontSize);
  EXPECT_EQ(45, whole.info.shadowAngle);
  EXPECT_EQ(-2.0f, whole.info.strokeWidth);
  EXPECT_EQ(1, whole.info.direction);
  EXPECT_EQ(3.0f, whole.info.areaWidth);
  EXPECT_EQ(40.0f, whole.info.areaHeight);

  Canvas fraction = ReadUi(R"("size": 48.5, "align": 1.5, "s_angle": 0.1,
                              "line_height": -0.5)");
  ASSERT_TRUE(fraction.read);
  EXPECT_EQ((Lines{Ignored(0, "size", kNotInt), Ignored(0, "align", kNotInt),
                   Ignored(0, "s_angle", kNotInt),
                   Ignored(0, "line_height", kNotInt)}),
            fraction.messages);
  EXPECT_EQ(0, fraction.info.fontSize);
  EXPECT_EQ(0, fraction.info.alignment);
  EXPECT_EQ(0, fraction.info.shadowAngle);
}

TEST(WrongValuesTest, IntegersBeyond32BitsAreIgnored) {
  Canvas edge = ReadUi(R"("s_angle": 2147483647, "direction": -2147483648)");
  ASSERT_TRUE(edge.read);
  EXPECT_TRUE(edge.messages.empty());
  EXPECT_EQ(2147483647, edge.info.shadowAngle);
  EXPECT_EQ(-2147483647 - 1, edge.info.direction);

  Canvas beyond = ReadUi(R"("s_angle": 2147483648, "direction": -2147483649,
                            "align": 4294967297, "s_size": 1e300)");
  ASSERT_TRUE(beyond.read);
  EXPECT_EQ((Lines{Ignored(0, "s_angle", kNotInt),
                   Ignored(0, "direction", kNotInt),
                   Ignored(0, "align", kNotInt),
                   Ignored(0, "s_size", kNotInt)}),
            beyond.messages);
  EXPECT_EQ(0, beyond.info.shadowAngle);
  EXPECT_EQ(0, beyond.info.direction);
  EXPECT_EQ(0, beyond.info.alignment);  // 4294967297 must not wrap to 1
}

TEST(WrongValuesTest, AreaNeedsFourWholeNumbers) {
  const std::string line =
      Ignored(0, "area", "not four whole numbers in the 32-bit range");
  for (const std::string area :
       {"[]", "[1, 2, 3]", "[1, 2, 3, \"4\"]", "[1, 2, 3, 4.5]",
        "[1, 2, 3, null]", "[1, 2, 3, 2147483648]", "{\"x\": 1}", "5"}) {
    Canvas c = ReadUi("\"area\": " + area + ", \"default\": \"x\"");
    ASSERT_TRUE(c.read) << area;
    EXPECT_EQ(Lines{line}, c.messages) << area;
    // None of the four edges is taken from a rejected area.
    EXPECT_EQ(0.0f, c.info.areaX) << area;
    EXPECT_EQ(0.0f, c.info.areaY) << area;
    EXPECT_EQ(0.0f, c.info.areaWidth) << area;
    EXPECT_EQ("x", c.info.text) << area;
  }
}

// --- Magnitude limits -----------------------------------------------------------

TEST(LimitTest, ValuesUpTo16384AreAccepted) {
  Canvas c = ReadUi(R"("size": 16384, "line_height": -16384, "width": 16384,
                       "s_size": -16384, "s_dist": 16384, "s_angle": 100000,
                       "area": [-100000, 100000, 100000, 100000])");
  ASSERT_TRUE(c.read);
  EXPECT_TRUE(c.messages.empty());
  EXPECT_EQ(16384, c.info.fontSize);
  EXPECT_EQ(100000, c.info.shadowAngle);

  // Only the final value counts: a size brought back within the limit.
  Canvas back = ReadUi(R"("size": 20000, "scale": 0.5)");
  ASSERT_TRUE(back.read);
  EXPECT_EQ(10000, back.info.fontSize);
}

TEST(LimitTest, ValuesBeyond16384SkipTheCanvasNamingTheKey) {
  struct Case { const char* ui; const char* key; };
  for (const Case& k : {
           Case{R"("size": 16385)", "size"},
           Case{R"("size": -16385)", "size"},
           Case{R"("line_height": 16385)", "line_height"},
           Case{R"("width": -16385)", "width"},
           Case{R"("s_size": 16385)", "s_size"},
           Case{R"("s_dist": -16385)", "s_dist"},
           // Within the limit before scaling, beyond it after.
           Case{R"("size": 10000, "scale": 2)", "size"},
           Case{R"("scale": 2, "line_height": 10000)", "line_height"},
           // A scaled value that overflows an int names the key applied.
           Case{R"("size": 10, "scale": 1e30)", "scale"},
           Case{R"("scale": 1e30, "size": 10)", "size"},
           Case{R"("size": 2147483647)", "size"},
           Case{R"("line_height": 1, "scale": 1e39)", "scale"},
       }) {
    Canvas c = ReadUi(k.ui, Setting{}, 1.0f, 5);
    EXPECT_FALSE(c.read) << k.ui;
    EXPECT_EQ(Lines{BeyondLimit(5, k.key)}, c.messages) << k.ui;
  }
}

}  // namespace

// --- Opt-in typography keys -------------------------------------------------

namespace {

TEST(TypographyKeysTest, ValidValuesSetTheirFields) {
  Canvas c = ReadUi(R"("wrap": "word", "valign": 2, "vertical_forms": true,
                       "min_size": 12, "scale": 2)");
  ASSERT_TRUE(c.read);
  EXPECT_TRUE(c.messages.empty());
  EXPECT_TRUE(c.info.wrapWords);
  EXPECT_EQ(2, c.info.blockAlign);
  EXPECT_TRUE(c.info.verticalForms);
  EXPECT_EQ(12, c.info.minFontSize);  // not scaled
  for (int valign : {0, 1}) {
    Canvas v = ReadUi("\"valign\": " + std::to_string(valign) +
                      ", \"vertical_forms\": false, \"min_size\": 5.0");
    EXPECT_EQ(valign, v.info.blockAlign);
    EXPECT_FALSE(v.info.verticalForms);
    EXPECT_EQ(5, v.info.minFontSize);
    EXPECT_TRUE(v.messages.empty());
  }
}

TEST(TypographyKeysTest, WrongTypesAndValuesAreIgnoredWithALine) {
  Canvas c = ReadUi(R"("wrap": "word", "wrap": "char", "wrap": "Word",
                       "wrap": "word\u0000", "wrap": true,
                       "valign": 2, "valign": 3, "valign": -1, "valign": "1",
                       "valign": 1.5,
                       "vertical_forms": true, "vertical_forms": 1,
                       "vertical_forms": "true", "vertical_forms": null,
                       "min_size": 9, "min_size": 4, "min_size": 12.5,
                       "min_size": "20", "min_size": 4294967296)",
                    Setting{}, 1.0f, 3);
  ASSERT_TRUE(c.read);
  const std::string notWord = "not \"word\"";
  const std::string notValign = "not 0, 1 or 2";
  const std::string notBool = "not true or false";
  const std::string notSize = "not a whole number of 5 or more";
  EXPECT_EQ((Lines{
                Ignored(3, "wrap", notWord), Ignored(3, "wrap", notWord),
                Ignored(3, "wrap", notWord), Ignored(3, "wrap", notWord),
                Ignored(3, "valign", notValign),
                Ignored(3, "valign", notValign),
                Ignored(3, "valign", notValign),
                Ignored(3, "valign", notValign),
                Ignored(3, "vertical_forms", notBool),
                Ignored(3, "vertical_forms", notBool),
                Ignored(3, "vertical_forms", notBool),
                Ignored(3, "min_size", notSize),
                Ignored(3, "min_size", notSize),
                Ignored(3, "min_size", notSize),
                Ignored(3, "min_size", notSize),
            }),
            c.messages);
  // Each ignored member keeps the value before it.
  EXPECT_TRUE(c.info.wrapWords);
  EXPECT_EQ(2, c.info.blockAlign);
  EXPECT_TRUE(c.info.verticalForms);
  EXPECT_EQ(9, c.info.minFontSize);
}

// "-shape" starts every canvas with the text engine, vertical ones too; the
// canvas's own key overrides it.
TEST(JobDefaultsTest, JobWideShapeYieldsToTheCanvasKey) {
  JobDefaults shaped;
  shaped.shapeText = true;
  auto read = [&](const std::string& ui) {
    rapidjson::Document doc;
    EXPECT_TRUE(ParseJob(R"([{"size": [100, 50], "output": "o.png", "ui": {)" +
                             ui + "}}]",
                         &doc));
    return ReadCanvas(doc[0], Setting{}, 1.0f, shaped);
  };
  EXPECT_TRUE(read(R"("default": "a")").info.shapeText);
  const CanvasRead vertical = read(R"("direction": 1)");
  EXPECT_TRUE(vertical.info.shapeText);
  EXPECT_TRUE(vertical.ignored.empty());
  EXPECT_FALSE(read(R"("shape": false)").info.shapeText);
  // A "fallback" list after it asks for the engine again, as without -shape.
  EXPECT_TRUE(read(R"("shape": false, "fallback": [])").info.shapeText);
  EXPECT_FALSE(read(R"("shape": "yes")").ignored.empty());
  EXPECT_FALSE(ReadUi(R"("default": "a")").info.shapeText);  // no -shape
}

}  // namespace
