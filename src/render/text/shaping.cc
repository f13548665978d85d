#include "render/text/shaping.h"

#include <unicode/uscript.h>

namespace {

hb_script_t HbScript(int script) {
  const char* name = uscript_getShortName(static_cast<UScriptCode>(script));
  if (name == nullptr)
    return HB_SCRIPT_UNKNOWN;
  return hb_script_from_string(name, -1);
}

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

}  // namespace

std::vector<RunGlyph> ShapeRun(EngineFont* font, int pixels,
                               const std::string& text, const TextRun& run,
                               const std::string& language, bool vertical) {
  std::vector<RunGlyph> glyphs;
  HbBufferPtr buffer(hb_buffer_create());
  if (!hb_buffer_allocation_successful(buffer.get()) || run.end <= run.begin)
    return glyphs;
  font->SetSize(pixels);
  hb_buffer_add_utf8(buffer.get(), text.data(), static_cast<int>(text.size()),
                     static_cast<unsigned>(run.begin),
                     static_cast<int>(run.end - run.begin));
  hb_direction_t direction =
      (run.level & 1) ? HB_DIRECTION_RTL : HB_DIRECTION_LTR;
  if (vertical)
    direction = HB_DIRECTION_TTB;
  hb_buffer_set_direction(buffer.get(), direction);
  const hb_script_t script = HbScript(run.script);
  if (script != HB_SCRIPT_UNKNOWN && script != HB_SCRIPT_COMMON &&
      script != HB_SCRIPT_INHERITED)
    hb_buffer_set_script(buffer.get(), script);
  if (!language.empty())
    hb_buffer_set_language(buffer.get(),
                           hb_language_from_string(language.c_str(), -1));
  hb_buffer_guess_segment_properties(buffer.get());
  hb_shape(font->hb.get(), buffer.get(), nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &count);
  const hb_glyph_position_t* pos =
      hb_buffer_get_glyph_positions(buffer.get(), &count);
  glyphs.reserve(count);
  for (unsigned i = 0; i < count; ++i)
    glyphs.push_back({info[i].codepoint, info[i].cluster, pos[i].x_advance,
                      pos[i].y_advance, pos[i].x_offset, pos[i].y_offset});
  return glyphs;
}

ShapedLine ShapeLine(const Itemized& item,
                     const std::vector<EngineFont*>& fonts, int pixels,
                     const std::string& language, bool vertical) {
  ShapedLine line;
  int32_t pen = 0;
  std::vector<size_t> order;
  if (vertical) {
    for (size_t i = 0; i < item.runs.size(); ++i)
      order.push_back(i);
  } else {
    order = VisualRunOrder(item);
  }
  for (size_t index : order) {
    const TextRun& run = item.runs[index];
    EngineFont* font = fonts[static_cast<size_t>(run.font)];
    const int32_t start = pen;
    for (const RunGlyph& g :
         ShapeRun(font, pixels, item.text, run, language, vertical)) {
      const bool invisible =
          g.cluster < item.text.size() &&
          IsControl(static_cast<unsigned char>(item.text[g.cluster]));
      // HarfBuzz's vertical advances point down, negative in its y-up
      // coordinates.
      int32_t advance = vertical ? -g.yAdvance : g.xAdvance;
      if (invisible)
        advance = 0;
      if (vertical)
        line.glyphs.push_back({run.font, g.glyph, g.cluster, g.xOffset,
                               g.yOffset - pen, advance, invisible});
      else
        line.glyphs.push_back({run.font, g.glyph, g.cluster, pen + g.xOffset,
                               g.yOffset, advance, invisible});
      pen += advance;
    }
    line.runs.push_back({run.begin, run.end, run.font, start, pen - start});
  }
  line.width = pen;
  return line;
}
