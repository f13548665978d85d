#ifndef QUILLMARK_RENDER_TEXT_ITEMIZE_H_
#define QUILLMARK_RENDER_TEXT_ITEMIZE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Whether font `font` of an item's chain (0: its "font", then its
// "fallback" fonts in order) has a glyph for `c`.
using FontCoverage = std::function<bool(int font, char32_t c)>;

// A grapheme cluster: never split, drawn by one font.
struct TextCluster {
  size_t begin;  // bytes of the text
  size_t end;
  int font;      // the first font of the chain that has all its characters
  bool missing;  // no font has them all: drawn by font 0
  uint8_t level; // bidi embedding level (odd: right to left)
  int script;    // ICU UScriptCode, common and inherited resolved
};

// A run of clusters with one bidi level, one script and one font: what is
// shaped as one piece.
struct TextRun {
  size_t begin;  // bytes of the text
  size_t end;
  int font;
  uint8_t level;
  int script;
};

// A text cut into clusters and runs, in logical order.
struct Itemized {
  std::string text;  // well-formed UTF-8: each bad byte became U+FFFD
  bool rtl = false;  // the paragraph's direction
  std::vector<TextCluster> clusters;
  std::vector<TextRun> runs;
};

// The paragraph directions that Itemize takes.
enum class ParagraphDirection { kFromText, kLtr, kRtl };

// Cuts `text` into grapheme clusters (ICU's character break rules), gives
// each its bidi level (UAX #9; the paragraph's direction from the first
// strong character, or as given), its script (common and inherited
// characters take the script before them, else the one after) and its font
// (the first of `fontCount` fonts that covers every character of the
// cluster but default-ignorable ones), and groups them into runs.
Itemized Itemize(const std::string& text, ParagraphDirection direction,
                 int fontCount, const FontCoverage& covers);

// Clusters [first, last) of `paragraph` as a line of their own, for
// display: the text, fonts, scripts and bidi levels are the paragraph's,
// since UAX #9 resolves the levels over the whole paragraph before lines
// are reordered, except that whitespace at the line's end takes the
// paragraph's level (rule L1).
Itemized LineOfParagraph(const Itemized& paragraph, size_t first,
                         size_t last);

// The runs of `item` in display order: runs reordered by their levels as
// UAX #9 rule L2 reorders them (indices into item.runs).
std::vector<size_t> VisualRunOrder(const Itemized& item);

// The characters of the clusters that no font covers, each once, in text
// order.
std::vector<std::string> MissingCharacters(const Itemized& item,
                                           int fontCount,
                                           const FontCoverage& covers);

#endif  // QUILLMARK_RENDER_TEXT_ITEMIZE_H_
