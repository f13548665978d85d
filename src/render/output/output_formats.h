#ifndef QUILLMARK_RENDER_OUTPUT_OUTPUT_FORMATS_H_
#define QUILLMARK_RENDER_OUTPUT_OUTPUT_FORMATS_H_

#include <string>

// The image formats Quillmark writes, and the one table of them: the output
// path's extension or format prefix chooses among them, the ImageMagick
// policy allows their coders and no other, and the error for any other names
// them. (The bootstrap builds ImageMagick with the delegates these need:
// keep scripts/bootstrap's IM_CONFIGURE in step.)

// ImageMagick's name of the format that `name` (an extension or a format
// prefix, in upper case) selects, or nullptr for a format Quillmark does not
// write.
const char* OutputFormatFor(const std::string& name);

// The same for a format prefix, which may also name one of ImageMagick's PNG
// sub-formats: PNG8, PNG24, PNG32, PNG48 and PNG64.
const char* PrefixFormatFor(const std::string& name);

// Every name, lower case, for messages: "png, jpg, jpeg, ...".
std::string OutputFormatNames();

// Every name, upper case, the PNG sub-formats too, as an ImageMagick policy
// pattern: "{PNG,JPG,...}".
std::string OutputFormatPattern();

// The text before the first ':' of an output path when it can be a format
// prefix ("png" of "png:out/a.dat"): one or more letters and digits. Empty
// when the path has no such prefix. Whether ImageMagick knows it as a
// format decides whether the path names the file after the colon or the
// whole path.
std::string FormatPrefixOf(const std::string& path);

// The name of the file that `path` writes, without its folder and without a
// format prefix, as either reading of the prefix gives it.
std::string OutputFileName(const std::string& path);

#endif  // QUILLMARK_RENDER_OUTPUT_OUTPUT_FORMATS_H_
