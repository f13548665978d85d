#ifndef QUILLMARK_UTIL_JSON_TEXT_H_
#define QUILLMARK_UTIL_JSON_TEXT_H_

#include <string>

// `bytes` as a JSON string literal, quotes included. Valid UTF-8 is kept as
// it is, control characters, '"' and '\' are escaped, and every byte that is
// not part of valid UTF-8 becomes the escape of U+DC80..U+DCFF (its value
// plus 0xDC00), as Python's "surrogateescape" does, so that no byte is lost.
std::string JsonString(const std::string& bytes);

// A number as JSON writes it: the shortest text that reads back to the same
// double; null when it is not finite.
std::string JsonNumber(double value);

#endif  // QUILLMARK_UTIL_JSON_TEXT_H_
