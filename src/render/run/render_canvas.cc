#include "render/run/render_canvas.h"

#include <algorithm>
#include <chrono>

#include "fonts/font_file.h"
#include "fonts/font_glyphs.h"
#include "render/output/image_output.h"
#include "render/magick/errors.h"
#include "render/magick/handles.h"
#include "render/draw/background.h"
#include "render/draw/magick_safety.h"
#include "render/draw/renderers.h"
#include "render/draw/shaped_renderer.h"
#include "render/layout/split_word.h"
#include "render/typography/vertical_forms.h"

namespace {

// The value of a colour key in the record.
const std::string& ColourOf(const TextInfo& info, const std::string& key) {
  if (key == "stroke")
    return info.strokeColor;
  if (key == "shadow")
    return info.shadowColor;
  if (key == "background")
    return info.backgroundColor;
  return info.fillColor;
}

// The colours that ImageMagick cannot parse. What is drawn stays as it is:
// the renderers hand the same strings to PixelSetColor as ever.
std::vector<BadColour> CheckColours(const CanvasJob& job) {
  std::vector<BadColour> bad;
  PixelWandPtr pixel(NewPixelWand());
  for (const std::string& key : job.colourKeys) {
    const std::string& value = ColourOf(job.info, key);
    if (PixelSetColor(pixel.get(), value.c_str()) == MagickFalse)
      bad.push_back({key, value});
  }
  return bad;
}

void Fail(RenderReport* report, Failure failure, std::string detail) {
  if (report->failure != Failure::kNone)
    return;  // the first failure is the one reported
  report->failure = failure;
  report->failureDetail = std::move(detail);
}

// Finds the characters that the font lacks, as drawn: with
// "vertical_forms", a vertical unit that is replaced by its presentation
// form is drawn with the form's glyph. False when a glyph that the font's
// character map names does not load (a damaged font).
bool CheckGlyphs(const CanvasJob& job, RenderContext* context,
                 RenderReport* report) {
  const std::string fontKey = FontFileKey(job.fontFile);
  std::vector<std::string> units;
  splitWord(job.info.text, units);
  if (job.info.direction != 0 && job.info.verticalForms) {
    const std::vector<char32_t> forms = CharactersWithGlyphs(
        &context->faces, fontKey, VerticalPresentationForms());
    const VerticalForms drawn([&forms](char32_t c) {
      return std::binary_search(forms.begin(), forms.end(), c);
    });
    for (std::string& unit : units)
      unit = drawn.Upright(unit);
  }
  GlyphCoverage::Result glyphs =
      context->glyphs.Check(fontKey, report->fontSize, units);
  report->missingGlyphs = std::move(glyphs.missing);
  return !glyphs.brokenGlyph;
}

void RenderPasses(const CanvasJob& job, RenderContext* context,
                  RenderReport* report) {
  TextInfo info = job.info;
  MagickWandPtr wand(NewMagickWand());
  if (!wand) {
    Fail(report, Failure::kWrite, "no wand could be created");
    return;
  }
  auto drawPlain = info.direction == 0 ? DrawHorizontalItem : DrawVerticalItem;
  // An item with "shape" goes through the text engine; its first pass's
  // findings stand for the canvas.
  ShapedFindings shaped;
  FontChainFiles chain = {{info.fontName, job.fontFile}};
  for (size_t i = 0; i < info.fallbackFonts.size(); ++i)
    chain.emplace_back(info.fallbackFonts[i], job.fallbackFiles[i]);
  auto drawItem = [&](MagickWand* w, const TextInfo& item,
                      const std::string& fontFile, const RendererCall& call,
                      RenderContext* c, ItemResult* result) {
    if (!item.shapeText) {
      drawPlain(w, item, fontFile, call, c, result);
      return;
    }
    ShapedFindings findings;
    DrawShapedItem(w, item, chain, call, c, result, &findings);
    if (call.createCanvas)
      shaped = std::move(findings);
  };
  // Both passes pad the top by half the job's stroke width, also the second
  // one, which draws no stroke.
  const float halfStroke = 0.5f * info.strokeWidth;
  ItemResult first;
  drawItem(wand.get(), info, job.fontFile, {true, halfStroke, 0, 0}, context,
           &first);
  report->fontSize = first.layout.fontSize;
  report->lines = first.layout.lines;
  report->overflow = first.layout.overflow;
  bool fontUnreadable = first.fontUnreadable;
  if (info.shapeText)
    report->runs = std::move(shaped.runs);
  if (!fontUnreadable && info.shapeText)
    report->missingGlyphs = shaped.missingGlyphs;
  else if (!fontUnreadable)
    fontUnreadable = !CheckGlyphs(job, context, report);
  Status magick = first.magick;
  if (!context->options.layoutOnly && magick.ok() &&
      !info.strokeOverFill && info.strokeWidth > 0) {
    // The outline lies under the fill: draw the fill once more over it, half
    // a pixel lower, without outline and shadow.
    info.strokeWidth = 0;
    info.shadowAlpha = 0;
    ItemResult second;
    drawItem(wand.get(), info, job.fontFile, {false, halfStroke, 0, 0.5f},
             context, &second);
    fontUnreadable |= second.fontUnreadable;
    magick = second.magick;
  }
  if (!context->options.layoutOnly && magick.ok() &&
      !info.backgroundColor.empty())
    magick = LayBackground(wand.get(), info.backgroundColor);
  if (!magick.ok())
    Fail(report, Failure::kWrite, magick.message());
  if (fontUnreadable)
    Fail(report, Failure::kFontUnreadable, job.fontFile);
  // A call that reported success may still have left an error behind.
  const std::string error = WandErrorText(wand.get());
  if (!error.empty())
    Fail(report, Failure::kWrite, error);
  if (report->failure != Failure::kNone)
    return;
  const ProtectedFiles& protectedFiles = context->options.protectedFiles;
  Status written;
  if (context->options.layoutOnly) {
    // Every write the real run would make, checked without drawing.
    // The shadow fails while drawing, before the write.
    std::string shadowError;
    if (!ShadowWithinLimit(job.info, &shadowError))
      written = Status::Error(shadowError);
    else
      written = CheckOutputPath(info.outputPath, protectedFiles);
  } else {
    written = WriteImageFile(wand.get(), info.outputPath, protectedFiles,
                             context->options.pngCompression);
  }
  if (!written.ok())
    Fail(report, Failure::kWrite, written.message());
}

}  // namespace

RenderReport RenderCanvas(const CanvasJob& job, RenderContext* context) {
  const auto start = std::chrono::steady_clock::now();
  RenderReport report;
  MagickWandGenesis();
  if (ApplyMagickSafety(context->options.magickThreads)) {
    report.badColours = CheckColours(job);
    RenderPasses(job, context, &report);
  } else {
    Fail(&report, Failure::kWrite, "ImageMagick refused the safety settings");
  }
  MagickWandTerminus();
  report.seconds = std::chrono::duration<double>(
                       std::chrono::steady_clock::now() - start)
                       .count();
  return report;
}

uint64_t EstimateCanvasBytes(const TextInfo& info) {
  const uint64_t kPixelBytes = 16;  // four channels of float (HDRI)
  const uint64_t kFixed = uint64_t{64} << 20;
  const uint64_t width = static_cast<uint64_t>(info.canvasWidth);
  const uint64_t height = static_cast<uint64_t>(info.canvasHeight);
  uint64_t bytes = kFixed + width * height * (kPixelBytes + 8);
  if (info.shadowAlpha > 0 && info.shadowSize > 0) {
    // The shadow image has a border of twice the blur on every side.
    const uint64_t border = 4 * static_cast<uint64_t>(info.shadowSize);
    bytes += width * height * kPixelBytes +
             2 * (width + border) * (height + border) * kPixelBytes;
  }
  return bytes;
}
