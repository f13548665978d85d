// Fuzz target for the two layouts, LayOutHorizontal and LayOutVertical, over
// made-up font metrics. The input bytes give the item (area, font size,
// alignment, line height, the two fitting flags), the top inset, the metrics
// and the text; both layouts run on it and must
//   - end within the pass bound: at most fontSize - 4 layout passes, each at
//     a size from fontSize down to 5, one lower each time;
//   - report a failed measurement exactly when one failed, and then place
//     nothing;
//   - otherwise place the text as the units say: vertically every unit once,
//     in text order; horizontally lines that are runs of consecutive units,
//     the first lines of the text in order, exactly the lines (and
//     baselines) that one pass at the final size breaks;
//   - with fitting, use the largest size at which the text fits;
//   - give finite coordinates only.
// The vertical layout also runs with its uniform-em shortcut, which must
// give the same layout when every unit has the same em size, and both
// layouts also run through a cache of measurements, as the renderers run
// them, which must change nothing.
//
// When the input asks for any of the opt-in typography (word wrapping,
// vertical forms, a smallest size, block alignment), both typeset layouts
// run as well and must
//   - stay within twice the passes of the plain layouts and a few more;
//   - report failed measurements as the plain layouts do;
//   - place only the text's own units (or their vertical forms), in text
//     order, never a line end, and with word wrapping no space at a line's
//     end;
//   - keep the item's size without fitting, and stop fitting at the
//     smallest size when one is given;
//   - with block alignment, move the block of the same layout without it
//     by whole pixels, down or to the left, and nothing else;
//   - give the same layout through a cache of measurements.
// A violation aborts.
//
// Input layout (missing bytes read as 0):
//   byte      flags: 1 adjustToFit, 2 ignoreLineHeight, 4 measurements
//             fail, 8 every unit has the same em size (as with a real font),
//             16 word wrapping, 32 vertical forms (the font has the forms
//             of even code points), 64 a smallest size, 5 + seed % 32
//   byte      alignment, taken modulo 5 (0 and 4 mean start, like 1); the
//             byte / 5, modulo 3, is the block alignment
//   byte      font size, modulo 66, minus 2: -2 .. 63
//   size-ish  line height (see ReadSmallOrLarge)
//   4 x coord area x, y, width, height (see ReadCoord)
//   byte      stroke width for the top inset (see ReadInset)
//   byte      metrics seed
//   2 bytes   with flag 4: the number of measurements that succeed
//   rest      the text

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "job/job_reader.h"
#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"
#include "render/layout/horizontal_layout.h"
#include "render/metrics/metrics_cache.h"
#include "util/utf8.h"
#include "render/typography/line_breaks.h"
#include "render/layout/split_word.h"
#include "render/typography/typography.h"
#include "render/typography/vertical_forms.h"
#include "render/layout/vertical_layout.h"

namespace {

// The job reader's limit on font size, line height and stroke width.
constexpr int kMagnitudeLimit = kMaxMagnitude;

[[noreturn]] void Fail(const char* layout, const char* what) {
  std::fprintf(stderr, "fuzz_layouts: %s: %s\n", layout, what);
  std::abort();
}

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  int Int16() {
    uint16_t v = static_cast<uint16_t>(Byte() | (Byte() << 8));
    return static_cast<int16_t>(v);
  }

  int32_t Int32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
      v |= static_cast<uint32_t>(Byte()) << (8 * i);
    return static_cast<int32_t>(v);
  }

  // A value within the job reader's magnitude limit: mostly 0 .. 127,
  // sometimes anything in -16384 .. 16384.
  int ReadSmallOrLarge() {
    uint8_t b = Byte();
    if (b & 0x80)
      return Int16() % (kMagnitudeLimit + 1);
    return b;
  }

  // An area edge or extent as the job reader makes it, an int converted to
  // float: mostly 0 .. 508 in steps of 4, sometimes any 16-bit value, and
  // now and then any 32-bit value.
  float ReadCoord() {
    uint8_t b = Byte();
    if ((b & 0xE0) == 0xE0)
      return static_cast<float>(Int32());
    if (b & 0x80)
      return static_cast<float>(Int16());
    return static_cast<float>(b * 4);
  }

  // Half a stroke width, as the driver passes it: mostly -4 .. 27.5,
  // sometimes anything the stroke width's limit allows.
  float ReadInset() {
    uint8_t b = Byte();
    int width = (b & 0xC0) == 0xC0 ? Int16() % (kMagnitudeLimit + 1)
                                   : (b & 0x3F) - 8;
    return 0.5f * static_cast<float>(width);
  }

  std::string Rest() {
    std::string rest(reinterpret_cast<const char*>(data_ + pos_),
                     size_ - pos_);
    pos_ = size_;
    return rest;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Made-up metrics: every number follows from the measured text, the font
// size and a seed, so the same question always gets the same answer. All are
// finite and of a plausible size for the font size; widths, heights and
// advances are never negative and now and then zero. Counts every call, and
// with a failure budget fails every measurement after the first `budget`.
class FakeMetrics : public MetricsSource {
 public:
  FakeMetrics(const char* layout, uint32_t seed, int startSize,
              bool uniformEms, bool canFail, unsigned budget)
      : layout_(layout), seed_(seed), size_(startSize),
        uniformEms_(uniformEms), canFail_(canFail), budget_(budget) {}

  void SetFontSize(int size) override {
    if (size < kMinFontSize)
      Fail(layout_, "a layout pass ran below the smallest font size");
    sizes.push_back(size);
    size_ = size;
  }

  bool Measure(const std::string& text, FontMetrics* out) override {
    ++measurements;
    if (canFail_ && measurements > budget_) {
      failed = true;
      return false;
    }
    if (size_ < kMinFontSize)
      Fail(layout_, "a measurement was made below the smallest font size");
    const uint32_t h = Hash(text);
    // A font's em size depends on its size alone; made-up ones may not.
    const uint32_t e = uniformEms_ ? Hash("") : h;
    const double s = size_;
    auto bits = [h](int shift, uint32_t mask) {
      return static_cast<double>((h >> shift) & mask);
    };
    auto emBits = [e](int shift, uint32_t mask) {
      return static_cast<double>((e >> shift) & mask);
    };
    FontMetrics m;
    m.charWidth = e % 11 == 0 ? 0 : s * (0.25 + emBits(4, 15) / 16);
    m.charHeight = e % 13 == 0 ? 0 : s * (0.5 + emBits(8, 15) / 16);
    m.ascender = s * 0.8;
    m.descender = -s * 0.2;
    m.textW = h % 7 == 0 ? 0 : s * (bits(12, 31) / 16) *
                                   static_cast<double>(1 + text.size() / 4);
    m.textH = s * (1 + bits(17, 7) / 8);
    m.maxHori = s;
    m.bx1 = bits(20, 3) - 1;
    m.by1 = -s * 0.2;
    m.bx2 = m.bx1 + m.textW;
    m.by2 = h % 17 == 0 ? -s * 0.1 : s * (bits(22, 15) / 16);
    m.originX = m.textW;
    m.originY = 0;
    *out = m;
    return true;
  }

  std::vector<int> sizes;     // every SetFontSize, in order
  unsigned measurements = 0;  // every Measure call
  bool failed = false;        // a Measure call returned false

 private:
  uint32_t Hash(const std::string& text) const {
    uint32_t h = 2166136261u ^ seed_;
    for (unsigned char c : text)
      h = (h ^ c) * 16777619u;
    h ^= static_cast<uint32_t>(size_) * 2654435761u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return h;
  }

  const char* layout_;
  uint32_t seed_;
  int size_;
  bool uniformEms_;
  bool canFail_;
  unsigned budget_;
};

struct Item {
  TextInfo info;
  float topInset;
  uint32_t seed;
  bool uniformEms;  // the em size depends on the font size alone
  bool canFail;
  unsigned budget;
  std::vector<std::string> units;
};

enum class Kind {
  kHorizontal,
  kVertical,
  kVerticalShortcut,
  kLinesTypeset,
  kColumnsTypeset,
};

// The made-up font has the vertical forms of even code points.
bool FontHasGlyph(char32_t c) { return c % 2 == 0; }

const char* Name(Kind kind, bool cached) {
  switch (kind) {
    case Kind::kLinesTypeset:
      return cached ? "typeset lines, cached metrics" : "typeset lines";
    case Kind::kColumnsTypeset:
      return cached ? "typeset columns, cached metrics" : "typeset columns";
    case Kind::kHorizontal:
      return cached ? "horizontal, cached metrics" : "horizontal";
    case Kind::kVertical:
      return cached ? "vertical, cached metrics" : "vertical";
    case Kind::kVerticalShortcut:
      return cached ? "vertical with uniform ems, cached metrics"
                    : "vertical with uniform ems";
  }
  return "?";
}

// One layout call and what it asked of the metrics.
struct Run {
  const char* name;
  Layout layout;
  std::vector<int> sizes;
  unsigned measurements;
  bool failed;
};

// Lays the item out, straight from the fake metrics or through a cache of
// its own, as the renderers measure.
Run RunLayout(const Item& item, Kind kind, bool cached) {
  const char* name = Name(kind, cached);
  FakeMetrics fake(name, item.seed, item.info.fontSize, item.uniformEms,
                   item.canFail, item.budget);
  MetricsCache cache;
  CachedMetrics through(&fake, &cache, "font", "font\nsettings");
  MetricsSource* metrics = cached ? static_cast<MetricsSource*>(&through)
                                  : &fake;
  Layout layout;
  if (kind == Kind::kHorizontal) {
    layout = LayOutHorizontal(item.info, item.topInset, item.units, metrics);
  } else if (kind == Kind::kLinesTypeset) {
    TextInfo info = item.info;
    info.direction = 0;
    layout = LayOutLinesTypeset(info, item.topInset, item.units, metrics);
  } else if (kind == Kind::kColumnsTypeset) {
    TextInfo info = item.info;
    info.direction = 1;
    layout = LayOutColumnsTypeset(info, item.topInset, item.units, metrics,
                                  FontHasGlyph, item.uniformEms);
  } else {
    layout = LayOutVertical(item.info, item.topInset, item.units, metrics,
                            kind == Kind::kVerticalShortcut);
  }
  return {name, std::move(layout), fake.sizes, fake.measurements, fake.failed};
}

// What holds for every layout: a failed measurement is reported and places
// nothing, and every coordinate is finite.
void CheckFailureAndCoordinates(const Run& run) {
  const Layout& layout = run.layout;
  if (layout.metricsFailed != run.failed)
    Fail(run.name, "metricsFailed does not tell whether a measurement failed");
  if (layout.metricsFailed && !layout.annotations.empty())
    Fail(run.name, "text placed after a failed measurement");
  for (const Annotation& a : layout.annotations)
    if (!std::isfinite(a.x) || !std::isfinite(a.y))
      Fail(run.name, "a coordinate is not finite");
}

// The passes: fontSize - 4 at most, from fontSize down by one each. A
// vertical layout that relied on uniform em sizes and found them unequal
// lays the item out once more from the start: `attempts` is 2 then.
void CheckPasses(const Item& item, const Run& run, int attempts) {
  const char* name = run.name;
  const int start = item.info.fontSize;
  const size_t bound =
      start >= kMinFontSize ? static_cast<size_t>(start - 4) : 0;
  int attempt = 0;
  size_t passes = 0;
  for (size_t i = 0; i < run.sizes.size(); ++i) {
    if (run.sizes[i] == start) {
      if (++attempt > attempts)
        Fail(name, "the layout started over more often than it may");
      passes = 0;
    } else if (i == 0 || run.sizes[i] != run.sizes[i - 1] - 1) {
      Fail(name, "the passes do not count down from fontSize by one");
    }
    if (++passes > bound)
      Fail(name, "more layout passes than fontSize - 4");
    if (!item.info.adjustToFit && passes > 1)
      Fail(name, "more than one pass without fitting");
  }
  // Each pass measures each unit once at most, placing each unit or line
  // once more (one line more than units when the first line is empty); a
  // cache measures one probe text besides.
  const size_t units = item.units.size();
  if (run.measurements > (run.sizes.size() + static_cast<size_t>(attempts)) *
                                 units + 2)
    Fail(name, "more measurements than the passes need");
  const Layout& layout = run.layout;
  CheckFailureAndCoordinates(run);
  if (!item.info.adjustToFit && layout.fontSize != start)
    Fail(name, "the font size changed without fitting");
  if (layout.fontSize > start)
    Fail(name, "the font size grew");
  if (!layout.metricsFailed && layout.fontSize < kMinFontSize &&
      !layout.annotations.empty())
    Fail(name, "text placed below the smallest font size");
}

void CheckSame(const Run& run, const Run& reference) {
  const Layout& a = run.layout;
  const Layout& b = reference.layout;
  bool same = a.fontSize == b.fontSize && a.metricsFailed == b.metricsFailed &&
              a.annotations.size() == b.annotations.size();
  for (size_t i = 0; same && i < a.annotations.size(); ++i)
    same = a.annotations[i].x == b.annotations[i].x &&
           a.annotations[i].y == b.annotations[i].y &&
           a.annotations[i].text == b.annotations[i].text;
  if (!same) {
    std::fprintf(stderr, "fuzz_layouts: differs from the %s layout\n",
                 reference.name);
    Fail(run.name, "the layout is not the same");
  }
}

// One line break pass at `fontSize` with fresh metrics.
HorizontalLines BreakAgain(const Item& item, int fontSize) {
  FakeMetrics fake("horizontal", item.seed, fontSize, item.uniformEms, false,
                   0);
  HorizontalLines lines;
  lines.lineAdvance = static_cast<float>(item.info.lineHeight);
  if (!BreakLines(item.info, fontSize, item.topInset, item.units, &fake,
                  &lines))
    Fail("horizontal", "breaking lines again failed");
  if (lines.text.size() != lines.baselines.size())
    Fail("horizontal", "lines and baselines differ in number");
  return lines;
}

bool LinesFit(const Item& item, const HorizontalLines& lines) {
  return !(static_cast<float>(lines.text.size()) * lines.lineAdvance >
           item.info.areaHeight);
}

void CheckHorizontal(const Item& item, const Run& run) {
  const char* name = run.name;
  const TextInfo& info = item.info;
  const Layout& layout = run.layout;
  if (layout.metricsFailed || layout.fontSize < kMinFontSize)
    return;

  // Every annotation is a run of consecutive units, and the runs follow one
  // another from the first unit on.
  size_t next = 0;
  for (const Annotation& a : layout.annotations) {
    std::string joined;
    while (joined.size() < a.text.size() && next < item.units.size())
      joined += item.units[next++];
    if (joined != a.text)
      Fail(name, "a line is not a run of consecutive units");
    if (a.x < info.areaX)
      Fail(name, "a line starts left of the area");
  }

  // The drawn lines are the first of the lines that one pass at the final
  // size breaks, each on its baseline.
  HorizontalLines lines = BreakAgain(item, layout.fontSize);
  if (layout.annotations.size() > lines.text.size())
    Fail(name, "more lines drawn than broken");
  for (size_t i = 0; i < layout.annotations.size(); ++i) {
    if (layout.annotations[i].text != lines.text[i])
      Fail(name, "the drawn lines are not the first lines of the text");
    if (layout.annotations[i].y != static_cast<double>(lines.baselines[i]))
      Fail(name, "a line is not drawn on its baseline");
  }
  // Fitting stops at the first size, counting down, at which the text fits.
  if (info.adjustToFit) {
    if (!LinesFit(item, lines))
      Fail(name, "fitting ended on a size at which the text does not fit");
    if (layout.fontSize < info.fontSize &&
        LinesFit(item, BreakAgain(item, layout.fontSize + 1)))
      Fail(name, "fitting went past a size at which the text fits");
  }
}

// One column break pass at `fontSize` with fresh metrics, every unit
// measured.
VerticalColumns BreakColumnsAgain(const Item& item, int fontSize) {
  FakeMetrics fake("vertical", item.seed, fontSize, item.uniformEms, false, 0);
  MeasuredEms ems(item.units, &fake);
  VerticalColumns columns;
  columns.width = static_cast<float>(item.info.lineHeight);
  if (!BreakColumns(item.info, fontSize, item.topInset, item.units.size(),
                    &fake, &ems, &columns))
    Fail("vertical", "breaking columns again failed");
  if (columns.units.size() != columns.heights.size())
    Fail("vertical", "columns and heights differ in number");
  return columns;
}

bool ColumnsFit(const Item& item, const VerticalColumns& columns) {
  return static_cast<float>(columns.units.size()) * columns.width <=
         item.info.areaWidth;
}

// `exact`: the layout measured every unit at every size, so its fitting can
// be checked against columns broken again.
void CheckVertical(const Item& item, const Run& run, bool exact) {
  const char* name = run.name;
  const TextInfo& info = item.info;
  const Layout& layout = run.layout;
  if (layout.metricsFailed || layout.fontSize < kMinFontSize)
    return;

  // Every unit once, column by column, top to bottom: in text order.
  if (layout.annotations.size() != item.units.size())
    Fail(name, "not every unit is placed exactly once");
  for (size_t i = 0; i < item.units.size(); ++i)
    if (layout.annotations[i].text != item.units[i])
      Fail(name, "the units are not placed in text order");

  if (exact && info.adjustToFit) {
    if (!ColumnsFit(item, BreakColumnsAgain(item, layout.fontSize)))
      Fail(name, "fitting ended on a size at which the text does not fit");
    if (layout.fontSize < info.fontSize &&
        ColumnsFit(item, BreakColumnsAgain(item, layout.fontSize + 1)))
      Fail(name, "fitting went past a size at which the text fits");
  }
}

// What holds for every typeset layout, whatever its keys.
void CheckTypeset(const Item& item, const Run& run, bool vertical) {
  const char* name = run.name;
  const TextInfo& info = item.info;
  const Layout& layout = run.layout;
  const int start = info.fontSize;
  // Each pass of a sweep at most twice (whole words, then any), the plain
  // layouts' passes twice over (uniform ems, then all measured), and a
  // few settings besides: a pass again, block alignment, turned units.
  const size_t bound = start >= kMinFontSize
                           ? 2 * static_cast<size_t>(start - 4) + 6
                           : 0;
  if (run.sizes.size() > bound)
    Fail(name, "more layout passes than the sweeps need");
  for (int size : run.sizes)
    if (size > start)
      Fail(name, "a pass above the item's size");
  CheckFailureAndCoordinates(run);
  if (layout.metricsFailed || start < kMinFontSize)
    return;
  if (!info.adjustToFit && (layout.fontSize != start || layout.fitFailed))
    Fail(name, "the font size changed, or overflow was set, without fitting");
  if (layout.fontSize > start)
    Fail(name, "the font size grew");
  if (!layout.annotations.empty() && layout.fontSize < kMinFontSize)
    Fail(name, "text placed below the smallest font size");
  if (info.adjustToFit && info.minFontSize > 0) {
    const int smallest =
        std::min(start, std::max(kMinFontSize, info.minFontSize));
    if (layout.fontSize < smallest)
      Fail(name, "fitting went below the smallest size");
    if (layout.fitFailed && layout.fontSize != smallest)
      Fail(name, "text that does not fit is not at the smallest size");
  }
  for (const Annotation& a : layout.annotations)
    if (a.turned && !(vertical && info.verticalForms))
      Fail(name, "a unit turned without vertical forms");

  // The annotations are the text's own units, in order: horizontally runs
  // of units, vertically one unit each (or its upright form). What is
  // passed over is only line ends and spaces, and only with wrapping.
  // With wrapping, the text is cut into characters anew and every byte
  // that begins no well-formed character is drawn as one U+FFFD.
  std::vector<std::string> units = item.units;
  if (info.wrapWords) {
    std::string text;
    for (const std::string& unit : units)
      text += unit;
    units = WellFormedCharacters(text);
  }
  const std::vector<UnitBreak> breaks = FindLineBreaks(units);
  const VerticalForms forms(FontHasGlyph);
  auto drawn = [&](size_t i) {
    return vertical && info.verticalForms ? forms.Upright(units[i]) : units[i];
  };
  size_t next = 0;
  for (const Annotation& a : layout.annotations) {
    if (info.wrapWords && a.text.find_first_of("\n\r\v\f") != std::string::npos)
      Fail(name, "a line end is handed to ImageMagick");
    if (a.text.empty() && !vertical && !info.wrapWords)
      continue;  // the plain layout's empty first line
    bool matched = false;
    while (!matched && next < units.size()) {
      std::string joined;
      size_t end = next;
      while (joined.size() < a.text.size() && end < units.size() &&
             (!info.wrapWords || !breaks[end].lineEnd))
        joined += drawn(end++);
      if (joined == a.text && (vertical ? end == next + 1 : end > next)) {
        matched = true;
        next = end;
      } else if (info.wrapWords &&
                 (breaks[next].lineEnd || breaks[next].space)) {
        ++next;
      } else {
        break;
      }
    }
    if (!matched)
      Fail(name, "an annotation is not the next of the text's units");
    if (info.wrapWords && !vertical && !a.text.empty() &&
        (a.text.back() == ' ' || a.text.back() == '\t'))
      Fail(name, "a wrapped line ends with a space");
  }
}

// The same layout without block alignment, moved by whole pixels along
// one axis: down, or to the left.
void CheckBlockMove(const Run& aligned, const Run& unaligned, bool vertical) {
  const Layout& a = aligned.layout;
  const Layout& b = unaligned.layout;
  if (a.annotations.size() != b.annotations.size() ||
      a.fontSize != b.fontSize || a.metricsFailed != b.metricsFailed)
    Fail(aligned.name, "block alignment changed more than the position");
  double shift = 0;
  for (size_t i = 0; i < a.annotations.size(); ++i) {
    const Annotation& x = a.annotations[i];
    const Annotation& y = b.annotations[i];
    const double along = vertical ? x.x - y.x : x.y - y.y;
    if (x.text != y.text || x.turned != y.turned ||
        (vertical ? x.y != y.y : x.x != y.x))
      Fail(aligned.name, "block alignment changed more than the position");
    if (i == 0)
      shift = along;
    if (along != shift || shift != std::trunc(shift) ||
        (vertical ? shift > 0 : shift < 0))
      Fail(aligned.name, "the block did not move as one, down or left");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader in(data, size);
  Item item;
  TextInfo& info = item.info;
  const uint8_t flags = in.Byte();
  info.adjustToFit = (flags & 1) != 0;
  info.ignoreLineHeight = (flags & 2) != 0;
  item.canFail = (flags & 4) != 0;
  item.uniformEms = (flags & 8) != 0;
  const uint8_t alignment = in.Byte();
  info.alignment = alignment % 5;
  info.fontSize = in.Byte() % 66 - 2;
  info.lineHeight = in.ReadSmallOrLarge();
  info.areaX = in.ReadCoord();
  info.areaY = in.ReadCoord();
  info.areaWidth = in.ReadCoord();
  info.areaHeight = in.ReadCoord();
  item.topInset = in.ReadInset();
  item.seed = in.Byte();
  item.budget = item.canFail ? static_cast<uint16_t>(in.Int16()) : 0;
  info.text = in.Rest();
  splitWord(info.text, item.units);

  // The layouts as they are, straight from the metrics.
  const Run horizontal = RunLayout(item, Kind::kHorizontal, false);
  CheckPasses(item, horizontal, 1);
  CheckHorizontal(item, horizontal);
  const Run vertical = RunLayout(item, Kind::kVertical, false);
  CheckPasses(item, vertical, 1);
  CheckVertical(item, vertical, true);

  // Vertical fitting from one em size per font size. With em sizes that
  // depend on the size alone, as a font's do, it is the same layout in the
  // same passes; otherwise it finds out and starts over, measuring all.
  const Run shortcut = RunLayout(item, Kind::kVerticalShortcut, false);
  CheckPasses(item, shortcut, item.uniformEms ? 1 : 2);
  CheckVertical(item, shortcut, item.uniformEms);
  if (item.uniformEms && !item.canFail)
    CheckSame(shortcut, vertical);

  // As the renderers run them: through a cache of measurements. A cache
  // gives what it was given, so the layouts do not change.
  const Run horizontalCached = RunLayout(item, Kind::kHorizontal, true);
  CheckPasses(item, horizontalCached, 1);
  CheckHorizontal(item, horizontalCached);
  const Run shortcutCached = RunLayout(item, Kind::kVerticalShortcut, true);
  CheckPasses(item, shortcutCached, item.uniformEms ? 1 : 2);
  CheckVertical(item, shortcutCached, item.uniformEms);
  if (!item.canFail) {
    CheckSame(horizontalCached, horizontal);
    CheckSame(shortcutCached, shortcut);
  }

  // The typography that jobs opt into, on the same item.
  info.wrapWords = (flags & 16) != 0;
  info.verticalForms = (flags & 32) != 0;
  info.minFontSize = (flags & 64) != 0 ? 5 + static_cast<int>(item.seed % 32)
                                       : 0;
  info.blockAlign = alignment / 5 % 3;
  if (!UsesTypography(info))
    return 0;
  for (Kind kind : {Kind::kLinesTypeset, Kind::kColumnsTypeset}) {
    const bool vertical = kind == Kind::kColumnsTypeset;
    const Run typeset = RunLayout(item, kind, false);
    CheckTypeset(item, typeset, vertical);
    const Run cached = RunLayout(item, kind, true);
    CheckTypeset(item, cached, vertical);
    if (!item.canFail)
      CheckSame(cached, typeset);
    if (info.blockAlign != 0 && !item.canFail) {
      Item unaligned = item;
      unaligned.info.blockAlign = 0;
      CheckBlockMove(typeset, RunLayout(unaligned, kind, false), vertical);
    }
  }
  return 0;
}
