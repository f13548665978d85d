#ifndef QUILLMARK_RENDER_LAYOUT_SPLIT_WORD_H_
#define QUILLMARK_RENDER_LAYOUT_SPLIT_WORD_H_

#include <string>
#include <vector>

// Appends the units of `text` to `units`: one UTF-8 encoded character each,
// its length read from its first byte alone. Nothing is validated or
// replaced: a stray continuation byte starts a unit of 2 to 8 bytes that
// takes whatever follows, and a sequence cut off at the end gives a shorter
// last unit. The units concatenate to `text`.
void splitWord(const std::string& text, std::vector<std::string>& units);

#endif  // QUILLMARK_RENDER_LAYOUT_SPLIT_WORD_H_
