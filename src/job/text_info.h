#ifndef QUILLMARK_JOB_TEXT_INFO_H_
#define QUILLMARK_JOB_TEXT_INFO_H_

#include <algorithm>
#include <string>
#include <vector>

// Text is laid out only at font sizes from this one up: a smaller size, or
// fitting that would need one, draws no text.
constexpr int kMinFontSize = 5;

// The alignment codes of TextInfo::alignment, along a line or a column. The
// job's "align" maps 0 to start, 1 to end and 2 to centre; a record treats
// every code but kAlignCentre and kAlignEnd as start.
constexpr int kAlignStart = 1;
constexpr int kAlignCentre = 2;
constexpr int kAlignEnd = 3;

// The paragraph directions of TextInfo::bidi ("bidi").
constexpr int kBidiFromText = 0;  // from the first strong character
constexpr int kBidiLtr = 1;
constexpr int kBidiRtl = 2;

// The one text item of a canvas, with the canvas's size and output path. A
// plain value: every renderer call gets its own copy. Pixel coordinates have
// their origin at the top-left corner, y growing downwards.
struct TextInfo {
  std::string text;        // UTF-8
  std::string outputPath;
  int canvasWidth = 0;
  int canvasHeight = 0;
  float areaX = 0;
  float areaY = 0;
  float areaWidth = 0;
  float areaHeight = 0;
  std::string fontName;
  int fontSize = 0;        // already multiplied by scale
  int alignment = 0;       // kAlignStart, kAlignCentre or kAlignEnd
  int lineHeight = 0;      // already multiplied by scale; column width when vertical
  std::string fillColor;
  int shadowSize = 0;      // blur; no shadow unless above 0
  std::string shadowColor;
  int shadowDistance = 0;
  int shadowAngle = 0;     // degrees
  float shadowAlpha = 0;   // no shadow unless above 0
  float strokeWidth = 0;   // no outline unless above 0
  bool strokeOverFill = false;
  std::string strokeColor; // no outline while empty
  bool ignoreLineHeight = false;
  bool adjustToFit = false;
  float scale = 0;
  int direction = 0;       // 0 horizontal, anything else vertical
  // Opt-in typography; each default stands for the absent "ui" key.
  bool wrapWords = false;     // "wrap": "word": break lines between words only
  int blockAlign = 0;         // "valign": 0 top (vertical: right), 1 bottom
                              // (left), 2 centre
  bool verticalForms = false; // "vertical_forms": vertical forms of punctuation
  int minFontSize = 0;        // "min_size": where fitting stops; 0: none
  // "background": a colour laid under everything drawn; empty: transparent.
  std::string backgroundColor;
  // Opt-in text engine: bidi, shaping and font fallback.
  bool shapeText = false;     // "shape": true, or a "fallback" list
  std::vector<std::string> fallbackFonts;  // "fallback": font names, in order
  int bidi = kBidiFromText;   // "bidi": the paragraph direction
  std::string language;       // "lang": BCP 47; empty: none given
};

// The smallest size that fitting `info` may reach: its "min_size", but never
// below kMinFontSize nor above the size it starts from.
inline int SmallestFittingSize(const TextInfo& info) {
  return std::min(info.fontSize, std::max(kMinFontSize, info.minFontSize));
}

#endif  // QUILLMARK_JOB_TEXT_INFO_H_
