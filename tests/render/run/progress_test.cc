// The counts behind the progress line and the summary, and their texts.

#include "render/run/progress.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CanvasRead Drawable() {
  CanvasRead read;
  read.isCanvas = true;
  return read;
}

TEST(ProgressCountsTest, EachCanvasCountsOnceByStatusAndOncePerKind) {
  ProgressCounts counts;
  counts.total = 5;
  CanvasRead skipped = Drawable();
  skipped.skipReason = "\"size\" 0 x 0 is not positive";
  skipped.unknownUiKeys = {"colour"};  // a skipped canvas has no problems
  CountCanvas(skipped, false, RenderReport(), &counts);
  CountCanvas(CanvasRead(), false, RenderReport(), &counts);  // no canvas

  CanvasRead keys = Drawable();
  keys.unknownUiKeys = {"colour", "sise"};
  keys.unknownCanvasKeys = {"ouput"};
  keys.ignored = {{"valign", "not 0, 1 or 2"}};
  RenderReport twoGlyphs;
  twoGlyphs.missingGlyphs = {"\xe2\x98\x83", "\xe2\x98\x84"};
  twoGlyphs.overflow = {"tail"};
  CountCanvas(keys, true, twoGlyphs, &counts);

  RenderReport failed;
  failed.failure = Failure::kWrite;
  failed.badColours = {{"fill", "goldish"}, {"stroke", "#00000"}};
  CountCanvas(Drawable(), false, failed, &counts);
  CountCanvas(Drawable(), false, RenderReport(), &counts);

  EXPECT_EQ(2u, counts.written);
  EXPECT_EQ(2u, counts.skipped);
  EXPECT_EQ(1u, counts.failed);
  EXPECT_EQ(5u, counts.done());
  EXPECT_EQ(1u, counts.problems[kProblemOverflow]);
  EXPECT_EQ(1u, counts.problems[kProblemFontFallback]);
  EXPECT_EQ(1u, counts.problems[kProblemUnknownKey]);
  EXPECT_EQ(1u, counts.problems[kProblemBadColour]);
  EXPECT_EQ(1u, counts.problems[kProblemMissingGlyph]);
  EXPECT_EQ(1u, counts.problems[kProblemIgnoredKey]);
}

TEST(ProgressTextTest, LineGivesRateAndTimeLeftOnceACanvasIsRendered) {
  ProgressCounts counts;
  counts.total = 2000;
  EXPECT_EQ("Quillmark: 0/2000 canvases, 0 failed",
            ProgressLine(counts, 0, 0.0));
  counts.skipped = 10;  // skipped before rendering: not in the rate
  counts.written = 38;
  counts.failed = 2;
  // 40 rendered in 2 s: 20 a second, 1950 left take 97.5 s.
  EXPECT_EQ("Quillmark: 50/2000 canvases, 2 failed, 20.0 canvases/s, "
            "1:38 left",
            ProgressLine(counts, 40, 2.0));
  EXPECT_EQ("Quillmark: 50/2000 canvases, 2 failed, 0.4 canvases/s, "
            "1:21:15 left",
            ProgressLine(counts, 40, 100.0));
  counts.written = 1988;
  EXPECT_EQ("Quillmark: 2000/2000 canvases, 2 failed, 995.0 canvases/s, "
            "0:00 left",
            ProgressLine(counts, 1990, 2.0));
}

TEST(ProgressTextTest, SummaryNamesOnlyTheKindsThatOccurred) {
  ProgressCounts counts;
  counts.written = 7;
  counts.skipped = 1;
  counts.failed = 2;
  EXPECT_EQ("Quillmark: 7 written, 1 skipped, 2 failed in 3.2 s; "
            "problems: none",
            ProgressSummary(counts, 3.24));
  counts.problems[kProblemOverflow] = 3;
  counts.problems[kProblemMissingGlyph] = 1;
  EXPECT_EQ("Quillmark: 7 written, 1 skipped, 2 failed in 0.0 s; "
            "problems: 3 text does not fit, 1 missing glyphs",
            ProgressSummary(counts, 0.01));
}

TEST(ProgressDisplayTest, ADisplayNotEnabledWritesNothing) {
  char* text = nullptr;
  size_t size = 0;
  FILE* stream = open_memstream(&text, &size);
  ASSERT_TRUE(stream != nullptr);
  {
    ProgressDisplay quiet(false, 2, stream);
    quiet.Skipped(CanvasRead());
    quiet.Rendered(Drawable(), false, RenderReport());
    quiet.Finish();
    EXPECT_EQ(1u, quiet.counts().written);
  }
  {
    ProgressDisplay shown(true, 1, stream);
    fflush(stream);
    EXPECT_EQ(0u, size);
    shown.Rendered(Drawable(), false, RenderReport());
    shown.Finish();
  }
  fclose(stream);
  const std::string written(text, size);
  free(text);
  // The line drawn as the canvas finished, drawn again at the end, then the
  // summary.
  EXPECT_EQ(0u, written.find("\rQuillmark: 1/1 canvases, 0 failed"));
  EXPECT_NE(std::string::npos,
            written.find("\nQuillmark: 1 written, 0 skipped, 0 failed in "));
  EXPECT_EQ('\n', written.back());
}

}  // namespace
