#include "render/code_points.h"

char32_t UnitCodePoint(const std::string& unit) {
  const size_t n = unit.size();
  if (n == 0)
    return kReplacementCharacter;
  const unsigned char lead = static_cast<unsigned char>(unit[0]);
  if (lead < 0x80)
    return n == 1 ? lead : kReplacementCharacter;
  size_t length;
  char32_t c;
  char32_t smallest;  // below it the sequence is overlong
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    c = lead & 0x1F;
    smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    c = lead & 0x0F;
    smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    c = lead & 0x07;
    smallest = 0x10000;
  } else {
    return kReplacementCharacter;
  }
  if (n != length)
    return kReplacementCharacter;
  for (size_t i = 1; i < length; ++i) {
    const unsigned char b = static_cast<unsigned char>(unit[i]);
    if ((b & 0xC0) != 0x80)
      return kReplacementCharacter;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
    return kReplacementCharacter;
  return c;
}

std::string EncodeUtf8(char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
    c = kReplacementCharacter;
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string WellFormedUnit(const std::string& unit) {
  const char32_t c = UnitCodePoint(unit);
  return c == kReplacementCharacter ? EncodeUtf8(c) : unit;
}
