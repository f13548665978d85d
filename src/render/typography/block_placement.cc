#include "render/typography/block_placement.h"

#include <algorithm>
#include <limits>

#include "util/numeric.h"

bool AlignBlock(const TextInfo& info, MetricsSource* metrics, Layout* layout,
                const GlyphInk& glyphInk) {
  if ((info.blockAlign != 1 && info.blockAlign != 2) ||
      layout->metricsFailed || layout->annotations.empty())
    return true;
  const bool vertical = info.direction != 0;
  metrics->SetFontSize(layout->fontSize);
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (const Annotation& a : layout->annotations) {
    if (a.text.empty())
      continue;
    InkBox ink;
    if (vertical && glyphInk && glyphInk(a.text, layout->fontSize, &ink)) {
      if (ink.empty)
        continue;
      // Upright, the glyph's x runs across the columns; turned clockwise,
      // its y (up) does.
      low = std::min(low, a.x + (a.turned ? ink.y1 : ink.x1));
      high = std::max(high, a.x + (a.turned ? ink.y2 : ink.x2));
      continue;
    }
    FontMetrics m;
    if (!metrics->Measure(a.text, &m))
      return false;
    double from, to;
    if (!vertical) {
      // ImageMagick's by1 and by2 span every glyph of a line; its bx1 and
      // bx2 are one glyph's, which is all a vertical unit has.
      from = a.y - m.by2;
      to = a.y - m.by1;
    } else if (a.turned) {
      from = a.x + m.by1;
      to = a.x + m.by2;
    } else {
      from = a.x + m.bx1;
      to = a.x + m.bx2;
    }
    low = std::min(low, from);
    high = std::max(high, to);
  }
  if (!(low <= high))
    return true;
  const double middle = vertical ? info.areaX + info.areaWidth * 0.5
                                 : info.areaY + info.areaHeight * 0.5;
  double offset = middle - (low + high) * 0.5;
  if (info.blockAlign == 1)
    offset *= 2;
  const double shift = TruncToInt(offset);
  if (vertical ? !(shift < 0) : !(shift > 0))
    return true;
  for (Annotation& a : layout->annotations) {
    (vertical ? a.x : a.y) += shift;
    (vertical ? a.left : a.top) += shift;
    (vertical ? a.right : a.bottom) += shift;
  }
  for (PlacedLine& line : layout->lines)
    (vertical ? line.x : line.y) += shift;
  return true;
}

Layout LayOutWithSmallestSize(
    const TextInfo& info,
    const std::function<Layout(const TextInfo& info)>& layOut) {
  Layout layout = layOut(info);
  if (!info.adjustToFit || layout.metricsFailed ||
      info.fontSize < kMinFontSize)
    return layout;
  if (info.minFontSize <= 0) {
    layout.fitFailed = layout.fontSize < kMinFontSize;
    return layout;
  }
  const int smallest = SmallestFittingSize(info);
  if (layout.fontSize >= smallest)
    return layout;
  TextInfo unfitted = info;
  unfitted.fontSize = smallest;
  unfitted.adjustToFit = false;
  unfitted.ignoreLineHeight = true;
  layout = layOut(unfitted);
  layout.fitFailed = !layout.metricsFailed;
  return layout;
}
