#ifndef QUILLMARK_FONTS_FONT_REGISTRY_H_
#define QUILLMARK_FONTS_FONT_REGISTRY_H_

#include <map>
#include <string>
#include <vector>

// Font name -> font file path, ordered byte-wise (unsigned bytes, so "Bold"
// sorts before "alpha"). The driver reads one per run and passes it down.
using FontMap = std::map<std::string, std::string>;

// Reads the font list at `path` (a JSON object of name -> path strings, read
// as ParseInputJson does) into *fonts. The first member of a name counts.
// Members that cannot be used safely are left out with a log line. A file
// that cannot be read adds nothing, with the reader's line; one that does not
// parse, or whose root is not an object, with the line of
// DescribeParseFailure.
void ReadFontList(const std::string& path, FontMap* fonts);

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
// smallest name) when `name` is not registered. `fonts` must not be empty.
std::string FontFor(const FontMap& fonts, const std::string& name);

// The process-wide registry, for callers that use the documented names: the
// run itself never reads it. LoadFontFiles reads a font list into it as
// ReadFontList does; GetFont is FontFor over it.
extern FontMap kFontInfoMaps;
void LoadFontFiles(std::string path);
std::string GetFont(const char* name);

#endif  // QUILLMARK_FONTS_FONT_REGISTRY_H_
