#ifndef QUILLMARK_TESTS_SUPPORT_FONT_FILES_H_
#define QUILLMARK_TESTS_SUPPORT_FONT_FILES_H_

#include <string>

#include "support/temp_dir.h"

// How a copy of a font is damaged. Its table directory and character map
// stay intact, but no glyph can be drawn:
enum class FontDamage {
  kGlyfOverwritten,  // the outlines ("glyf") are 0xFF bytes
  kLocaOverwritten,  // the glyph locations ("loca") are 0xFF bytes
  kGlyfCut,          // the file ends halfway through the outlines
};

// Writes a damaged copy of DejaVu Sans into `dir` as damaged.ttf, and
// returns its path.
std::string DamagedFontCopy(const TempDir& dir,
                            FontDamage damage = FontDamage::kGlyfOverwritten);

#endif  // QUILLMARK_TESTS_SUPPORT_FONT_FILES_H_
