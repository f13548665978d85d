#include "util/json_input.h"

#include <rapidjson/error/en.h>

#include "util/log.h"

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// The code unit of the escape "\uXXXX" starting at text[p], or -1 when no
// such escape starts there.
long EscapedUnit(const std::string& text, size_t p) {
  if (p + 6 > text.size() || text[p] != '\\' || text[p + 1] != 'u')
    return -1;
  long unit = 0;
  for (size_t i = p + 2; i < p + 6; ++i) {
    int digit = HexDigitValue(text[i]);
    if (digit < 0)
      return -1;
    unit = unit * 16 + digit;
  }
  return unit;
}

bool IsHighSurrogate(long unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(long unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

size_t ByteOrderMarkLength(const std::string& text) {
  return text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}

std::vector<size_t> FindLoneHighSurrogates(const std::string& text,
                                           size_t start) {
  std::vector<size_t> lone;
  bool inString = false;
  size_t p = start;
  while (p < text.size() && text[p] != '\0') {
    const char c = text[p];
    if (c == '"') {
      inString = !inString;
      ++p;
      continue;
    }
    if (!inString || c != '\\') {
      ++p;
      continue;
    }
    const long unit = EscapedUnit(text, p);
    if (unit < 0) {
      // Another escape, or a broken one that RapidJSON will refuse: skip the
      // escaped character, which may be a quote or a backslash.
      if (p + 1 >= text.size() || text[p + 1] == '\0')
        break;
      p += 2;
      continue;
    }
    if (IsHighSurrogate(unit)) {
      if (IsLowSurrogate(EscapedUnit(text, p + 6))) {
        p += 12;  // a pair: RapidJSON decodes it
        continue;
      }
      lone.push_back(p);
    }
    p += 6;
  }
  return lone;
}

std::string ReplaceLoneHighSurrogates(const std::string& text, size_t start,
                                      const std::vector<size_t>& lone) {
  std::string out;
  out.reserve(text.size() - start);
  size_t from = start;
  for (size_t at : lone) {
    out.append(text, from, at - from);
    const long unit = EscapedUnit(text, at);
    out += static_cast<char>(0xE0 | (unit >> 12));
    out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (unit & 0x3F));
    from = at + 6;
  }
  out.append(text, from, std::string::npos);
  return out;
}

size_t OriginalOffset(size_t start, const std::vector<size_t>& lone,
                      size_t offset) {
  size_t original = start + offset;
  for (size_t k = 0; k < lone.size(); ++k) {
    // Each earlier replacement took three bytes out.
    const size_t replacedAt = lone[k] - start - 3 * k;
    if (offset < replacedAt)
      break;
    if (offset < replacedAt + 3)
      return lone[k] + (offset - replacedAt);
    original += 3;
  }
  return original;
}

void ParseInputJson(const std::string& text, rapidjson::Document* doc) {
  const size_t start = ByteOrderMarkLength(text);
  const std::vector<size_t> lone = FindLoneHighSurrogates(text, start);
  if (lone.empty()) {
    doc->Parse<rapidjson::kParseIterativeFlag>(text.c_str() + start);
    return;
  }
  const std::string replaced = ReplaceLoneHighSurrogates(text, start, lone);
  doc->Parse<rapidjson::kParseIterativeFlag>(replaced.c_str());
}

std::string DescribeParseFailure(const std::string& path,
                                 const std::string& text,
                                 const rapidjson::Document& doc,
                                 JsonRoot expected) {
  const std::string head = "Quillmark : " + Printable(path) + ": ";
  if (doc.HasParseError()) {
    const size_t start = ByteOrderMarkLength(text);
    const size_t offset = OriginalOffset(
        start, FindLoneHighSurrogates(text, start), doc.GetErrorOffset());
    return head + "parse error at byte " + std::to_string(offset) + ": " +
           rapidjson::GetParseError_En(doc.GetParseError());
  }
  if (expected == JsonRoot::kArray && !doc.IsArray())
    return head + "the root is not an array";
  if (expected == JsonRoot::kObject && !doc.IsObject())
    return head + "the root is not an object";
  return "";
}
