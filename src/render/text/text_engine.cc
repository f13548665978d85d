#include "render/text/text_engine.h"

namespace {

// Shaped lines kept at most; the cache starts afresh past it.
constexpr size_t kMaxShapedLines = 4096;

}  // namespace

FontChain OpenChain(
    TextEngine* engine,
    const std::vector<std::pair<std::string, std::string>>& fonts) {
  FontChain chain;
  for (size_t i = 0; i < fonts.size(); ++i) {
    const std::string& path = fonts[i].second;
    EngineFont* font = engine->faces.Open(path);
    if (font == nullptr)
      continue;
    if (i == 0)
      chain.primaryOpened = true;
    chain.fonts.push_back(font);
    chain.names.push_back(fonts[i].first);
    chain.key += path;
    chain.key += '\n';
  }
  return chain;
}

Itemized ItemizeText(const FontChain& chain, const std::string& text,
                     ParagraphDirection direction) {
  const std::vector<EngineFont*>& fonts = chain.fonts;
  return Itemize(text, direction, static_cast<int>(fonts.size()),
                 [&fonts](int font, char32_t c) {
                   return fonts[static_cast<size_t>(font)]->Covers(c);
                 });
}

const ShapedLine& ShapeText(TextEngine* engine, const FontChain& chain,
                            const ShapeSettings& settings, int pixels,
                            const std::string& text) {
  std::string key = chain.key;
  key += static_cast<char>('0' + static_cast<int>(settings.direction));
  key += settings.language + '\n' + std::to_string(pixels) + '\n' + text;
  auto found = engine->lines.find(key);
  if (found != engine->lines.end())
    return found->second;
  if (engine->lines.size() >= kMaxShapedLines)
    engine->lines.clear();
  const Itemized item = ItemizeText(chain, text, settings.direction);
  return engine->lines[key] =
             ShapeLine(item, chain.fonts, pixels, settings.language);
}
