#include "render/typography/line_breaks.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <memory>

#include "util/utf8.h"

namespace {

bool IsSpace(char32_t c) {
  return c == '\t' ||
         u_charType(static_cast<UChar32>(c)) == U_SPACE_SEPARATOR;
}

bool IsLineEnd(char32_t c) {
  switch (u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_LINE_BREAK)) {
    case U_LB_MANDATORY_BREAK:
    case U_LB_CARRIAGE_RETURN:
    case U_LB_LINE_FEED:
    case U_LB_NEXT_LINE:
      return true;
    default:
      return false;
  }
}

// Without ICU's rules (its data could not be loaded): a break is allowed
// after every unit, and forced after a line end, CR LF being one.
void BreakEverywhere(const std::vector<std::string>& units,
                     std::vector<UnitBreak>* breaks) {
  for (size_t i = 0; i < units.size(); ++i) {
    UnitBreak& b = (*breaks)[i];
    b.after = BreakAfter::kAllowed;
    const bool crBeforeLf = units[i] == "\r" && i + 1 < units.size() &&
                            units[i + 1] == "\n";
    if (b.lineEnd && !crBeforeLf)
      b.after = BreakAfter::kMandatory;
  }
}

}  // namespace

std::vector<UnitBreak> FindLineBreaks(const std::vector<std::string>& units) {
  std::vector<UnitBreak> breaks(units.size());
  if (units.empty())
    return breaks;
  // ICU works on UTF-16: every unit becomes one code point, one or two
  // UTF-16 code units long, and `ends` maps back from offsets to units.
  icu::UnicodeString text;
  std::vector<int32_t> ends;
  ends.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    const char32_t c = UnitCodePoint(units[i]);
    text.append(static_cast<UChar32>(c));
    ends.push_back(text.length());
    breaks[i].space = IsSpace(c);
    breaks[i].lineEnd = IsLineEnd(c);
  }

  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> it(
      icu::BreakIterator::createLineInstance(icu::Locale::getRoot(), status));
  if (U_FAILURE(status) || it == nullptr) {
    BreakEverywhere(units, &breaks);
    return breaks;
  }
  it->setText(text);
  size_t unit = 0;
  for (int32_t b = it->next(); b != icu::BreakIterator::DONE; b = it->next()) {
    while (unit < ends.size() && ends[unit] < b)
      ++unit;
    // Boundaries lie between code points, so each is the end of a unit.
    if (unit == ends.size() || ends[unit] != b)
      continue;
    breaks[unit].after = it->getRuleStatus() >= UBRK_LINE_HARD
                             ? BreakAfter::kMandatory
                             : BreakAfter::kAllowed;
  }
  return breaks;
}

std::vector<Segment> Segments(const std::vector<UnitBreak>& breaks) {
  std::vector<Segment> segments;
  size_t begin = 0;
  for (size_t i = 0; i < breaks.size(); ++i) {
    if (breaks[i].after == BreakAfter::kNever && i + 1 < breaks.size())
      continue;
    segments.push_back(
        {begin, i + 1, breaks[i].after == BreakAfter::kMandatory});
    begin = i + 1;
  }
  return segments;
}

bool IsBlank(const std::vector<UnitBreak>& breaks) {
  for (const UnitBreak& b : breaks)
    if (!b.space && !b.lineEnd)
      return false;
  return true;
}
