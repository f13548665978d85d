#ifndef QUILLMARK_TESTS_RENDER_LAYOUT_ITEMS_H_
#define QUILLMARK_TESTS_RENDER_LAYOUT_ITEMS_H_

#include "job/text_info.h"

// Items for the layout tests: font size 20, start alignment, the area
// (x, y, width, height).

// Horizontal lines 30 apart.
inline TextInfo LineItem(float x, float y, float width, float height) {
  TextInfo info;
  info.areaX = x;
  info.areaY = y;
  info.areaWidth = width;
  info.areaHeight = height;
  info.fontSize = 20;
  info.lineHeight = 30;
  info.alignment = 1;
  return info;
}

// Vertical columns 40 wide.
inline TextInfo ColumnItem(float x, float y, float width, float height) {
  TextInfo info = LineItem(x, y, width, height);
  info.lineHeight = 40;
  info.direction = 1;
  return info;
}

#endif  // QUILLMARK_TESTS_RENDER_LAYOUT_ITEMS_H_
