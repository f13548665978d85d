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
};

// What a layout hands to its renderer.
struct Layout {
  std::vector<Annotation> annotations;  // in drawing order
  int fontSize = 0;                     // the size the text is drawn at
  bool metricsFailed = false;           // a measurement failed; nothing laid out
};

#endif  // QUILLMARK_RENDER_ANNOTATION_H_
