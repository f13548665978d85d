#include "render/text/itemize.h"

#include <unicode/brkiter.h>
#include <unicode/ubidi.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>

#include "util/utf8.h"

namespace {

struct BidiDeleter {
  void operator()(UBiDi* b) const { ubidi_close(b); }
};

// One character of the text: its code point, where its bytes start, and
// where it starts in UTF-16.
struct Char {
  char32_t code;
  size_t byte;
  int32_t unit16;
};

// The text with every byte that starts no well-formed sequence replaced by
// U+FFFD, and its characters.
std::string WellFormed(const std::string& text, std::vector<Char>* chars) {
  std::string out;
  out.reserve(text.size());
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  size_t i = 0;
  int32_t unit16 = 0;
  while (i < text.size()) {
    char32_t c;
    size_t n = DecodeUtf8(p + i, text.size() - i, &c);
    if (n == 0) {
      c = kReplacementCharacter;
      n = 1;
      chars->push_back({c, out.size(), unit16});
      out += EncodeUtf8(c);
    } else {
      chars->push_back({c, out.size(), unit16});
      out.append(text, i, n);
    }
    unit16 += c > 0xFFFF ? 2 : 1;
    i += n;
  }
  return out;
}

// Characters a font need not have: joiners, variation selectors for text
// and the like are not drawn. U+FE0F (emoji presentation) counts, so that
// a font without it leaves the sequence to a colour font.
bool NeedsNoGlyph(char32_t c) {
  if (c == 0xFE0F)
    return false;
  if (c < 0x20 || c == 0x7F)
    return true;  // control characters are not drawn
  return u_hasBinaryProperty(static_cast<UChar32>(c),
                             UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
}

bool CoversAll(const std::vector<Char>& chars, size_t from, size_t to,
               int font, const FontCoverage& covers) {
  for (size_t i = from; i < to; ++i)
    if (!NeedsNoGlyph(chars[i].code) && !covers(font, chars[i].code))
      return false;
  return true;
}

bool IsWeakScript(UScriptCode s) {
  return s == USCRIPT_COMMON || s == USCRIPT_INHERITED ||
         s == USCRIPT_UNKNOWN;
}

// Each character's script, common and inherited ones taking the script
// before them, or at the text's start the first one after.
std::vector<UScriptCode> Scripts(const std::vector<Char>& chars) {
  std::vector<UScriptCode> scripts(chars.size(), USCRIPT_COMMON);
  UErrorCode status = U_ZERO_ERROR;
  for (size_t i = 0; i < chars.size(); ++i) {
    status = U_ZERO_ERROR;
    UScriptCode s =
        uscript_getScript(static_cast<UChar32>(chars[i].code), &status);
    scripts[i] = U_FAILURE(status) ? USCRIPT_COMMON : s;
  }
  UScriptCode previous = USCRIPT_COMMON;
  for (UScriptCode& s : scripts) {
    if (IsWeakScript(s))
      s = previous;
    else
      previous = s;
  }
  UScriptCode next = USCRIPT_COMMON;
  for (size_t i = scripts.size(); i-- > 0;) {
    if (IsWeakScript(scripts[i]))
      scripts[i] = next;
    else
      next = scripts[i];
  }
  return scripts;
}

// The bidi level of each UTF-16 unit; `rtl` says the paragraph's direction.
std::vector<UBiDiLevel> Levels(const icu::UnicodeString& text,
                               ParagraphDirection direction, bool* rtl) {
  std::vector<UBiDiLevel> levels(static_cast<size_t>(text.length()), 0);
  UBiDiLevel paragraph = direction == ParagraphDirection::kLtr   ? 0
                         : direction == ParagraphDirection::kRtl ? 1
                                                                 : UBIDI_DEFAULT_LTR;
  *rtl = direction == ParagraphDirection::kRtl;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UBiDi, BidiDeleter> bidi(ubidi_open());
  if (!bidi || text.length() == 0)
    return levels;
  ubidi_setPara(bidi.get(), text.getBuffer(), text.length(), paragraph,
                nullptr, &status);
  if (U_FAILURE(status))
    return levels;
  *rtl = (ubidi_getParaLevel(bidi.get()) & 1) != 0;
  const UBiDiLevel* all = ubidi_getLevels(bidi.get(), &status);
  if (U_FAILURE(status) || all == nullptr)
    return std::vector<UBiDiLevel>(levels.size(), *rtl ? 1 : 0);
  levels.assign(all, all + text.length());
  return levels;
}

// Where the grapheme clusters start, as indices into `chars`, with
// chars.size() at the end.
std::vector<size_t> ClusterStarts(const icu::UnicodeString& text,
                                  const std::vector<Char>& chars) {
  std::vector<size_t> starts;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> it(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(),
                                                  status));
  if (U_FAILURE(status) || !it) {
    for (size_t i = 0; i <= chars.size(); ++i)
      starts.push_back(i);
    return starts;
  }
  it->setText(text);
  size_t c = 0;
  for (int32_t b = it->first(); b != icu::BreakIterator::DONE;
       b = it->next()) {
    while (c < chars.size() && chars[c].unit16 < b)
      ++c;
    if (starts.empty() || starts.back() != c)
      starts.push_back(c);
  }
  if (starts.empty() || starts.back() != chars.size())
    starts.push_back(chars.size());
  return starts;
}

// Groups the clusters of `item` into runs of one font, level and script.
void GroupRuns(Itemized* item) {
  item->runs.clear();
  for (const TextCluster& c : item->clusters) {
    if (!item->runs.empty()) {
      TextRun& last = item->runs.back();
      if (last.font == c.font && last.level == c.level &&
          last.script == c.script) {
        last.end = c.end;
        continue;
      }
    }
    item->runs.push_back({c.begin, c.end, c.font, c.level, c.script});
  }
}

// Whether the cluster is whitespace as rule L1 counts it: spaces, tabs,
// paragraph ends and isolate controls.
bool EndOfLineWhitespace(const std::string& text, const TextCluster& c) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = c.begin; i < c.end;) {
    char32_t code;
    size_t n = DecodeUtf8(p + i, c.end - i, &code);
    if (n == 0)
      return false;
    switch (u_charDirection(static_cast<UChar32>(code))) {
      case U_WHITE_SPACE_NEUTRAL:
      case U_SEGMENT_SEPARATOR:
      case U_BLOCK_SEPARATOR:
      case U_FIRST_STRONG_ISOLATE:
      case U_LEFT_TO_RIGHT_ISOLATE:
      case U_RIGHT_TO_LEFT_ISOLATE:
      case U_POP_DIRECTIONAL_ISOLATE:
        break;
      default:
        return false;
    }
    i += n;
  }
  return true;
}

}  // namespace

Itemized LineOfParagraph(const Itemized& paragraph, size_t first,
                         size_t last) {
  Itemized line;
  line.rtl = paragraph.rtl;
  last = std::min(last, paragraph.clusters.size());
  if (first >= last)
    return line;
  const size_t begin = paragraph.clusters[first].begin;
  const size_t end = paragraph.clusters[last - 1].end;
  line.text = paragraph.text.substr(begin, end - begin);
  for (size_t k = first; k < last; ++k) {
    TextCluster c = paragraph.clusters[k];
    c.begin -= begin;
    c.end -= begin;
    line.clusters.push_back(c);
  }
  const uint8_t level = paragraph.rtl ? 1 : 0;
  for (size_t k = line.clusters.size();
       k-- > 0 && EndOfLineWhitespace(line.text, line.clusters[k]);)
    line.clusters[k].level = level;
  GroupRuns(&line);
  return line;
}

Itemized Itemize(const std::string& text, ParagraphDirection direction,
                 int fontCount, const FontCoverage& covers) {
  Itemized item;
  std::vector<Char> chars;
  item.text = WellFormed(text, &chars);
  icu::UnicodeString utf16 = icu::UnicodeString::fromUTF8(item.text);
  const std::vector<UBiDiLevel> levels = Levels(utf16, direction, &item.rtl);
  const std::vector<UScriptCode> scripts = Scripts(chars);
  const std::vector<size_t> starts = ClusterStarts(utf16, chars);

  for (size_t k = 0; k + 1 < starts.size(); ++k) {
    const size_t from = starts[k];
    const size_t to = starts[k + 1];
    TextCluster cluster;
    cluster.begin = chars[from].byte;
    cluster.end = to < chars.size() ? chars[to].byte : item.text.size();
    cluster.font = 0;
    cluster.missing = true;
    for (int f = 0; f < fontCount; ++f) {
      if (CoversAll(chars, from, to, f, covers)) {
        cluster.font = f;
        cluster.missing = false;
        break;
      }
    }
    const auto unit = static_cast<size_t>(chars[from].unit16);
    cluster.level = unit < levels.size() ? levels[unit] : 0;
    cluster.script = scripts[from];
    item.clusters.push_back(cluster);
  }
  GroupRuns(&item);
  return item;
}

std::vector<size_t> VisualRunOrder(const Itemized& item) {
  std::vector<size_t> order(item.runs.size());
  if (order.empty())
    return order;
  std::vector<UBiDiLevel> levels;
  for (const TextRun& run : item.runs)
    levels.push_back(run.level);
  std::vector<int32_t> map(order.size());
  ubidi_reorderVisual(levels.data(), static_cast<int32_t>(levels.size()),
                      map.data());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = static_cast<size_t>(map[i]);
  return order;
}

std::vector<std::string> MissingCharacters(const Itemized& item,
                                           int fontCount,
                                           const FontCoverage& covers) {
  std::vector<std::string> missing;
  const auto* p = reinterpret_cast<const unsigned char*>(item.text.data());
  for (const TextCluster& cluster : item.clusters) {
    if (!cluster.missing)
      continue;
    size_t i = cluster.begin;
    while (i < cluster.end) {
      char32_t c;
      size_t n = DecodeUtf8(p + i, cluster.end - i, &c);
      if (n == 0)
        n = 1;
      bool anyFont = NeedsNoGlyph(c);
      for (int f = 0; f < fontCount && !anyFont; ++f)
        anyFont = covers(f, c);
      std::string character = item.text.substr(i, n);
      if (!anyFont &&
          std::find(missing.begin(), missing.end(), character) ==
              missing.end())
        missing.push_back(character);
      i += n;
    }
  }
  return missing;
}
