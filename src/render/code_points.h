#ifndef QUILLMARK_RENDER_CODE_POINTS_H_
#define QUILLMARK_RENDER_CODE_POINTS_H_

#include <string>

constexpr char32_t kReplacementCharacter = 0xFFFD;

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

#endif  // QUILLMARK_RENDER_CODE_POINTS_H_
