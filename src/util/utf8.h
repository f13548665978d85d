#ifndef QUILLMARK_UTIL_UTF8_H_
#define QUILLMARK_UTIL_UTF8_H_

#include <cstddef>
#include <string>
#include <vector>

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

// `text` cut into characters: every well-formed UTF-8 sequence is one unit,
// and every byte that begins none is a unit of its own, U+FFFD. Nothing
// after an invalid byte is lost, unlike splitWord, whose unit length comes
// from the first byte alone.
std::vector<std::string> WellFormedCharacters(const std::string& text);

// The length of the character that starts at byte `at` of `text`: that of
// its well-formed UTF-8 sequence, or 1 for a byte that begins none.
size_t CharacterLength(const std::string& text, size_t at);

// The longest prefix of `text` of at most `limit` bytes that ends between
// two characters: never inside a well-formed UTF-8 sequence (an invalid
// byte counts as a character of its own).
size_t CharacterPrefixLength(const std::string& text, size_t limit);

#endif  // QUILLMARK_UTIL_UTF8_H_
