#ifndef QUILLMARK_RENDER_TYPOGRAPHY_LINE_BREAKS_H_
#define QUILLMARK_RENDER_TYPOGRAPHY_LINE_BREAKS_H_

#include <string>
#include <vector>

// Where a line (or a vertical column) may end, unit by unit, by the Unicode
// line breaking algorithm (UAX #14) as ICU's line BreakIterator applies it
// with the root locale: between words, never inside one; in CJK text
// between characters, but not before closing punctuation and the like
// (」、。！）ー) nor after opening punctuation (「（).
enum class BreakAfter : unsigned char {
  kNever,      // the unit and the next stay together
  kAllowed,    // a line may end after the unit
  kMandatory,  // the line ends after the unit: a line feed, CR LF, NEL...
};

struct UnitBreak {
  BreakAfter after = BreakAfter::kNever;
  // White space (U+0020, tab, other space separators): at the end of a line
  // it is neither drawn nor measured.
  bool space = false;
  // A character that forces a break (LF, CR, NEL, VT, FF, LS, PS): never
  // drawn, never handed to ImageMagick.
  bool lineEnd = false;
};

// The breaks around each of `units` (as splitWord cuts them). A unit that is
// not one well-formed UTF-8 character counts as U+FFFD. The last unit's
// break is kAllowed, or kMandatory when it ends a line itself.
std::vector<UnitBreak> FindLineBreaks(const std::vector<std::string>& units);

// A run of units [begin, end) between two break opportunities: a word with
// the spaces after it, or one CJK character with the punctuation it holds
// on to.
struct Segment {
  size_t begin;
  size_t end;
  bool mandatory;  // the line ends after it
};

// True when every unit is white space or a line end (or there is none):
// nothing of the text is drawn, at any size.
bool IsBlank(const std::vector<UnitBreak>& breaks);

std::vector<Segment> Segments(const std::vector<UnitBreak>& breaks);

#endif  // QUILLMARK_RENDER_TYPOGRAPHY_LINE_BREAKS_H_
