#ifndef QUILLMARK_TESTS_RENDER_FAKE_METRICS_H_
#define QUILLMARK_TESTS_RENDER_FAKE_METRICS_H_

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"
#include "render/layout/split_word.h"

// Made-up font metrics for the layout tests: a rule of (text, font size),
// fixed answers for chosen texts, chosen failures, and a record of what the
// layout asked for.
class FakeMetrics : public MetricsSource {
 public:
  using Rule = std::function<FontMetrics(const std::string& text, int size)>;

  explicit FakeMetrics(Rule rule) : rule_(std::move(rule)) {}

  // `text` measures as `m` at every size.
  void Set(const std::string& text, const FontMetrics& m) { fixed_[text] = m; }
  // Every measurement of `text` fails.
  void FailOn(const std::string& text) { failing_.push_back(text); }
  // Every measurement after the first `n` fails.
  void FailAfter(size_t n) { failAfter_ = n; }

  void SetFontSize(int size) override {
    size_ = size;
    sizes.push_back(size);
  }

  bool Measure(const std::string& text, FontMetrics* out) override {
    measured.emplace_back(text, size_);
    if (std::find(failing_.begin(), failing_.end(), text) != failing_.end() ||
        measured.size() > failAfter_)
      return false;
    auto it = fixed_.find(text);
    *out = it != fixed_.end() ? it->second : rule_(text, size_);
    return true;
  }

  // How often `text` was measured while `size` was in force.
  int Count(const std::string& text, int size) const {
    return static_cast<int>(std::count(measured.begin(), measured.end(),
                                       std::make_pair(text, size)));
  }

  std::vector<int> sizes;                             // every size set
  std::vector<std::pair<std::string, int>> measured;  // (text, size in force)

 private:
  Rule rule_;
  std::map<std::string, FontMetrics> fixed_;
  std::vector<std::string> failing_;
  size_t failAfter_ = SIZE_MAX;
  int size_ = -1;
};

// What the horizontal layout reads: textW, textH and by2.
inline FontMetrics LineMetrics(double textW, double textH, double by2) {
  FontMetrics m{};
  m.textW = textW;
  m.textH = textH;
  m.by2 = by2;
  return m;
}

// What the vertical layout reads: charWidth, charHeight, bx1, bx2 and by2.
inline FontMetrics CellMetrics(double charWidth, double charHeight, double bx1,
                               double bx2, double by2) {
  FontMetrics m{};
  m.charWidth = charWidth;
  m.charHeight = charHeight;
  m.bx1 = bx1;
  m.bx2 = bx2;
  m.by2 = by2;
  return m;
}

// Units an em of 20 with ink from bx1 1 to bx2 19, by2 16, at every size.
inline FontMetrics EmCell(const std::string&, int) {
  return CellMetrics(20, 20, 1, 19, 16);
}

// Units an em of `size` with bx1 0, bx2 size and by2 size - 4.
inline FontMetrics ScaledCell(const std::string&, int size) {
  return CellMetrics(size, size, 0, size, size - 4);
}

// Every byte `size` wide, lines `size` high with by2 0.75 x size.
inline FontMetrics ScaledLine(const std::string& text, int size) {
  return LineMetrics(size * text.size(), size, 0.75 * size);
}

inline std::vector<std::string> Units(const std::string& text) {
  std::vector<std::string> units;
  splitWord(text, units);
  return units;
}

// The texts, xs or ys of a layout's annotations, in drawing order.
inline std::vector<std::string> Texts(const Layout& layout) {
  std::vector<std::string> texts;
  for (const Annotation& a : layout.annotations)
    texts.push_back(a.text);
  return texts;
}

inline std::vector<double> Xs(const Layout& layout) {
  std::vector<double> xs;
  for (const Annotation& a : layout.annotations)
    xs.push_back(a.x);
  return xs;
}

inline std::vector<double> Ys(const Layout& layout) {
  std::vector<double> ys;
  for (const Annotation& a : layout.annotations)
    ys.push_back(a.y);
  return ys;
}

#endif  // QUILLMARK_TESTS_RENDER_FAKE_METRICS_H_
