#ifndef QUILLMARK_RENDER_LAYOUT_ANNOTATION_H_
#define QUILLMARK_RENDER_LAYOUT_ANNOTATION_H_

#include <string>
#include <vector>

// One DrawAnnotation call: a text and the position of its origin, before the
// drawing's translation.
struct Annotation {
  double x;
  double y;
  std::string text;
  // Drawn turned by 90 degrees clockwise about its origin, its baseline
  // running down the page (vertical text: a character that has no upright
  // vertical form).
  bool turned = false;
  // Where the text's ink can be, from its measured bounds, when the layout
  // measured them: left, top, right and bottom in canvas pixels.
  bool bounded = false;
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// A line (horizontal) or a column (vertical) as placed: its text and where
// it starts, the origin of a line or the left edge and top of a column.
struct PlacedLine {
  std::string text;
  double x;
  double y;
};

// What a layout hands to its renderer.
struct Layout {
  std::vector<Annotation> annotations;  // in drawing order
  int fontSize = 0;                     // the size the text is drawn at
  bool metricsFailed = false;           // a measurement failed; nothing laid out
  std::vector<PlacedLine> lines;        // the lines or columns drawn
  // Text that does not fit the area: lines below it, which are not drawn;
  // columns that start left of it, which are drawn there; or the whole text
  // when none of it is drawn at any size.
  std::vector<std::string> overflow;
  // Fitting was asked for and the text does not fit at `fontSize`: fitting
  // stopped at the item's smallest size, or gave up and drew nothing.
  bool fitFailed = false;
};

// Records that no text is drawn at any size: the whole text of `units`, if
// there is any, is what does not fit.
inline void NothingDrawn(const std::vector<std::string>& units,
                         Layout* layout) {
  std::string text;
  for (const std::string& unit : units)
    text += unit;
  if (!text.empty())
    layout->overflow.push_back(text);
}

#endif  // QUILLMARK_RENDER_LAYOUT_ANNOTATION_H_
