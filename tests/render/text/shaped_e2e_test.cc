// Whole jobs with "shape" run by the binary, the images read back: font
// fallback leaves nothing missing and draws emoji in colour, the outline
// and the shadow fall on shaped text, bad engine keys are ignored with a
// word, and a canvas that does not ask for the engine is drawn as before.

#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/image_reader.h"
#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

const std::string kNoto = "/usr/share/fonts/truetype/noto/";

bool Readable(const std::string& path) {
  return access(path.c_str(), R_OK) == 0;
}

class ShapedJob : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"NotoSans-Regular.ttf", "NotoSansArabic-Regular.ttf",
                          "NotoSansHebrew-Regular.ttf", "NotoColorEmoji.ttf"})
      if (!Readable(kNoto + f))
        GTEST_SKIP() << "no " << kNoto << f
                     << " (fonts-noto-core, fonts-noto-color-emoji)";
    fonts_ = dir_.Write(
        "fonts.json",
        "{\"sans\":\"" QUILLMARK_TEST_SANS "\",\"cjk\":\"" QUILLMARK_TEST_CJK
        "\",\"noto\":\"" + kNoto + "NotoSans-Regular.ttf\",\"arabic\":\"" +
            kNoto + "NotoSansArabic-Regular.ttf\",\"hebrew\":\"" + kNoto +
            "NotoSansHebrew-Regular.ttf\",\"emoji\":\"" + kNoto +
            "NotoColorEmoji.ttf\"}");
  }

  // Runs the canvases; the report's lines come back parsed, one a canvas.
  RunResult Run(const std::vector<std::string>& canvases,
                const std::string& extra = "-jobs=1") {
    const std::string job = dir_.Write("job.json", Job(canvases));
    const std::string report = dir_.File("report.jsonl");
    RunResult run = RunQuillmark({fonts_, job, "-report=" + report, extra});
    reportText_ = ReadWholeFile(report);
    reports_.clear();
    for (const std::string& line : SplitLines(reportText_)) {
      reports_.emplace_back();
      reports_.back().Parse(line.c_str());
    }
    return run;
  }

  std::string Out(const std::string& name) { return dir_.File(name); }

  const rapidjson::Value& Report(size_t i) { return reports_.at(i); }

  TempDir dir_;
  std::string fonts_;
  std::vector<rapidjson::Document> reports_;
  std::string reportText_;
};

// Opaque pixels of strong colour: far from grey.
int CountColourful(const RgbaImage& image) {
  int n = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const float r = image.R(x, y), g = image.G(x, y), b = image.B(x, y);
      const float hi = std::fmax(r, std::fmax(g, b));
      const float lo = std::fmin(r, std::fmin(g, b));
      if (image.A(x, y) > 0.5f && hi - lo > 0.25f)
        ++n;
    }
  return n;
}

// Opaque pixels close to the colour (r, g, b), each 0 or 1.
int CountInk(const RgbaImage& image, int r, int g, int b) {
  int n = 0;
  auto near = [](float v, int want) { return want ? v > 0.7f : v < 0.3f; };
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (image.A(x, y) > 0.9f && near(image.R(x, y), r) &&
          near(image.G(x, y), g) && near(image.B(x, y), b))
        ++n;
  return n;
}

std::string Black(const std::string& text, const std::string& font,
                  const std::string& extra) {
  return "\"default\":\"" + text + "\",\"font\":\"" + font +
         "\",\"size\":40,\"fill\":\"#000000\",\"area\":[10,10,580,80]," +
         extra;
}

TEST_F(ShapedJob, FallbackDrawsEveryCharacterAndEmojiInColour) {
  const std::string cjkLatinEmoji =
      "\xE6\x98\xA5\xE7\x9C\xA0 Hello \xF0\x9F\x98\x80 "
      "\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5 1\xEF\xB8\x8F\xE2\x83\xA3";
  const std::string latinSkinTones =
      "Thumbs \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD and \xF0\x9F\x91\x8B\xF0\x9F\x8F\xBF";
  const std::string arabicProduct =
      "\xD8\xA7\xD8\xB4\xD8\xAA\xD8\xB1\xD9\x8A Quillmark Pro \xD8\xA7\xD9\x84\xD8\xA2\xD9\x86";
  const RunResult run = Run({
      Canvas(600, 100, Out("cjk.png"),
             Black(cjkLatinEmoji, "cjk", "\"fallback\":[\"noto\",\"emoji\"]")),
      Canvas(600, 100, Out("tones.png"),
             Black(latinSkinTones, "noto", "\"fallback\":[\"emoji\"]")),
      Canvas(600, 100, Out("arabic.png"),
             Black(arabicProduct, "arabic", "\"fallback\":[\"noto\"]")),
      // The same Arabic without a fallback: the Latin letters are missing.
      Canvas(600, 100, Out("alone.png"),
             Black(arabicProduct, "arabic", "\"shape\":true")),
  });
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Problems(run).empty()) << run.output;
  ASSERT_EQ(reports_.size(), 4u);
  for (size_t i = 0; i < 3; ++i) {
    ASSERT_TRUE(Report(i).IsObject());
    EXPECT_STREQ(Report(i)["status"].GetString(), "written");
    EXPECT_EQ(Report(i)["missing_glyphs"].Size(), 0u) << "canvas " << i;
  }
  EXPECT_GE(Report(3)["missing_glyphs"].Size(), 8u);  // "QuilmakPro"

  const RgbaImage cjk = ReadRgbaImage(Out("cjk.png"));
  const RgbaImage tones = ReadRgbaImage(Out("tones.png"));
  const RgbaImage arabic = ReadRgbaImage(Out("arabic.png"));
  ASSERT_TRUE(cjk.ok && tones.ok && arabic.ok);
  EXPECT_GT(CountColourful(cjk), 500);    // three colour emoji at 40 px
  EXPECT_GT(CountColourful(tones), 300);
  EXPECT_EQ(CountColourful(arabic), 0);   // black text only
  EXPECT_GT(CountOpaque(arabic, 0.5f), 1500);
}

TEST_F(ShapedJob, OutlineAndShadowFallOnShapedText) {
  const std::string arabic =
      "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD8\xA7\xD9\x84\xD8"
      "\xB9\xD8\xA7\xD9\x84\xD9\x85";
  const std::string styled =
      "\"default\":\"" + arabic +
      "\",\"font\":\"arabic\",\"size\":48,\"fill\":\"#FFFF00\","
      "\"stroke\":\"#FF0000\",\"width\":6,\"shadow\":\"#0000FF\",\"s_size\":2,"
      "\"s_alpha\":1,\"s_dist\":12,\"s_angle\":90,\"area\":[20,10,560,100],"
      "\"shape\":true";
  const RunResult run = Run({
      Canvas(600, 140, Out("under.png"), styled),
      Canvas(600, 140, Out("over.png"), styled + ",\"strokeOverFill\":true"),
  });
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const RgbaImage under = ReadRgbaImage(Out("under.png"));
  const RgbaImage over = ReadRgbaImage(Out("over.png"));
  ASSERT_TRUE(under.ok && over.ok);
  for (const RgbaImage* image : {&under, &over}) {
    EXPECT_GT(CountInk(*image, 1, 0, 0), 300);  // outline
    EXPECT_GT(CountInk(*image, 0, 0, 1), 300);  // shadow
  }
  // The fill shows; with the outline over it, less of it and more outline.
  EXPECT_GT(CountInk(under, 1, 1, 0), 300);
  EXPECT_LT(CountInk(over, 1, 1, 0), CountInk(under, 1, 1, 0));
  EXPECT_GT(CountInk(over, 1, 0, 0), CountInk(under, 1, 0, 0));
}

TEST_F(ShapedJob, RightToLeftParagraphsStartAtTheRight) {
  const std::string hebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";
  const RunResult run = Run({
      Canvas(600, 100, Out("start.png"), Black(hebrew, "hebrew",
                                              "\"shape\":true,\"align\":0")),
      Canvas(600, 100, Out("end.png"), Black(hebrew, "hebrew",
                                            "\"shape\":true,\"align\":1")),
      Canvas(600, 100, Out("ltr.png"),
             Black(hebrew, "hebrew", "\"shape\":true,\"bidi\":\"ltr\"")),
  });
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const Box start = OpaqueBox(ReadRgbaImage(Out("start.png")), 0.5f);
  const Box end = OpaqueBox(ReadRgbaImage(Out("end.png")), 0.5f);
  const Box ltr = OpaqueBox(ReadRgbaImage(Out("ltr.png")), 0.5f);
  ASSERT_FALSE(start.empty() || end.empty() || ltr.empty());
  EXPECT_GT(start.x0, 300) << Describe(start);
  EXPECT_LT(end.x0, 40) << Describe(end);
  EXPECT_LT(ltr.x0, 40) << Describe(ltr);
  // Each run is reported with its text, font and position.
  const rapidjson::Value& line = Report(0)["lines"][0];
  ASSERT_TRUE(line.HasMember("runs"));
  const rapidjson::Value& runs = line["runs"];
  ASSERT_EQ(runs.Size(), 1u);
  EXPECT_EQ(std::string(runs[0]["text"].GetString()), hebrew);
  EXPECT_STREQ(runs[0]["font"].GetString(), "hebrew");
  EXPECT_EQ(runs[0]["x"].GetDouble(), line["x"].GetDouble());
}

TEST_F(ShapedJob, BrokenLinesKeepTheParagraphsBidiLevels) {
  // "שלום abc! def" broken after "abc!": in the paragraph, the "!" lies
  // between two left-to-right words and stays with "abc"; resolved on its
  // line alone it would jump to the far side of it ("!abc").
  const std::string text =
      "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D abc! def";
  const RunResult run = Run({Canvas(
      260, 200, Out("wrapped.png"),
      "\"default\":\"" + text +
          "\",\"font\":\"hebrew\",\"fallback\":[\"noto\"],\"size\":40,"
          "\"line_height\":50,\"fill\":\"#000000\",\"area\":[10,10,240,180],"
          "\"wrap\":\"word\"")});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const rapidjson::Value& lines = Report(0)["lines"];
  ASSERT_EQ(lines.Size(), 2u);
  const rapidjson::Value& runs = lines[0]["runs"];
  ASSERT_EQ(runs.Size(), 2u);
  EXPECT_STREQ(runs[0]["text"].GetString(), "abc!");
  EXPECT_STREQ(runs[1]["font"].GetString(), "hebrew");
  EXPECT_LT(runs[0]["x"].GetDouble(), runs[1]["x"].GetDouble());
}

TEST_F(ShapedJob, BitmapOnlyColourFontDrawsAsTheItemsOwnFont) {
  const RunResult run = Run({Canvas(
      300, 100, Out("emoji.png"),
      Black("\xF0\x9F\x98\x80\xF0\x9F\x8E\x89", "emoji", "\"shape\":true"))});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Problems(run).empty()) << run.output;
  EXPECT_GT(CountColourful(ReadRgbaImage(Out("emoji.png"))), 500);
}

TEST_F(ShapedJob, BadEngineKeysAreIgnoredWithAWordAndTheRestDrawn) {
  const RunResult run = Run({
      Canvas(600, 100, Out("bad.png"),
             Black("Ab", "noto",
                   "\"fallback\":[\"nope\",7,\"emoji\"],\"bidi\":\"up\","
                   "\"lang\":5,\"shape\":\"yes\"")),
      Canvas(600, 200, Out("vertical.png"),
             Black("Ab", "noto", "\"shape\":true,\"direction\":1")),
      Canvas(600, 100, Out("lang.png"),
             Black("Ab", "noto", "\"shape\":true,\"lang\":\"not a tag\"")),
  });
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::vector<std::string> problems = Problems(run);
  const std::vector<std::string> expected = {
      "Quillmark : canvas 0: \"ui\" key \"fallback\" ignored: font \"nope\" "
      "is not in the font list",
      "Quillmark : canvas 0: \"ui\" key \"fallback\" ignored: an entry is not "
      "a string",
      "Quillmark : canvas 0: \"ui\" key \"bidi\" ignored: not \"ltr\" or "
      "\"rtl\"",
      "Quillmark : canvas 0: \"ui\" key \"lang\" ignored: not a BCP 47 "
      "language tag",
      "Quillmark : canvas 0: \"ui\" key \"shape\" ignored: not true or false",
      "Quillmark : canvas 2: \"ui\" key \"lang\" ignored: not a BCP 47 "
      "language tag",
  };
  EXPECT_EQ(problems, expected);
  for (const char* name : {"bad.png", "vertical.png", "lang.png"})
    EXPECT_GT(CountOpaque(ReadRgbaImage(Out(name)), 0.5f), 50) << name;
}

const std::string kIpaGothic =
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

std::string Column(const std::string& text, const std::string& extra) {
  return "\"default\":\"" + text +
         "\",\"font\":\"ipa\",\"size\":40,\"fill\":\"#000000\","
         "\"direction\":1,\"area\":[10,10,80,480]," + extra;
}

TEST_F(ShapedJob, ColumnsTakeVerticalFormsAndFallBackPerCluster) {
  if (!Readable(kIpaGothic))
    GTEST_SKIP() << "no " << kIpaGothic << " (fonts-ipafont-gothic)";
  fonts_ = dir_.Write("fonts.json", "{\"ipa\":\"" + kIpaGothic +
                                        "\",\"noto\":\"" + kNoto +
                                        "NotoSans-Regular.ttf\",\"emoji\":\"" +
                                        kNoto + "NotoColorEmoji.ttf\"}");
  const std::string bracket = "\xE3\x80\x8C";  // 「
  const std::string mixed = "Ab" + bracket +
                            "\xE7\xB8\xA6\xE6\x9B\xB8\xE3\x81\x8D"
                            "\xE3\x80\x8D\xF0\x9F\x98\x80";  // Ab「縦書き」😀
  std::string latinFirst = Column(mixed, "\"fallback\":[\"ipa\",\"emoji\"]");
  latinFirst.replace(latinFirst.find("\"ipa\""), 5, "\"noto\"");
  const RunResult run = Run({
      Canvas(100, 500, Out("mixed.png"), latinFirst),
      Canvas(100, 500, Out("shaped.png"), Column(bracket, "\"shape\":true")),
      Canvas(100, 500, Out("plain.png"), Column(bracket, "\"line_height\":50")),
  });
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Problems(run).empty()) << run.output;
  EXPECT_EQ(Report(0)["missing_glyphs"].Size(), 0u);
  // One column, its runs from the top down: the Latin letters of the
  // item's font, the Japanese from the first fallback, the emoji in colour.
  ASSERT_EQ(Report(0)["lines"].Size(), 1u);
  const rapidjson::Value& runs = Report(0)["lines"][0]["runs"];
  ASSERT_EQ(runs.Size(), 3u);
  EXPECT_STREQ(runs[0]["text"].GetString(), "Ab");
  EXPECT_STREQ(runs[0]["font"].GetString(), "noto");
  EXPECT_STREQ(runs[1]["font"].GetString(), "ipa");
  EXPECT_STREQ(runs[2]["font"].GetString(), "emoji");
  EXPECT_LT(runs[0]["y"].GetDouble(), runs[1]["y"].GetDouble());
  EXPECT_LT(runs[1]["y"].GetDouble(), runs[2]["y"].GetDouble());
  EXPECT_GT(CountColourful(ReadRgbaImage(Out("mixed.png"))), 300);
  // The corner bracket: upright it stands taller than wide; its vertical
  // form, which the shaped column draws, lies wider than tall.
  const Box shaped = OpaqueBox(ReadRgbaImage(Out("shaped.png")), 0.5f);
  const Box plain = OpaqueBox(ReadRgbaImage(Out("plain.png")), 0.5f);
  ASSERT_FALSE(shaped.empty() || plain.empty());
  EXPECT_GT(shaped.width(), shaped.height()) << Describe(shaped);
  EXPECT_LT(plain.width(), plain.height()) << Describe(plain);
}

TEST_F(ShapedJob, WorkersReportTheSameRuns) {
  const std::vector<std::string> canvases = {
      Canvas(600, 100, Out("a.png"),
             Black("abc \xD7\xA9\xD7\x9C\xF0\x9F\x98\x80", "noto",
                   "\"fallback\":[\"hebrew\",\"emoji\"]")),
      Canvas(600, 100, Out("b.png"),
             Black("\xD7\xA9\xD7\x9C abc", "hebrew", "\"fallback\":[\"noto\"]")),
  };
  ASSERT_EQ(Run(canvases, "-jobs=1").exitCode, 0);
  const std::string alone = reportText_;
  ASSERT_EQ(Run(canvases, "-jobs=2").exitCode, 0);
  EXPECT_EQ(ReportWithoutSeconds(alone), ReportWithoutSeconds(reportText_));
  // Three runs in the first line: Latin, Hebrew, emoji, left to right.
  const rapidjson::Value& runs = Report(0)["lines"][0]["runs"];
  ASSERT_EQ(runs.Size(), 3u);
  EXPECT_STREQ(runs[0]["font"].GetString(), "noto");
  EXPECT_STREQ(runs[1]["font"].GetString(), "hebrew");
  EXPECT_STREQ(runs[2]["font"].GetString(), "emoji");
  EXPECT_LT(runs[0]["x"].GetDouble(), runs[1]["x"].GetDouble());
  EXPECT_LT(runs[1]["x"].GetDouble(), runs[2]["x"].GetDouble());
}

TEST_F(ShapedJob, ShapeFalseDrawsExactlyAsWithoutTheKey) {
  const std::string ui =
      "\"default\":\"Summer Sale AVATAR\",\"font\":\"sans\",\"size\":40,"
      "\"fill\":\"#FFD54A\",\"stroke\":\"#202020\",\"width\":3,"
      "\"area\":[10,10,580,80]";
  const RunResult run = Run({
      Canvas(600, 100, Out("plain.png"), ui),
      Canvas(600, 100, Out("false.png"), ui + ",\"shape\":false"),
  });
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string plain = ReadWholeFile(Out("plain.png"));
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(plain, ReadWholeFile(Out("false.png")));
  EXPECT_FALSE(Report(0)["lines"][0].HasMember("runs"));
}

}  // namespace
