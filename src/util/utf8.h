#ifndef QUILLMARK_UTIL_UTF8_H_
#define QUILLMARK_UTIL_UTF8_H_

#include <cstddef>
#include <string>

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The length of the well-formed UTF-8 sequence that starts at `p` (of which
// `left` bytes are readable), with its code point in *code; 0 when none
// starts there. Overlong forms, surrogates and code points beyond U+10FFFF
// are not well-formed.
size_t DecodeUtf8(const unsigned char* p, size_t left, char32_t* code);

// The character a unit (see splitWord) holds: its code point when the unit
// is exactly one well-formed UTF-8 sequence (no overlong form, no surrogate,
// nothing beyond U+10FFFF), and U+FFFD for anything else, so that every
// unit stands for exactly one character.
char32_t UnitCodePoint(const std::string& unit);

// `c` in UTF-8; U+FFFD when it is a surrogate or beyond U+10FFFF.
std::string EncodeUtf8(char32_t c);

// The unit itself when it is one well-formed character, otherwise U+FFFD:
// a broken unit can hold any byte, a line feed included.
std::string WellFormedUnit(const std::string& unit);

#endif  // QUILLMARK_UTIL_UTF8_H_
