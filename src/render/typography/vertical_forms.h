#ifndef QUILLMARK_RENDER_TYPOGRAPHY_VERTICAL_FORMS_H_
#define QUILLMARK_RENDER_TYPOGRAPHY_VERTICAL_FORMS_H_

#include <functional>
#include <string>
#include <vector>

#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"

// The presentation form that Unicode gives `c` for vertical text (U+FE10
// to U+FE19, U+FE30 to U+FE4F: ︑ for 、, ﹁ for 「, ︵ for （ ...), or 0.
char32_t VerticalPresentationForm(char32_t c);

// Every presentation form of the table, in ascending order: what to ask a
// font for.
std::vector<char32_t> VerticalPresentationForms();

// Whether the font has a glyph for a character.
using GlyphCheck = std::function<bool(char32_t)>;

// How vertical text draws a unit with "vertical_forms".
//  - A character with a presentation form that the font has a glyph for is
//    replaced by that form, drawn upright like any other unit.
//  - ー, ～ and 〜, which have no presentation form, and the brackets,
//    dashes, ellipses and other characters whose form the font lacks, are
//    drawn turned by 90 degrees.
//  - 、。，！？ stay as they are when the font lacks their form: their
//    forms only move them within the cell, and turned they would be wrong.
class VerticalForms {
 public:
  explicit VerticalForms(GlyphCheck fontHasGlyph)
      : fontHasGlyph_(std::move(fontHasGlyph)) {}

  // The unit as the layout measures and places it: its presentation form,
  // or the unit itself.
  std::string Upright(const std::string& unit) const;

  // True when the unit (as Upright gives it) is drawn turned.
  bool Turned(const std::string& unit) const;

 private:
  GlyphCheck fontHasGlyph_;
};

// Turns the units that `forms` turns in a vertical layout's annotations:
// each keeps its cell, which the vertical layout's placement gives from
// the unit's own metrics, and is put into it turned, the start of its
// advance at the top of the glyph area of the cell, and its ascender and
// descender centred across the column. Measures at `fontSize` (which it
// leaves set). False when a measurement failed.
bool TurnUnits(const VerticalForms& forms, int fontSize,
               MetricsSource* metrics, std::vector<Annotation>* annotations);

#endif  // QUILLMARK_RENDER_TYPOGRAPHY_VERTICAL_FORMS_H_
