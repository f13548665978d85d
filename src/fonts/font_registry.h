#ifndef QUILLMARK_FONTS_FONT_REGISTRY_H_
#define QUILLMARK_FONTS_FONT_REGISTRY_H_

#include <map>
#include <string>
#include <vector>

// Font name -> font file path, ordered byte-wise (unsigned bytes, so "Bold"
// sorts before "alpha"). Filled once per run by LoadFontFiles.
using FontMap = std::map<std::string, std::string>;
extern FontMap kFontInfoMaps;

// Reads the font list at `path` (a JSON object of name -> path strings, read
// as ParseInputJson does) into kFontInfoMaps. The first member of a name
// counts. Members that cannot be used safely are left out with a log line. A
// file that cannot be read leaves the registry empty with the reader's line;
// one that does not parse, or whose root is not an object, with the line of
// DescribeParseFailure.
void LoadFontFiles(std::string path);

// Adds the fonts of a font list's text to `fonts`, as LoadFontFiles does,
// and describes each member left out in *notes, as a log line; a text that is
// no font list adds nothing, silently.
void AddFontList(const std::string& text, FontMap* fonts,
                 std::vector<std::string>* notes);

// Why `path` may not be handed to the drawing library, or nullptr when it
// may. ImageMagick writes the path into its drawing commands unescaped and
// gives a leading '@', '-' or '^' a meaning of its own.
const char* UnsafeFontPathReason(const std::string& path);

// The path registered for `name`, or the path of the first entry (the
// smallest name) when `name` is not registered. The registry must not be
// empty.
std::string GetFont(const char* name);

#endif  // QUILLMARK_FONTS_FONT_REGISTRY_H_
