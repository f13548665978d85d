// Fuzz target for splitWord: any bytes at all are cut into units that
// concatenate back to the text, each 1 to 8 bytes long, and the units
// already in the output list stay as they were.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/layout/split_word.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_split_word: %s\n", what);
  std::abort();
}

// The unit length that the first byte announces, range by range: below
// 0x80 one byte; above, bit 6 is not examined, so 0x80..0xBF count like
// 0xC0..0xFF.
size_t AnnouncedLength(unsigned char first) {
  if (first < 0x80)
    return 1;
  const unsigned char low = first & 0x3F;
  if (low < 0x20) return 2;  // 0xC0..0xDF, 0x80..0x9F
  if (low < 0x30) return 3;  // 0xE0..0xEF, 0xA0..0xAF
  if (low < 0x38) return 4;  // 0xF0..0xF7, 0xB0..0xB7
  if (low < 0x3C) return 5;  // 0xF8..0xFB, 0xB8..0xBB
  if (low < 0x3E) return 6;  // 0xFC..0xFD, 0xBC..0xBD
  if (low < 0x3F) return 7;  // 0xFE, 0xBE
  return 8;                  // 0xFF, 0xBF
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  // The list is appended to, never emptied: start it with a marker.
  std::vector<std::string> units{"marker"};
  splitWord(text, units);
  if (units.empty() || units[0] != "marker")
    Fail("a string already in the list was changed");

  std::string joined;
  for (size_t i = 1; i < units.size(); ++i) {
    const std::string& unit = units[i];
    if (unit.empty() || unit.size() > 8)
      Fail("a unit is not 1 to 8 bytes long");
    // Every unit but the last has the length its first byte announces; the
    // last may be cut short by the end of the text.
    size_t announced = AnnouncedLength(static_cast<unsigned char>(unit[0]));
    if (i + 1 < units.size() ? unit.size() != announced
                             : unit.size() > announced)
      Fail("a unit's length does not follow from its first byte");
    joined += unit;
  }
  if (joined != text)
    Fail("the units do not concatenate to the text");
  if (text.empty() && units.size() != 1)
    Fail("an empty text gave units");
  return 0;
}
