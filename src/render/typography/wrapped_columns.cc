#include "render/typography/wrapped_columns.h"

#include <algorithm>

#include "util/numeric.h"

namespace {

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

}  // namespace

bool WrapColumns(const TextInfo& info, int fontSize, float topInset,
                 const std::vector<std::string>& units,
                 const std::vector<UnitBreak>& breaks, MetricsSource* metrics,
                 WrappedColumns* out, bool uniformEms) {
  out->columns.units.clear();
  out->columns.heights.clear();
  out->wordBroken = false;
  out->tooTall = false;
  metrics->SetFontSize(fontSize);
  const bool widthFollowsFont = info.adjustToFit || info.ignoreLineHeight;
  std::vector<double> emHeights(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    // The font's em, measured on the empty text, which ImageMagick
    // answers without loading a glyph.
    FontMetrics m;
    if (uniformEms && i > 0) {
      m.charWidth = out->em.charWidth;
      m.charHeight = out->em.charHeight;
    } else if (!metrics->Measure(uniformEms ? std::string() : units[i], &m)) {
      return false;
    }
    if (i == 0)
      out->em = {m.charWidth, m.charHeight};
    if (i == 0 && widthFollowsFont)
      out->columns.width = NarrowToFloat(topInset + m.charWidth);
    emHeights[i] = m.charHeight;
  }
  ColumnFiller(info, topInset, breaks, emHeights, out).Fill();
  return true;
}

namespace {

Placement LayOut(const TextInfo& info, float topInset,
                 const std::vector<std::string>& units,
                 const std::vector<UnitBreak>& breaks, MetricsSource* metrics,
                 bool uniformEms, Layout* layout) {
  layout->fontSize = info.fontSize;
  if (layout->fontSize < kMinFontSize) {
    NothingDrawn(units, layout);
    return Placement::kDone;
  }

  WrappedColumns wrapped;
  wrapped.columns.width = static_cast<float>(info.lineHeight);
  auto wrap = [&](int size) {
    return WrapColumns(info, size, topInset, units, breaks, metrics, &wrapped,
                       uniformEms);
  };
  // A blank text draws nothing at any size: it fits at the first.
  if (info.adjustToFit && !IsBlank(breaks)) {
    const int floor = SmallestFittingSize(info);
    int chosen = 0;
    int withBrokenWords = 0;
    int lastPass = 0;
    for (int size = info.fontSize; size >= floor; --size) {
      if (!wrap(size))
        return Placement::kMetricsFailed;
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
      layout->fitFailed = true;
      if (info.minFontSize <= 0) {
        layout->fontSize = kMinFontSize - 1;  // no size fits: no text
        NothingDrawn(units, layout);
        return uniformEms ? CheckEms(units, metrics, wrapped.em)
                          : Placement::kDone;
      }
      chosen = floor;
    }
    layout->fontSize = chosen;
    if (chosen != lastPass && !wrap(chosen))
      return Placement::kMetricsFailed;
    // After shrinking, fitted columns spread over the whole width of the
    // area, as in the vertical layout.
    if (!layout->fitFailed && chosen < info.fontSize &&
        !wrapped.columns.units.empty())
      wrapped.columns.width =
          info.areaWidth / static_cast<float>(wrapped.columns.units.size());
  } else if (!wrap(layout->fontSize)) {
    return Placement::kMetricsFailed;
  }
  return PlaceColumns(info, topInset, units, wrapped.columns, metrics,
                      uniformEms ? &wrapped.em : nullptr, layout);
}

}  // namespace

Layout LayOutWrappedColumns(const TextInfo& info, float topInset,
                            const std::vector<std::string>& units,
                            const std::vector<UnitBreak>& breaks,
                            MetricsSource* metrics, bool uniformEms) {
  Layout layout;
  Placement placement = Placement::kEmMismatch;
  if (uniformEms)
    placement =
        LayOut(info, topInset, units, breaks, metrics, true, &layout);
  if (placement == Placement::kEmMismatch) {
    layout = Layout();
    placement =
        LayOut(info, topInset, units, breaks, metrics, false, &layout);
  }
  if (placement == Placement::kMetricsFailed) {
    layout = Layout();
    layout.metricsFailed = true;
  }
  return layout;
}
