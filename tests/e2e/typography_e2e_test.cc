// End-to-end tests of the typography that jobs opt into ("wrap", "valign",
// "vertical_forms", "min_size"): the built binary renders job files with
// the real fonts, the images are read back and measured, and where a line
// count matters the layout is also worked out here with ImageMagick's own
// metrics.

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <algorithm>
#include <string>
#include <vector>

#include "job/job_reader.h"
#include "render/magick/handles.h"
#include "render/metrics/magick_metrics.h"
#include "render/layout/split_word.h"
#include "render/typography/typography.h"
#include "support/image_reader.h"
#include "support/job_text.h"
#include "support/render_fixture.h"
#include "support/run_quillmark.h"

namespace {

// Red DejaVu Sans text, fitted from size 60, centred.
std::string BannerUi(const std::string& text, const Area& area,
                     const std::string& extra = "") {
  return "\"default\":\"" + text +
         "\",\"font\":\"sans\",\"size\":60,\"line_height\":70,"
         "\"fill\":\"#FF0000\",\"align\":2,\"adjustToFit\":true,\"area\":" +
         AreaJson(area) + extra;
}

// The lines that the horizontal renderer draws for a canvas of `job`,
// laid out here with ImageMagick's metrics for the font and size.
std::vector<std::string> LinesWithRealMetrics(const std::string& job) {
  rapidjson::Document doc;
  EXPECT_TRUE(ParseJob(job, &doc));
  CanvasRead read = ReadCanvas(doc[0], Setting{}, 1.0f);
  EXPECT_TRUE(read.drawable());
  const TextInfo& info = read.info;
  std::vector<std::string> units;
  splitWord(info.text, units);

  MagickWandGenesis();
  MagickWandPtr wand(NewMagickWand());
  PixelWandPtr none(NewPixelWand());
  PixelSetColor(none.get(), "none");
  MagickNewImage(wand.get(), 10, 10, none.get());
  DrawingWandPtr drawing(NewDrawingWand());
  DrawSetFont(drawing.get(), QUILLMARK_TEST_SANS);
  MagickMetrics metrics(wand.get(), drawing.get(), true);
  const Layout layout = LayOutLinesTypeset(info, 0, units, &metrics);

  EXPECT_FALSE(layout.metricsFailed);
  std::vector<std::string> lines;
  for (const Annotation& a : layout.annotations)
    lines.push_back(a.text);
  return lines;
}

// The boxes of the bands of rows that hold ink, top to bottom, separated by
// rows without any.
std::vector<Box> InkBands(const RgbaImage& image) {
  std::vector<Box> bands;
  bool inBand = false;
  for (int y = 0; y < image.height; ++y) {
    bool ink = false;
    for (int x = 0; x < image.width; ++x) {
      if (image.A(x, y) <= 0.25f)
        continue;
      if (!ink && !inBand)
        bands.push_back({x, y, x, y});
      Box& band = bands.back();
      band.x0 = std::min(band.x0, x);
      band.x1 = std::max(band.x1, x);
      band.y1 = y;
      ink = true;
    }
    inBand = ink;
  }
  return bands;
}

int CountInkBands(const RgbaImage& image) {
  return static_cast<int>(InkBands(image).size());
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text + " ") {
    if (c != ' ') {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

std::vector<std::string> WordsOfLines(const std::vector<std::string>& lines) {
  std::vector<std::string> words;
  for (const std::string& line : lines)
    for (const std::string& word : Words(line))
      words.push_back(word);
  return words;
}

// Pixels whose RGBA differ between two images of the same size, counted
// in the rows [y0, y1).
int CountDifferentRows(const RgbaImage& a, const RgbaImage& b, int y0, int y1) {
  return CountDifferentIn(a, b, Box{0, y0, a.width - 1, y1 - 1});
}

class TypographyRenderTest : public RenderFixture {};

const Area kBannerArea{20, 20, 440, 200};
const char kGerman[] = "Sommerschlussverkauf mit Pressekonferenz heute Abend";

TEST_F(TypographyRenderTest, GermanBannerLinesEndBetweenWords) {
  const std::string wrapped =
      Job({Canvas(480, 240, "wrapped.png",
                  BannerUi(kGerman, kBannerArea, ",\"wrap\":\"word\""))});
  const std::string plain =
      Job({Canvas(480, 240, "plain.png", BannerUi(kGerman, kBannerArea))});

  // Every line is a run of whole words, and together they are the text;
  // the plain layout, fitted the same way, breaks a word.
  const std::vector<std::string> lines = LinesWithRealMetrics(wrapped);
  ASSERT_GE(lines.size(), 2u);
  for (const std::string& line : lines)
    EXPECT_TRUE(line.front() != ' ' && line.back() != ' ') << line;
  EXPECT_EQ(WordsOfLines(lines), Words(kGerman));
  EXPECT_NE(WordsOfLines(LinesWithRealMetrics(plain)), Words(kGerman));

  // The image shows as many lines, inside the area.
  ExpectCleanRun(Render(wrapped));
  RgbaImage image = Image("wrapped.png");
  ASSERT_TRUE(image.ok);
  EXPECT_EQ(CountInkBands(image), static_cast<int>(lines.size()));
  ExpectInside(OpaqueBox(image), kBannerArea, 1);
}

TEST_F(TypographyRenderTest, LineFeedEndsTheLineAndIsNotDrawn) {
  // Without "wrap", ImageMagick would start a line of its own at the line
  // feed, over the layout's next line.
  RunResult run = Render(Job({
      Canvas(480, 240, "two.png",
             BannerUi("Summer\\nSale", kBannerArea, ",\"wrap\":\"word\"")),
      Canvas(480, 240, "one.png",
             BannerUi("Summer", kBannerArea, ",\"wrap\":\"word\"")),
  }));
  ExpectCleanRun(run);
  RgbaImage two = Image("two.png");
  RgbaImage one = Image("one.png");
  ASSERT_TRUE(two.ok && one.ok);
  // Two lines, the first as wide as "Summer" alone and as high.
  const std::vector<Box> lines = InkBands(two);
  const std::vector<Box> alone = InkBands(one);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(alone.size(), 1u);
  EXPECT_EQ(lines[0].x0, alone[0].x0) << Describe(lines[0]);
  EXPECT_EQ(lines[0].x1, alone[0].x1) << Describe(lines[0]);
  EXPECT_EQ(lines[0].height(), alone[0].height()) << Describe(lines[0]);
  EXPECT_LT(lines[1].width(), lines[0].width()) << Describe(lines[1]);
}

TEST_F(TypographyRenderTest, ValignPlacesTheInkInTheMiddleOrAtTheBottom) {
  const std::string text = "Summer Sale";
  RunResult run = Render(Job({
      Canvas(480, 240, "none.png", BannerUi(text, kBannerArea)),
      Canvas(480, 240, "top.png", BannerUi(text, kBannerArea, ",\"valign\":0")),
      Canvas(480, 240, "bottom.png",
             BannerUi(text, kBannerArea, ",\"valign\":1")),
      Canvas(480, 240, "middle.png",
             BannerUi(text, kBannerArea, ",\"valign\":2")),
      Canvas(480, 240, "wrapped.png",
             BannerUi("Summer Sale on all summer wear", kBannerArea,
                      ",\"valign\":2,\"wrap\":\"word\"")),
  }));
  ExpectCleanRun(run);
  RgbaImage none = Image("none.png");
  RgbaImage top = Image("top.png");
  ASSERT_TRUE(none.ok && top.ok);
  // 0 is today's placement, pixel for pixel.
  EXPECT_EQ(none.rgba, top.rgba);

  const double middle = kBannerArea.y + kBannerArea.height / 2.0;
  Box t = OpaqueBox(top);
  Box b = OpaqueBox(Image("bottom.png"));
  Box m = OpaqueBox(Image("middle.png"));
  Box w = OpaqueBox(Image("wrapped.png"));
  ASSERT_FALSE(t.empty() || b.empty() || m.empty() || w.empty());
  EXPECT_NEAR((m.y0 + m.y1 + 1) / 2.0, middle, 2) << Describe(m);
  EXPECT_NEAR((w.y0 + w.y1 + 1) / 2.0, middle, 2) << Describe(w);
  EXPECT_GT(w.height(), 2 * t.height()) << Describe(w);
  // The bottom block lies as far from the bottom as the top one from the
  // top; only y changes.
  EXPECT_NEAR(kBannerArea.bottom() - (b.y1 + 1), t.y0 - kBannerArea.y, 2)
      << Describe(t) << "; " << Describe(b);
  for (const Box* moved : {&b, &m}) {
    EXPECT_EQ(moved->x0, t.x0) << Describe(*moved);
    EXPECT_EQ(moved->x1, t.x1) << Describe(*moved);
    EXPECT_EQ(moved->height(), t.height()) << Describe(*moved);
  }
}

// Red vertical text in the CJK font, size 28, columns 36 apart.
std::string ColumnUi(const std::string& text, const Area& area,
                     const std::string& extra = "") {
  return "\"default\":\"" + text +
         "\",\"font\":\"cjk\",\"size\":28,\"line_height\":36,"
         "\"fill\":\"#FF0000\",\"direction\":1,\"area\":" +
         AreaJson(area) + extra;
}

const Area kColumnArea{20, 20, 160, 200};

TEST_F(TypographyRenderTest, ValignCentresVerticalColumnsAcrossTheArea) {
  RunResult run = Render(Job({
      Canvas(200, 240, "right.png", ColumnUi("春夏秋冬山水花鳥風月", kColumnArea)),
      Canvas(200, 240, "middle.png",
             ColumnUi("春夏秋冬山水花鳥風月", kColumnArea, ",\"valign\":2")),
      Canvas(200, 240, "left.png",
             ColumnUi("春夏秋冬山水花鳥風月", kColumnArea, ",\"valign\":1")),
  }));
  ExpectCleanRun(run);
  Box r = OpaqueBox(Image("right.png"));
  Box m = OpaqueBox(Image("middle.png"));
  Box l = OpaqueBox(Image("left.png"));
  ASSERT_FALSE(r.empty() || m.empty() || l.empty());
  EXPECT_GT(r.width(), 36) << Describe(r);  // two columns
  EXPECT_NEAR((m.x0 + m.x1 + 1) / 2.0, kColumnArea.x + kColumnArea.width / 2.0,
              2) << Describe(m);
  EXPECT_NEAR(l.x0 - kColumnArea.x, kColumnArea.right() - (r.x1 + 1), 2)
      << Describe(r) << "; " << Describe(l);
  for (const Box* moved : {&m, &l}) {
    EXPECT_EQ(moved->y0, r.y0) << Describe(*moved);
    EXPECT_EQ(moved->y1, r.y1) << Describe(*moved);
  }
}

TEST_F(TypographyRenderTest, VerticalFormsReplaceBracketsAndTurnTheLongVowelMark) {
  // 「春」 in cells 28 high from y 20: 春 in rows 48..75, less the
  // anti-aliased edges of its neighbours.
  RunResult run = Render(Job({
      Canvas(200, 240, "plain.png", ColumnUi("「春」", kColumnArea)),
      Canvas(200, 240, "forms.png",
             ColumnUi("「春」", kColumnArea, ",\"vertical_forms\":true")),
      Canvas(200, 240, "bar.png", ColumnUi("ー", kColumnArea)),
      Canvas(200, 240, "turned.png",
             ColumnUi("ー", kColumnArea, ",\"vertical_forms\":true")),
  }));
  ExpectCleanRun(run);
  RgbaImage plain = Image("plain.png");
  RgbaImage forms = Image("forms.png");
  ASSERT_TRUE(plain.ok && forms.ok);
  EXPECT_GT(CountDifferentRows(plain, forms, 0, 48), 20);
  EXPECT_EQ(CountDifferentRows(plain, forms, 50, 74), 0);
  EXPECT_GT(CountDifferentRows(plain, forms, 76, 240), 20);

  // ー is a horizontal bar; turned, it stands upright in its column.
  Box bar = OpaqueBox(Image("bar.png"), 0.5f);
  Box turned = OpaqueBox(Image("turned.png"), 0.5f);
  ASSERT_FALSE(bar.empty() || turned.empty());
  EXPECT_GT(bar.width(), 4 * bar.height()) << Describe(bar);
  EXPECT_GT(turned.height(), 4 * turned.width()) << Describe(turned);
  // In the same column.
  EXPECT_LE(turned.x0, bar.x1) << Describe(bar) << "; " << Describe(turned);
  EXPECT_GE(turned.x1, bar.x0) << Describe(bar) << "; " << Describe(turned);
}

TEST_F(TypographyRenderTest, MinSizeDrawsTextThatFittingWouldDrop) {
  // Far too much text for a 30 x 14 area: fitting gives up at size 5 and
  // draws nothing; with min_size 10 the first line is drawn at 10, the
  // others cut.
  const Area tiny{10, 10, 30, 14};
  const std::string text = "A long line of text that cannot fit at any size";
  const std::string from20 = ",\"size\":20";
  RunResult run = Render(Job({
      Canvas(100, 40, "gone.png", BannerUi(text, tiny, from20)),
      Canvas(100, 40, "kept.png",
             BannerUi(text, tiny, from20 + ",\"min_size\":10")),
      Canvas(100, 40, "kept_wrapped.png",
             BannerUi(text, tiny,
                      from20 + ",\"min_size\":10,\"wrap\":\"word\"")),
  }));
  ExpectCleanRun(run);
  EXPECT_EQ(CountOpaque(Image("gone.png")), 0);
  for (const char* name : {"kept.png", "kept_wrapped.png"}) {
    Box box = OpaqueBox(Image(name));
    ASSERT_FALSE(box.empty()) << name;
    EXPECT_EQ(CountInkBands(Image(name)), 1) << name;
    EXPECT_GE(box.height(), 5) << name << " " << Describe(box);
    EXPECT_LE(box.height(), 14) << name << " " << Describe(box);
  }
}

}  // namespace

namespace {

// The job-wide switches draw exactly what the canvas's own keys draw, and a
// canvas's own key overrides them.
TEST_F(TypographyRenderTest, JobWideSwitchesEqualTheCanvasKeys) {
  const std::string keyed = Job(
      {Canvas(480, 240, "out.png",
              BannerUi(kGerman, kBannerArea,
                       ",\"wrap\":\"word\",\"valign\":2")),
       Canvas(160, 300, "column.png",
              "\"default\":\"「縦」ー\",\"font\":\"cjk\",\"size\":40,"
              "\"direction\":1,\"vertical_forms\":true,\"valign\":2,"
              "\"area\":[0,0,160,300]"),
       Canvas(480, 240, "top.png",
              BannerUi(kGerman, kBannerArea,
                       ",\"wrap\":\"word\",\"valign\":0"))});
  const std::string bare = Job(
      {Canvas(480, 240, "out.png", BannerUi(kGerman, kBannerArea)),
       Canvas(160, 300, "column.png",
              "\"default\":\"「縦」ー\",\"font\":\"cjk\",\"size\":40,"
              "\"direction\":1,\"area\":[0,0,160,300]"),
       Canvas(480, 240, "top.png",
              BannerUi(kGerman, kBannerArea, ",\"valign\":0"))});
  dir_.Write("fonts.json", TestFontList());
  dir_.Write("keyed.json", keyed);
  dir_.Write("bare.json", bare);
  TempDir a, b;
  RunResult byKeys = RunQuillmark(
      {dir_.File("fonts.json"), dir_.File("keyed.json"), "-report=r.jsonl"},
      a.path(), 60);
  RunResult bySwitches = RunQuillmark(
      {dir_.File("fonts.json"), dir_.File("bare.json"), "-report=r.jsonl",
       "-wrap=word", "-valign=2", "-vertical-forms"},
      b.path(), 60);
  ExpectCleanRun(byKeys);
  ExpectCleanRun(bySwitches);
  for (const char* name : {"out.png", "column.png", "top.png"})
    EXPECT_TRUE(ReadWholeFile(a.File(name)) == ReadWholeFile(b.File(name)))
        << name;
  // The reports agree but for the seconds each canvas took.
  EXPECT_EQ(ReportWithoutSeconds(ReadWholeFile(a.File("r.jsonl"))),
            ReportWithoutSeconds(ReadWholeFile(b.File("r.jsonl"))));
  // Without the switches the bare job draws something else.
  RunResult plain = RunQuillmark(
      {dir_.File("fonts.json"), dir_.File("bare.json")}, dir_.path(), 60);
  ExpectCleanRun(plain);
  EXPECT_FALSE(ReadWholeFile(a.File("out.png")) ==
               ReadWholeFile(dir_.File("out.png")));
}

}  // namespace

namespace {

// A character drawn with its vertical form's glyph is not missing: "—" has
// no glyph in Droid Sans Fallback, its form "︱" has.
TEST_F(TypographyRenderTest, VerticalFormsCountAsGlyphsInTheReport) {
  const std::string ui =
      "\"default\":\"春—「秋」\",\"font\":\"cjk\",\"size\":40,"
      "\"direction\":1,\"area\":[0,0,160,300]";
  dir_.Write("fonts.json", TestFontList());
  dir_.Write("forms.json",
             Job({Canvas(160, 300, "f.png", ui + ",\"vertical_forms\":true")}));
  dir_.Write("plain.json", Job({Canvas(160, 300, "p.png", ui)}));
  RunResult forms = RunQuillmark(
      {"fonts.json", "forms.json", "-strict", "-report=f.jsonl"}, dir_.path(),
      60);
  ExpectCleanRun(forms);
  EXPECT_NE(std::string::npos,
            ReadWholeFile(dir_.File("f.jsonl")).find("\"missing_glyphs\":[]"));
  RunResult plain = RunQuillmark(
      {"fonts.json", "plain.json", "-strict", "-report=p.jsonl"}, dir_.path(),
      60);
  EXPECT_EQ(1, plain.exitCode);
  EXPECT_NE(std::string::npos, ReadWholeFile(dir_.File("p.jsonl"))
                                   .find("\"missing_glyphs\":[\"—\"]"));
}

}  // namespace
