// Itemizing with made-up font coverage: clusters are never split, each
// takes the first font that covers all of it, runs change with font,
// script and bidi level, and the display order follows UAX #9.

#include "render/text/itemize.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Font 0 covers ASCII, font 1 Arabic and Hebrew, font 2 everything but
// U+0301 and U+E000.
bool Covers(int font, char32_t c) {
  if (font == 0)
    return c < 0x80;
  if (font == 1)
    return (c >= 0x590 && c < 0x700) || c == ' ';
  return c != 0x301 && c != 0xE000;
}

std::vector<std::string> ClusterTexts(const Itemized& item) {
  std::vector<std::string> texts;
  for (const TextCluster& c : item.clusters)
    texts.push_back(item.text.substr(c.begin, c.end - c.begin));
  return texts;
}

TEST(Itemize, EachClusterTakesTheFirstFontThatCoversAllOfIt) {
  // "ab " in font 0, the Arabic in font 1, e + combining acute needs a font
  // with both: font 0 lacks the accent, font 2 lacks it too, so it is
  // missing and drawn by font 0.
  const Itemized item = Itemize("ab \xD9\x85\xD8\xB1 e\xCC\x81 \xE4\xB8\xAD",
                                ParagraphDirection::kFromText, 3, Covers);
  ASSERT_EQ(ClusterTexts(item),
            (std::vector<std::string>{"a", "b", " ", "\xD9\x85", "\xD8\xB1",
                                      " ", "e\xCC\x81", " ", "\xE4\xB8\xAD"}));
  std::vector<int> fonts;
  for (const TextCluster& c : item.clusters)
    fonts.push_back(c.font);
  EXPECT_EQ(fonts, (std::vector<int>{0, 0, 0, 1, 1, 0, 0, 0, 2}));
  EXPECT_TRUE(item.clusters[6].missing);
  EXPECT_FALSE(item.clusters[8].missing);
  EXPECT_EQ(MissingCharacters(item, 3, Covers),
            (std::vector<std::string>{"\xCC\x81"}));
}

TEST(Itemize, EmojiSequencesStayOneCluster) {
  const std::string family =
      "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";
  const std::string thumbTone = "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";
  const std::string flag = "\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5";
  const std::string keycap = "1\xEF\xB8\x8F\xE2\x83\xA3";
  const std::string heart = "\xE2\x9D\xA4\xEF\xB8\x8F";
  const Itemized item =
      Itemize(family + thumbTone + flag + keycap + heart,
              ParagraphDirection::kFromText, 3, Covers);
  EXPECT_EQ(ClusterTexts(item), (std::vector<std::string>{
                                    family, thumbTone, flag, keycap, heart}));
  // U+FE0F is not ignorable: font 0 has "1" but not the keycap sequence.
  EXPECT_EQ(item.clusters[3].font, 2);
}

TEST(Itemize, ParagraphDirectionComesFromTheFirstStrongCharacterOrIsGiven) {
  const std::string hebrewFirst = "123 \xD7\xA9\xD7\x9C abc";
  const Itemized fromText =
      Itemize(hebrewFirst, ParagraphDirection::kFromText, 3, Covers);
  EXPECT_TRUE(fromText.rtl);
  EXPECT_EQ(fromText.clusters.back().level, 2);  // Latin inside RTL

  const Itemized ltr = Itemize(hebrewFirst, ParagraphDirection::kLtr, 3, Covers);
  EXPECT_FALSE(ltr.rtl);
  EXPECT_EQ(ltr.clusters.back().level, 0);

  EXPECT_TRUE(Itemize("abc", ParagraphDirection::kRtl, 3, Covers).rtl);
  EXPECT_FALSE(Itemize("", ParagraphDirection::kFromText, 3, Covers).rtl);
}

TEST(Itemize, RunsSplitAtFontScriptAndLevelAndReorderForDisplay) {
  // RTL paragraph: Hebrew, a space, Latin, a space, Hebrew.
  const Itemized item = Itemize("\xD7\xA9\xD7\x9C abc \xD7\x90",
                                ParagraphDirection::kFromText, 3, Covers);
  // Hebrew (font 1); the space (font 0 covers it first; Hebrew script,
  // level 1); "abc" (Latin, level 2); the space (Latin script, level 1);
  // Hebrew.
  ASSERT_EQ(item.runs.size(), 5u);
  EXPECT_EQ(item.runs[0].font, 1);
  EXPECT_EQ(item.runs[1].font, 0);
  EXPECT_EQ(item.runs[1].level, 1);
  EXPECT_EQ(item.runs[2].level, 2);
  EXPECT_EQ(item.text.substr(item.runs[2].begin,
                             item.runs[2].end - item.runs[2].begin),
            "abc");
  EXPECT_NE(item.runs[1].script, item.runs[3].script);
  // Displayed right to left: the last Hebrew run leftmost.
  EXPECT_EQ(VisualRunOrder(item), (std::vector<size_t>{4, 3, 2, 1, 0}));
}

TEST(Itemize, CommonCharactersTakeTheScriptOfTheirNeighbours) {
  const Itemized item = Itemize("(\xD9\x85\xD8\xB1) x",
                                ParagraphDirection::kLtr, 3, Covers);
  // "(" takes the Arabic after it, ")" and " " the Arabic before.
  EXPECT_EQ(item.clusters[0].script, item.clusters[1].script);
  EXPECT_EQ(item.clusters[3].script, item.clusters[1].script);
  EXPECT_NE(item.clusters[5].script, item.clusters[1].script);
}

TEST(Itemize, BadBytesBecomeReplacementCharacters) {
  const Itemized item = Itemize(std::string("a\xFF\xC3", 3) + "b",
                                ParagraphDirection::kFromText, 3, Covers);
  EXPECT_EQ(item.text, "a\xEF\xBF\xBD\xEF\xBF\xBD" "b");
  EXPECT_EQ(item.clusters.size(), 4u);
  EXPECT_TRUE(Itemize("", ParagraphDirection::kFromText, 3, Covers)
                  .runs.empty());
}

TEST(Itemize, ControlAndIgnorableCharactersNeedNoGlyph) {
  // Font 1 covers neither a tab nor ZWJ, yet takes the clusters that hold
  // them.
  const Itemized item = Itemize("\xD7\xA9\t\xD7\x9C\xE2\x80\x8D",
                                ParagraphDirection::kFromText, 2,
                                [](int font, char32_t c) {
                                  return font == 1 && c >= 0x590 && c < 0x600;
                                });
  for (const TextCluster& c : item.clusters)
    EXPECT_FALSE(c.missing) << c.begin;
  EXPECT_TRUE(MissingCharacters(item, 2, Covers).empty());
}

}  // namespace

std::vector<int> Levels(const Itemized& item) {
  std::vector<int> levels;
  for (const TextCluster& c : item.clusters)
    levels.push_back(c.level);
  return levels;
}

TEST(LineOfParagraph, KeepsTheParagraphsLevelsButResetsTrailingSpace) {
  // A right-to-left paragraph "שלום abc! def": the "!" lies between two
  // left-to-right words, so the paragraph gives it their level (2). Cut
  // after it as a line of its own, its neighbour would be the line's end
  // and it would take the paragraph's level (1), jumping to the far side
  // of "abc".
  const std::string text =
      "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D abc! def";
  const Itemized paragraph =
      Itemize(text, ParagraphDirection::kFromText, 3, Covers);
  ASSERT_TRUE(paragraph.rtl);
  ASSERT_EQ(paragraph.clusters.size(), 13u);
  const Itemized line = LineOfParagraph(paragraph, 0, 10);  // to the space
  EXPECT_EQ(line.text, "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D abc! ");
  EXPECT_TRUE(line.rtl);
  EXPECT_EQ(Levels(line),
            (std::vector<int>{1, 1, 1, 1, 1, 2, 2, 2, 2, 1}));
  const Itemized alone =
      Itemize("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D abc!",
              ParagraphDirection::kFromText, 3, Covers);
  EXPECT_EQ(Levels(alone), (std::vector<int>{1, 1, 1, 1, 1, 2, 2, 2, 1}));
  // Runs: the Hebrew, its space (font 0), "abc!" at level 2, the trailing
  // space back at the paragraph's level; displayed right to left.
  ASSERT_EQ(line.runs.size(), 4u);
  EXPECT_EQ(line.text.substr(line.runs[2].begin,
                             line.runs[2].end - line.runs[2].begin),
            "abc!");
  EXPECT_EQ(VisualRunOrder(line), (std::vector<size_t>{3, 2, 1, 0}));
  // The second line starts at the right cluster, its offsets its own.
  const Itemized second = LineOfParagraph(paragraph, 10, 13);
  EXPECT_EQ(second.text, "def");
  EXPECT_EQ(second.clusters.front().begin, 0u);
  EXPECT_TRUE(LineOfParagraph(paragraph, 5, 5).clusters.empty());
}
