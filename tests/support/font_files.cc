#include "support/font_files.h"

#include <cstdint>

// A copy of DejaVu Sans whose glyph outlines are overwritten.
std::string DamagedFontCopy(const TempDir& dir) {
  std::string font = ReadWholeFile(QUILLMARK_TEST_SANS);
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(font[at])) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(font[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(font[at + 2])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(font[at + 3]));
  };
  const size_t tables = (static_cast<unsigned char>(font[4]) << 8) |
                        static_cast<unsigned char>(font[5]);
  for (size_t i = 0; i < tables; ++i) {
    size_t entry = 12 + 16 * i;
    if (font.compare(entry, 4, "glyf") == 0)
      font.replace(u32(entry + 8), u32(entry + 12),
                   std::string(u32(entry + 12), '\xFF'));
  }
  return dir.Write("damaged.ttf", font);
}
