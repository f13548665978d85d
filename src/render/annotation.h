#ifndef QUILLMARK_RENDER_ANNOTATION_H_
#define QUILLMARK_RENDER_ANNOTATION_H_

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
};

// What a layout hands to its renderer.
struct Layout {
  std::vector<Annotation> annotations;  // in drawing order
  int fontSize = 0;                     // the size the text is drawn at
  bool metricsFailed = false;           // a measurement failed; nothing laid out
  // Fitting was asked for and the text does not fit at `fontSize`: fitting
  // stopped at the item's smallest size, or gave up and drew nothing.
  bool overflow = false;
};

#endif  // QUILLMARK_RENDER_ANNOTATION_H_
