#ifndef QUILLMARK_APP_INFORMATION_H_
#define QUILLMARK_APP_INFORMATION_H_

#include <string>

// The text of "Quillmark --help": the command line, every argument, and
// where the rest is described.
std::string HelpText();

// The text of "Quillmark --version": Quillmark's version and those of the
// libraries it renders with (ImageMagick, FreeType, ICU).
std::string VersionText();

// Prints HelpText for "--help" or "-h", VersionText for "--version", and
// says whether `arg` was one of them.
bool PrintInformation(const char* arg);

#endif  // QUILLMARK_APP_INFORMATION_H_
