#ifndef QUILLMARK_RENDER_LAYOUT_VERTICAL_LAYOUT_H_
#define QUILLMARK_RENDER_LAYOUT_VERTICAL_LAYOUT_H_

#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"

// Columns broken from the units at one font size. Column 0 is the rightmost;
// each column lists its units' indexes from top to bottom.
struct VerticalColumns {
  std::vector<std::vector<size_t>> units;
  std::vector<int> heights;
  float width = 0;  // column width W
};

// The em size of a unit: all that column breaking and fitting read.
struct EmSize {
  double charWidth;
  double charHeight;
};

// Gives the em size of unit `index` at the size last set on the metrics;
// false when a measurement failed.
class EmSource {
 public:
  virtual ~EmSource() = default;
  virtual bool Get(size_t index, EmSize* out) = 0;
};

// Measures every unit in full and hands on its em size.
class MeasuredEms : public EmSource {
 public:
  MeasuredEms(const std::vector<std::string>& units, MetricsSource* metrics)
      : units_(units), metrics_(metrics) {}
  bool Get(size_t index, EmSize* out) override;

 private:
  const std::vector<std::string>& units_;
  MetricsSource* metrics_;
};

// One layout pass at `fontSize`: breaks the units into columns by the area's
// height. `columns->width` comes in as the width in force and goes out
// changed when the column width follows the font. False when a measurement
// failed.
bool BreakColumns(const TextInfo& info, int fontSize, float topInset,
                  size_t unitCount, MetricsSource* metrics, EmSource* ems,
                  VerticalColumns* columns);

// How placing the units in their columns ended.
enum class Placement { kDone, kMetricsFailed, kEmMismatch };

// Whether a unit's measurement has the em size `em`.
bool EmAgrees(const EmSize& em, const FontMetrics& m);

// Annotates every unit of every column at the final font size, and records
// each column (its text, left edge and top) and the columns that start left
// of the area, which are drawn all the same. With `check`, every unit's em
// size must be *check, the one the columns were broken with.
Placement PlaceColumns(const TextInfo& info, float topInset,
                       const std::vector<std::string>& units,
                       const VerticalColumns& columns, MetricsSource* metrics,
                       const EmSize* check, Layout* out);

// When fitting gave up, checks the em size it relied on against every
// unit at the last size it tried, the size still set.
Placement CheckEms(const std::vector<std::string>& units,
                   MetricsSource* metrics, const EmSize& em);

// The y where each column starts: top, centre (2) or bottom (3) alignment,
// each column on its own height.
std::vector<int> ColumnTops(const TextInfo& info, const std::vector<int>& heights);

// Breaks, fits and places the units of an item in right-to-left columns:
// the whole layout of the vertical renderer, without drawing.
//
// Breaking and fitting read only each unit's charWidth and charHeight, the
// font's pixels per em, which are the same for every unit of a font at a
// size. With `uniformEms`, every pass is laid out from one em size, the
// font's, measured on the empty text (which ImageMagick answers without
// loading a glyph), and placement, which measures every unit at the final
// size, checks that each agrees; if one does not, the item is laid out again
// with every unit measured at every size. Either way the result is the same.
Layout LayOutVertical(const TextInfo& info, float topInset,
                      const std::vector<std::string>& units,
                      MetricsSource* metrics, bool uniformEms = false);

#endif  // QUILLMARK_RENDER_LAYOUT_VERTICAL_LAYOUT_H_
