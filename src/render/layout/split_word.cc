#include "render/layout/split_word.h"

namespace {

// 1 for ASCII; otherwise 2 plus the run of 1 bits from bit 5 downward. Bit 6
// is not examined, so 0x80..0xBF count like 0xC0..0xFF.
size_t UnitLength(unsigned char first) {
  if (first < 0x80)
    return 1;
  size_t length = 2;
  for (int bit = 5; bit >= 0 && (first & (1 << bit)); --bit)
    ++length;
  return length;
}

}  // namespace

void splitWord(const std::string& text, std::vector<std::string>& units) {
  size_t p = 0;
  while (p < text.size()) {
    size_t length = UnitLength(static_cast<unsigned char>(text[p]));
    units.push_back(text.substr(p, length));  // substr stops at the end
    p += length;
  }
}
