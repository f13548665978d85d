#ifndef QUILLMARK_UTIL_JSON_INPUT_H_
#define QUILLMARK_UTIL_JSON_INPUT_H_

#include <rapidjson/document.h>

#include <cstddef>
#include <string>
#include <vector>

// How the text of a font list or job file is handed to RapidJSON, and how a
// failure is reported in terms of the file.
//
// Two things are done to the text first:
// - a UTF-8 byte-order mark at its start is skipped (JSON parsers may ignore
//   it);
// - inside strings, a high-surrogate escape (\uD800 to \uDBFF) that is not
//   followed by a low-surrogate escape is replaced by the three bytes that
//   the same code point has in generalized UTF-8 (ED A0..AF 80..BF).
//   RapidJSON refuses the whole file over such an escape while it stores a
//   lone low surrogate (\uDC00 to \uDFFF) as the three bytes ED B0..BF
//   80..BF; with the replacement both kinds end up as one invalid unit in
//   the string. Raw bytes in strings are not validated, so the text parses.
// The text ends at its first NUL byte, as before.

// 3 when `text` starts with a UTF-8 byte-order mark, otherwise 0.
size_t ByteOrderMarkLength(const std::string& text);

// The offsets of the backslashes of the lone high-surrogate escapes inside
// the strings of `text`, scanning from `start` (after a byte-order mark) up
// to the first NUL byte. Escaped backslashes, escapes outside strings and
// surrogate pairs are not counted.
std::vector<size_t> FindLoneHighSurrogates(const std::string& text,
                                           size_t start);

// `text` from `start` on, with the six-byte escape at each of `lone` (as
// FindLoneHighSurrogates gives them) replaced by its three bytes.
std::string ReplaceLoneHighSurrogates(const std::string& text, size_t start,
                                      const std::vector<size_t>& lone);

// The offset in the original text of byte `offset` of the text that
// ReplaceLoneHighSurrogates(text, start, lone) gave. A byte of a replacement
// maps into the escape it replaced.
size_t OriginalOffset(size_t start, const std::vector<size_t>& lone,
                      size_t offset);

// Parses an input file's text as strict JSON, after the two steps above, and
// iteratively, so that nesting depth cannot exhaust the stack.
void ParseInputJson(const std::string& text, rapidjson::Document* doc);

// The root a file must have.
enum class JsonRoot { kArray, kObject };

// The log line that says why `doc`, parsed from `text` by ParseInputJson,
// is not a usable file named `path`: RapidJSON's error and its byte offset
// in `text` (a byte-order mark counted), as in
//   "Quillmark : job.json: parse error at byte 12: Invalid value."
// or "Quillmark : job.json: the root is not an array". Empty when `doc` has
// the `expected` root.
std::string DescribeParseFailure(const std::string& path,
                                 const std::string& text,
                                 const rapidjson::Document& doc,
                                 JsonRoot expected);

#endif  // QUILLMARK_UTIL_JSON_INPUT_H_
