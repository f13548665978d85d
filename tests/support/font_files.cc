#include "support/font_files.h"

#include <cstdint>

// A copy of DejaVu Sans with one table overwritten or cut.
std::string DamagedFontCopy(const TempDir& dir, FontDamage damage) {
  std::string font = ReadWholeFile(QUILLMARK_TEST_SANS);
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(font[at])) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(font[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(font[at + 2])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(font[at + 3]));
  };
  const char* tag = damage == FontDamage::kLocaOverwritten ? "loca" : "glyf";
  const size_t tables = (static_cast<unsigned char>(font[4]) << 8) |
                        static_cast<unsigned char>(font[5]);
  for (size_t i = 0; i < tables; ++i) {
    size_t entry = 12 + 16 * i;
    if (font.compare(entry, 4, tag) != 0)
      continue;
    const uint32_t offset = u32(entry + 8), length = u32(entry + 12);
    if (damage == FontDamage::kGlyfCut)
      font.resize(offset + length / 2);
    else
      font.replace(offset, length, std::string(length, '\xFF'));
  }
  return dir.Write("damaged.ttf", font);
}
