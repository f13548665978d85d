#include "util/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
const std::string kFffd = "\xEF\xBF\xBD";

TEST(WellFormedCharactersTest, EachInvalidByteIsOneReplacementCharacter) {
  EXPECT_EQ(WellFormedCharacters("caf\xE9 au lait"),
            (Strings{"c", "a", "f", kFffd, " ", "a", "u", " ", "l", "a", "i",
                     "t"}));
  EXPECT_EQ(WellFormedCharacters("ab\xFF" "cd ef"),
            (Strings{"a", "b", kFffd, "c", "d", " ", "e", "f"}));
  // A sequence cut short: its lead and its continuation byte, each alone.
  EXPECT_EQ(WellFormedCharacters("\xE6\x98x"), (Strings{kFffd, kFffd, "x"}));
  // An overlong form and a surrogate are invalid byte by byte.
  EXPECT_EQ(WellFormedCharacters("\xC0\xAF"), (Strings{kFffd, kFffd}));
  EXPECT_EQ(WellFormedCharacters("\xED\xA0\x80"),
            (Strings{kFffd, kFffd, kFffd}));
}

TEST(WellFormedCharactersTest, WellFormedTextIsCutIntoItsCharacters) {
  EXPECT_EQ(WellFormedCharacters("a\xE6\x98\xA5\xF0\x9F\x98\x80\n"),
            (Strings{"a", "\xE6\x98\xA5", "\xF0\x9F\x98\x80", "\n"}));
  EXPECT_TRUE(WellFormedCharacters("").empty());
}

TEST(CharacterPrefixTest, CutsBetweenCharactersOnly) {
  const std::string spring = "\xE6\x98\xA5";  // three bytes
  const std::string text = "ab" + spring + spring;
  EXPECT_EQ(CharacterPrefixLength(text, 2), 2u);
  EXPECT_EQ(CharacterPrefixLength(text, 3), 2u);
  EXPECT_EQ(CharacterPrefixLength(text, 4), 2u);
  EXPECT_EQ(CharacterPrefixLength(text, 5), 5u);
  EXPECT_EQ(CharacterPrefixLength(text, 7), 5u);
  EXPECT_EQ(CharacterPrefixLength(text, 100), text.size());
  // An invalid byte is a character of its own.
  EXPECT_EQ(CharacterPrefixLength("a\xFF\xFFz", 2), 2u);
}

}  // namespace
