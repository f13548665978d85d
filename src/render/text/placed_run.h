#ifndef QUILLMARK_RENDER_TEXT_PLACED_RUN_H_
#define QUILLMARK_RENDER_TEXT_PLACED_RUN_H_

#include <string>

// A run of a drawn line of shaped text, for the report: its text, the font
// that draws it (its name in the font list) and where it starts (its left
// edge on the line's baseline, before the drawing's translation).
struct PlacedRun {
  std::string text;
  std::string font;
  double x;
  double y;
};

#endif  // QUILLMARK_RENDER_TEXT_PLACED_RUN_H_
