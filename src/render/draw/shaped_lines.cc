#include "render/draw/shaped_text.h"
#include "render/text/engine_metrics.h"
#include "render/text/shaped_layout.h"

namespace {

ParagraphDirection Requested(const TextInfo& info) {
  if (info.bidi == kBidiLtr)
    return ParagraphDirection::kLtr;
  if (info.bidi == kBidiRtl)
    return ParagraphDirection::kRtl;
  return ParagraphDirection::kFromText;
}

// Finds the clusters [*first, *last) of `paragraph`, from cluster `from`
// on, whose text is `text`: the line a layout made of them. False when
// there are none.
bool FindLine(const Itemized& paragraph, const std::string& text, size_t from,
              size_t* first, size_t* last) {
  const std::vector<TextCluster>& clusters = paragraph.clusters;
  for (size_t k = from; k < clusters.size(); ++k) {
    const size_t begin = clusters[k].begin;
    if (paragraph.text.compare(begin, text.size(), text) != 0)
      continue;
    for (size_t m = k; m < clusters.size(); ++m) {
      if (clusters[m].end == begin + text.size()) {
        *first = k;
        *last = m + 1;
        return true;
      }
      if (clusters[m].end > begin + text.size())
        break;
    }
  }
  return false;
}

}  // namespace

void AddShapedLines(const TextInfo& info, float topInset, TextEngine* engine,
                    const FontChain& chain, ItemResult* result,
                    ShapedFindings* findings, const ShapedTarget& target) {
  const Itemized paragraph = ItemizeText(chain, info.text, Requested(info));
  std::vector<std::string> clusters;
  for (const TextCluster& c : paragraph.clusters)
    clusters.push_back(paragraph.text.substr(c.begin, c.end - c.begin));
  ShapeSettings settings;
  settings.direction =
      paragraph.rtl ? ParagraphDirection::kRtl : ParagraphDirection::kLtr;
  settings.language = info.language;
  EngineMetrics metrics(engine, chain, settings, clusters);
  result->layout =
      LayOutShapedLines(info, paragraph.rtl, topInset, clusters, &metrics);
  const int pixels = result->layout.fontSize;
  const std::vector<EngineFont*>& fonts = chain.fonts;
  findings->missingGlyphs = MissingCharacters(
      paragraph, static_cast<int>(fonts.size()),
      [&fonts](int font, char32_t c) {
        return fonts[static_cast<size_t>(font)]->Covers(c);
      });
  size_t next = 0;  // the first cluster not yet in a line
  for (const Annotation& a : result->layout.annotations) {
    // A line keeps the bidi levels the whole paragraph gave its clusters.
    size_t first = 0;
    size_t last = 0;
    const bool found = FindLine(paragraph, a.text, next, &first, &last);
    if (found)
      next = last;
    const Itemized cut =
        found ? LineOfParagraph(paragraph, first, last) : Itemized();
    const ShapedLine& line =
        found ? ShapeItemizedLine(engine, chain, settings, pixels, cut)
              : ShapeText(engine, chain, settings, pixels, a.text);
    std::vector<PlacedRun> runs;
    for (const LineRun& run : line.runs)
      runs.push_back({a.text.substr(run.begin, run.end - run.begin),
                      chain.names[static_cast<size_t>(run.font)],
                      a.x + run.x / 64.0, a.y});
    findings->runs.push_back(std::move(runs));
    if (target.drawing != nullptr)
      AddLinePath(target.drawing, engine, chain, line, pixels, a.x, a.y,
                  target.colour);
  }
}
