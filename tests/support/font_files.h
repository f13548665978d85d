#ifndef QUILLMARK_TESTS_SUPPORT_FONT_FILES_H_
#define QUILLMARK_TESTS_SUPPORT_FONT_FILES_H_

#include <string>

#include "support/temp_dir.h"

// Writes a copy of DejaVu Sans whose glyph outlines ("glyf") are overwritten
// with 0xFF into `dir`, and returns its path: its table directory and
// character map are intact, but no glyph loads.
std::string DamagedFontCopy(const TempDir& dir);

#endif  // QUILLMARK_TESTS_SUPPORT_FONT_FILES_H_
