#include "render/layout/horizontal_layout.h"

#include <cmath>

#include "util/numeric.h"

namespace {

// The baseline of line `index`: index x advance + first baseline, all in
// single precision, truncated toward zero.
int Baseline(int index, float lineAdvance, int firstBaseline) {
  return TruncToInt(static_cast<float>(index) * lineAdvance +
                    static_cast<float>(firstBaseline));
}

// The x of a line `textW` wide: flush left, centred (2) or flush right (3);
// a line wider than the area starts at its left edge.
double LineX(const TextInfo& info, double textW) {
  double x = info.areaX;
  if (info.areaWidth > textW) {
    if (info.alignment == kAlignEnd)
      x = info.areaX + (info.areaWidth - textW);
    else if (info.alignment == kAlignCentre)
      x = info.areaX + (info.areaWidth - textW) * 0.5;
  }
  return x;
}

// Annotates the lines, each at its baseline. Without fitting, the lines
// whose advance runs past the bottom of the area are cut. With fitting,
// every line the fitting accepted is drawn.
bool PlaceLines(const TextInfo& info, float topInset,
                const HorizontalLines& lines, MetricsSource* metrics,
                Layout* out) {
  const bool cutAtBottom = !info.adjustToFit;
  double bottom = info.areaY + info.areaHeight;
  double y = static_cast<double>(topInset + info.areaY) + lines.lineAdvance;
  size_t drawn = 0;
  if (!(cutAtBottom && y > bottom)) {
    while (drawn < lines.text.size()) {
      FontMetrics m;
      if (!metrics->Measure(lines.text[drawn], &m))
        return false;
      const double x = LineX(info, m.textW);
      const double baseline = lines.baselines[drawn];
      out->annotations.push_back({x, baseline, lines.text[drawn]});
      out->lines.push_back({lines.text[drawn], x, baseline});
      if (++drawn == lines.text.size())
        break;
      y += lines.lineAdvance;
      if (cutAtBottom && y > bottom)
        break;
    }
  }
  for (size_t i = drawn; i < lines.text.size(); ++i)
    if (!lines.text[i].empty())
      out->overflow.push_back(lines.text[i]);
  return true;
}

}  // namespace

bool BreakLines(const TextInfo& info, int fontSize, float topInset,
                const std::vector<std::string>& units, MetricsSource* metrics,
                HorizontalLines* lines) {
  lines->text.clear();
  lines->baselines.clear();
  const double top = topInset + info.areaY;
  const double right = info.areaX + info.areaWidth;
  const bool advanceFollowsFont = info.adjustToFit || info.ignoreLineHeight;
  metrics->SetFontSize(fontSize);

  int firstBaseline = 0;
  int lineIndex = 0;
  double width = info.areaX;
  std::string current;
  for (size_t i = 0; i < units.size(); ++i) {
    FontMetrics m;
    if (!metrics->Measure(units[i], &m))
      return false;
    if (i == 0 && advanceFollowsFont)
      lines->lineAdvance = NarrowToFloat(m.textH);
    double t = std::ceil(top + m.by2);
    if (t > firstBaseline)
      firstBaseline = TruncToInt(t);
    width += m.textW;
    if (width > right) {
      // The unit does not fit: close the line (even an empty one) and let
      // the unit open the next.
      lines->text.push_back(current);
      lines->baselines.push_back(
          Baseline(lineIndex, lines->lineAdvance, firstBaseline));
      current.clear();
      ++lineIndex;
      width = info.areaX + m.textW;
    }
    current += units[i];
  }
  if (!current.empty()) {
    lines->text.push_back(current);
    lines->baselines.push_back(
        Baseline(lineIndex, lines->lineAdvance, firstBaseline));
  }
  return true;
}

Layout LayOutHorizontal(const TextInfo& info, float topInset,
                        const std::vector<std::string>& units,
                        MetricsSource* metrics) {
  Layout layout;
  layout.fontSize = info.fontSize;
  if (layout.fontSize < kMinFontSize) {
    NothingDrawn(units, &layout);
    return layout;
  }

  HorizontalLines lines;
  lines.lineAdvance = static_cast<float>(info.lineHeight);
  bool stepped = false;
  for (;;) {
    if (!BreakLines(info, layout.fontSize, topInset, units, metrics, &lines)) {
      layout.metricsFailed = true;
      return layout;
    }
    if (!info.adjustToFit ||
        !(static_cast<float>(lines.text.size()) * lines.lineAdvance >
          info.areaHeight))
      break;
    --layout.fontSize;
    if (layout.fontSize < kMinFontSize) {
      // Too tall even at the smallest size: no text.
      NothingDrawn(units, &layout);
      return layout;
    }
    stepped = true;
  }
  if (stepped && !lines.text.empty())
    lines.lineAdvance =
        info.areaHeight / static_cast<float>(lines.text.size());

  if (!PlaceLines(info, topInset, lines, metrics, &layout)) {
    layout = Layout();
    layout.metricsFailed = true;
  }
  return layout;
}
