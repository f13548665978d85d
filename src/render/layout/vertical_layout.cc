#include "render/layout/vertical_layout.h"

#include "util/numeric.h"

namespace {

// Gives every unit one em size per pass: the font's, measured on the empty
// text, which ImageMagick answers without loading a glyph. The one place
// that relies on the em size being the same for all units at a size:
// Agrees() checks it against a unit's own measurement.
class UniformEms : public EmSource {
 public:
  explicit UniformEms(MetricsSource* metrics) : metrics_(metrics) {}
  bool Get(size_t index, EmSize* out) override {
    // Every pass starts with unit 0, right after the size was set.
    if (index == 0) {
      FontMetrics m;
      if (!metrics_->Measure("", &m))
        return false;
      em_ = {m.charWidth, m.charHeight};
    }
    *out = em_;
    return true;
  }
  const EmSize& em() const { return em_; }

 private:
  MetricsSource* metrics_;
  EmSize em_ = {0, 0};
};

}  // namespace

bool EmAgrees(const EmSize& em, const FontMetrics& m) {
  return m.charWidth == em.charWidth && m.charHeight == em.charHeight;
}

Placement PlaceColumns(const TextInfo& info, float topInset,
                       const std::vector<std::string>& units,
                       const VerticalColumns& columns, MetricsSource* metrics,
                       const EmSize* check, Layout* out) {
  const float w = columns.width;
  const float pitch = w + topInset;
  const double twiceInset = topInset + topInset;
  std::vector<int> tops = ColumnTops(info, columns.heights);
  for (size_t j = 0; j < columns.units.size(); ++j) {
    const double left = (info.areaX + info.areaWidth) -
                        static_cast<float>(j + 1) * pitch;
    const std::vector<size_t>& column = columns.units[j];
    std::string text;
    for (size_t k = 0; k < column.size(); ++k) {
      FontMetrics m;
      if (!metrics->Measure(units[column[k]], &m))
        return Placement::kMetricsFailed;
      if (check != nullptr && !EmAgrees(*check, m))
        return Placement::kEmMismatch;
      double x = (w - m.bx2 + m.bx1) * 0.5 + left;
      double y = (twiceInset + m.charHeight) * static_cast<double>(k + 1) -
                 (m.charHeight - m.by2) + tops[j];
      Annotation placed{x, y, units[column[k]]};
      placed.bounded = true;
      placed.left = x + m.bx1;
      placed.top = y - m.by2;
      placed.right = x + m.bx2;
      placed.bottom = y - m.by1;
      out->annotations.push_back(placed);
      text += units[column[k]];
    }
    if (column.empty())
      continue;  // the empty column that a too tall first unit leaves
    if (left < info.areaX)
      out->overflow.push_back(text);
    out->lines.push_back({std::move(text), left, static_cast<double>(tops[j])});
  }
  return Placement::kDone;
}

Placement CheckEms(const std::vector<std::string>& units,
                   MetricsSource* metrics, const EmSize& em) {
  for (const std::string& unit : units) {
    FontMetrics m;
    if (!metrics->Measure(unit, &m))
      return Placement::kMetricsFailed;
    if (!EmAgrees(em, m))
      return Placement::kEmMismatch;
  }
  return Placement::kDone;
}

bool MeasuredEms::Get(size_t index, EmSize* out) {
  FontMetrics m;
  if (!metrics_->Measure(units_[index], &m))
    return false;
  *out = {m.charWidth, m.charHeight};
  return true;
}

bool BreakColumns(const TextInfo& info, int fontSize, float topInset,
                  size_t unitCount, MetricsSource* metrics, EmSource* ems,
                  VerticalColumns* columns) {
  columns->units.clear();
  columns->heights.clear();
  metrics->SetFontSize(fontSize);
  const double start = topInset + info.areaY;
  const double bottom = info.areaY + info.areaHeight;
  const double twiceInset = topInset + topInset;
  const bool widthFollowsFont = info.adjustToFit || info.ignoreLineHeight;

  // The break test counts the inset once and then every unit's height; the
  // height of the column counts twice the inset per unit.
  std::vector<size_t> current;
  double y = start;
  int h = 0;
  for (size_t i = 0; i < unitCount; ++i) {
    EmSize em;
    if (!ems->Get(i, &em))
      return false;
    if (i == 0 && widthFollowsFont)
      columns->width = NarrowToFloat(topInset + em.charWidth);
    y += em.charHeight;
    if (y > bottom) {
      // The unit crosses the bottom: close the column (even an empty one)
      // and let the unit open the next.
      columns->units.push_back(current);
      columns->heights.push_back(h);
      current.clear();
      y = start + em.charHeight;
      h = 0;
    }
    h = TruncToInt(em.charHeight + twiceInset + h);
    current.push_back(i);
  }
  if (!current.empty()) {
    columns->units.push_back(current);
    columns->heights.push_back(h);
  }
  return true;
}

std::vector<int> ColumnTops(const TextInfo& info,
                            const std::vector<int>& heights) {
  std::vector<int> tops;
  tops.reserve(heights.size());
  for (int height : heights) {
    const float h = static_cast<float>(height);
    float top = info.areaY;
    if (info.areaHeight > h) {
      if (info.alignment == kAlignEnd)
        top = info.areaY + info.areaHeight - h;
      else if (info.alignment == kAlignCentre)
        top = info.areaY + (info.areaHeight - h) * 0.5f;
    }
    tops.push_back(TruncToInt(top));
  }
  return tops;
}

namespace {

// The layout with every em size taken from `ems`; `check` is the same
// source when it is a UniformEms, to be verified.
Placement LayOut(const TextInfo& info, float topInset,
                 const std::vector<std::string>& units, MetricsSource* metrics,
                 EmSource* ems, const UniformEms* check, Layout* layout) {
  layout->fontSize = info.fontSize;
  if (layout->fontSize < kMinFontSize) {
    NothingDrawn(units, layout);
    return Placement::kDone;
  }

  VerticalColumns columns;
  columns.width = static_cast<float>(info.lineHeight);
  bool shrunk = false;
  for (;;) {
    if (!BreakColumns(info, layout->fontSize, topInset, units.size(), metrics,
                      ems, &columns))
      return Placement::kMetricsFailed;
    if (!info.adjustToFit ||
        static_cast<float>(columns.units.size()) * columns.width <=
            info.areaWidth)
      break;
    --layout->fontSize;
    if (layout->fontSize < kMinFontSize) {
      // Too wide even at the smallest size: no text.
      NothingDrawn(units, layout);
      return check ? CheckEms(units, metrics, check->em()) : Placement::kDone;
    }
    shrunk = true;
  }
  // After shrinking, the columns spread over the whole width of the area.
  if (shrunk && !columns.units.empty())
    columns.width =
        info.areaWidth / static_cast<float>(columns.units.size());
  return PlaceColumns(info, topInset, units, columns, metrics,
                      check ? &check->em() : nullptr, layout);
}

}  // namespace

Layout LayOutVertical(const TextInfo& info, float topInset,
                      const std::vector<std::string>& units,
                      MetricsSource* metrics, bool uniformEms) {
  Layout layout;
  Placement placement = Placement::kEmMismatch;
  if (uniformEms) {
    UniformEms ems(metrics);
    placement = LayOut(info, topInset, units, metrics, &ems, &ems, &layout);
  }
  if (placement == Placement::kEmMismatch) {
    layout = Layout();
    MeasuredEms ems(units, metrics);
    placement = LayOut(info, topInset, units, metrics, &ems, nullptr, &layout);
  }
  if (placement == Placement::kMetricsFailed) {
    layout = Layout();
    layout.metricsFailed = true;
  }
  return layout;
}
