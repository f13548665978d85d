#ifndef QUILLMARK_RENDER_TYPOGRAPHY_TYPOGRAPHY_H_
#define QUILLMARK_RENDER_TYPOGRAPHY_TYPOGRAPHY_H_

#include <string>
#include <vector>

#include "job/text_info.h"
#include "render/layout/annotation.h"
#include "render/metrics/font_metrics.h"
#include "render/typography/block_placement.h"
#include "render/typography/vertical_forms.h"

// True when the item asks for any of the opt-in typography: "wrap",
// "valign", "vertical_forms" or "min_size". Without it the renderers run
// their plain layouts, untouched.
bool UsesTypography(const TextInfo& info);

// The horizontal layout with the item's typography: lines broken between
// words ("wrap"), or the plain layout with its fitting stopped at
// "min_size"; then the block moved for "valign".
Layout LayOutLinesTypeset(const TextInfo& info, float topInset,
                          const std::vector<std::string>& units,
                          MetricsSource* metrics);

// The vertical layout with the item's typography: the units replaced by
// their vertical forms ("vertical_forms", with the font's glyphs as
// `fontHasGlyph` tells them); columns ended between words ("wrap"), or the
// plain layout with its fitting stopped at "min_size"; the units without an
// upright form turned; the block moved for "valign". `uniformEms` lets the
// passes take every unit's em from the font's, as the vertical layout can.
Layout LayOutColumnsTypeset(const TextInfo& info, float topInset,
                            const std::vector<std::string>& units,
                            MetricsSource* metrics,
                            const GlyphCheck& fontHasGlyph, bool uniformEms,
                            const GlyphInk& glyphInk = nullptr);

#endif  // QUILLMARK_RENDER_TYPOGRAPHY_TYPOGRAPHY_H_
