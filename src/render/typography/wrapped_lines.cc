#include "render/typography/wrapped_lines.h"

#include <algorithm>
#include <cmath>

#include "util/numeric.h"

namespace {

// A segment of at most this many units is first measured whole; a longer
// one is measured by growing prefixes, so that a text without any break
// opportunity is not measured whole again for every line it fills.
constexpr size_t kMeasuredWhole = 32;

class LineFiller {
 public:
  LineFiller(const TextInfo& info, const std::vector<std::string>& units,
             const std::vector<UnitBreak>& breaks, MetricsSource* metrics,
             bool stopAtBrokenWord, WrappedLines* out)
      : info_(info), units_(units), breaks_(breaks), metrics_(metrics),
        stopAtBrokenWord_(stopAtBrokenWord), out_(out) {}

  bool Fill() {
    for (const Segment& segment : Segments(breaks_)) {
      if (end_ > begin_) {
        FontMetrics m;
        if (!Measure(Drawn(begin_, segment.end), &m))
          return false;
        if (Fits(m)) {
          end_ = segment.end;
          lineMetrics_ = m;
        } else {
          Close();
        }
      }
      if (end_ == begin_ && !PlaceOnEmptyLine(segment))
        return false;
      if (out_->wordBroken && stopAtBrokenWord_)
        return true;
      if (segment.mandatory)
        Close();
    }
    if (end_ > begin_)
      Close();
    return true;
  }

 private:
  // The text of units [begin, end) as drawn: line ends left out, trailing
  // spaces dropped.
  std::string Drawn(size_t begin, size_t end) const {
    while (end > begin && (breaks_[end - 1].space || breaks_[end - 1].lineEnd))
      --end;
    std::string text;
    for (size_t i = begin; i < end; ++i)
      if (!breaks_[i].lineEnd)
        text += units_[i];
    return text;
  }

  bool Measure(const std::string& text, FontMetrics* m) {
    if (text.empty()) {
      *m = FontMetrics{};
      return true;
    }
    return metrics_->Measure(text, m);
  }

  bool Fits(const FontMetrics& m) const { return m.textW <= info_.areaWidth; }

  // Closes the open line at end_; the next one opens there.
  void Close() {
    out_->lines.push_back({Drawn(begin_, end_), lineMetrics_});
    begin_ = end_;
    lineMetrics_ = FontMetrics{};
  }

  // Puts a segment on the empty open line, breaking it between units while
  // it is too long for a line of its own.
  bool PlaceOnEmptyLine(const Segment& segment) {
    size_t from = segment.begin;
    if (stopAtBrokenWord_) {
      FontMetrics m;
      if (!Measure(Drawn(from, segment.end), &m))
        return false;
      if (Fits(m)) {
        begin_ = from;
        end_ = segment.end;
        lineMetrics_ = m;
      } else {
        out_->wordBroken = true;
      }
      return true;
    }
    for (;;) {
      size_t end;
      FontMetrics m;
      if (!LongestFit(from, segment.end, &end, &m))
        return false;
      begin_ = from;
      end_ = end;
      lineMetrics_ = m;
      if (end == segment.end)
        return true;
      out_->wordBroken = true;
      Close();
      from = end;
    }
  }

  // The largest `end` in (from, limit] such that units [from, end) fit a
  // line, found by doubling and then halving the prefix; at least one unit
  // that is drawn, even when it does not fit on its own.
  bool LongestFit(size_t from, size_t limit, size_t* end, FontMetrics* m) {
    if (limit - from <= kMeasuredWhole) {
      if (!Measure(Drawn(from, limit), m))
        return false;
      if (Fits(*m)) {
        *end = limit;
        return true;
      }
    }
    size_t good = from;  // the prefix up to `good` fits
    FontMetrics goodMetrics{};
    size_t bad = limit + 1;  // the prefix up to `bad` does not
    size_t probe = from + 1;
    while (probe < bad) {
      FontMetrics trial;
      if (!Measure(Drawn(from, probe), &trial))
        return false;
      if (Fits(trial)) {
        good = probe;
        goodMetrics = trial;
        if (probe == limit)
          break;
        probe = bad <= limit ? good + (bad - good) / 2
                             : std::min(limit, from + 2 * (probe - from));
        if (probe == good)
          break;
      } else {
        bad = probe;
        probe = good + (bad - good) / 2;
        if (probe == good)
          break;
      }
    }
    if (Drawn(from, good).empty()) {
      // Not even one character fits: it goes on the line alone.
      size_t first = from;
      while (first < limit && breaks_[first].space)
        ++first;
      good = std::min(limit, first + 1);
      if (!Measure(Drawn(from, good), &goodMetrics))
        return false;
    }
    *end = good;
    *m = goodMetrics;
    return true;
  }

  const TextInfo& info_;
  const std::vector<std::string>& units_;
  const std::vector<UnitBreak>& breaks_;
  MetricsSource* metrics_;
  const bool stopAtBrokenWord_;
  WrappedLines* out_;
  size_t begin_ = 0;  // the open line holds units [begin_, end_)
  size_t end_ = 0;
  FontMetrics lineMetrics_{};
};

// The distance between baselines: the item's line height, or the font's
// when the spacing follows the font (textH of the first line with text).
float LineAdvance(const TextInfo& info, const WrappedLines& lines) {
  if (info.adjustToFit || info.ignoreLineHeight)
    for (const WrappedLine& line : lines.lines)
      if (!line.text.empty())
        return NarrowToFloat(line.metrics.textH);
  return static_cast<float>(info.lineHeight);
}

bool FitsArea(const TextInfo& info, const WrappedLines& lines,
              float advance) {
  return !lines.tooWide &&
         !(static_cast<float>(lines.lines.size()) * advance > info.areaHeight);
}

// The horizontal layout's placement: the first baseline puts the tallest
// ink at the top of the area, the lines follow one advance apart, each
// aligned on its own width. With `cutAtBottom`, lines whose advance runs
// past the bottom of the area are left out.
void PlaceLines(const TextInfo& info, float topInset,
                const WrappedLines& lines, float advance, bool cutAtBottom,
                Layout* out) {
  const double top = topInset + info.areaY;
  int firstBaseline = 0;
  for (const WrappedLine& line : lines.lines) {
    if (line.text.empty())
      continue;
    const double t = std::ceil(top + line.metrics.by2);
    if (t > firstBaseline)
      firstBaseline = TruncToInt(t);
  }
  const double bottom = info.areaY + info.areaHeight;
  double y = top;
  for (size_t i = 0; i < lines.lines.size(); ++i) {
    y += advance;
    if (cutAtBottom && y > bottom) {
      for (size_t cut = i; cut < lines.lines.size(); ++cut)
        if (!lines.lines[cut].text.empty())
          out->overflow.push_back(lines.lines[cut].text);
      break;
    }
    const WrappedLine& line = lines.lines[i];
    if (line.text.empty())
      continue;
    const double width = line.metrics.textW;
    double x = info.areaX;
    if (info.areaWidth > width) {
      if (info.alignment == kAlignEnd)
        x = info.areaX + (info.areaWidth - width);
      else if (info.alignment == kAlignCentre)
        x = info.areaX + (info.areaWidth - width) * 0.5;
    }
    const int baseline = TruncToInt(static_cast<float>(i) * advance +
                                    static_cast<float>(firstBaseline));
    out->annotations.push_back({x, static_cast<double>(baseline), line.text});
    out->lines.push_back({line.text, x, static_cast<double>(baseline)});
  }
}

}  // namespace

bool WrapLines(const TextInfo& info, int fontSize,
               const std::vector<std::string>& units,
               const std::vector<UnitBreak>& breaks, MetricsSource* metrics,
               WrappedLines* out, bool stopAtBrokenWord) {
  *out = WrappedLines();
  metrics->SetFontSize(fontSize);
  LineFiller filler(info, units, breaks, metrics, stopAtBrokenWord, out);
  if (!filler.Fill())
    return false;
  for (const WrappedLine& line : out->lines)
    if (line.metrics.textW > info.areaWidth)
      out->tooWide = true;
  return true;
}

Layout LayOutWrappedLines(const TextInfo& info, float topInset,
                          const std::vector<std::string>& units,
                          const std::vector<UnitBreak>& breaks,
                          MetricsSource* metrics) {
  Layout layout;
  layout.fontSize = info.fontSize;
  if (layout.fontSize < kMinFontSize) {
    NothingDrawn(units, &layout);
    return layout;
  }

  WrappedLines lines;
  bool cutAtBottom = !info.adjustToFit;
  // A blank text draws nothing at any size: it fits at the first.
  if (info.adjustToFit && !IsBlank(breaks)) {
    const int floor = SmallestFittingSize(info);
    // The first size that keeps every word whole; a pass gives up at its
    // first broken word. Failing that, the first size that fits at all.
    int chosen = 0;
    int lastPass = 0;
    bool lastPassWhole = false;  // not cut short at a broken word
    bool anyWordBroken = false;
    for (bool wholeWords : {true, false}) {
      if (!wholeWords && !anyWordBroken)
        break;  // the second sweep would find what the first found
      for (int size = info.fontSize; size >= floor && chosen == 0; --size) {
        if (!WrapLines(info, size, units, breaks, metrics, &lines,
                       wholeWords)) {
          layout.metricsFailed = true;
          return layout;
        }
        lastPass = size;
        anyWordBroken = anyWordBroken || lines.wordBroken;
        lastPassWhole = !(wholeWords && lines.wordBroken);
        if (lastPassWhole &&
            FitsArea(info, lines, LineAdvance(info, lines)))
          chosen = size;
      }
    }
    if (chosen == 0) {
      layout.fitFailed = true;
      if (info.minFontSize <= 0) {
        layout.fontSize = kMinFontSize - 1;  // no size fits: no text
        NothingDrawn(units, &layout);
        return layout;
      }
      chosen = floor;
      cutAtBottom = true;
    }
    layout.fontSize = chosen;
    if ((chosen != lastPass || !lastPassWhole) &&
        !WrapLines(info, chosen, units, breaks, metrics, &lines)) {
      layout.metricsFailed = true;
      return layout;
    }
  } else if (!WrapLines(info, layout.fontSize, units, breaks, metrics,
                        &lines)) {
    layout.metricsFailed = true;
    return layout;
  }
  PlaceLines(info, topInset, lines, LineAdvance(info, lines), cutAtBottom,
             &layout);
  return layout;
}
