#ifndef QUILLMARK_TESTS_SUPPORT_JOB_TEXT_H_
#define QUILLMARK_TESTS_SUPPORT_JOB_TEXT_H_

#include <string>
#include <vector>

// A text area in whole pixels.
struct Area {
  int x, y, width, height;
  int right() const { return x + width; }    // one past the last column
  int bottom() const { return y + height; }  // one past the last row
};

// The JSON array of an "area" key.
std::string AreaJson(const Area& a);

// One canvas of a job file; `ui` is the body of its "ui" object.
std::string Canvas(int width, int height, const std::string& output,
                   const std::string& ui);

// A 60 x 30 canvas with "Ab" in red DejaVu Sans at size 16: quick to draw.
std::string QuickCanvas(const std::string& output);

// A job file's text: the canvases in an array.
std::string Job(const std::vector<std::string>& canvases);

#endif  // QUILLMARK_TESTS_SUPPORT_JOB_TEXT_H_
