#include "fonts/font_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/captured_log.h"
#include "support/temp_dir.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// The registry's entries in its own order.
Entries EntriesOf(const FontMap& fonts) {
  return Entries(fonts.begin(), fonts.end());
}

// Parses a font list text into a fresh map, and returns its notes, without
// the log prefix.
std::vector<std::string> Load(const std::string& text, FontMap* fonts) {
  std::vector<std::string> notes;
  AddFontList(text, fonts, &notes);
  return notes;
}

TEST(FontListTest, ReadsEachMemberAsNameAndPath) {
  FontMap fonts;
  auto log = Load(" \t\r\n" R"({"Sans": "fonts/sans-regular.ttf",
                      "Title Bold": "/opt/fonts/title-bold.otf"})" "\r\n",
                  &fonts);
  EXPECT_EQ((Entries{{"Sans", "fonts/sans-regular.ttf"},
                     {"Title Bold", "/opt/fonts/title-bold.otf"}}),
            EntriesOf(fonts));
  EXPECT_TRUE(log.empty());
}

TEST(FontListTest, FirstMemberOfANameCountsSilently) {
  FontMap fonts;
  auto log = Load(R"({"a": "/first.ttf", "b": "/b.ttf", "a": "/second.ttf"})",
                  &fonts);
  EXPECT_EQ((Entries{{"a", "/first.ttf"}, {"b", "/b.ttf"}}), EntriesOf(fonts));
  EXPECT_TRUE(log.empty());
}

TEST(FontListTest, NamesAreOrderedByUnsignedBytes) {
  FontMap fonts;
  Load("{\"sans\": \"/1\", \"\xC3\xA9t\xC3\xA9\": \"/2\", \"alpha\": \"/3\","
       " \"Sans Bold\": \"/4\", \"Bold\": \"/5\", \"Sans\": \"/6\","
       " \"zeta\": \"/7\"}",
       &fonts);
  std::vector<std::string> names;
  for (const auto& entry : fonts) names.push_back(entry.first);
  // Upper case before lower case, a prefix before its extensions, and a
  // byte above 0x7F after every ASCII letter.
  EXPECT_EQ((std::vector<std::string>{"Bold", "Sans", "Sans Bold", "alpha",
                                      "sans", "zeta", "\xC3\xA9t\xC3\xA9"}),
            names);
}

TEST(FontListTest, NamesAndPathsEndAtAnEscapedNul) {
  FontMap fonts;
  Load(R"({"Sans\u0000 Bold": "/fonts/a.ttf\u0000.png",
           "Sans\u0000 Italic": "/fonts/b.ttf",
           "Mono": "/fonts/m\u00e9.ttf"})",
       &fonts);
  // Both names are cut to "Sans"; the first one counts. Other escapes are
  // decoded.
  EXPECT_EQ((Entries{{"Mono", "/fonts/m\xC3\xA9.ttf"}, {"Sans", "/fonts/a.ttf"}}),
            EntriesOf(fonts));
}

TEST(FontListTest, AnythingButOneStrictJsonObjectLeavesItEmpty) {
  const std::string valid = R"({"a": "/a.ttf"})";
  const std::vector<std::string> texts = {
      "",
      "   \n",
      "[\"/a.ttf\"]",
      "\"/a.ttf\"",
      "1",
      "true",
      "false",
      "null",
      "{}",
      "{",
      "{\"a\": \"/a.ttf\",}",
      "{'a': '/a.ttf'}",
      valid + " x",
      valid + valid,
      "\xEF\xBB\xBF\xEF\xBB\xBF" + valid,  // a second byte order mark
      "// fonts\n" + valid,             // comments
      "/* fonts */" + valid,
      valid + " // fonts",
      "{\"a\": \"/a.ttf\", \"n\": NaN}",
      std::string("\0", 1) + valid,     // a NUL byte ends the text
      std::string("{\"a\": \"/a.ttf\"\0}", 16),
  };
  for (const std::string& text : texts) {
    FontMap fonts;
    auto log = Load(text, &fonts);
    EXPECT_TRUE(fonts.empty()) << text;
    EXPECT_TRUE(log.empty()) << text;
  }
}

TEST(FontListTest, MembersThatAreNotStringsAreLeftOutWithALine) {
  FontMap fonts;
  auto log = Load(R"({"n": null, "i": 12, "f": 1.5, "t": true, "no": false,
                      "arr": ["/a.ttf"], "obj": {"path": "/a.ttf"},
                      "ok": "/ok.ttf", "ctl\n": 0})",
                  &fonts);
  EXPECT_EQ((Entries{{"ok", "/ok.ttf"}}), EntriesOf(fonts));
  const std::string tail = " left out: its value is not a string";
  EXPECT_EQ((std::vector<std::string>{
                "Quillmark : font \"n\"" + tail,
                "Quillmark : font \"i\"" + tail,
                "Quillmark : font \"f\"" + tail,
                "Quillmark : font \"t\"" + tail,
                "Quillmark : font \"no\"" + tail,
                "Quillmark : font \"arr\"" + tail,
                "Quillmark : font \"obj\"" + tail,
                // A control byte in a name cannot break the log line.
                "Quillmark : font \"ctl\\x0a\"" + tail,
            }),
            log);
}

TEST(FontListTest, UnsafePathsAreLeftOutWithALine) {
  FontMap fonts;
  auto log = Load(R"({"quote": "/fonts/it's.ttf",
                      "backslash": "C:\\fonts\\a.ttf",
                      "tab": "/fonts/a\tb.ttf",
                      "del": "/fonts/a\u007f.ttf",
                      "at": "@/fonts/list.txt",
                      "dash": "-fonts.ttf",
                      "caret": "^fonts.ttf",
                      "inner": "/fonts/a@b-c^d.ttf",
                      "utf8": "/fonts/\u00e9.ttf"})",
                  &fonts);
  EXPECT_EQ((Entries{{"inner", "/fonts/a@b-c^d.ttf"},
                     {"utf8", "/fonts/\xC3\xA9.ttf"}}),
            EntriesOf(fonts));
  EXPECT_EQ((std::vector<std::string>{
                "Quillmark : font \"quote\" left out: its path contains a "
                "quote or a backslash",
                "Quillmark : font \"backslash\" left out: its path contains a "
                "quote or a backslash",
                "Quillmark : font \"tab\" left out: its path contains a "
                "control character",
                "Quillmark : font \"del\" left out: its path contains a "
                "control character",
                "Quillmark : font \"at\" left out: its path begins with '@', "
                "'-' or '^'",
                "Quillmark : font \"dash\" left out: its path begins with "
                "'@', '-' or '^'",
                "Quillmark : font \"caret\" left out: its path begins with "
                "'@', '-' or '^'",
            }),
            log);
}

// GetFont and LoadFontFiles work on the process-wide registry.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { kFontInfoMaps.clear(); }
  void TearDown() override { kFontInfoMaps.clear(); }
  void Use(const std::string& text) {
    std::vector<std::string> notes;
    AddFontList(text, &kFontInfoMaps, &notes);
  }
};

TEST_F(RegistryTest, GetFontFindsNamesExactly) {
  Use(R"({"Sans": "/sans.ttf", "Sans Bold": "/sans-bold.ttf",
          "sans": "/lower.ttf"})");
  EXPECT_EQ("/sans.ttf", GetFont("Sans"));
  EXPECT_EQ("/sans-bold.ttf", GetFont("Sans Bold"));
  EXPECT_EQ("/lower.ttf", GetFont("sans"));
}

TEST_F(RegistryTest, UnregisteredNameGetsThePathOfTheSmallestName) {
  Use(R"({"Sans": "fonts/sans-regular.ttf",
          "Title Bold": "/opt/fonts/title-bold.otf"})");
  EXPECT_EQ("fonts/sans-regular.ttf", GetFont("sans"));
  EXPECT_EQ("fonts/sans-regular.ttf", GetFont("Sans "));
  EXPECT_EQ("fonts/sans-regular.ttf", GetFont("Title"));
  EXPECT_EQ("fonts/sans-regular.ttf", GetFont(""));
  EXPECT_EQ("/opt/fonts/title-bold.otf", GetFont("Title Bold"));
}

TEST_F(RegistryTest, FallbackIsTheByteWiseSmallestNotTheFirstListed) {
  Use(R"({"alpha": "/alpha.ttf", "Bold": "/bold.ttf"})");
  EXPECT_EQ("/bold.ttf", GetFont("missing"));
  kFontInfoMaps.clear();
  Use(R"({"Serif": "/serif.ttf", "Sans": "/sans.ttf"})");
  EXPECT_EQ("/sans.ttf", GetFont("missing"));
}

TEST_F(RegistryTest, EmptyNameIsFoundAndIsTheFallback) {
  Use(R"({"Bold": "/bold.ttf", "": "/empty.ttf"})");
  EXPECT_EQ("/empty.ttf", GetFont(""));
  EXPECT_EQ("/empty.ttf", GetFont("missing"));
  EXPECT_EQ("/bold.ttf", GetFont("Bold"));
}

TEST_F(RegistryTest, LoadFontFilesReadsTheListFromAFile) {
  TempDir dir;
  std::string path = dir.Write(
      "fonts.json", "\xEF\xBB\xBF" R"({"Sans": "/no/such/sans.ttf", "Mono": "mono.ttf",
                                       "\ud800": "/x.ttf"})");
  auto log = CapturedLog([&] { LoadFontFiles(path); });
  // Paths are stored as given, without being resolved or tested; the
  // byte-order mark is skipped, and the lone surrogate kept as its three
  // bytes, as "\udc00" would be.
  EXPECT_EQ((Entries{{"Mono", "mono.ttf"},
                     {"Sans", "/no/such/sans.ttf"},
                     {"\xED\xA0\x80", "/x.ttf"}}),
            EntriesOf(kFontInfoMaps));
  EXPECT_TRUE(log.empty());
}

TEST_F(RegistryTest, LoadFontFilesWithMissingFileLogsOnlyTheReadersLine) {
  TempDir dir;
  std::string path = dir.File("missing.json");
  auto log = CapturedLog([&] { LoadFontFiles(path); });
  EXPECT_TRUE(kFontInfoMaps.empty());
  EXPECT_EQ(std::vector<std::string>{"File not exist " + path}, log);
}

TEST_F(RegistryTest, LoadFontFilesSaysWhyAListIsNotUsable) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\xEF\xBB\xBF{\"a\": \"/a.ttf\",}",
       ": parse error at byte 18: Missing a name for object member."},
      {R"(["/a.ttf"])", ": the root is not an object"},
  };
  for (const auto& [text, why] : cases) {
    std::string path = dir.Write("fonts.json", text);
    auto log = CapturedLog([&] { LoadFontFiles(path); });
    EXPECT_TRUE(kFontInfoMaps.empty());
    EXPECT_EQ(std::vector<std::string>{"Quillmark : " + path + why}, log);
  }
  // A list that parses but gives no font is no parse failure.
  std::string path = dir.Write("fonts.json", "{}");
  EXPECT_TRUE(CapturedLog([&] { LoadFontFiles(path); }).empty());
}

}  // namespace
