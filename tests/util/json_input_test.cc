#include "util/json_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Offsets = std::vector<size_t>;

const char kBom[] = "\xEF\xBB\xBF";

TEST(ByteOrderMarkTest, OnlyAWholeMarkAtTheStartCounts) {
  EXPECT_EQ(3u, ByteOrderMarkLength(std::string(kBom) + "[]"));
  EXPECT_EQ(3u, ByteOrderMarkLength(kBom));
  EXPECT_EQ(0u, ByteOrderMarkLength("\xEF\xBB[]"));
  EXPECT_EQ(0u, ByteOrderMarkLength(" \xEF\xBB\xBF[]"));
  EXPECT_EQ(0u, ByteOrderMarkLength(""));
}

TEST(LoneSurrogateScanTest, FindsLoneHighSurrogatesInStringsOnly) {
  struct Case {
    std::string text;
    Offsets lone;
  };
  const Case cases[] = {
      {R"(["\ud800"])", {2}},
      {R"(["\uDBFF", "\uDAbc"])", {2, 12}},
      {R"(["\ud800\udc00"])", {}},             // a pair
      {R"(["\uD83D\uDE00"])", {}},             // a pair in upper case
      {R"(["\udc00"])", {}},                   // a lone low surrogate
      {R"(["\ud800\ud800\udc00"])", {2}},      // a lone high, then a pair
      {R"(["\ud800\u0041"])", {2}},            // followed by another escape
      {R"(["\ud800\\udc00"])", {2}},           // followed by an escaped backslash
      {R"(["\\ud800"])", {}},                  // an escaped backslash, then text
      {R"(["\\\ud800"])", {4}},                // an escaped backslash, then the escape
      {R"(["\"\ud800"])", {4}},                // an escaped quote stays in the string
      {R"(["a"\ud800])", {}},                  // outside strings
      {R"([\ud800, "\ud800"])", {10}},
      {R"({"\ud800": "x"})", {2}},             // names are strings too
      {R"(["\ud80", "\ud800"])", {11}},        // a broken escape is skipped
      {R"(["\ud800)", {2}},                    // the text ends after it
      {R"(["\ud800\udc0)", {2}},               // the low one is cut off
      {R"(["\ud800\u)", {2}},
      {R"(["\)", {}},
      {std::string("[\"\0\\ud800\"]", 11), {}},  // the text ends at a NUL
      {std::string("[\"\\\0\\ud800\"]", 12), {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.lone, FindLoneHighSurrogates(c.text, 0)) << c.text;

  // The scan starts after a byte-order mark; offsets count from the text.
  EXPECT_EQ(Offsets{5}, FindLoneHighSurrogates(kBom + std::string(R"(["\ud800"])"), 3));
}

TEST(LoneSurrogateScanTest, ReplacesEachByItsThreeBytes) {
  const std::string text = std::string(kBom) + R"(["\ud800x\uDBFF", "\ud800\udc00"])";
  const Offsets lone = FindLoneHighSurrogates(text, 3);
  ASSERT_EQ((Offsets{5, 12}), lone);
  EXPECT_EQ("[\"\xED\xA0\x80x\xED\xAF\xBF\", \"\\ud800\\udc00\"]",
            ReplaceLoneHighSurrogates(text, 3, lone));
  EXPECT_EQ("[]", ReplaceLoneHighSurrogates("[]", 0, {}));
}

TEST(LoneSurrogateScanTest, OffsetsMapBackToTheOriginalText) {
  const std::string text =
      std::string(kBom) + R"([ "\ud800", "a\udbffb\uD9AA", "\\ud800", 7 ])";
  const Offsets lone = FindLoneHighSurrogates(text, 3);
  ASSERT_EQ(3u, lone.size());
  const std::string replaced = ReplaceLoneHighSurrogates(text, 3, lone);
  ASSERT_EQ(text.size() - 3 - 9, replaced.size());
  for (size_t offset = 0; offset <= replaced.size(); ++offset) {
    const size_t original = OriginalOffset(3, lone, offset);
    bool inReplacement = false;
    for (size_t at : lone)
      if (original >= at && original < at + 6) inReplacement = true;
    if (inReplacement) {
      // Each of the three bytes lands in the escape it came from.
      const unsigned char byte = static_cast<unsigned char>(replaced[offset]);
      EXPECT_TRUE(byte == 0xED || (byte & 0xC0) == 0x80) << offset;
      continue;
    }
    if (offset == replaced.size())
      EXPECT_EQ(text.size(), original);  // the end maps to the end
    else
      EXPECT_EQ(text[original], replaced[offset]) << offset;
  }
  EXPECT_EQ(3u, OriginalOffset(3, {}, 0));
  EXPECT_EQ(10u, OriginalOffset(0, {}, 10));
}

// The bytes of the first element of a parsed array.
std::string FirstString(const std::string& text) {
  rapidjson::Document doc;
  ParseInputJson(text, &doc);
  if (doc.HasParseError() || !doc.IsArray() || doc.Empty() || !doc[0].IsString())
    return "(no string)";
  return std::string(doc[0].GetString(), doc[0].GetStringLength());
}

TEST(ParseInputJsonTest, SkipsAByteOrderMarkOnce) {
  EXPECT_EQ("a", FirstString(std::string(kBom) + R"(["a"])"));
  EXPECT_EQ("(no string)", FirstString(std::string(kBom) + kBom + R"(["a"])"));
  EXPECT_EQ("(no string)", FirstString(std::string(" ") + kBom + R"(["a"])"));
}

TEST(ParseInputJsonTest, LoneSurrogatesOfBothKindsBecomeThreeBytes) {
  EXPECT_EQ("\xED\xA0\x80", FirstString(R"(["\ud800"])"));
  EXPECT_EQ("\xED\xB0\x80", FirstString(R"(["\udc00"])"));  // RapidJSON's own
  EXPECT_EQ("a\xED\xAF\xBF" "A", FirstString(R"(["a\udbff\u0041"])"));
  EXPECT_EQ("\xED\xA0\x80\xF0\x90\x80\x80",
            FirstString(R"(["\ud800\ud800\udc00"])"));
  EXPECT_EQ("\xF0\x9F\x98\x80", FirstString(R"(["\ud83d\ude00"])"));
  EXPECT_EQ("\\ud800", FirstString(R"(["\\ud800"])"));
  EXPECT_EQ("\xED\xA0\x80", FirstString(std::string(kBom) + R"(["\ud800"])"));
  // A raw lone high surrogate was never refused: bytes are not validated.
  EXPECT_EQ("\xED\xA0\x80", FirstString("[\"\xED\xA0\x80\"]"));
}

TEST(ParseInputJsonTest, EverythingElseStaysStrict) {
  for (const std::string text : {R"(["\ud800)", R"(["\ud8"])", R"([\ud800])",
                                 "[\"\\ud800\" 1]", "[1,]", "// x\n[]"}) {
    rapidjson::Document doc;
    ParseInputJson(text, &doc);
    EXPECT_TRUE(doc.HasParseError()) << text;
  }
}

std::string Describe(const std::string& text, JsonRoot root,
                     const std::string& path = "job.json") {
  rapidjson::Document doc;
  ParseInputJson(text, &doc);
  return DescribeParseFailure(path, text, doc, root);
}

TEST(DescribeParseFailureTest, GivesTheErrorAtItsOffsetInTheFile) {
  const std::string head = "Quillmark : job.json: ";
  EXPECT_EQ(head + "parse error at byte 0: The document is empty.",
            Describe("", JsonRoot::kArray));
  EXPECT_EQ(head + "parse error at byte 3: The document is empty.",
            Describe(kBom, JsonRoot::kArray));
  EXPECT_EQ(head + "parse error at byte 3: Invalid escape character in string.",
            Describe(R"(["a\x"])", JsonRoot::kArray));
  EXPECT_EQ(head + "parse error at byte 3: The document root must not be "
                   "followed by other values.",
            Describe("[] x", JsonRoot::kArray));
  // Counted in the file: the mark and the two six-byte escapes before it.
  EXPECT_EQ(head + "parse error at byte 23: Missing a comma or ']' after an "
                   "array element.",
            Describe(std::string(kBom) + R"(["\ud800", "\udbff" 1])",
                     JsonRoot::kArray));
  // A broken escape after lone ones is pointed at in the file.
  EXPECT_EQ(head + "parse error at byte 18: Incorrect hex digit after \\u "
                   "escape in string.",
            Describe(R"(["\ud800", "\ud800\uXYZ0"])", JsonRoot::kArray));
}

TEST(DescribeParseFailureTest, NamesAWrongRootAndNothingForAGoodOne) {
  EXPECT_EQ("Quillmark : job.json: the root is not an array",
            Describe("{}", JsonRoot::kArray));
  EXPECT_EQ("Quillmark : fonts.json: the root is not an object",
            Describe(R"(["/a.ttf"])", JsonRoot::kObject, "fonts.json"));
  EXPECT_EQ("", Describe("[]", JsonRoot::kArray));
  EXPECT_EQ("", Describe(std::string(kBom) + "{}", JsonRoot::kObject));
  // The path cannot break the line.
  EXPECT_EQ("Quillmark : a\\x0ab.json: the root is not an array",
            Describe("1", JsonRoot::kArray, "a\nb.json"));
}

TEST(ParseInputJsonTest, DeepNestingIsParsedWithoutRecursion) {
  // Deep enough to exhaust an 8 MiB stack if the parser recursed.
  const size_t kDepth = 1000000;
  std::string objects;
  for (size_t i = 0; i < kDepth; ++i) objects += "{\"a\":";
  const std::string head = "Quillmark : job.json: parse error at byte ";
  EXPECT_EQ(head + "1000000: Invalid value.",
            Describe(std::string(kDepth, '['), JsonRoot::kArray));
  EXPECT_EQ(head + "5000000: Invalid value.", Describe(objects, JsonRoot::kObject));
  // Well-formed, it parses (what reads it is tested end to end).
  rapidjson::Document doc;
  ParseInputJson(std::string(kDepth, '[') + std::string(kDepth, ']'), &doc);
  EXPECT_FALSE(doc.HasParseError());
  EXPECT_TRUE(doc.IsArray());
}

}  // namespace
