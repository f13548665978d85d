// The engine's shaping against HarfBuzz's own command-line shaper: for each
// run of a telling text, the glyph ids, clusters, offsets and advances that
// the engine gets equal those of hb-shape for the same font, size, script,
// direction and context. Skipped when hb-shape (libharfbuzz-bin) or a font
// (fonts-noto-core) is absent.

#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <unicode/uscript.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "render/text/text_engine.h"

namespace {

const char kNoto[] = "/usr/share/fonts/truetype/noto/";
const char kHbShape[] = "/usr/bin/hb-shape";
constexpr int kPixels = 48;

struct PipeCloser {
  void operator()(FILE* f) const { pclose(f); }
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s)
    q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// hb-shape's glyphs for bytes [begin, end) of `text`, the rest as context.
std::vector<RunGlyph> HbShape(const std::string& font, const std::string& text,
                              const TextRun& run, bool vertical) {
  const char* script = uscript_getShortName(static_cast<UScriptCode>(run.script));
  std::string command = std::string(kHbShape) +
                        " --font-funcs=ot --font-size=" +
                        std::to_string(kPixels * 64) + " --font-ppem=" +
                        std::to_string(kPixels) +
                        " --no-glyph-names --utf8-clusters --output-format=json"
                        " --direction=" +
                        (vertical ? "ttb" : (run.level & 1) ? "rtl" : "ltr");
  if (script != nullptr && std::string(script) != "Zyyy" &&
      std::string(script) != "Zinh")
    command += std::string(" --script=") + script;
  if (run.begin > 0)
    command += " --text-before=" + Quote(text.substr(0, run.begin));
  if (run.end < text.size())
    command += " --text-after=" + Quote(text.substr(run.end));
  command += " " + Quote(font) + " " +
             Quote(text.substr(run.begin, run.end - run.begin));
  std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
  std::string output;
  char buffer[4096];
  size_t n;
  while (pipe && (n = fread(buffer, 1, sizeof(buffer), pipe.get())) > 0)
    output.append(buffer, n);
  std::vector<RunGlyph> glyphs;
  rapidjson::Document doc;
  doc.Parse(output.c_str());
  EXPECT_TRUE(!doc.HasParseError() && doc.IsArray()) << command << "\n"
                                                     << output;
  if (doc.HasParseError() || !doc.IsArray())
    return glyphs;
  for (const rapidjson::Value& g : doc.GetArray()) {
    auto get = [&g](const char* key) {
      auto it = g.FindMember(key);
      return it != g.MemberEnd() && it->value.IsInt() ? it->value.GetInt() : -1;
    };
    // hb-shape's clusters count from the start of the shaped run.
    glyphs.push_back({static_cast<uint32_t>(get("g")),
                      static_cast<uint32_t>(get("cl") +
                                            static_cast<int>(run.begin)),
                      get("ax"), get("ay"), get("dx"), get("dy")});
  }
  return glyphs;
}

struct Sample {
  const char* name;
  std::vector<std::string> fonts;  // file names under kNoto, or paths
  std::string text;
  size_t runs;                     // how many runs the engine makes
  bool vertical = false;           // shaped top to bottom, for a column
};

class HbShapeTest : public ::testing::TestWithParam<Sample> {};

TEST_P(HbShapeTest, EveryRunShapesAsHbShapeShapesIt) {
  const Sample& sample = GetParam();
  if (access(kHbShape, X_OK) != 0)
    GTEST_SKIP() << "no hb-shape (libharfbuzz-bin)";
  std::vector<std::pair<std::string, std::string>> files;
  for (const std::string& f : sample.fonts) {
    const std::string path = f[0] == '/' ? f : kNoto + f;
    if (access(path.c_str(), R_OK) != 0)
      GTEST_SKIP() << "no " << path << " (see scripts/bootstrap's fonts)";
    files.emplace_back(f, path);
  }
  TextEngine engine;
  const FontChain chain = OpenChain(&engine, files);
  ASSERT_EQ(chain.fonts.size(), files.size());
  const Itemized item =
      ItemizeText(chain, sample.text, ParagraphDirection::kFromText);
  ASSERT_EQ(item.runs.size(), sample.runs);
  for (const TextRun& run : item.runs) {
    const std::vector<RunGlyph> ours =
        ShapeRun(chain.fonts[static_cast<size_t>(run.font)], kPixels,
                 item.text, run, "", sample.vertical);
    const std::vector<RunGlyph> theirs =
        HbShape(files[static_cast<size_t>(run.font)].second, item.text, run,
                sample.vertical);
    ASSERT_EQ(ours.size(), theirs.size()) << "run at byte " << run.begin;
    ASSERT_FALSE(ours.empty());
    for (size_t i = 0; i < ours.size(); ++i) {
      SCOPED_TRACE("run at byte " + std::to_string(run.begin) + ", glyph " +
                   std::to_string(i));
      EXPECT_EQ(ours[i].glyph, theirs[i].glyph);
      EXPECT_EQ(ours[i].cluster, theirs[i].cluster);
      EXPECT_EQ(ours[i].xAdvance, theirs[i].xAdvance);
      EXPECT_EQ(ours[i].yAdvance, theirs[i].yAdvance);
      EXPECT_EQ(ours[i].xOffset, theirs[i].xOffset);
      EXPECT_EQ(ours[i].yOffset, theirs[i].yOffset);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, HbShapeTest,
    ::testing::Values(
        Sample{"Arabic", {"NotoSansArabic-Regular.ttf"},
               "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD8\xA7\xD9"
               "\x84\xD8\xB9\xD8\xA7\xD9\x84\xD9\x85",
               1},
        Sample{"HebrewWithPoints", {"NotoSansHebrew-Regular.ttf"},
               "\xD7\xA9\xD6\xB8\xD7\x81\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D "
               "\xD7\xA2\xD7\x95\xD6\xB9\xD7\x9C\xD6\xB8\xD7\x9D",
               1},
        Sample{"Devanagari", {"NotoSansDevanagari-Regular.ttf"},
               "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4"
               "\xE0\xA5\x87 \xE0\xA4\xA6\xE0\xA5\x81\xE0\xA4\xA8\xE0\xA4\xBF"
               "\xE0\xA4\xAF\xE0\xA4\xBE",
               1},
        Sample{"Thai", {"NotoSansThai-Regular.ttf"},
               "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94"
               "\xE0\xB8\xB5\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA7\xE0\xB9\x82"
               "\xE0\xB8\xA5\xE0\xB8\x81",
               1},
        // Latin from the fallback font, the Arabic and the digits (an
        // Arabic number after Arabic letters, level 2) from the Arabic
        // font; spaces join the run before them.
        Sample{"ArabicLatinDigits",
               {"NotoSansArabic-Regular.ttf", "NotoSans-Regular.ttf"},
               "abc \xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 123",
               4},
        Sample{"Persian", {"NotoSansArabic-Regular.ttf"},
               "\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85 \xDA\xAF\xD9\x84\xD9\x87\xD8"
               "\xA7\xDB\x8C \xD9\xBE\xDA\x98",
               1},
        // Nastaliq: glyphs cascade down to the left, positioned by GPOS.
        Sample{"UrduNastaliq", {"NotoNastaliqUrdu-Regular.ttf"},
               "\xD8\xA7\xD8\xB1\xD8\xAF\xD9\x88 \xD8\xB2\xD8\xA8\xD8\xA7\xD9"
               "\x86 \xD8\xA8\xDB\x81\xD8\xAA \xD8\xAE\xD9\x88\xD8\xA8\xD8\xB5"
               "\xD9\x88\xD8\xB1\xD8\xAA \xDB\x81\xDB\x92",
               1},
        Sample{"Bengali", {"NotoSansBengali-Regular.ttf"},
               "\xE0\xA6\xB8\xE0\xA7\x8D\xE0\xA6\xAC\xE0\xA6\xBE\xE0\xA6\x97"
               "\xE0\xA6\xA4\xE0\xA6\xAE",
               1},
        Sample{"Tamil", {"NotoSansTamil-Regular.ttf"},
               "\xE0\xAE\xB5\xE0\xAE\xA3\xE0\xAE\x95\xE0\xAF\x8D\xE0\xAE\x95"
               "\xE0\xAE\xAE\xE0\xAF\x8D",
               1},
        Sample{"Khmer", {"NotoSansKhmer-Regular.ttf"},
               "\xE1\x9E\x9F\xE1\x9E\xBD\xE1\x9E\x9F\xE1\x9F\x92\xE1\x9E\x8F"
               "\xE1\x9E\xB8",
               1},
        // Top to bottom: brackets, the long vowel mark and the full stops
        // take the font's vertical forms and vertical metrics. Two runs:
        // the Han with the bracket before it, the Hiragana with the rest.
        Sample{"JapaneseVertical",
               {"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"},
               "\xE3\x80\x8C\xE7\xB8\xA6\xE6\x9B\xB8\xE3\x81\x8D"
               "\xE3\x80\x8D\xE3\x83\xBC\xE3\x80\x81\xE3\x80\x82",
               2, true}),
    [](const ::testing::TestParamInfo<Sample>& info) {
      return std::string(info.param.name);
    });

}  // namespace
