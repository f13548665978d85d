// End-to-end tests of what a written image holds: the PNG sub-format
// prefixes and the "background" key, read back.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/image_reader.h"
#include "support/job_text.h"
#include "support/render_fixture.h"
#include "support/run_quillmark.h"

namespace {

class OutputTest : public RenderFixture {
 protected:
  // The bit depth and colour type of a PNG file's header.
  std::pair<int, int> PngType(const std::string& name) {
    const std::string bytes = ReadWholeFile(dir_.File(name));
    if (bytes.size() < 26 || bytes.compare(1, 3, "PNG") != 0)
      return {-1, -1};
    return {static_cast<unsigned char>(bytes[24]),
            static_cast<unsigned char>(bytes[25])};
  }
};

const char kBlackA[] =
    "\"default\":\"A\",\"font\":\"sans\",\"size\":30,\"fill\":\"#000000\","
    "\"area\":[0,0,120,60]";

TEST_F(OutputTest, PngSubFormatsFixThePixelType) {
  // Black text on transparency: ImageMagick's own choice would be grey with
  // alpha; each prefix asks for one type.
  ExpectCleanRun(Render(Job({Canvas(120, 60, "plain.png", kBlackA),
                             Canvas(120, 60, "png32:rgba.png", kBlackA),
                             Canvas(120, 60, "png64:rgba16.png", kBlackA),
                             Canvas(120, 60, "png24:rgb.png", kBlackA),
                             Canvas(120, 60, "PNG8:palette.png", kBlackA)})));
  EXPECT_EQ(std::make_pair(8, 6), PngType("rgba.png"));
  EXPECT_EQ(std::make_pair(16, 6), PngType("rgba16.png"));
  EXPECT_EQ(std::make_pair(8, 2), PngType("rgb.png"));
  EXPECT_EQ(3, PngType("palette.png").second);
  EXPECT_NE(6, PngType("plain.png").second);
  // The same pixels as the plain file, only stored another way.
  RgbaImage plain = Image("plain.png");
  RgbaImage rgba = Image("rgba.png");
  ASSERT_TRUE(plain.ok && rgba.ok);
  EXPECT_EQ(0, CountDifferentIn(plain, rgba, {0, 0, 119, 59}));
  // Only as a prefix: as an extension it is no format Quillmark writes.
  RunResult run = Render(Job({Canvas(120, 60, "x.png32", kBlackA)}));
  EXPECT_EQ(1, run.exitCode);
}

TEST_F(OutputTest, BackgroundLiesUnderTheTextAndItsShadow) {
  const std::string ui = std::string(kBlackA) +
                         ",\"background\":\"#FFFF00\",\"shadow\":\"#0000FF\","
                         "\"s_size\":2,\"s_dist\":4,\"s_angle\":45,"
                         "\"s_alpha\":1";
  ExpectCleanRun(Render(Job({Canvas(120, 60, "yellow.png", ui),
                             Canvas(120, 60, "yellow.jpg", ui)})));
  for (const char* name : {"yellow.png", "yellow.jpg"}) {
    RgbaImage image = Image(name);
    ASSERT_TRUE(image.ok) << name;
    // Opaque yellow at the corners, far from the text.
    for (auto [x, y] : {std::pair{0, 0}, {119, 0}, {0, 59}, {119, 59}}) {
      EXPECT_NEAR(1.0f, image.A(x, y), 0.01f) << name;
      EXPECT_NEAR(1.0f, image.R(x, y), 0.02f) << name;
      EXPECT_NEAR(1.0f, image.G(x, y), 0.02f) << name;
      EXPECT_NEAR(0.0f, image.B(x, y), 0.02f) << name;
    }
    // The shadow is the text's, not the canvas's: blue only near the text.
    EXPECT_GT(CountBlueDominant(image), 0) << name;
    EXPECT_LT(CountBlueDominant(image), 120 * 60 / 4) << name;
  }
  // Without the key, the canvas stays transparent where nothing is drawn.
  ExpectCleanRun(Render(Job({Canvas(120, 60, "clear.png", kBlackA)})));
  EXPECT_EQ(0.0f, Image("clear.png").A(0, 0));
}

TEST_F(OutputTest, ABackgroundThatIsNoColourIsIgnoredAndSaid) {
  RunResult run = Render(Job({Canvas(
      120, 60, "a.png", std::string(kBlackA) + ",\"background\":\"nocolour\"")}));
  EXPECT_EQ(0, run.exitCode);
  EXPECT_EQ(std::vector<std::string>{
                "Quillmark : canvas 0: \"ui\" key \"background\" ignored: not "
                "a colour"},
            Problems(run));
  EXPECT_EQ(0.0f, Image("a.png").A(0, 0));
}

TEST_F(OutputTest, PngCompressionChangesTheFileButNotThePixels) {
  // Outline, shadow and a background: much for zlib to do.
  const std::string ui =
      "\"default\":\"Quill\",\"font\":\"sans\",\"size\":40,"
      "\"fill\":\"#FFD54A\",\"stroke\":\"#3A2A00\",\"width\":4,"
      "\"shadow\":\"#000000\",\"s_size\":3,\"s_dist\":5,\"s_angle\":30,"
      "\"s_alpha\":0.5,\"area\":[0,0,200,80]";
  dir_.Write("fonts.json", TestFontList());
  dir_.Write("job.json", Job({Canvas(200, 80, "a.png", ui),
                              Canvas(200, 80, "png24:b.png", ui)}));
  // Each level's files, bytes and pixels, -1 for the run without it.
  std::map<int, std::pair<std::string, std::string>> files;
  std::map<int, std::pair<RgbaImage, RgbaImage>> images;
  for (int level : {-1, 0, 1, 7, 9}) {
    std::vector<std::string> args = {"fonts.json", "job.json"};
    if (level >= 0)
      args.push_back("-png-compression=" + std::to_string(level));
    ExpectCleanRun(RunQuillmark(args, dir_.path(), 60));
    files[level] = {ReadWholeFile(dir_.File("a.png")),
                    ReadWholeFile(dir_.File("b.png"))};
    images[level] = {Image("a.png"), Image("b.png")};
    ASSERT_TRUE(images[level].first.ok && images[level].second.ok) << level;
    // The same pixels as without the argument, in both pixel types.
    EXPECT_EQ(0, CountDifferentIn(images[-1].first, images[level].first,
                                  {0, 0, 199, 79}))
        << level;
    EXPECT_EQ(0, CountDifferentIn(images[-1].second, images[level].second,
                                  {0, 0, 199, 79}))
        << level;
  }
  // The text is there: the RGBA image has ink.
  EXPECT_GT(CountOpaque(images[-1].first), 1000);
  // ImageMagick's default is level 7 with the same filters.
  EXPECT_EQ(files[-1], files[7]);
  // Level 0 stores the rows unpacked: far larger than any packed one.
  for (int level : {-1, 1, 9}) {
    EXPECT_GT(files[0].first.size(), 2 * files[level].first.size()) << level;
    EXPECT_GT(files[0].second.size(), 2 * files[level].second.size()) << level;
  }
  EXPECT_NE(files[1].first, files[-1].first);
  EXPECT_LE(files[9].first.size(), files[1].first.size());
}

}  // namespace
