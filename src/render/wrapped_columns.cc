#include "render/wrapped_columns.h"

#include <algorithm>

#include "util/numeric.h"

namespace {

// Text is laid out only from this font size up.
constexpr int kMinFontSize = 5;

class ColumnFiller {
 public:
  ColumnFiller(const TextInfo& info, float topInset,
               const std::vector<UnitBreak>& breaks,
               const std::vector<double>& emHeights, WrappedColumns* out)
      : breaks_(breaks),
        emHeights_(emHeights),
        out_(out),
        start_(topInset + info.areaY),
        bottom_(info.areaY + info.areaHeight),
        twiceInset_(topInset + topInset),
        y_(start_) {}

  void Fill() {
    for (const Segment& segment : Segments(breaks_)) {
      // Where the segment's last drawn unit would end; spaces after it
      // count only when more follows in the column.
      double y = y_;
      double contentEnd = y_;
      for (size_t i = segment.begin; i < segment.end; ++i) {
        if (breaks_[i].lineEnd)
          continue;
        y += emHeights_[i];
        if (!breaks_[i].space)
          contentEnd = y;
      }
      if (column_.empty() || contentEnd > bottom_) {
        if (!column_.empty())
          Close();
        PlaceOnEmptyColumn(segment);
      } else {
        Append(segment.begin, segment.end);
        y_ = y;
      }
      if (segment.mandatory)
        Close();
    }
    if (!column_.empty())
      Close();
  }

 private:
  void Append(size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i)
      if (!breaks_[i].lineEnd)
        column_.push_back(i);
  }

  bool HasContent() const {
    for (size_t i : column_)
      if (!breaks_[i].space)
        return true;
    return false;
  }

  // Puts a segment into a fresh column unit by unit, by the vertical
  // layout's break test; a unit that crosses the bottom opens the next
  // column, which breaks the word.
  void PlaceOnEmptyColumn(const Segment& segment) {
    for (size_t i = segment.begin; i < segment.end; ++i) {
      if (breaks_[i].lineEnd)
        continue;
      double next = y_ + emHeights_[i];
      if (next > bottom_ && !breaks_[i].space) {
        if (HasContent()) {
          out_->wordBroken = true;
          Close();
          next = y_ + emHeights_[i];
        }
        if (next > bottom_)
          out_->tooTall = true;
      }
      column_.push_back(i);
      y_ = next;
    }
  }

  // Closes the open column, without the spaces at its end.
  void Close() {
    while (!column_.empty() && breaks_[column_.back()].space)
      column_.pop_back();
    int h = 0;
    for (size_t i : column_)
      h = TruncToInt(emHeights_[i] + twiceInset_ + h);
    out_->columns.units.push_back(column_);
    out_->columns.heights.push_back(h);
    column_.clear();
    y_ = start_;
  }

  const std::vector<UnitBreak>& breaks_;
  const std::vector<double>& emHeights_;
  WrappedColumns* out_;
  const double start_;
  const double bottom_;
  const double twiceInset_;
  std::vector<size_t> column_;  // the open column's units, top to bottom
  double y_;                    // the break position
};

bool FitsArea(const TextInfo& info, const WrappedColumns& wrapped) {
  return !wrapped.tooTall &&
         static_cast<float>(wrapped.columns.units.size()) *
                 wrapped.columns.width <=
             info.areaWidth;
}

// The vertical layout's placement: columns from the right edge, one pitch
// apart; each unit centred in its column and put in its cell below the
// column's top.
bool PlaceUnits(const TextInfo& info, float topInset,
                const std::vector<std::string>& units,
                const VerticalColumns& columns, MetricsSource* metrics,
                std::vector<Annotation>* out) {
  const float w = columns.width;
  const float pitch = w + topInset;
  const double twiceInset = topInset + topInset;
  const std::vector<int> tops = ColumnTops(info, columns.heights);
  for (size_t j = 0; j < columns.units.size(); ++j) {
    const double left = (info.areaX + info.areaWidth) -
                        static_cast<float>(j + 1) * pitch;
    const std::vector<size_t>& column = columns.units[j];
    for (size_t k = 0; k < column.size(); ++k) {
      FontMetrics m;
      if (!metrics->Measure(units[column[k]], &m))
        return false;
      const double x = (w - m.bx2 + m.bx1) * 0.5 + left;
      const double y =
          (twiceInset + m.charHeight) * static_cast<double>(k + 1) -
          (m.charHeight - m.by2) + tops[j];
      out->push_back({x, y, units[column[k]]});
    }
  }
  return true;
}

}  // namespace

bool WrapColumns(const TextInfo& info, int fontSize, float topInset,
                 const std::vector<std::string>& units,
                 const std::vector<UnitBreak>& breaks, MetricsSource* metrics,
                 WrappedColumns* out) {
  out->columns.units.clear();
  out->columns.heights.clear();
  out->wordBroken = false;
  out->tooTall = false;
  metrics->SetFontSize(fontSize);
  const bool widthFollowsFont = info.adjustToFit || info.ignoreLineHeight;
  std::vector<double> emHeights(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    FontMetrics m;
    if (!metrics->Measure(units[i], &m))
      return false;
    if (i == 0 && widthFollowsFont)
      out->columns.width = NarrowToFloat(topInset + m.charWidth);
    emHeights[i] = m.charHeight;
  }
  ColumnFiller(info, topInset, breaks, emHeights, out).Fill();
  return true;
}

Layout LayOutWrappedColumns(const TextInfo& info, float topInset,
                            const std::vector<std::string>& units,
                            const std::vector<UnitBreak>& breaks,
                            MetricsSource* metrics) {
  Layout layout;
  layout.fontSize = info.fontSize;
  if (layout.fontSize < kMinFontSize)
    return layout;

  WrappedColumns wrapped;
  wrapped.columns.width = static_cast<float>(info.lineHeight);
  if (info.adjustToFit) {
    const int floor =
        std::min(info.fontSize, std::max(kMinFontSize, info.minFontSize));
    int chosen = 0;
    int withBrokenWords = 0;
    int lastPass = 0;
    for (int size = info.fontSize; size >= floor; --size) {
      if (!WrapColumns(info, size, topInset, units, breaks, metrics,
                       &wrapped)) {
        layout.metricsFailed = true;
        return layout;
      }
      lastPass = size;
      if (!FitsArea(info, wrapped))
        continue;
      if (!wrapped.wordBroken) {
        chosen = size;
        break;
      }
      if (withBrokenWords == 0)
        withBrokenWords = size;
    }
    if (chosen == 0)
      chosen = withBrokenWords;
    if (chosen == 0) {
      layout.overflow = true;
      if (info.minFontSize <= 0) {
        layout.fontSize = kMinFontSize - 1;  // no size fits: no text
        return layout;
      }
      chosen = floor;
    }
    layout.fontSize = chosen;
    if (chosen != lastPass && !WrapColumns(info, chosen, topInset, units,
                                           breaks, metrics, &wrapped)) {
      layout.metricsFailed = true;
      return layout;
    }
    // After shrinking, fitted columns spread over the whole width of the
    // area, as in the vertical layout.
    if (!layout.overflow && chosen < info.fontSize &&
        !wrapped.columns.units.empty())
      wrapped.columns.width =
          info.areaWidth / static_cast<float>(wrapped.columns.units.size());
  } else if (!WrapColumns(info, layout.fontSize, topInset, units, breaks,
                          metrics, &wrapped)) {
    layout.metricsFailed = true;
    return layout;
  }
  if (!PlaceUnits(info, topInset, units, wrapped.columns, metrics,
                  &layout.annotations)) {
    layout.annotations.clear();
    layout.metricsFailed = true;
  }
  return layout;
}
