#include "render/text/text_engine.h"

namespace {

// The shaped lines kept at most, in number and in bytes; the cache starts
// afresh past either.
constexpr size_t kMaxShapedLines = 4096;
constexpr size_t kMaxShapedBytes = size_t{64} << 20;

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

namespace {

// The shaped line kept under `key`, made by `shape` when there is none.
template <typename Shape>
const ShapedLine& Kept(TextEngine* engine, const std::string& key,
                       Shape shape) {
  auto found = engine->lines.find(key);
  if (found != engine->lines.end())
    return found->second;
  if (engine->lines.size() >= kMaxShapedLines ||
      engine->lineBytes > kMaxShapedBytes) {
    engine->lines.clear();
    engine->lineBytes = 0;
  }
  ShapedLine& line = engine->lines[key];
  line = shape();
  engine->lineBytes += key.size() + line.glyphs.size() * sizeof(LineGlyph) +
                       line.runs.size() * sizeof(LineRun);
  return line;
}

std::string KeyOf(const FontChain& chain, const ShapeSettings& settings,
                  int pixels) {
  std::string key = chain.key;
  key += static_cast<char>('0' + static_cast<int>(settings.direction));
  key += settings.vertical ? 'v' : 'h';
  key += settings.language + '\n' + std::to_string(pixels) + '\n';
  return key;
}

}  // namespace

const ShapedLine& ShapeText(TextEngine* engine, const FontChain& chain,
                            const ShapeSettings& settings, int pixels,
                            const std::string& text) {
  return Kept(engine, KeyOf(chain, settings, pixels) + 'T' + text, [&] {
    const Itemized item = ItemizeText(chain, text, settings.direction);
    return ShapeLine(item, chain.fonts, pixels, settings.language,
                     settings.vertical);
  });
}

const ShapedLine& ShapeItemizedLine(TextEngine* engine, const FontChain& chain,
                                    const ShapeSettings& settings, int pixels,
                                    const Itemized& line) {
  // The levels come from the paragraph: they are part of the key.
  std::string key = KeyOf(chain, settings, pixels) + 'L';
  for (const TextCluster& c : line.clusters)
    key += static_cast<char>('0' + c.level);
  key += '\n' + line.text;
  return Kept(engine, key, [&] {
    return ShapeLine(line, chain.fonts, pixels, settings.language,
                     settings.vertical);
  });
}
