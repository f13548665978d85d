// The report line, and the report's trip from a worker process to the
// driver.

#include <gtest/gtest.h>

#include <cstring>

#include "render/outcome/report_line.h"
#include "render/run/report_wire.h"

namespace {

RenderReport FullReport() {
  RenderReport r;
  r.failure = Failure::kWrite;
  r.failureDetail = "No space left on device";
  r.fontSize = 37;
  r.lines = {{"one\xFF", 0.1, -2.5}, {"", 1e300, 33.333332061767578}};
  r.overflow = {"five six", std::string("a\0b", 3)};
  r.missingGlyphs = {"😀"};
  r.badColours = {{"fill", "goldish"}};
  r.seconds = 0.0123;
  return r;
}

TEST(ReportWireTest, AReportTravelsBitForBit) {
  const RenderReport sent = FullReport();
  RenderReport got;
  ASSERT_TRUE(DecodeReport(EncodeReport(sent), &got));
  EXPECT_EQ(sent.failure, got.failure);
  EXPECT_EQ(sent.failureDetail, got.failureDetail);
  EXPECT_EQ(sent.fontSize, got.fontSize);
  ASSERT_EQ(sent.lines.size(), got.lines.size());
  for (size_t i = 0; i < sent.lines.size(); ++i) {
    EXPECT_EQ(sent.lines[i].text, got.lines[i].text);
    EXPECT_EQ(0, std::memcmp(&sent.lines[i].x, &got.lines[i].x, sizeof(double)));
    EXPECT_EQ(0, std::memcmp(&sent.lines[i].y, &got.lines[i].y, sizeof(double)));
  }
  EXPECT_EQ(sent.overflow, got.overflow);
  EXPECT_EQ(sent.missingGlyphs, got.missingGlyphs);
  ASSERT_EQ(1u, got.badColours.size());
  EXPECT_EQ("goldish", got.badColours[0].value);
  EXPECT_EQ(sent.seconds, got.seconds);
}

TEST(ReportWireTest, CutOrPaddedBytesAreNoReport) {
  const std::string bytes = EncodeReport(FullReport());
  RenderReport got;
  for (size_t length = 0; length < bytes.size(); ++length)
    EXPECT_FALSE(DecodeReport(bytes.substr(0, length), &got)) << length;
  EXPECT_FALSE(DecodeReport(bytes + '\0', &got));
  std::string badFailure = bytes;
  badFailure[0] = 9;
  EXPECT_FALSE(DecodeReport(badFailure, &got));
}

TEST(ReportLineTest, ACanvasThatIsNoCanvasHasNoRecord) {
  CanvasOutcome outcome;
  outcome.index = 4;
  EXPECT_EQ(
      "{\"canvas\":4,\"output\":null,\"status\":\"skipped\",\"reason\":\"not a "
      "canvas: it needs a \\\"size\\\" array, a \\\"ui\\\" object and an "
      "\\\"output\\\" string\",\"direction\":null,\"font\":null,"
      "\"font_file\":null,\"font_fallback\":null,\"font_size\":null,"
      "\"lines\":[],\"overflow\":[],\"missing_glyphs\":[],\"bad_colours\":[],"
      "\"ignored\":[],\"unknown_keys\":{\"ui\":[],\"canvas\":[]},"
      "\"seconds\":null}",
      ReportLine(outcome));
  // With -strict it is a problem, named with its index and why.
  EXPECT_EQ(std::vector<std::string>{
                "Quillmark : canvas 4 not drawn: not a canvas: it needs a "
                "\"size\" array, a \"ui\" object and an \"output\" string"},
            StrictMessages(outcome));
}

// A long text in a strict line is shortened between characters, never
// inside a UTF-8 sequence.
TEST(StrictMessagesTest, ALongTextIsCutBetweenCharacters) {
  CanvasOutcome outcome;
  outcome.read.isCanvas = true;
  outcome.read.info.outputPath = "a.png";
  outcome.rendered = true;
  const std::string spring = "\xE6\x98\xA5";
  for (size_t ascii = 115; ascii <= 121; ++ascii) {
    std::string text(ascii, 'a');
    for (int i = 0; i < 10; ++i)
      text += spring;
    outcome.render.overflow = {text};
    const std::vector<std::string> lines = StrictMessages(outcome);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(std::string::npos, lines[0].find("\\x")) << lines[0];
    EXPECT_NE(std::string::npos, lines[0].find("...\"")) << lines[0];
  }
}

}  // namespace
