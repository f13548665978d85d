#include "render/typography/typography.h"

#include "render/typography/block_placement.h"
#include "util/utf8.h"
#include "render/layout/horizontal_layout.h"
#include "render/typography/line_breaks.h"
#include "render/layout/vertical_layout.h"
#include "render/typography/wrapped_columns.h"
#include "render/typography/wrapped_lines.h"

namespace {

// With word wrapping the text is cut into characters anew: each byte that
// begins no well-formed character is drawn as one U+FFFD, and the characters
// after it stay, so that no stray byte (a line feed taken into a broken
// unit) reaches ImageMagick and nothing is lost. The units are splitWord's,
// which together hold every byte of the text.
std::vector<std::string> WellFormedUnits(const std::vector<std::string>& units) {
  std::string text;
  for (const std::string& unit : units)
    text += unit;
  return WellFormedCharacters(text);
}

void Finish(const TextInfo& info, MetricsSource* metrics, Layout* layout,
            const GlyphInk& glyphInk = nullptr) {
  if (!AlignBlock(info, metrics, layout, glyphInk)) {
    layout->annotations.clear();
    layout->metricsFailed = true;
  }
}

}  // namespace

bool UsesTypography(const TextInfo& info) {
  return info.wrapWords || info.blockAlign != 0 || info.verticalForms ||
         info.minFontSize != 0;
}

Layout LayOutLinesTypeset(const TextInfo& info, float topInset,
                          const std::vector<std::string>& units,
                          MetricsSource* metrics) {
  Layout layout;
  if (info.wrapWords) {
    const std::vector<std::string> wellFormed = WellFormedUnits(units);
    layout = LayOutWrappedLines(info, topInset, wellFormed,
                                FindLineBreaks(wellFormed), metrics);
  } else {
    layout = LayOutWithSmallestSize(info, [&](const TextInfo& item) {
      return LayOutHorizontal(item, topInset, units, metrics);
    });
  }
  Finish(info, metrics, &layout);
  return layout;
}

Layout LayOutColumnsTypeset(const TextInfo& info, float topInset,
                            const std::vector<std::string>& units,
                            MetricsSource* metrics,
                            const GlyphCheck& fontHasGlyph, bool uniformEms,
                            const GlyphInk& glyphInk) {
  const VerticalForms forms(fontHasGlyph);
  const std::vector<std::string> written =
      info.wrapWords ? WellFormedUnits(units) : units;
  std::vector<std::string> placed = written;
  if (info.verticalForms)
    for (std::string& unit : placed)
      unit = forms.Upright(unit);

  Layout layout;
  if (info.wrapWords) {
    // Breaks are found in the text as written, not in the forms that
    // replace some of its characters.
    layout = LayOutWrappedColumns(info, topInset, placed,
                                  FindLineBreaks(written), metrics,
                                  uniformEms);
  } else {
    layout = LayOutWithSmallestSize(info, [&](const TextInfo& item) {
      return LayOutVertical(item, topInset, placed, metrics, uniformEms);
    });
  }
  if (info.verticalForms && !layout.metricsFailed &&
      !TurnUnits(forms, layout.fontSize, metrics, &layout.annotations)) {
    layout.annotations.clear();
    layout.metricsFailed = true;
  }
  Finish(info, metrics, &layout, glyphInk);
  return layout;
}
