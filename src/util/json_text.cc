#include "util/json_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "util/utf8.h"

namespace {

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
    char32_t code;
    size_t length = DecodeUtf8(p, left, &code);
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
