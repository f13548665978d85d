#include "util/utf8.h"

size_t DecodeUtf8(const unsigned char* p, size_t left, char32_t* code) {
  if (left == 0)
    return 0;
  const unsigned char lead = p[0];
  if (lead < 0x80) {
    *code = lead;
    return 1;
  }
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
    return 0;
  }
  if (left < length)
    return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((p[i] & 0xC0) != 0x80)
      return 0;
    c = (c << 6) | (p[i] & 0x3F);
  }
  if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
    return 0;
  *code = c;
  return length;
}

char32_t UnitCodePoint(const std::string& unit) {
  char32_t c;
  const size_t length = DecodeUtf8(
      reinterpret_cast<const unsigned char*>(unit.data()), unit.size(), &c);
  return length != 0 && length == unit.size() ? c : kReplacementCharacter;
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

std::vector<std::string> WellFormedCharacters(const std::string& text) {
  std::vector<std::string> units;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  size_t at = 0;
  while (at < text.size()) {
    char32_t c;
    const size_t length = DecodeUtf8(p + at, text.size() - at, &c);
    if (length == 0) {
      units.push_back(EncodeUtf8(kReplacementCharacter));
      ++at;
    } else {
      units.push_back(text.substr(at, length));
      at += length;
    }
  }
  return units;
}

size_t CharacterLength(const std::string& text, size_t at) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  char32_t c;
  const size_t length = DecodeUtf8(p + at, text.size() - at, &c);
  return length == 0 ? 1 : length;
}

size_t CharacterPrefixLength(const std::string& text, size_t limit) {
  size_t at = 0;
  while (at < text.size()) {
    const size_t length = CharacterLength(text, at);
    if (at + length > limit)
      break;
    at += length;
  }
  return at;
}
