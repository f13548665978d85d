#include "render/layout/split_word.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

Strings Split(const std::string& text) {
  Strings units;
  splitWord(text, units);
  return units;
}

TEST(SplitWordTest, OneUnitPerCharacterWithBlanksAndLineFeedsAsUnits) {
  EXPECT_TRUE(Split("").empty());
  EXPECT_EQ(Split("ab c"), (Strings{"a", "b", " ", "c"}));
  EXPECT_EQ(Split("a\nb"), (Strings{"a", "\n", "b"}));
  // Three CJK characters of three bytes each.
  EXPECT_EQ(Split("\xE4\xB8\x80\xE4\xBA\x8C\xE4\xB8\x89"),
            (Strings{"\xE4\xB8\x80", "\xE4\xBA\x8C", "\xE4\xB8\x89"}));
  // A character outside the BMP, between two ASCII letters.
  EXPECT_EQ(Split("a\xF0\x9F\x98\x80z"),
            (Strings{"a", "\xF0\x9F\x98\x80", "z"}));
  // A NUL byte is an ordinary one-byte unit.
  EXPECT_EQ(Split(std::string("a\0b", 3)),
            (Strings{"a", std::string(1, '\0'), "b"}));
}

TEST(SplitWordTest, SequenceCutOffAtTheEndGivesShorterLastUnit) {
  EXPECT_EQ(Split("ab\xE4"), (Strings{"a", "b", "\xE4"}));
  EXPECT_EQ(Split("\xE4\xB8"), (Strings{"\xE4\xB8"}));
  EXPECT_EQ(Split("\xFF" "abc"), (Strings{"\xFF" "abc"}));
}

TEST(SplitWordTest, StrayContinuationByteSwallowsWhatFollows) {
  EXPECT_EQ(Split("\x80\x41"), (Strings{"\x80\x41"}));
  EXPECT_EQ(Split("\xBF" "ABCDEFG"), (Strings{"\xBF" "ABCDEFG"}));
  EXPECT_EQ(Split("\xBF" "ABCDEFGH"), (Strings{"\xBF" "ABCDEFG", "H"}));
}

// The unit length read from the first byte: bit 6 is never examined, so a
// continuation byte counts like the lead byte 0x40 above it.
TEST(SplitWordTest, UnitLengthFollowsFirstByte) {
  struct Case {
    unsigned char first;
    size_t length;
  };
  const Case cases[] = {
      {0x7F, 1}, {0xC0, 2}, {0xDF, 2}, {0xE0, 3}, {0xEF, 3}, {0xF0, 4},
      {0xF7, 4}, {0xF8, 5}, {0xFB, 5}, {0xFC, 6}, {0xFD, 6}, {0xFE, 7},
      {0xFF, 8}, {0x80, 2}, {0x9F, 2}, {0xA0, 3}, {0xAF, 3}, {0xB0, 4},
      {0xB7, 4}, {0xB8, 5}, {0xBB, 5}, {0xBC, 6}, {0xBD, 6}, {0xBE, 7},
      {0xBF, 8},
  };
  for (const Case& c : cases) {
    // The first byte, then nine ASCII bytes for it to take.
    const std::string text = std::string(1, static_cast<char>(c.first)) +
                             "123456789";
    const Strings units = Split(text);
    ASSERT_FALSE(units.empty());
    EXPECT_EQ(units[0].size(), c.length) << "first byte " << int{c.first};
    EXPECT_EQ(units.size(), 1 + (text.size() - c.length))
        << "first byte " << int{c.first};
  }
}

TEST(SplitWordTest, AppendsAfterExistingEntries) {
  Strings units = {"old", ""};
  splitWord("x\xE4\xB8\x80", units);
  EXPECT_EQ(units, (Strings{"old", "", "x", "\xE4\xB8\x80"}));
}

TEST(SplitWordTest, UnitsConcatenateBackToText) {
  std::string everyByte;
  for (int b = 255; b >= 0; --b)
    everyByte += static_cast<char>(b);
  const std::string texts[] = {
      everyByte, "\x80\x80\x80", "\xF0\x9F", "mixed \xE4\xB8\x80\n\xC3\xA9\xBE",
  };
  for (const std::string& text : texts) {
    std::string joined;
    for (const std::string& unit : Split(text)) {
      EXPECT_GE(unit.size(), 1u);
      EXPECT_LE(unit.size(), 8u);
      joined += unit;
    }
    EXPECT_EQ(joined, text);
  }
}

}  // namespace
