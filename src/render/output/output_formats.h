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

// Every name, lower case, for messages: "png, jpg, jpeg, ...".
std::string OutputFormatNames();

// Every name, upper case, as an ImageMagick policy pattern: "{PNG,JPG,...}".
std::string OutputFormatPattern();

#endif  // QUILLMARK_RENDER_OUTPUT_OUTPUT_FORMATS_H_
