#include "util/json_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// The length of the valid UTF-8 sequence at `p` (of `left` bytes), or 0.
// Overlong forms, surrogates and code points past U+10FFFF are not valid.
size_t ValidSequence(const unsigned char* p, size_t left) {
  unsigned char b = p[0];
  size_t length;
  unsigned min;
  unsigned code;
  if (b < 0x80)
    return 1;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2; min = 0x80; code = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3; min = 0x800; code = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4; min = 0x10000; code = b & 0x07;
  } else {
    return 0;
  }
  if (left < length)
    return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((p[i] & 0xC0) != 0x80)
      return 0;
    code = (code << 6) | (p[i] & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return 0;
  return length;
}

void AppendEscape(std::string* out, unsigned code) {
  char text[8];
  snprintf(text, sizeof(text), "\\u%04x", code);
  *out += text;
}

}  // namespace

std::string JsonString(const std::string& bytes) {
  std::string out = "\"";
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t left = bytes.size();
  while (left > 0) {
    size_t length = ValidSequence(p, left);
    if (length == 0) {
      AppendEscape(&out, 0xDC00u + p[0]);
      length = 1;
    } else if (length == 1) {
      unsigned char c = p[0];
      if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
      } else if (c == '\n') {
        out += "\\n";
      } else if (c == '\t') {
        out += "\\t";
      } else if (c < 0x20 || c == 0x7F) {
        AppendEscape(&out, c);
      } else {
        out += static_cast<char>(c);
      }
    } else {
      out.append(reinterpret_cast<const char*>(p), length);
    }
    p += length;
    left -= length;
  }
  out += '"';
  return out;
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value))
    return "null";
  char text[32];
  // Whole numbers as such: "10", not "1e+01".
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    snprintf(text, sizeof(text), "%.0f", value);
    return text;
  }
  for (int precision = 1; precision <= 17; ++precision) {
    snprintf(text, sizeof(text), "%.*g", precision, value);
    if (std::strtod(text, nullptr) == value)
      break;
  }
  return text;
}
